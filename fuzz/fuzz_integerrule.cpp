// The integer reading rule of the settings file, against a second reading of the rule
// written here from its text, and on the texts that the program itself writes.
#include "settings.h"

#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <limits>
#include <optional>
#include <string>

namespace {

// The rule once more, by another road: digits counted after their leading zeros rather
// than checked for overflow one by one.
std::optional<qint32> readByRule(std::string text)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text = "$" + text.substr(2);
    const size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos)
        return std::nullopt;
    std::string rest = text.substr(start);
    if (rest[0] == '$') {
        std::string digits = rest.substr(1);
        if (digits.empty() ||
            digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return std::nullopt;
        digits.erase(0, digits.find_first_not_of('0') == std::string::npos
                            ? digits.size() - 1
                            : digits.find_first_not_of('0'));
        if (digits.size() > 8)
            return std::nullopt;
        // 32 bits read as a signed number: $FFFFFFFF is -1.
        return qint32(quint32(std::stoul(digits, nullptr, 16)));
    }
    bool negative = false;
    if (rest[0] == '-' || rest[0] == '+') {
        negative = rest[0] == '-';
        rest.erase(0, 1);
    }
    if (rest.empty() || rest.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    rest.erase(0, rest.find_first_not_of('0') == std::string::npos ? rest.size() - 1
                                                                   : rest.find_first_not_of('0'));
    if (rest.size() > 10)
        return std::nullopt;
    const long long magnitude = std::stoll(rest);
    const long long value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

void expect(const std::string &text, std::optional<qint32> wanted)
{
    if (Settings::parseInteger(QByteArrayView(text.data(), qsizetype(text.size()))) != wanted)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 4096)
        return -1;
    const std::string whole(reinterpret_cast<const char *>(data), size);
    expect(whole, readByRule(whole));

    FuzzedDataProvider input(data, size);
    // What the program writes ("%d") reads back; the decimal range ends at 32 bits.
    const qint64 number = input.ConsumeIntegral<qint64>() >> input.ConsumeIntegralInRange(0, 40);
    const bool inRange = number >= std::numeric_limits<qint32>::min() &&
                         number <= std::numeric_limits<qint32>::max();
    expect(std::to_string(number), inRange ? std::optional(qint32(number)) : std::nullopt);
    expect("+" + std::to_string(number),
           number >= 0 && inRange ? std::optional(qint32(number)) : std::nullopt);

    // Hexadecimal wraps at 32 bits and stops beyond them, whatever the spelling.
    const quint64 bits = quint64(number);
    const bool fits = bits <= 0xFFFFFFFFu;
    const std::optional<qint32> wrapped =
        fits ? std::optional(qint32(quint32(bits))) : std::nullopt;
    char hex[32];
    std::snprintf(hex, sizeof hex, "%llX", static_cast<unsigned long long>(bits));
    const std::string zeros(input.ConsumeIntegralInRange(0, 12), '0');
    const std::string blanks(input.ConsumeIntegralInRange(0, 3), ' ');
    expect(blanks + "$" + zeros + hex, wrapped);
    expect("0x" + zeros + hex, wrapped);
    expect("0X" + zeros + hex, wrapped);
    // Blanks before "0x" keep it from being read as hexadecimal.
    if (!blanks.empty())
        expect(blanks + "0x" + hex, std::nullopt);
    return 0;
}
