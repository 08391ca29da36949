#include "error.h"

Error::Error(const QString &message, const char *kind)
    : std::runtime_error(message.toStdString()), m_kind(kind),
      m_address(__builtin_extract_return_addr(__builtin_return_address(0)))
{
}

FloatOverflowError::FloatOverflowError() : Error(QStringLiteral("Débordement flottant"), "FloatOverflowError")
{
}
