#include "programprocess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <linux/close_range.h>
#include <poll.h>
#include <stdexcept>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::vector<char *> pointers(const std::vector<std::string> &strings)
{
    std::vector<char *> result;
    for (const std::string &text : strings)
        result.push_back(const_cast<char *>(text.c_str()));
    result.push_back(nullptr);
    return result;
}

bool readAll(int fd, void *buffer, size_t size)
{
    auto *bytes = static_cast<char *>(buffer);
    while (size > 0) {
        const ssize_t count = read(fd, bytes, size);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        bytes += count;
        size -= size_t(count);
    }
    return true;
}

} // namespace

ProgramProcess::ProgramProcess(const std::vector<std::string> &arguments,
                               const std::vector<std::string> &environment,
                               const std::filesystem::path &folder,
                               const std::filesystem::path &outputPath)
{
    // The child reports its exec time, then either nothing (the exec closed the pipe)
    // or the exec's errno.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("pipe2: ") + std::strerror(errno));
    const std::vector<char *> argv = pointers(arguments);
    const std::vector<char *> envp = pointers(environment);
    const std::string folderText = folder.string();
    const std::string outputText = outputPath.string();

    m_pid = fork();
    if (m_pid < 0)
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (m_pid == 0) {
        close(report[0]);
        const int input = open("/dev/null", O_RDONLY);
        const int output = open(outputText.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(input, STDIN_FILENO);
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
        // Nothing of the driver's, its X connection included, reaches the program.
        syscall(SYS_close_range, 3U, ~0U, CLOSE_RANGE_CLOEXEC);
        int error = chdir(folderText.c_str()) == 0 ? 0 : errno;
        if (error == 0) {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            (void)!write(report[1], &now, sizeof now);
            execve(argv[0], argv.data(), envp.data());
            error = errno;
        } else {
            const timespec none{};
            (void)!write(report[1], &none, sizeof none);
        }
        (void)!write(report[1], &error, sizeof error);
        _exit(127);
    }
    close(report[1]);
    timespec started{};
    int error = 0;
    const bool reported = readAll(report[0], &started, sizeof started);
    const bool failed = readAll(report[0], &error, sizeof error);
    close(report[0]);
    if (!reported || failed) {
        reap();
        throw std::runtime_error("cannot start " + arguments.front() + ": " +
                                 std::strerror(failed ? error : ECHILD));
    }
    m_execTime = Clock::time_point(std::chrono::duration_cast<Clock::duration>(
        std::chrono::seconds(started.tv_sec) + std::chrono::nanoseconds(started.tv_nsec)));
    m_pidFd = int(syscall(SYS_pidfd_open, m_pid, 0));
    if (m_pidFd < 0) {
        const std::string reason = std::strerror(errno);
        kill(m_pid, SIGKILL);
        reap();
        throw std::runtime_error("pidfd_open: " + reason);
    }
}

ProgramProcess::~ProgramProcess()
{
    if (m_pid > 0 && !m_reaped)
        stop(std::chrono::milliseconds(0));
    if (m_pidFd >= 0)
        close(m_pidFd);
}

bool ProgramProcess::hasExited()
{
    if (m_reaped)
        return true;
    pollfd ended{m_pidFd, POLLIN, 0};
    if (poll(&ended, 1, 0) <= 0)
        return false;
    reap();
    return true;
}

void ProgramProcess::stop(std::chrono::milliseconds grace)
{
    if (hasExited())
        return;
    kill(m_pid, SIGTERM);
    pollfd ended{m_pidFd, POLLIN, 0};
    if (poll(&ended, 1, int(grace.count())) <= 0)
        kill(m_pid, SIGKILL);
    reap();
}

void ProgramProcess::reap()
{
    while (waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    m_reaped = true;
}
