// The settings path rule: the executable's path with its extension replaced by ".INI".
#include "settings.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 4096)
        return -1;
    FuzzedDataProvider input(data, size);
    const int encoding = input.ConsumeIntegralInRange(0, 2);
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    QString path;
    if (encoding == 0)
        path = QString::fromUtf8(bytes);
    else if (encoding == 1)
        path = QString::fromLatin1(bytes);
    else
        path = QString(reinterpret_cast<const QChar *>(bytes.data()), qsizetype(bytes.size() / 2));

    const QString settings = Settings::pathFor(path);
    require(settings.endsWith(QStringLiteral(".INI")));
    // The folder part stays as it was, and the name part gains no separator.
    const qsizetype folderEnd = path.lastIndexOf(u'/') + 1;
    require(settings.left(folderEnd) == path.left(folderEnd));
    require(settings.lastIndexOf(u'/') + 1 == folderEnd);
    // What was cut is an extension: a dot and no ".", "\", ":" or "/" after it.
    const QString stem = settings.chopped(4);
    require(path.startsWith(stem) && stem.size() >= folderEnd);
    const QString cut = path.mid(stem.size());
    require(cut.isEmpty() || cut.front() == u'.');
    for (qsizetype i = 1; i < cut.size(); ++i)
        require(cut[i] != u'.' && cut[i] != u'\\' && cut[i] != u':' && cut[i] != u'/');
    // Exactly the extension goes: from the last dot that no separator follows.
    qsizetype stop = path.size() - 1;
    while (stop >= 0 && !QStringLiteral(".\\:/").contains(path[stop]))
        --stop;
    require(cut == (stop >= 0 && path[stop] == u'.' ? path.mid(stop) : QString()));
    // The rule applied to its own result changes nothing.
    require(Settings::pathFor(settings) == settings);
    return 0;
}
