#include "Statistics.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace bench {

double median(std::vector<double> values) {
    if (values.empty()) throw std::invalid_argument("median of no values");
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) throw std::invalid_argument("percentile of no values");
    if (!(fraction > 0 && fraction <= 1)) throw std::invalid_argument("percentile outside (0, 1]");
    std::sort(values.begin(), values.end());
    // The small allowance keeps a product such as 0.99 * 100 from rounding up
    // to the next rank.
    auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size()) - 1e-9));
    return values[std::max<std::size_t>(rank, 1) - 1];
}

}  // namespace bench
