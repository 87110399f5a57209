#pragma once

#include <string>
#include <vector>

#include "bench/results.h"

namespace quorvin::bench {

// Every interval of every setting as a dot, ours beside the bare timer's, one panel per setting
// with the nominal period dashed and each median drawn across its column; written as PNG.
bool DrawCadenceChart(const std::vector<CadenceResult>& cadence, const std::string& pngPath);

}  // namespace quorvin::bench
