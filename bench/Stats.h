// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

// Order statistics of a benchmark's samples.
namespace bench {

// The nearest-rank percentile (0 < p <= 100) of the samples; 0 for none.
double percentile(std::vector<double> samples, double p);
// The middle sample, or the mean of the two middle ones; 0 for none.
double median(std::vector<double> samples);

} // namespace bench
