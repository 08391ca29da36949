#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

// What /proc and the kernel's CPU clocks tell of a running process.
namespace ProcStats {

// utime + stime of every thread, those that have ended included, at the scheduler's
// nanosecond resolution rather than in 10 ms ticks.
std::chrono::nanoseconds cpuTime(pid_t pid);

// voluntary_ctxt_switches of /proc/PID/task/*/status, each one a sleep that a thread
// woke from, by thread name (threads of one name added up).
using Wakeups = std::map<std::string, long long>;
Wakeups voluntarySwitches(pid_t pid);
long long total(const Wakeups &wakeups);
// What each thread added between two readings, as "name count, name count".
std::string wakeupsByThread(const Wakeups &before, const Wakeups &after);

struct Memory
{
    long long rssKiB = 0;
    long long privateDirtyKiB = 0;
};
Memory memory(pid_t pid);

// The main thread is asleep in poll(), the event loop's wait.
bool mainThreadSleepsInPoll(pid_t pid);

// A "Key:   value kB" line of a /proc status-style text.
std::optional<long long> field(std::string_view text, std::string_view key);
// The state letter of a /proc stat line (the command may hold spaces and parentheses).
char stateOfStatLine(std::string_view stat);

} // namespace ProcStats
