// The settings file reader and writer on arbitrary bytes: every read and every write
// gives what the plain whole-file model gives, a value written reads back, and the
// lines outside the section written are kept byte for byte.
#include "inifile.h"
#include "profilemodel.h"

#include <QByteArray>
#include <QFile>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <unistd.h>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// A file in memory-backed storage when there is one: the writer syncs every write.
const QString &scratchPath()
{
    static const QString path = [] {
        std::string folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        folder += "/morpho-fuzz-XXXXXX";
        require(::mkdtemp(folder.data()) != nullptr);
        static const std::string remove = folder;
        std::atexit([] {
            ::unlink((remove + "/settings.INI").c_str());
            ::rmdir(remove.c_str());
        });
        return QString::fromStdString(folder + "/settings.INI");
    }();
    return path;
}

void store(const QByteArray &contents)
{
    const int fd = ::open(QFile::encodeName(scratchPath()).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    require(fd >= 0);
    require(::write(fd, contents.constData(), size_t(contents.size())) == contents.size());
    ::close(fd);
}

QByteArray stored()
{
    QFile file(scratchPath());
    require(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

QByteArray bytes(FuzzedDataProvider &input, size_t most)
{
    return QByteArray::fromStdString(input.ConsumeRandomLengthString(most));
}

// What the class documents that it refuses: an entry that would not stay on its line.
bool fitsOnOneLine(const QByteArray &section, const QByteArray &key, const QByteArray &value)
{
    const QByteArray all = section + key + value;
    const QByteArray name = key.trimmed();
    return !all.contains('\n') && !all.contains('\r') && !section.contains(']') &&
           !key.contains('=') && !name.isEmpty() && !name.startsWith('[') && !name.startsWith(';');
}

// A value that reads back as written: no blanks around it, no enclosing quotes, and room
// enough in the read buffer.
bool readsBackAsWritten(const QByteArray &value)
{
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return value == value.trimmed() && !quoted && value.size() < IniFile::ReadBufferSize;
}

// Lines outside the first section of that name are the old file's lines, byte for byte.
void requireOtherLinesKept(const QByteArray &before, const QByteArray &after,
                           const QByteArray &section)
{
    const ProfileModel old(before);
    const QList<QByteArray> in = old.lines();
    const QList<QByteArray> out = ProfileModel(after).lines();
    const qsizetype header = old.findSection(section);
    if (header < 0) {
        require(out.size() >= in.size() && out.mid(0, in.size()) == in);
        return;
    }
    const qsizetype tail = in.size() - old.sectionEnd(header);
    require(out.size() >= header + 1 + tail);
    require(out.mid(0, header + 1) == in.mid(0, header + 1));
    require(out.mid(out.size() - tail) == in.mid(in.size() - tail));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 64 * 1024)
        return -1;
    FuzzedDataProvider input(data, size);
    const int operation = input.ConsumeIntegralInRange(0, 2);
    const QByteArray section = bytes(input, 24);
    const QByteArray key = bytes(input, 24);
    const QByteArray value = bytes(input, 1100);
    const QByteArray contents = QByteArray::fromStdString(input.ConsumeRemainingBytesAsString());
    store(contents);

    IniFile file(scratchPath());
    const QByteArray fallback = "\x01par d\xE9"
                                "faut";
    require(file.readString(section, key, fallback) ==
            ProfileModel(contents).read(section, key, fallback));

    if (operation == 1) {
        const bool written = file.writeString(section, key, value);
        require(written == fitsOnOneLine(section, key, value));
        if (!written) {
            require(stored() == contents);
            return 0;
        }
        ProfileModel model(contents);
        model.write(section.trimmed(), key.trimmed(), value);
        const QByteArray after = stored();
        require(after == model.contents());
        require(file.readString(section.trimmed(), key.trimmed(), fallback) ==
                model.read(section.trimmed(), key.trimmed(), fallback));
        if (readsBackAsWritten(value))
            require(file.readString(section.trimmed(), key.trimmed(), fallback) == value);
        requireOtherLinesKept(contents, after, section.trimmed());
    } else if (operation == 2) {
        require(file.eraseSection(section));
        ProfileModel model(contents);
        model.erase(section.trimmed());
        require(stored() == model.contents());
        require(file.readString(section.trimmed(), key, fallback) == fallback);
    }
    return 0;
}
