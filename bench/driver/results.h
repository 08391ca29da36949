#pragma once

#include "measure.h"
#include "series.h"

#include <array>
#include <string>
#include <vector>

enum class Subject { Morphocalcule, Floor };

// Every counted value of the run, and each program's start-up profile.
class Results
{
public:
    void add(Subject subject, Measure measure, double value);
    const Series &series(Subject subject, Measure measure) const;

    // The heaviest functions by inclusive cost up to the first idle.
    void setProfile(Subject subject, std::vector<std::string> lines);
    const std::vector<std::string> &profile(Subject subject) const;

private:
    std::array<std::array<Series, Measures.size()>, 2> m_series;
    std::array<std::vector<std::string>, 2> m_profiles;
};
