#include "heighttext.h"

#include "fixedpointtext.h"

#include <cmath>
#include <limits>

namespace {

constexpr int ExponentLimit = 500;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Powers of ten by squaring: every partial product up to 10^27 is exact in 64 bits.
long double powerOfTen(long long n)
{
    if (n > 100000)
        return std::numeric_limits<long double>::infinity();
    long double result = 1.0L;
    long double square = 10.0L;
    while (n > 0) {
        if (n & 1)
            result *= square;
        square *= square;
        n >>= 1;
    }
    return result;
}

} // namespace

std::optional<double> HeightText::parse(QStringView text, QChar separator)
{
    const qsizetype end = text.size();
    qsizetype pos = 0;
    while (pos < end && text[pos] == u' ')
        ++pos;

    bool negative = false;
    if (pos < end && (text[pos] == u'+' || text[pos] == u'-')) {
        negative = text[pos] == u'-';
        ++pos;
    }

    long double accumulator = 0.0L;
    bool sawMantissa = false;
    long long decimals = 0;
    while (pos < end && isDigit(text[pos])) {
        accumulator = accumulator * 10.0L + (text[pos].unicode() - u'0');
        sawMantissa = true;
        ++pos;
    }
    if (pos < end && text[pos] == separator) {
        sawMantissa = true;
        ++pos;
        while (pos < end && isDigit(text[pos])) {
            accumulator = accumulator * 10.0L + (text[pos].unicode() - u'0');
            ++decimals;
            ++pos;
        }
    }
    if (!sawMantissa)
        return std::nullopt;

    long long exponent = 0;
    if (pos < end && (text[pos] == u'E' || text[pos] == u'e')) {
        ++pos;
        bool negativeExponent = false;
        if (pos < end && (text[pos] == u'+' || text[pos] == u'-')) {
            negativeExponent = text[pos] == u'-';
            ++pos;
        }
        if (pos == end || !isDigit(text[pos]))
            return std::nullopt;
        // A digit left over once the limit is reached makes the text refused below.
        while (pos < end && isDigit(text[pos]) && exponent < ExponentLimit) {
            exponent = exponent * 10 + (text[pos].unicode() - u'0');
            ++pos;
        }
        if (negativeExponent)
            exponent = -exponent;
    }

    while (pos < end && text[pos] == u' ')
        ++pos;
    if (pos != end)
        return std::nullopt;

    // Zero stays zero whatever the exponent: 10^e itself may overflow, and 0 × ∞ is no number.
    const long long scale = exponent - decimals;
    long double number = accumulator == 0.0L ? 0.0L
                         : scale >= 0        ? accumulator * powerOfTen(scale)
                                             : accumulator / powerOfTen(-scale);
    if (negative)
        number = -number;
    const double result = static_cast<double>(number);
    if (!std::isfinite(result))
        return std::nullopt;
    return result;
}

QString HeightText::format(double value, QChar separator)
{
    return FixedPointText::twoDecimals(static_cast<long double>(value), separator);
}
