#pragma once

#include <QChar>
#include <QString>
#include <cstdint>

// Writes a binary value, significand × 2^exponent, with exactly two decimals,
// rounded half up from its exact value. Done with integers so that no binary
// to decimal conversion of the C library can round a tie the other way.
class FixedPointText
{
public:
    static QString twoDecimals(bool negative, std::uint64_t significand, int exponent,
                               QChar point);
    static QString twoDecimals(long double value, QChar point);
};
