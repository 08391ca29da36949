#pragma once

#include <QString>
#include <stdexcept>

// A failure with a French message for the user. Carries the name of its kind and
// the code address it was raised from, for the last-chance report.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString &message, const char *kind = "Error");

    QString message() const { return QString::fromUtf8(what()); }
    const char *kind() const { return m_kind; }
    const void *address() const { return m_address; }

private:
    const char *m_kind;
    const void *m_address;
};

class FloatOverflowError : public Error
{
public:
    FloatOverflowError();
};
