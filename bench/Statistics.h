#pragma once

#include <vector>

namespace bench {

// The middle value; the mean of the two middle ones for an even count.
// Throws std::invalid_argument for no values.
double median(std::vector<double> values);

// The nearest-rank percentile (`fraction` in (0, 1]): the smallest value that
// at least that fraction of the values do not exceed.
double percentile(std::vector<double> values, double fraction);

}  // namespace bench
