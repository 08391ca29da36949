#include "procstats.h"

#include "textfile.h"

#include <charconv>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace ProcStats {

namespace {

std::filesystem::path procPath(pid_t pid)
{
    return std::filesystem::path("/proc") / std::to_string(pid);
}

// poll and ppoll on x86-64: glib's and the X reader thread's waits.
constexpr int PollSyscall = 7;
constexpr int PpollSyscall = 271;

} // namespace

std::chrono::nanoseconds cpuTime(pid_t pid)
{
    clockid_t clock;
    timespec value{};
    if (clock_getcpuclockid(pid, &clock) != 0 || clock_gettime(clock, &value) != 0)
        throw std::runtime_error("cannot read the CPU time of process " + std::to_string(pid));
    return std::chrono::seconds(value.tv_sec) + std::chrono::nanoseconds(value.tv_nsec);
}

Wakeups voluntarySwitches(pid_t pid)
{
    Wakeups wakeups;
    std::error_code error;
    for (const auto &task : std::filesystem::directory_iterator(procPath(pid) / "task", error)) {
        const std::string status = readText(task.path() / "status");
        std::string name = readText(task.path() / "comm");
        if (!name.empty() && name.back() == '\n')
            name.pop_back();
        wakeups[name] += field(status, "voluntary_ctxt_switches").value_or(0);
    }
    return wakeups;
}

long long total(const Wakeups &wakeups)
{
    long long sum = 0;
    for (const auto &[name, count] : wakeups)
        sum += count;
    return sum;
}

std::string wakeupsByThread(const Wakeups &before, const Wakeups &after)
{
    std::string text;
    for (const auto &[name, count] : after) {
        const auto earlier = before.find(name);
        const long long added = count - (earlier == before.end() ? 0 : earlier->second);
        text += (text.empty() ? "" : ", ") + name + " " + std::to_string(added);
    }
    return text;
}

Memory memory(pid_t pid)
{
    Memory result;
    result.rssKiB = field(readText(procPath(pid) / "status"), "VmRSS").value_or(0);
    result.privateDirtyKiB =
        field(readText(procPath(pid) / "smaps_rollup"), "Private_Dirty").value_or(0);
    return result;
}

bool mainThreadSleepsInPoll(pid_t pid)
{
    const auto thread = procPath(pid) / "task" / std::to_string(pid);
    if (stateOfStatLine(readText(thread / "stat")) != 'S')
        return false;
    const std::string call = readText(thread / "syscall");
    int number = -1;
    std::from_chars(call.data(), call.data() + call.size(), number);
    return number == PollSyscall || number == PpollSyscall;
}

std::optional<long long> field(std::string_view text, std::string_view key)
{
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (line.size() <= key.size() || line.substr(0, key.size()) != key ||
            line[key.size()] != ':')
            continue;
        size_t digits = key.size() + 1;
        while (digits < line.size() && (line[digits] == ' ' || line[digits] == '\t'))
            ++digits;
        long long value = 0;
        const auto [next, error] =
            std::from_chars(line.data() + digits, line.data() + line.size(), value);
        if (error != std::errc())
            return std::nullopt;
        return value;
    }
    return std::nullopt;
}

char stateOfStatLine(std::string_view stat)
{
    const size_t close = stat.rfind(')');
    if (close == std::string_view::npos || close + 2 >= stat.size())
        return '?';
    return stat[close + 2];
}

} // namespace ProcStats
