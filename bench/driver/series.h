#pragma once

#include <vector>

// The values of one measure for one program, one per counted round.
class Series
{
public:
    void add(double value) { m_values.push_back(value); }
    bool empty() const { return m_values.empty(); }
    int size() const { return int(m_values.size()); }
    // The middle value, or the mean of the two middle ones for an even count; NaN,
    // like min and max, when there is no value.
    double median() const;
    double min() const;
    double max() const;

private:
    std::vector<double> m_values;
};
