#include "inifile.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char Utf8Mark[] = "\xEF\xBB\xBF";

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Only ASCII letters fold: the bytes above 127 mean different letters in different
// code pages, and folding them could make two distinct names one.
bool sameName(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}

QByteArray withoutQuotes(const QByteArray &value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

// The file as its lines, without their "\n"; a line of a CRLF file keeps its "\r", which
// the trimming of names and values drops.
class ProfileText
{
public:
    explicit ProfileText(const QByteArray &contents)
    {
        if (contents.isEmpty())
            return;
        m_lines = contents.split('\n');
        if (contents.endsWith('\n'))
            m_lines.removeLast();
        if (m_lines.first().endsWith('\r'))
            m_newline = "\r\n";
    }

    QByteArray contents() const
    {
        QByteArray result;
        for (const QByteArray &line : m_lines)
            result += line + '\n';
        return result;
    }

    std::optional<QByteArray> sectionAt(qsizetype index) const
    {
        const QByteArray text = content(index);
        const qsizetype close = text.lastIndexOf(']');
        if (!text.startsWith('[') || close < 0)
            return std::nullopt;
        return text.mid(1, close - 1).trimmed();
    }

    std::optional<QByteArray> keyAt(qsizetype index) const
    {
        const QByteArray text = content(index);
        if (text.isEmpty() || text.startsWith(';') || text.startsWith('['))
            return std::nullopt;
        const qsizetype equals = text.indexOf('=');
        return (equals < 0 ? text : text.left(equals)).trimmed();
    }

    QByteArray valueAt(qsizetype index) const
    {
        const QByteArray text = content(index);
        const qsizetype equals = text.indexOf('=');
        return equals < 0 ? QByteArray() : text.mid(equals + 1).trimmed();
    }

    // The header line of the first section of that name at or after from, or -1.
    qsizetype findSection(const QByteArray &name, qsizetype from = 0) const
    {
        for (qsizetype i = from; i < m_lines.size(); ++i) {
            const std::optional<QByteArray> section = sectionAt(i);
            if (section && sameName(*section, name))
                return i;
        }
        return -1;
    }

    // The line after the last one of the section that starts at header.
    qsizetype sectionEnd(qsizetype header) const
    {
        qsizetype i = header + 1;
        while (i < m_lines.size() && !sectionAt(i))
            ++i;
        return i;
    }

    qsizetype findKey(qsizetype header, const QByteArray &name) const
    {
        const qsizetype end = sectionEnd(header);
        for (qsizetype i = header + 1; i < end; ++i) {
            const std::optional<QByteArray> key = keyAt(i);
            if (key && sameName(*key, name))
                return i;
        }
        return -1;
    }

    void setValue(const QByteArray &section, const QByteArray &key, const QByteArray &value)
    {
        const qsizetype header = findSection(section);
        if (header < 0) {
            if (!m_lines.isEmpty() && !content(m_lines.size() - 1).isEmpty())
                append(QByteArray());
            append('[' + section + ']');
            append(key + '=' + value);
            return;
        }
        const qsizetype existing = findKey(header, key);
        if (existing >= 0) {
            m_lines[existing] = *keyAt(existing) + '=' + value + lineEnd();
            return;
        }
        // After the section's last line that is not blank, so that the blank line
        // before the next section stays where it is.
        qsizetype at = sectionEnd(header);
        while (at > header + 1 && content(at - 1).isEmpty())
            --at;
        m_lines.insert(at, key + '=' + value + lineEnd());
    }

    void removeSections(const QByteArray &name)
    {
        for (qsizetype header = findSection(name); header >= 0; header = findSection(name, header))
            m_lines.remove(header, sectionEnd(header) - header);
    }

private:
    QByteArray content(qsizetype index) const
    {
        QByteArray line = m_lines.at(index);
        if (index == 0 && line.startsWith(Utf8Mark))
            line.remove(0, qsizetype(sizeof Utf8Mark - 1));
        return line.trimmed();
    }

    QByteArray lineEnd() const { return m_newline == "\r\n" ? "\r" : ""; }
    void append(const QByteArray &line) { m_lines.append(line + lineEnd()); }

    QList<QByteArray> m_lines;
    QByteArray m_newline = "\n";
};

enum class ReadResult { Read, Missing, Failed };

ReadResult readFile(const QString &fileName, QByteArray *contents)
{
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? ReadResult::Missing : ReadResult::Failed;
    contents->clear();
    char buffer[65536];
    ReadResult result = ReadResult::Read;
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            result = ReadResult::Failed;
        if (got <= 0)
            break;
        contents->append(buffer, got);
    }
    ::close(fd);
    return result;
}

bool writeAll(int fd, const QByteArray &data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t written = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
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

// The new contents go to a fresh file beside the target, reach the disk, and only then
// take the target's name.
Staged replaceThroughTemporary(const QString &target, const QByteArray &contents)
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
    const bool written = writeAll(fd, contents) && ::fsync(fd) == 0;
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

// For a file that may be written where no new file may be made beside it.
bool writeInPlace(const QString &target, const QByteArray &contents)
{
    const int fd =
        ::open(QFile::encodeName(target).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const bool written =
        writeAll(fd, contents) && ::ftruncate(fd, off_t(contents.size())) == 0 && ::fsync(fd) == 0;
    return ::close(fd) == 0 && written;
}

bool storeFile(const QString &fileName, const QByteArray &contents)
{
    const QString target = resolvedTarget(fileName);
    // A file that its owner protected from writing is not replaced behind its back.
    if (QFileInfo::exists(target) && ::access(QFile::encodeName(target).constData(), W_OK) != 0)
        return false;
    switch (replaceThroughTemporary(target, contents)) {
    case Staged::Replaced:
        return true;
    case Staged::Failed:
        return false;
    case Staged::NotPossible:
        break;
    }
    return writeInPlace(target, contents);
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
    QByteArray value = defaultValue;
    QByteArray contents;
    if (readFile(m_fileName, &contents) == ReadResult::Read) {
        const ProfileText text(contents);
        const qsizetype header = text.findSection(section);
        const qsizetype line = header < 0 ? -1 : text.findKey(header, key);
        if (line >= 0)
            value = withoutQuotes(text.valueAt(line));
    }
    return value.left(ReadBufferSize - 1);
}

bool IniFile::writeString(const QByteArray &section, const QByteArray &key, const QByteArray &value)
{
    if (!fitsOnOneLine(section, key, value))
        return false;
    QByteArray contents;
    if (readFile(m_fileName, &contents) == ReadResult::Failed)
        return false;
    ProfileText text(contents);
    text.setValue(section.trimmed(), key.trimmed(), value);
    return storeFile(m_fileName, text.contents());
}

bool IniFile::eraseSection(const QByteArray &section)
{
    QByteArray contents;
    switch (readFile(m_fileName, &contents)) {
    case ReadResult::Missing:
        return true;
    case ReadResult::Failed:
        return false;
    case ReadResult::Read:
        break;
    }
    ProfileText text(contents);
    text.removeSections(section.trimmed());
    return storeFile(m_fileName, text.contents());
}
