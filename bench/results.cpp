#include "bench/results.h"

#include <cmath>
#include <cstdio>

namespace quorvin::bench {
namespace {

std::string Number(double value) {
  char text[64];
  const double size = std::fabs(value);
  const char* format = size >= 1000                ? "%.0f"
                       : size >= 10                ? "%.1f"
                       : size >= 0.01 || size == 0 ? "%.3f"
                                                   : "%.2g";
  std::snprintf(text, sizeof(text), format, value);
  return text;
}

std::string Ratio(const Figure& figure) {
  if (!figure.hasBaseline)
    return "";
  if (figure.baseline == 0)
    return figure.ours == 0 ? "1 (both 0)" : "n/a";
  char text[32];
  std::snprintf(text, sizeof(text), "%.3f", figure.ours / figure.baseline);
  return text;
}

const char* Verdict(const Figure& figure) {
  return figure.met == 1 ? "met" : figure.met == 0 ? "MISSED" : "";
}

std::string Padded(const std::string& text, std::size_t width) {
  // Column widths count bytes; every name here is ASCII.
  return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\')
      quoted += '\\';
    if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof(escaped), "\\u%04x", static_cast<unsigned>(c));
      quoted += escaped;
      continue;
    }
    quoted += c;
  }
  return quoted + "\"";
}

std::string JsonNumber(double value) {
  if (!std::isfinite(value))
    return "null";
  char text[64];
  std::snprintf(text, sizeof(text), "%.6g", value);
  return text;
}

std::string JsonSummary(const IntervalSummary& s) {
  return "{\"intervals\": " + std::to_string(s.intervals) +
         ", \"median_ms\": " + JsonNumber(s.medianMs) + ", \"mean_ms\": " + JsonNumber(s.meanMs) +
         ", \"p95_ms\": " + JsonNumber(s.p95Ms) + ", \"min_ms\": " + JsonNumber(s.minMs) +
         ", \"max_ms\": " + JsonNumber(s.maxMs) + ", \"missed\": " + std::to_string(s.missed) +
         ", \"doubled\": " + std::to_string(s.doubled) + "}";
}

std::string JsonList(const std::vector<double>& values) {
  std::string list = "[";
  for (std::size_t i = 0; i < values.size(); ++i)
    list += (i ? ", " : "") + JsonNumber(values[i]);
  return list + "]";
}

}  // namespace

std::string AsText(const Results& results) {
  std::string text = "Quorvin clicker benchmark, " + results.when + "\n";
  text += Padded("figure", 44) + Padded("unit", 8) + Padded("ours", 11) + Padded("baseline", 11) +
          Padded("ratio", 11) + "goal\n";
  for (const Figure& f : results.figures) {
    text += Padded(f.name, 44) + Padded(f.unit, 8) + Padded(Number(f.ours), 11) +
            Padded(f.hasBaseline ? Number(f.baseline) : "", 11) + Padded(Ratio(f), 11) + Verdict(f);
    if (!f.goal.empty())
      text += std::string(" (") + f.goal + ")";
    if (!f.note.empty())
      text += " [" + f.note + "]";
    text += "\n";
  }
  return text;
}

std::string AsMarkdown(const Results& results) {
  std::string md =
      "# Benchmark results\n\n" + results.when + "\n\n" + results.settingsNote + "\n\n";
  md += "| Figure | Unit | Ours | Baseline | Ratio | Goal | Verdict | Note |\n";
  md += "|---|---|---:|---:|---:|---|---|---|\n";
  for (const Figure& f : results.figures) {
    md += "| " + f.name + " | " + f.unit + " | " + Number(f.ours) + " | " +
          (f.hasBaseline ? Number(f.baseline) : "") + " | " + Ratio(f) + " | " + f.goal + " | " +
          Verdict(f) + " | " + f.note + " |\n";
  }
  md += "\n![Cadence](cadence.png)\n";
  return md;
}

std::string AsJson(const Results& results) {
  std::string json = "{\n  \"when\": " + JsonString(results.when) +
                     ",\n  \"settings\": " + JsonString(results.settingsNote) +
                     ",\n  \"figures\": [\n";
  for (std::size_t i = 0; i < results.figures.size(); ++i) {
    const Figure& f = results.figures[i];
    json += "    {\"name\": " + JsonString(f.name) + ", \"unit\": " + JsonString(f.unit) +
            ", \"ours\": " + JsonNumber(f.ours) +
            ", \"baseline\": " + (f.hasBaseline ? JsonNumber(f.baseline) : "null") +
            ", \"ratio\": " +
            (f.hasBaseline && f.baseline != 0 ? JsonNumber(f.ours / f.baseline) : "null") +
            ", \"goal\": " + JsonString(f.goal) + ", \"met\": " +
            (f.met < 0 ? "null"
             : f.met   ? "true"
                       : "false") +
            ", \"note\": " + JsonString(f.note) + "}" +
            (i + 1 < results.figures.size() ? "," : "") + "\n";
  }
  json += "  ],\n  \"cadence\": [\n";
  for (std::size_t i = 0; i < results.cadence.size(); ++i) {
    const CadenceResult& c = results.cadence[i];
    json += "    {\"setting\": " + JsonString(c.setting) +
            ", \"period_ms\": " + JsonNumber(c.periodMs) +
            ",\n     \"ours\": " + JsonSummary(c.oursSummary) +
            ",\n     \"baseline\": " + JsonSummary(c.baselineSummary) +
            ",\n     \"ours_unmatched_button_ups\": " + std::to_string(c.oursUnmatchedUps) +
            ",\n     \"ours_intervals_ms\": " + JsonList(c.ours) +
            ",\n     \"baseline_intervals_ms\": " + JsonList(c.baseline) + "}" +
            (i + 1 < results.cadence.size() ? "," : "") + "\n";
  }
  return json + "  ]\n}\n";
}

}  // namespace quorvin::bench
