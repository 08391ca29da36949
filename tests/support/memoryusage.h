#pragma once

#include <QFile>
#include <QString>
#include <QtGlobal>
#include <cstddef>
#include <optional>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define MORPHO_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MORPHO_ADDRESS_SANITIZER 1
#endif
#endif

#if defined(MORPHO_ADDRESS_SANITIZER)
// From the sanitizer runtime; GCC ships no header for it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

// What a process holds in memory, for tests that look for growth.
namespace MemoryUsage {

// The bytes in use on this process's heap: what a leak makes grow. Under
// AddressSanitizer its own allocator serves every allocation, so it is asked; freed
// blocks waiting in its quarantine do not count.
inline std::size_t heapInUse()
{
#if defined(MORPHO_ADDRESS_SANITIZER)
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

// A "Vm…" line of /proc/<pid>/status, in bytes.
inline std::optional<qint64> statusField(const QByteArray &field, qint64 pid = 0)
{
    QFile status(pid ? QStringLiteral("/proc/%1/status").arg(pid)
                     : QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':')) {
            bool ok = false;
            const qint64 kilobytes =
                line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong(&ok);
            return ok ? std::optional(kilobytes * 1024) : std::nullopt;
        }
    }
    return std::nullopt;
}

// Resident memory now. Under AddressSanitizer it also holds the quarantine of freed
// blocks, which fills up on its own: then nothing is returned, as no growth can be told.
inline std::optional<qint64> resident()
{
#if defined(MORPHO_ADDRESS_SANITIZER)
    return std::nullopt;
#else
    return statusField("VmRSS");
#endif
}

// The highest resident memory of a process (this one by default) since its start or
// since resetPeak().
inline std::optional<qint64> peakResident(qint64 pid = 0)
{
    return statusField("VmHWM", pid);
}

// Lowers this process's peak to its resident memory now; false where the kernel does
// not allow it.
inline bool resetPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

} // namespace MemoryUsage
