#include "series.h"

#include <algorithm>
#include <limits>

namespace {

constexpr double Missing = std::numeric_limits<double>::quiet_NaN();

} // namespace

double Series::median() const
{
    if (m_values.empty())
        return Missing;
    std::vector<double> sorted = m_values;
    std::sort(sorted.begin(), sorted.end());
    const size_t middle = sorted.size() / 2;
    return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

double Series::min() const
{
    if (m_values.empty())
        return Missing;
    return *std::min_element(m_values.begin(), m_values.end());
}

double Series::max() const
{
    if (m_values.empty())
        return Missing;
    return *std::max_element(m_values.begin(), m_values.end());
}
