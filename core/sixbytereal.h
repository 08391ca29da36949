#pragma once

#include <QString>
#include <cstdint>
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64,
              "the weight is evaluated with a 64-bit significand");

// The six-byte real in which the weight is held before it is written: 40 significant
// bits, rounded to nearest with ties away from zero; magnitudes from 2^127 on cannot
// be held and magnitudes below 2^-128 become 0.
class SixByteReal
{
public:
    // Throws FloatOverflowError when the rounded magnitude reaches 2^127.
    static SixByteReal fromLongDouble(long double value);

    long double value() const;
    // The exact value with two decimals, half up, and a point whatever the locale.
    QString toText() const;

private:
    bool m_negative = false;
    std::uint64_t m_significand = 0; // 40 bits, the top one set unless the value is 0
    int m_exponent = 0;              // value = significand × 2^exponent
};
