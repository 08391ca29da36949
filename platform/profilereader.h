#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

// Reads a profile file one line at a time and tells what each line is, keeping only
// bounded heads of the names and the value: a file of any size, even one line of many
// megabytes, is read in one linear pass with a fixed amount of memory. A line is what
// lies before a "\n"; its content is the line without surrounding blanks (and without
// the UTF-8 byte order mark at the file's start).
class ProfileReader
{
public:
    enum class Kind {
        Blank,   // nothing but blanks
        Section, // "[" name "]", the name reaching to the last "]"
        Key,     // key, then "=" and the value, or the key alone
        Other,   // a comment (";") or a "[" without "]"
    };

    struct Line
    {
        qint64 start = 0;            // offset of its first byte in the file
        qint64 end = 0;              // offset after its "\n", or the end of the file
        bool ended = false;          // whether it has its "\n"
        bool carriageReturn = false; // its last byte before the "\n" is "\r"
        Kind kind = Kind::Blank;
        // Without surrounding blanks; nothing when longer than the name limit.
        std::optional<QByteArray> name;
        // A key's value without surrounding blanks and enclosing quotes, cut to the value limit.
        QByteArray value;
    };

    // fd may be -1 for a file that does not exist, read as empty. The reader does not
    // own the descriptor and reads it by offset, so others may read it meanwhile.
    ProfileReader(int fd, qsizetype nameLimit, qsizetype valueLimit);

    // The next line, or false at the end of the file or after a read error.
    bool next(Line *line);
    bool failed() const { return m_failed; }

private:
    struct Scan;

    bool fill();
    void scan(Scan &state, const char *from, const char *to);
    void finish(Scan &state, Line *line) const;

    const int m_fd;
    const qsizetype m_nameLimit;
    const qsizetype m_valueLimit;
    QByteArray m_buffer;
    qsizetype m_used = 0;      // bytes of the buffer taken by lines already read
    qsizetype m_filled = 0;    // bytes of the buffer read from the file
    qint64 m_bufferOffset = 0; // file offset of the buffer's first byte
    bool m_atEnd = false;
    bool m_failed = false;
    bool m_firstLine = true;
};
