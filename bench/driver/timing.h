#pragma once

#include <chrono>

// CLOCK_MONOTONIC, the clock that the started program's exec time is taken on too.
using Clock = std::chrono::steady_clock;

inline double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}
