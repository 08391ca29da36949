#include "results.h"

void Results::add(Subject subject, Measure measure, double value)
{
    m_series[size_t(subject)][size_t(measure)].add(value);
}

const Series &Results::series(Subject subject, Measure measure) const
{
    return m_series[size_t(subject)][size_t(measure)];
}

void Results::setProfile(Subject subject, std::vector<std::string> lines)
{
    m_profiles[size_t(subject)] = std::move(lines);
}

const std::vector<std::string> &Results::profile(Subject subject) const
{
    return m_profiles[size_t(subject)];
}
