#pragma once

#include "results.h"
#include "timing.h"
#include "xserver.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ProgramProcess;

struct ProgramUnderTest
{
    Subject subject;
    std::string name;
    std::filesystem::path executable;
    std::string windowClass; // WM_CLASS class of its main window
    bool hasCreditsRoll = false;
};

struct BenchOptions
{
    int rounds = 7;
    int warmupRounds = 1;
    int instructionRounds = 7; // counted rounds that also run under callgrind
    std::chrono::seconds memoryDelay{2};
    std::chrono::seconds idle{30};
    std::chrono::seconds roll{30};
    std::string valgrind = "valgrind";
    std::string callgrindControl = "callgrind_control";
};

// The protocol: rounds of the program then the floor, each started from a fresh copy,
// measured from its exec to its first frame, then at rest and, for the program, with
// its credits rolling; then the same start under callgrind.
class Bench
{
public:
    Bench(XServer &server, const BenchOptions &options, const std::filesystem::path &workFolder,
          Results &results);
    ~Bench();

    void run(const ProgramUnderTest &program, const ProgramUnderTest &floor);

private:
    struct Launch;

    std::unique_ptr<Launch> launch(const ProgramUnderTest &subject, bool underCallgrind,
                                   std::chrono::seconds timeout);
    void measure(const ProgramUnderTest &subject, bool counted, const std::string &round);
    void measureInstructions(const ProgramUnderTest &subject, bool counted, bool profile,
                             const std::string &round);
    struct RollCost
    {
        double programPercent;
        double serverPercent;
    };
    std::optional<RollCost> measureCreditsRoll(Launch &run);
    bool openAboutBox(Launch &run, Rect &aboutBox);
    bool creditsRolling(const Rect &textArea, int watchFd);
    void waitUntilIdle(Launch &run);
    void finish(const ProgramUnderTest &subject, Launch &run);
    [[noreturn]] void programEnded(const ProgramUnderTest &subject, const Launch &run);

    std::vector<std::string> environment() const;
    void record(bool counted, Subject subject, Measure measure, double value);
    void movePointerAway();

    XServer &m_server;
    const BenchOptions m_options;
    const std::filesystem::path m_workFolder;
    Results &m_results;
    int m_launchCount = 0;
    bool m_toldNoAboutBox = false;
};
