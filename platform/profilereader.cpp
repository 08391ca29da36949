#include "profilereader.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

constexpr qsizetype ChunkSize = 64 * 1024;
constexpr char Utf8Mark[] = "\xEF\xBB\xBF";
constexpr qsizetype Utf8MarkSize = sizeof Utf8Mark - 1;

// The blanks that surround names and values: ASCII white space.
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads exactly size bytes at offset, fewer only at the end of the file.
qint64 readAt(int fd, char *data, qint64 size, qint64 offset)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, data + done, size_t(size - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

} // namespace

// What one line has shown so far. Positions count the line's bytes after the byte
// order mark; only heads of the name, the key and the value are kept.
struct ProfileReader::Scan
{
    qint64 position = 0;
    qint64 markLeft = 0;
    char lastRaw = 0;
    qint64 contentStart = -1;
    char first = 0;
    qint64 lastSolid = -1; // the last byte that is no blank
    char lastSolidByte = 0;
    // A section: its name runs from the first solid byte after "[" to the last solid
    // byte before the last "]".
    qint64 nameStart = -1;
    qint64 lastClose = -1;
    qint64 nameEnd = -1;
    QByteArray nameHead;
    // A key: the key runs to the last solid byte before the first "=", the value from
    // the first solid byte after it to the end of the content.
    QByteArray keyHead;
    qint64 equals = -1;
    qint64 keyEnd = -1;
    qint64 valueStart = -1;
    QByteArray valueHead;
};

ProfileReader::ProfileReader(int fd, qsizetype nameLimit, qsizetype valueLimit)
    : m_fd(fd), m_nameLimit(nameLimit), m_valueLimit(valueLimit), m_buffer(ChunkSize, '\0'),
      m_atEnd(fd < 0)
{
}

bool ProfileReader::fill()
{
    m_bufferOffset += m_filled;
    m_used = m_filled = 0;
    const qint64 got = readAt(m_fd, m_buffer.data(), ChunkSize, m_bufferOffset);
    if (got < 0)
        m_failed = true;
    else if (got == 0)
        m_atEnd = true;
    else
        m_filled = qsizetype(got);
    return m_filled > 0;
}

bool ProfileReader::next(Line *line)
{
    if (m_failed)
        return false;
    Scan state;
    if (m_firstLine && m_fd >= 0) {
        char mark[Utf8MarkSize];
        const qint64 got = readAt(m_fd, mark, Utf8MarkSize, 0);
        if (got < 0) {
            m_failed = true;
            return false;
        }
        if (got == Utf8MarkSize && std::memcmp(mark, Utf8Mark, Utf8MarkSize) == 0)
            state.markLeft = Utf8MarkSize;
    }
    *line = Line();
    line->start = m_bufferOffset + m_used;
    bool any = false;
    for (;;) {
        if (m_used == m_filled && (m_atEnd || !fill())) {
            if (m_failed || !any)
                return false;
            line->end = m_bufferOffset + m_used;
            finish(state, line);
            m_firstLine = false;
            return true;
        }
        const char *data = m_buffer.constData();
        const char *from = data + m_used;
        const auto *newline =
            static_cast<const char *>(std::memchr(from, '\n', size_t(m_filled - m_used)));
        const char *to = newline ? newline : data + m_filled;
        scan(state, from, to);
        any = true;
        m_used = qsizetype((newline ? newline + 1 : to) - data);
        if (newline) {
            line->end = m_bufferOffset + m_used;
            line->ended = true;
            finish(state, line);
            m_firstLine = false;
            return true;
        }
    }
}

void ProfileReader::scan(Scan &s, const char *from, const char *to)
{
    if (from == to)
        return;
    s.lastRaw = to[-1];
    for (const char *p = from; p < to; ++p) {
        const char c = *p;
        if (s.markLeft > 0) {
            --s.markLeft;
            continue;
        }
        const qint64 at = s.position++;
        const bool blank = isBlank(c);
        if (s.contentStart < 0) {
            if (blank)
                continue;
            s.contentStart = at;
            s.first = c;
        }
        if (s.first == '[') {
            if (at > s.contentStart) {
                if (s.nameStart < 0 && !blank)
                    s.nameStart = at;
                if (s.nameStart >= 0 && s.nameHead.size() < m_nameLimit)
                    s.nameHead.append(c);
                if (c == ']') {
                    s.lastClose = at;
                    s.nameEnd = s.lastSolid;
                }
            }
        } else if (s.first != ';') {
            if (s.keyHead.size() < m_nameLimit)
                s.keyHead.append(c);
            if (s.equals < 0) {
                if (c == '=') {
                    s.equals = at;
                    s.keyEnd = s.lastSolid;
                }
            } else {
                if (s.valueStart < 0 && !blank)
                    s.valueStart = at;
                if (s.valueStart >= 0 && s.valueHead.size() <= m_valueLimit)
                    s.valueHead.append(c);
            }
        }
        if (!blank) {
            s.lastSolid = at;
            s.lastSolidByte = c;
        }
    }
}

void ProfileReader::finish(Scan &s, Line *line) const
{
    line->carriageReturn = s.lastRaw == '\r';
    const auto head = [this](const QByteArray &bytes, qint64 length) {
        return length <= m_nameLimit ? std::optional(bytes.left(qsizetype(length))) : std::nullopt;
    };
    if (s.contentStart < 0) {
        line->kind = Kind::Blank;
    } else if (s.first == '[') {
        if (s.lastClose < 0) {
            line->kind = Kind::Other;
            return;
        }
        line->kind = Kind::Section;
        const qint64 length =
            s.nameStart >= 0 && s.nameEnd >= s.nameStart ? s.nameEnd - s.nameStart + 1 : 0;
        line->name = head(s.nameHead, length);
    } else if (s.first == ';') {
        line->kind = Kind::Other;
    } else {
        line->kind = Kind::Key;
        const qint64 keyEnd = s.equals < 0 ? s.lastSolid : s.keyEnd;
        line->name = head(s.keyHead, keyEnd >= s.contentStart ? keyEnd - s.contentStart + 1 : 0);
        if (s.valueStart < 0)
            return;
        const qint64 length = s.lastSolid - s.valueStart + 1;
        const char open = s.valueHead.front();
        // Quotes go before the cut, so they cost no room.
        const bool quoted = length >= 2 && (open == '"' || open == '\'') && s.lastSolidByte == open;
        line->value = quoted ? s.valueHead.mid(1, qsizetype(qMin<qint64>(length - 2, m_valueLimit)))
                             : s.valueHead.left(qsizetype(qMin<qint64>(length, m_valueLimit)));
    }
}
