#include "fixedpointtext.h"

#include <bit>
#include <cmath>

namespace {

__extension__ typedef unsigned __int128 u128;

QString decimalDigits(u128 value)
{
    char buffer[48];
    int pos = sizeof buffer;
    do {
        buffer[--pos] = char('0' + int(value % 10));
        value /= 10;
    } while (value != 0);
    return QString::fromLatin1(buffer + pos, int(sizeof buffer) - pos);
}

} // namespace

QString FixedPointText::twoDecimals(bool negative, std::uint64_t significand, int exponent,
                                    QChar point)
{
    u128 integerPart = 0;
    unsigned hundredths = 0;
    if (exponent >= 0) {
        if (int(std::bit_width(significand)) + exponent > 127) {
            // Beyond 128 bits only huge integers remain: no fraction, so no rounding.
            const long double value = std::ldexp(static_cast<long double>(significand), exponent);
            return (negative ? QStringLiteral("-") : QString()) +
                   QString::number(double(value), 'f', 0) + point + QStringLiteral("00");
        }
        integerPart = u128(significand) << exponent;
    } else {
        const int shift = -exponent;
        const u128 fraction =
            shift >= 64 ? u128(significand) : u128(significand & ((std::uint64_t(1) << shift) - 1));
        integerPart = shift >= 64 ? 0 : (significand >> shift);
        // fraction < 2^64, so fraction × 100 < 2^71: far below half of 2^shift once shift > 72.
        if (shift <= 72) {
            const u128 scaled = fraction * 100;
            u128 quotient = scaled >> shift;
            const u128 remainder = scaled - (quotient << shift);
            if (remainder >= (u128(1) << (shift - 1)))
                ++quotient;
            hundredths = unsigned(quotient);
        }
        if (hundredths == 100) {
            hundredths = 0;
            ++integerPart;
        }
    }
    QString text = negative ? QStringLiteral("-") : QString();
    text += decimalDigits(integerPart);
    text += point;
    text += QChar(u'0' + hundredths / 10);
    text += QChar(u'0' + hundredths % 10);
    return text;
}

QString FixedPointText::twoDecimals(long double value, QChar point)
{
    if (value == 0 || !std::isfinite(value))
        return twoDecimals(false, 0, 0, point);
    int exponent = 0;
    const long double mantissa = std::frexp(std::fabs(value), &exponent);
    const auto significand = static_cast<std::uint64_t>(std::ldexp(mantissa, 64));
    return twoDecimals(std::signbit(value), significand, exponent - 64, point);
}
