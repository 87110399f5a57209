#pragma once

#include <string>
#include <vector>

#include "bench/interval_stats.h"

namespace quorvin::bench {

// One line of the results: our figure, the baseline's, and the goal it is held to.
struct Figure {
  std::string name;
  std::string unit;
  double ours = 0;
  double baseline = 0;
  bool hasBaseline = true;
  std::string goal;  // in words, empty when the figure has none
  int met = -1;      // 1 met, 0 missed, -1 no goal
  std::string note;
};

// The clicks of one interval setting, ours beside the bare timer's.
struct CadenceResult {
  std::string setting;  // as the interval list shows it
  double periodMs = 0;
  std::vector<double> ours;
  std::vector<double> baseline;
  IntervalSummary oursSummary;
  IntervalSummary baselineSummary;
  int oursUnmatchedUps = 0;  // button-downs without their button-up, or the other way round
};

struct Results {
  std::string when;
  std::string settingsNote;
  std::vector<Figure> figures;
  std::vector<CadenceResult> cadence;
};

// The table as text for the console, as Markdown, and as JSON with every interval kept.
std::string AsText(const Results& results);
std::string AsMarkdown(const Results& results);
std::string AsJson(const Results& results);

}  // namespace quorvin::bench
