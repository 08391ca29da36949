#include "report.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>

namespace {

const char *const SubjectNames[] = {"Morphocalcule", "floor"};

double ratio(double value, double floor)
{
    if (std::isnan(value) || std::isnan(floor))
        return std::numeric_limits<double>::quiet_NaN();
    if (floor == 0)
        return value == 0 ? 1.0 : std::numeric_limits<double>::infinity();
    return value / floor;
}

std::string ratioText(double value)
{
    if (std::isnan(value))
        return "n/a";
    if (std::isinf(value))
        return "∞";
    return Report::number(value, 2) + "×";
}

// 1.2, 1.15, 1: no trailing zeros.
std::string shortNumber(double value)
{
    std::string text = Report::number(value, 2);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text += '0';
    return text;
}

std::string goalText(const MeasureInfo &info)
{
    switch (info.goal) {
    case MeasureInfo::Goal::RatioAtMost:
        return "≤ " + shortNumber(info.limit) + "× floor";
    case MeasureInfo::Goal::ValueBelow:
        return "< " + shortNumber(info.limit) + " " + info.unit;
    case MeasureInfo::Goal::None:
        break;
    }
    return {};
}

std::string range(const Series &series, int decimals)
{
    if (series.empty())
        return "n/a";
    return Report::number(series.min(), decimals) + "–" + Report::number(series.max(), decimals);
}

// Characters, not bytes: "–", "≤" and "×" take one column each.
size_t displayWidth(const std::string &text)
{
    size_t width = 0;
    for (unsigned char byte : text)
        width += (byte & 0xC0) != 0x80;
    return width;
}

} // namespace

std::string Report::number(double value, int decimals)
{
    if (std::isnan(value))
        return "n/a";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

std::string Report::verdict(const MeasureInfo &info, double value, double floor)
{
    switch (info.goal) {
    case MeasureInfo::Goal::RatioAtMost: {
        const double r = ratio(value, floor);
        if (std::isnan(r))
            return "not measured";
        return r <= info.limit ? "pass" : "FAIL";
    }
    case MeasureInfo::Goal::ValueBelow:
        if (std::isnan(value))
            return "not measured";
        return value < info.limit ? "pass" : "FAIL";
    case MeasureInfo::Goal::None:
        break;
    }
    return {};
}

std::vector<Report::Row> Report::rows() const
{
    std::vector<Row> rows{{"measure", SubjectNames[0], "min–max", SubjectNames[1], "min–max",
                           "ratio", "goal", "result"}};
    for (const MeasureInfo &info : Measures) {
        const Series &program = m_results.series(Subject::Morphocalcule, info.measure);
        const Series &floor = m_results.series(Subject::Floor, info.measure);
        std::string unit = info.unit;
        if (info.perIdleWindow)
            unit += std::string(unit.empty() ? "" : " ") + "in " +
                    std::to_string(m_info.idleSeconds) + " s";
        const std::string label = std::string(info.label) + (unit.empty() ? "" : " (" + unit + ")");
        const bool compared = !info.programOnly;
        rows.push_back({label, number(program.median(), info.decimals),
                        range(program, info.decimals),
                        compared ? number(floor.median(), info.decimals) : "–",
                        compared ? range(floor, info.decimals) : "–",
                        compared ? ratioText(ratio(program.median(), floor.median())) : "–",
                        goalText(info), verdict(info, program.median(), floor.median())});
    }
    return rows;
}

std::vector<std::string> Report::infoLines() const
{
    return {
        "Date: " + m_info.date,
        "Machine: " + m_info.cpuModel + ", " + std::to_string(m_info.cores) + " cores; Debian " +
            m_info.debianVersion + "; Linux " + m_info.kernel + "; Qt " + m_info.qtVersion,
        "Protocol: one run on its own Xvfb without a window manager, Morphocalcule and the "
        "floor interleaved; " +
            std::to_string(m_info.warmupRounds) + " warm-up round(s) not counted, then " +
            std::to_string(m_info.rounds) + " counted rounds (" +
            std::to_string(m_info.instructionRounds) + " of them also under callgrind); idle and " +
            "credits-roll windows of " + std::to_string(m_info.idleSeconds) + " s and " +
            std::to_string(m_info.rollSeconds) + " s.",
    };
}

std::string Report::text() const
{
    std::ostringstream out;
    for (const std::string &line : infoLines())
        out << line << '\n';
    out << '\n';
    const std::vector<Row> table = rows();
    std::vector<size_t> widths(table.front().size(), 0);
    for (const Row &row : table)
        for (size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], displayWidth(row[column]));
    for (const Row &row : table) {
        for (size_t column = 0; column < row.size(); ++column) {
            const size_t padding = widths[column] - displayWidth(row[column]);
            // Names to the left, numbers to the right.
            if (column == 0)
                out << row[column] << std::string(padding, ' ');
            else
                out << "  " << std::string(padding, ' ') << row[column];
        }
        out << '\n';
    }
    return out.str();
}

std::string Report::markdown() const
{
    std::ostringstream out;
    out << "## Benchmark\n\n";
    for (const std::string &line : infoLines())
        out << "- " << line << '\n';
    out << '\n';
    const std::vector<Row> table = rows();
    for (size_t index = 0; index < table.size(); ++index) {
        out << '|';
        for (const std::string &cell : table[index])
            out << ' ' << cell << " |";
        out << '\n';
        if (index == 0) {
            out << "|---|";
            for (size_t column = 1; column < table[index].size(); ++column)
                out << "---:|";
            out << '\n';
        }
    }
    for (Subject subject : {Subject::Morphocalcule, Subject::Floor}) {
        const std::vector<std::string> &lines = m_results.profile(subject);
        if (lines.empty())
            continue;
        out << "\nStart-up profile of " << SubjectNames[size_t(subject)]
            << " (callgrind, instructions up to the first idle, inclusive):\n\n```\n";
        for (const std::string &line : lines)
            out << line << '\n';
        out << "```\n";
    }
    return out.str();
}
