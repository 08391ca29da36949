#pragma once

#include <QtGlobal>
#include <cstddef>
#include <cstdio>
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
#include <sanitizer/allocator_interface.h>
#else
#include <malloc.h>
#endif

// What the process holds in memory now, for tests that look for growth.
namespace HeapUsage {

// The bytes in use on the heap: what a leak makes grow. Under AddressSanitizer its own
// allocator serves every allocation, so it is asked; freed blocks waiting in its
// quarantine do not count.
inline std::size_t inUse()
{
#if defined(MORPHO_ADDRESS_SANITIZER)
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

// Resident pages, from /proc/self/statm. Under AddressSanitizer they also hold the
// quarantine of freed blocks, which fills up on its own: then nothing is returned.
inline std::optional<qint64> residentBytes()
{
#if defined(MORPHO_ADDRESS_SANITIZER)
    return std::nullopt;
#else
    std::FILE *statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return std::nullopt;
    long size = 0;
    long resident = 0;
    const bool read = std::fscanf(statm, "%ld %ld", &size, &resident) == 2;
    std::fclose(statm);
    return read ? std::optional<qint64>(qint64(resident) * ::sysconf(_SC_PAGESIZE)) : std::nullopt;
#endif
}

} // namespace HeapUsage
