#pragma once

#include "results.h"

#include <string>
#include <vector>

// Where and how the run was made, printed above the table.
struct RunInfo
{
    std::string date;
    std::string cpuModel;
    int cores = 0;
    std::string debianVersion;
    std::string qtVersion;
    std::string kernel;
    int rounds = 0;
    int warmupRounds = 0;
    int instructionRounds = 0;
    int idleSeconds = 0;
    int rollSeconds = 0;
};

// The table of medians, ranges, ratios to the floor and goals, for the terminal and
// as Markdown for the README.
class Report
{
public:
    Report(const Results &results, const RunInfo &info) : m_results(results), m_info(info) {}

    std::string text() const;
    std::string markdown() const;

    using Row = std::vector<std::string>;
    std::vector<Row> rows() const;
    // "pass", "FAIL", or empty when the measure has no goal or no value.
    static std::string verdict(const MeasureInfo &info, double value, double floor);
    static std::string number(double value, int decimals);

private:
    std::vector<std::string> infoLines() const;

    const Results &m_results;
    const RunInfo m_info;
};
