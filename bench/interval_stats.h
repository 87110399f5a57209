#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

namespace quorvin::bench {

// What a run of clicks looked like against the period it was meant to keep.
struct IntervalSummary {
  int intervals = 0;
  double medianMs = 0;
  double meanMs = 0;
  double p95Ms = 0;
  double minMs = 0;
  double maxMs = 0;
  int missed = 0;   // ticks that gave no click: an interval spanning two or more periods
  int doubled = 0;  // clicks that came too soon: an interval under half a period
};

inline double Percentile(std::vector<double> values, double fraction) {
  if (values.empty())
    return 0;
  std::sort(values.begin(), values.end());
  // Nearest rank: the smallest value with at least `fraction` of the values at or below it.
  const auto rank =
      static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size())));
  return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

// The intervals between consecutive click times.
inline std::vector<double> IntervalsBetween(const std::vector<double>& times) {
  std::vector<double> intervals;
  for (std::size_t i = 1; i < times.size(); ++i)
    intervals.push_back(times[i] - times[i - 1]);
  return intervals;
}

inline IntervalSummary Summarize(const std::vector<double>& intervals, double periodMs) {
  IntervalSummary summary;
  summary.intervals = static_cast<int>(intervals.size());
  if (intervals.empty())
    return summary;
  summary.medianMs = Percentile(intervals, 0.5);
  double total = 0;
  for (double interval : intervals)
    total += interval;
  summary.meanMs = total / static_cast<double>(intervals.size());
  summary.p95Ms = Percentile(intervals, 0.95);
  summary.minMs = *std::min_element(intervals.begin(), intervals.end());
  summary.maxMs = *std::max_element(intervals.begin(), intervals.end());
  for (double interval : intervals) {
    if (interval < 0.5 * periodMs)
      ++summary.doubled;
    const long periods = std::lround(interval / periodMs);
    if (periods >= 2)
      summary.missed += static_cast<int>(periods - 1);
  }
  return summary;
}

}  // namespace quorvin::bench
