#pragma once

#include <array>

enum class Measure {
    Map,
    FirstPaint,
    Rss,
    PrivateDirty,
    IdleCpu,
    IdleWakeups,
    IdleServerCpu,
    RollCpu,
    RollServerCpu,
    Instructions,
};

// How a measure is shown and judged. A ratio goal compares the medians of
// Morphocalcule and of the floor measured in the same run; a value goal holds
// Morphocalcule's median to a limit.
struct MeasureInfo
{
    enum class Goal { None, RatioAtMost, ValueBelow };

    Measure measure;
    const char *label;
    const char *unit;
    int decimals;
    Goal goal;
    double limit;
    bool programOnly = false; // the floor has nothing of the kind
    bool perIdleWindow = false;
};

constexpr std::array<MeasureInfo, 10> Measures{{
    {Measure::Map, "start-up: first map", "ms", 1, MeasureInfo::Goal::None, 0},
    {Measure::FirstPaint, "start-up: first painted frame", "ms", 1, MeasureInfo::Goal::RatioAtMost,
     1.2},
    {Measure::Rss, "memory after 2 s: VmRSS", "MiB", 2, MeasureInfo::Goal::RatioAtMost, 1.15},
    {Measure::PrivateDirty, "memory after 2 s: Private_Dirty", "MiB", 2,
     MeasureInfo::Goal::RatioAtMost, 1.5},
    {Measure::IdleCpu, "idle: CPU", "ms", 2, MeasureInfo::Goal::RatioAtMost, 1.0, false, true},
    {Measure::IdleWakeups, "idle: wakeups", "", 0, MeasureInfo::Goal::RatioAtMost, 1.0, false,
     true},
    {Measure::IdleServerCpu, "idle: X server CPU", "ms", 2, MeasureInfo::Goal::None, 0, false,
     true},
    {Measure::RollCpu, "credits roll: CPU", "% of a core", 3, MeasureInfo::Goal::ValueBelow, 1.0,
     true},
    {Measure::RollServerCpu, "credits roll: X server CPU", "% of a core", 3,
     MeasureInfo::Goal::None, 0, true},
    {Measure::Instructions, "callgrind: instructions to first idle", "millions", 2,
     MeasureInfo::Goal::None, 0},
}};
