#pragma once

#include <QChar>
#include <QString>
#include <QStringView>
#include <optional>

// The text rules of the height field: what a text reads as, and how a value is written.
class HeightText
{
public:
    // Blanks, an optional sign, digits with an optional decimal separator, an optional
    // exponent, blanks. Returns nothing for a refused text or one too large for a double.
    static std::optional<double> parse(QStringView text, QChar separator);
    // Two decimals, half up, with the given separator; "-" in front of a negative value.
    static QString format(double value, QChar separator);
};
