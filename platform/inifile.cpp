#include "inifile.h"

#include "profilereader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype ChunkSize = 64 * 1024;

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Only ASCII letters fold: the bytes above 127 mean different letters in different
// code pages, and folding them could make two distinct names one.
bool sameName(const std::optional<QByteArray> &a, QByteArrayView b)
{
    if (!a || a->size() != b.size())
        return false;
    for (qsizetype i = 0; i < b.size(); ++i) {
        if (asciiLower(a->at(i)) != asciiLower(b[i]))
            return false;
    }
    return true;
}

bool writeAll(int fd, const char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t written = ::write(fd, data + done, size_t(size - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// The edited file: ranges of the old file copied as they stand, lines of ours between
// them. Every line of the result ends with "\n", the old last line included.
class ProfileCopy
{
public:
    ProfileCopy(int input, int output) : m_input(input), m_output(output) {}

    bool copyTo(qint64 offset)
    {
        while (m_copied < offset) {
            const qint64 wanted = qMin<qint64>(ChunkSize, offset - m_copied);
            const ssize_t got = ::pread(m_input, m_buffer.data(), size_t(wanted), off_t(m_copied));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0 || !write(m_buffer.constData(), got))
                return false;
            m_copied += got;
        }
        return true;
    }
    void skipTo(qint64 offset) { m_copied = offset; }
    bool addLine(const QByteArray &line) { return endLastLine() && write(line + '\n'); }
    // The rest of the old file.
    bool finish()
    {
        if (m_input >= 0) {
            struct stat info;
            if (::fstat(m_input, &info) != 0 || !copyTo(info.st_size))
                return false;
        }
        return endLastLine();
    }

private:
    bool endLastLine() { return !m_written || m_last == '\n' || write("\n"); }
    bool write(const QByteArray &bytes) { return write(bytes.constData(), bytes.size()); }
    bool write(const char *data, qint64 size)
    {
        if (size == 0)
            return true;
        if (!writeAll(m_output, data, size))
            return false;
        m_written = true;
        m_last = data[size - 1];
        return true;
    }

    const int m_input;
    const int m_output;
    qint64 m_copied = 0;
    bool m_written = false;
    char m_last = 0;
    QByteArray m_buffer = QByteArray(ChunkSize, '\0');
};

using Edit = std::function<bool(ProfileReader &, ProfileCopy &)>;

// A file that its owner made CRLF gets CRLF lines from us too.
QByteArray lineEnd(const ProfileReader::Line &firstLine)
{
    return firstLine.carriageReturn ? "\r" : "";
}

// Replaces the key's value in the first section of that name, or adds the key after
// the section's last line that is not blank (so that the blank line before the next
// section stays where it is), or adds the section at the end after a blank line.
bool setValue(ProfileReader &reader, ProfileCopy &copy, const QByteArray &section,
              const QByteArray &key, const QByteArray &value)
{
    QByteArray end;
    bool anyLine = false;
    bool lastBlank = true;
    bool inSection = false;
    qint64 blankRun = -1; // where the section's trailing blank lines start
    ProfileReader::Line line;
    const auto entry = [&](const QByteArray &name) { return name + '=' + value + end; };
    while (reader.next(&line)) {
        if (!anyLine)
            end = lineEnd(line);
        anyLine = true;
        lastBlank = line.kind == ProfileReader::Kind::Blank;
        if (!inSection) {
            inSection = line.kind == ProfileReader::Kind::Section && sameName(line.name, section);
        } else if (line.kind == ProfileReader::Kind::Section) {
            return copy.copyTo(blankRun >= 0 ? blankRun : line.start) && copy.addLine(entry(key));
        } else if (line.kind == ProfileReader::Kind::Blank) {
            if (blankRun < 0)
                blankRun = line.start;
        } else {
            blankRun = -1;
            if (line.kind == ProfileReader::Kind::Key && sameName(line.name, key)) {
                // The key keeps its own spelling.
                if (!copy.copyTo(line.start) || !copy.addLine(entry(*line.name)))
                    return false;
                copy.skipTo(line.end);
                return true;
            }
        }
    }
    if (reader.failed())
        return false;
    if (inSection)
        return (blankRun >= 0 ? copy.copyTo(blankRun) : copy.finish()) && copy.addLine(entry(key));
    if (!copy.finish())
        return false;
    if (anyLine && !lastBlank && !copy.addLine(end))
        return false;
    return copy.addLine('[' + section + ']' + end) && copy.addLine(entry(key));
}

bool removeSections(ProfileReader &reader, ProfileCopy &copy, const QByteArray &section)
{
    bool dropping = false;
    ProfileReader::Line line;
    while (reader.next(&line)) {
        if (line.kind != ProfileReader::Kind::Section)
            continue;
        const bool drop = sameName(line.name, section);
        if (drop == dropping)
            continue;
        if (drop && !copy.copyTo(line.start))
            return false;
        if (!drop)
            copy.skipTo(line.start);
        dropping = drop;
    }
    if (dropping)
        copy.skipTo(std::numeric_limits<qint64>::max());
    return !reader.failed();
}

enum class Opened { Read, Missing, Failed };

// Only a regular file is read: a folder, a device or a pipe in the file's place counts
// as a file that cannot be read, and opening a pipe does not wait for a writer.
Opened openForReading(const QString &fileName, int *fd)
{
    *fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (*fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? Opened::Missing : Opened::Failed;
    struct stat info;
    if (::fstat(*fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(*fd);
        *fd = -1;
        return Opened::Failed;
    }
    return Opened::Read;
}

// Writing to a symbolic link writes to the file it names and keeps the link.
QString resolvedTarget(const QString &fileName)
{
    QString target = fileName;
    for (int depth = 0; depth < 40 && QFileInfo(target).isSymLink(); ++depth)
        target = QFileInfo(target).symLinkTarget();
    return target;
}

void syncDirectory(const QByteArray &directory)
{
    const int fd = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

enum class Staged { Replaced, NotPossible, Failed };

using Produce = std::function<bool(int output)>;

// The new contents go to a fresh file beside the target, reach the disk, and only then
// take the target's name.
Staged replaceThroughTemporary(const QString &target, const Produce &produce)
{
    const QFileInfo info(target);
    const QByteArray directory = QFile::encodeName(info.absolutePath());
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = directory + "/." + QFile::encodeName(info.fileName()) + '.' +
                    QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return Staged::NotPossible;
    }
    if (fd < 0)
        return Staged::NotPossible;

    struct stat existing;
    if (::stat(QFile::encodeName(target).constData(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(fd, existing.st_mode & 07777);
    const bool written = produce(fd) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written) {
        ::unlink(temporary.constData());
        return Staged::Failed;
    }
    if (::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0) {
        ::unlink(temporary.constData());
        return Staged::NotPossible;
    }
    syncDirectory(directory);
    return Staged::Replaced;
}

// An unnamed file in the temporary folder, gone when closed.
int scratchFile()
{
    const QByteArray folder = QFile::encodeName(QDir::tempPath());
    const int fd = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0)
        return fd;
    std::FILE *file = std::tmpfile();
    if (!file)
        return -1;
    const int copy = ::fcntl(::fileno(file), F_DUPFD_CLOEXEC, 0);
    std::fclose(file);
    return copy;
}

// For a file that may be written where no new file may be made beside it. The new
// contents are made in full first, as they come from the file they replace.
bool writeInPlace(const QString &target, const Produce &produce)
{
    const int scratch = scratchFile();
    if (scratch < 0)
        return false;
    const auto closeScratch = qScopeGuard([scratch] { ::close(scratch); });
    if (!produce(scratch))
        return false;
    const int fd =
        ::open(QFile::encodeName(target).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    ProfileCopy copy(scratch, fd);
    const off_t size = ::lseek(scratch, 0, SEEK_END);
    const bool written =
        size >= 0 && copy.copyTo(size) && ::ftruncate(fd, size) == 0 && ::fsync(fd) == 0;
    return ::close(fd) == 0 && written;
}

// Reads the file once, line by line, while the edited copy is written.
bool rewrite(const QString &fileName, qsizetype nameLimit, const Edit &edit)
{
    int input = -1;
    if (openForReading(fileName, &input) == Opened::Failed)
        return false;
    const auto closeInput = qScopeGuard([input] {
        if (input >= 0)
            ::close(input);
    });
    const QString target = resolvedTarget(fileName);
    // A file that its owner protected from writing is not replaced behind its back.
    if (QFileInfo::exists(target) && ::access(QFile::encodeName(target).constData(), W_OK) != 0)
        return false;
    const Produce produce = [&](int output) {
        ProfileReader reader(input, nameLimit, IniFile::ReadBufferSize - 1);
        ProfileCopy copy(input, output);
        return edit(reader, copy) && copy.finish();
    };
    switch (replaceThroughTemporary(target, produce)) {
    case Staged::Replaced:
        return true;
    case Staged::Failed:
        return false;
    case Staged::NotPossible:
        break;
    }
    return writeInPlace(target, produce);
}

// A line break would split an entry, "]" would end a section name and "=" a key name.
bool fitsOnOneLine(const QByteArray &section, const QByteArray &key, const QByteArray &value)
{
    const auto breaksLine = [](const QByteArray &text) {
        return text.contains('\n') || text.contains('\r');
    };
    return !breaksLine(section) && !breaksLine(key) && !breaksLine(value) &&
           !section.contains(']') && !key.contains('=') && !key.trimmed().isEmpty() &&
           !key.trimmed().startsWith('[') && !key.trimmed().startsWith(';');
}

} // namespace

QByteArray IniFile::readString(const QByteArray &section, const QByteArray &key,
                               const QByteArray &defaultValue) const
{
    int fd = -1;
    if (openForReading(m_fileName, &fd) != Opened::Read)
        return defaultValue.left(ReadBufferSize - 1);
    const auto closeFile = qScopeGuard([fd] { ::close(fd); });
    ProfileReader reader(fd, qMax(section.size(), key.size()), ReadBufferSize - 1);
    ProfileReader::Line line;
    bool inSection = false;
    while (reader.next(&line)) {
        if (line.kind == ProfileReader::Kind::Section) {
            // Only the first section of that name counts.
            if (inSection)
                break;
            inSection = sameName(line.name, section);
        } else if (inSection && line.kind == ProfileReader::Kind::Key && sameName(line.name, key)) {
            return line.value;
        }
    }
    return defaultValue.left(ReadBufferSize - 1);
}

bool IniFile::writeString(const QByteArray &section, const QByteArray &key, const QByteArray &value)
{
    if (!fitsOnOneLine(section, key, value))
        return false;
    const QByteArray sectionName = section.trimmed();
    const QByteArray keyName = key.trimmed();
    return rewrite(m_fileName, qMax(sectionName.size(), keyName.size()),
                   [&](ProfileReader &reader, ProfileCopy &copy) {
                       return setValue(reader, copy, sectionName, keyName, value);
                   });
}

bool IniFile::eraseSection(const QByteArray &section)
{
    int fd = -1;
    if (openForReading(m_fileName, &fd) == Opened::Missing)
        return true;
    if (fd >= 0)
        ::close(fd);
    const QByteArray name = section.trimmed();
    return rewrite(m_fileName, name.size(), [&](ProfileReader &reader, ProfileCopy &copy) {
        return removeSections(reader, copy, name);
    });
}
