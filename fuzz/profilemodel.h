#pragma once

// The profile file conventions once more, the plain way: the whole file in memory as a
// list of lines. The fuzz target holds IniFile, which streams, to what this gives.

#include <QByteArray>
#include <QList>
#include <optional>

class ProfileModel
{
public:
    explicit ProfileModel(const QByteArray &contents)
    {
        if (contents.isEmpty())
            return;
        m_lines = contents.split('\n');
        if (contents.endsWith('\n'))
            m_lines.removeLast();
        m_crlf = m_lines.first().endsWith('\r');
    }

    QList<QByteArray> lines() const { return m_lines; }
    QByteArray contents() const
    {
        QByteArray result;
        for (const QByteArray &line : m_lines)
            result += line + '\n';
        return result;
    }

    std::optional<QByteArray> section(qsizetype i) const
    {
        const QByteArray text = content(i);
        if (!text.startsWith('[') || !text.contains(']'))
            return std::nullopt;
        return text.mid(1, text.lastIndexOf(']') - 1).trimmed();
    }
    std::optional<QByteArray> key(qsizetype i) const
    {
        const QByteArray text = content(i);
        if (text.isEmpty() || text.startsWith(';') || text.startsWith('['))
            return std::nullopt;
        return text.left(text.contains('=') ? text.indexOf('=') : text.size()).trimmed();
    }
    QByteArray value(qsizetype i) const
    {
        const QByteArray text = content(i);
        QByteArray v =
            text.contains('=') ? text.mid(text.indexOf('=') + 1).trimmed() : QByteArray();
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.mid(1, v.size() - 2);
        return v;
    }

    // The first section of that name and the line after its last one, or -1.
    qsizetype findSection(const QByteArray &name) const
    {
        for (qsizetype i = 0; i < m_lines.size(); ++i) {
            if (section(i) && same(*section(i), name))
                return i;
        }
        return -1;
    }
    qsizetype sectionEnd(qsizetype header) const
    {
        qsizetype i = header + 1;
        while (i < m_lines.size() && !section(i))
            ++i;
        return i;
    }
    qsizetype findKey(qsizetype header, const QByteArray &name) const
    {
        for (qsizetype i = header + 1; i < sectionEnd(header); ++i) {
            if (key(i) && same(*key(i), name))
                return i;
        }
        return -1;
    }

    QByteArray read(const QByteArray &sectionName, const QByteArray &keyName,
                    const QByteArray &fallback) const
    {
        const qsizetype header = findSection(sectionName);
        const qsizetype line = header < 0 ? -1 : findKey(header, keyName);
        return (line < 0 ? fallback : value(line)).left(1023);
    }

    void write(const QByteArray &sectionName, const QByteArray &keyName, const QByteArray &v)
    {
        const QByteArray end = m_crlf ? "\r" : "";
        const qsizetype header = findSection(sectionName);
        if (header < 0) {
            if (!m_lines.isEmpty() && !content(m_lines.size() - 1).isEmpty())
                m_lines.append(end);
            m_lines.append('[' + sectionName + ']' + end);
            m_lines.append(keyName + '=' + v + end);
            return;
        }
        const qsizetype existing = findKey(header, keyName);
        if (existing >= 0) {
            m_lines[existing] = *key(existing) + '=' + v + end;
            return;
        }
        qsizetype at = sectionEnd(header);
        while (at > header + 1 && content(at - 1).isEmpty())
            --at;
        m_lines.insert(at, keyName + '=' + v + end);
    }

    void erase(const QByteArray &name)
    {
        for (qsizetype header = findSection(name); header >= 0; header = findSection(name))
            m_lines.remove(header, sectionEnd(header) - header);
    }

    // ASCII letters alone fold.
    static bool same(const QByteArray &a, const QByteArray &b)
    {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
        if (a.size() != b.size())
            return false;
        for (qsizetype i = 0; i < a.size(); ++i) {
            if (lower(a[i]) != lower(b[i]))
                return false;
        }
        return true;
    }

private:
    QByteArray content(qsizetype i) const
    {
        QByteArray line = m_lines.at(i);
        if (i == 0 && line.startsWith("\xEF\xBB\xBF"))
            line.remove(0, 3);
        return line.trimmed();
    }

    QList<QByteArray> m_lines;
    bool m_crlf = false;
};
