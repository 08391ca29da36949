#pragma once

#include <QString>

enum class Sex { Man, Woman };

class IdealWeight
{
public:
    // (T − 100) − (T − 150) / d with a 64-bit significand; d is 4 for a man, 2 for a woman.
    static long double compute(double height, Sex sex);
    // The weight rounded to a six-byte real, written with two decimals, then " Kg".
    // Throws FloatOverflowError when the weight cannot be held.
    static QString resultText(double height, Sex sex);
};
