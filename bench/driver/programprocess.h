#pragma once

#include "timing.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

// One started program: the moment just before its exec, its pid, a descriptor that
// becomes readable when it ends, and a clean stop.
class ProgramProcess
{
public:
    // Runs arguments[0] with exactly this environment, in folder; its output goes to
    // outputPath. Throws when the exec fails.
    ProgramProcess(const std::vector<std::string> &arguments,
                   const std::vector<std::string> &environment, const std::filesystem::path &folder,
                   const std::filesystem::path &outputPath);
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess &) = delete;
    ProgramProcess &operator=(const ProgramProcess &) = delete;

    pid_t pid() const { return m_pid; }
    int exitFd() const { return m_pidFd; }
    Clock::time_point execTime() const { return m_execTime; }
    bool hasExited();
    // SIGTERM, then SIGKILL when it has not ended within the grace time.
    void stop(std::chrono::milliseconds grace = std::chrono::seconds(5));

private:
    void reap();

    pid_t m_pid = -1;
    int m_pidFd = -1;
    bool m_reaped = false;
    Clock::time_point m_execTime;
};
