// The height text and the compute command: HeightText::parse, then what the command
// does with the value (nothing below 100, else IdealWeight::resultText).
#include "error.h"
#include "heighttext.h"
#include "idealweight.h"

#include <QRegularExpression>
#include <QString>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace {

// Long enough that a parse slower than linear would run into the time limit per input.
constexpr size_t MaxText = 65536;

struct Reading
{
    bool accepted = false;
    size_t digits = 0;      // before and after the separator, leading zeros included
    long long scale = 0;    // the exponent less the number of decimals
    bool zero = true;       // every digit is 0
    std::string normalised; // for strtold: sign, digits, ".", digits, "e", exponent
};

// The text's form written out again from its rule: blanks, a sign, digits with one
// separator, an exponent whose reading stops at 500, blanks.
Reading read(const QString &text, QChar separator)
{
    Reading r;
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto digit = [&](qsizetype at) { return at < n && text[at] >= u'0' && text[at] <= u'9'; };
    while (i < n && text[i] == u' ')
        ++i;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        r.normalised += char(text[i++].unicode());
    std::string whole;
    std::string decimals;
    while (digit(i))
        whole += char(text[i++].unicode());
    bool separatorSeen = false;
    if (i < n && text[i] == separator) {
        separatorSeen = true;
        ++i;
        while (digit(i))
            decimals += char(text[i++].unicode());
    }
    if (whole.empty() && !separatorSeen)
        return r;
    long long exponent = 0;
    bool negativeExponent = false;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            negativeExponent = text[i++] == u'-';
        if (!digit(i))
            return r;
        while (digit(i) && exponent < 500)
            exponent = exponent * 10 + (text[i++].unicode() - u'0');
    }
    while (i < n && text[i] == u' ')
        ++i;
    if (i != n)
        return r;
    r.accepted = true;
    r.digits = whole.size() + decimals.size();
    r.scale = (negativeExponent ? -exponent : exponent) - (long long)decimals.size();
    r.zero = (whole + decimals).find_first_not_of('0') == std::string::npos;
    r.normalised += (whole.empty() ? "0" : whole) + "." + decimals + "e" +
                    (negativeExponent ? "-" : "") + std::to_string(exponent);
    return r;
}

bool sameDouble(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void checkParse(const QString &text, QChar separator, const std::optional<double> &parsed)
{
    const Reading r = read(text, separator);
    if (!r.accepted) {
        if (parsed)
            std::abort(); // a text of another form was read
        return;
    }
    const long double exact = std::strtold(r.normalised.c_str(), nullptr);
    if (r.zero) {
        if (!parsed || *parsed != 0)
            std::abort(); // zero reads as zero
        return;
    }
    // Exact within 19 digits and 10^±27: the number rounded to 64 bits, then to 53.
    if (r.digits <= 19 && std::llabs(r.scale) <= 27) {
        if (!parsed || !sameDouble(*parsed, static_cast<double>(exact)))
            std::abort();
        return;
    }
    // Beyond, each step rounds to 64 bits: far below the precision of a double.
    const long double magnitude = std::fabs(exact);
    if (r.digits <= 4000 && std::llabs(r.scale) <= 4000 && magnitude > 1e-300L &&
        magnitude < 1e300L) {
        if (!parsed || std::fabs(*parsed - exact) > 1e-12L * magnitude)
            std::abort();
    }
}

// Value texts with two decimals are made from integer hundredths; a height that is a
// multiple of 0.5 gives a weight that is a multiple of 1/8, held and written exactly.
std::string halfUpText(long long eighths)
{
    const long long hundredths = (eighths * 100 + 4) / 8;
    char text[64];
    std::snprintf(text, sizeof text, "%lld.%02lld Kg", hundredths / 100, hundredths % 100);
    return text;
}

void checkCommand(double height, Sex sex)
{
    // The command computes nothing below 100: it writes 100 into the field.
    if (height < 100)
        return;
    const long double weight = IdealWeight::compute(height, sex);
    if (height < 0x1p53) {
        const long double formula =
            sex == Sex::Man ? 0.75L * height - 62.5L : 0.5L * height - 25.0L;
        if (weight != formula)
            std::abort(); // no rounding below 2^53
    }
    // The smallest weight that the six-byte rounding carries to 2^127.
    const long double overflow = 0x1p127L - 0x1p86L;
    QString text;
    try {
        text = IdealWeight::resultText(height, sex);
    } catch (const FloatOverflowError &error) {
        if (weight < overflow || error.message() != QStringLiteral("Débordement flottant"))
            std::abort();
        return;
    }
    if (weight >= overflow)
        std::abort(); // too large to be held, yet written
    static const QRegularExpression form(QStringLiteral("^[0-9]+\\.[0-9]{2} Kg$"));
    if (!form.match(text).hasMatch())
        std::abort();
    const std::string bytes = text.chopped(3).toStdString();
    const long double shown = std::strtold(bytes.c_str(), nullptr);
    // Two decimals from the 40-bit value, which lies within 2^-40 of the weight.
    if (std::fabs(shown - weight) > 0.005L + weight * 0x1p-40L + shown * 0x1p-63L)
        std::abort();
    if (height <= 250) {
        const long double low = sex == Sex::Man ? 12.5L : 25.0L;
        const long double high = sex == Sex::Man ? 125.0L : 100.0L;
        if (shown < low || shown > high)
            std::abort();
        const double twice = height * 2;
        if (twice == std::floor(twice) &&
            text.toStdString() != halfUpText(static_cast<long long>(weight * 8)))
            std::abort();
    }
}

void checkRoundTrip(double value, QChar separator)
{
    const QString written = HeightText::format(value, separator);
    static const QRegularExpression comma(QStringLiteral("^[0-9]{3},[0-9]{2}$"));
    static const QRegularExpression point(QStringLiteral("^[0-9]{3}\\.[0-9]{2}$"));
    if (!(separator == u',' ? comma : point).match(written).hasMatch())
        std::abort();
    const std::optional<double> read = HeightText::parse(written, separator);
    if (!read || std::fabs(*read - value) > 0.005 + 1e-12 ||
        HeightText::format(*read, separator) != written)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > MaxText + 16)
        return -1;
    FuzzedDataProvider input(data, size);
    const QChar separator = input.ConsumeBool() ? QChar(u',') : QChar(u'.');
    const Sex sex = input.ConsumeBool() ? Sex::Man : Sex::Woman;
    const bool utf8 = input.ConsumeBool();
    checkRoundTrip(input.ConsumeFloatingPointInRange(100.0, 250.0), separator);

    const std::string bytes = input.ConsumeRemainingBytesAsString();
    const QString text = utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
    const std::optional<double> parsed = HeightText::parse(text, separator);
    checkParse(text, separator, parsed);
    // An empty or unreadable text reads as 100.
    checkCommand(parsed.value_or(100.0), sex);
    return 0;
}
