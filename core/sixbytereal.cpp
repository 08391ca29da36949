#include "sixbytereal.h"

#include "error.h"
#include "fixedpointtext.h"

#include <cmath>

namespace {
constexpr int SignificandBits = 40;
constexpr int DroppedBits = 64 - SignificandBits;
constexpr int MaxBinaryExponent = 127; // magnitudes below 2^127 can be held
constexpr int MinBinaryExponent = -128;
} // namespace

SixByteReal SixByteReal::fromLongDouble(long double value)
{
    SixByteReal real;
    if (std::isnan(value) || std::isinf(value))
        throw FloatOverflowError();
    if (value == 0)
        return real;

    int exponent = 0; // |value| = mantissa × 2^exponent, mantissa in [0.5, 1)
    const long double mantissa = std::frexp(std::fabs(value), &exponent);
    const auto full = static_cast<std::uint64_t>(std::ldexp(mantissa, 64));
    // Adding half of the dropped part and truncating rounds ties away from zero.
    const std::uint64_t rounded = full + (std::uint64_t(1) << (DroppedBits - 1));
    std::uint64_t significand = 0;
    if (rounded < full) { // carried out of 64 bits
        significand = std::uint64_t(1) << (SignificandBits - 1);
        ++exponent;
    } else {
        significand = rounded >> DroppedBits;
    }
    // The magnitude now lies in [2^(exponent-1), 2^exponent).
    if (exponent - 1 >= MaxBinaryExponent)
        throw FloatOverflowError();
    if (exponent - 1 < MinBinaryExponent)
        return real;

    real.m_negative = value < 0;
    real.m_significand = significand;
    real.m_exponent = exponent - SignificandBits;
    return real;
}

long double SixByteReal::value() const
{
    const long double magnitude =
        std::ldexp(static_cast<long double>(m_significand), m_exponent);
    return m_negative ? -magnitude : magnitude;
}

QString SixByteReal::toText() const
{
    return FixedPointText::twoDecimals(m_negative, m_significand, m_exponent, QChar(u'.'));
}
