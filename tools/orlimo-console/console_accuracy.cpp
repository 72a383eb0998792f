#include "console_accuracy.h"

#include <charconv>
#include <cmath>
#include <fstream>

#include "json_number.h"
#include "measure/gpx.h"
#include "orlimo_version.h"
#include "session/session.h"

namespace orlimo {
namespace {

std::optional<double> ParseNumber(std::string_view text) {
  double v = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<TGeoPoint> ParseReference(std::string_view text) {
  double parts[3];
  int count = 0;
  for (std::size_t start = 0; count < 3; ++count) {
    const std::size_t comma = text.find(',', start);
    const auto v = ParseNumber(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
    if (!v) return std::nullopt;
    parts[count] = *v;
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (count < 1 || count > 2 || std::abs(parts[0]) > 90 || std::abs(parts[1]) > 180) return std::nullopt;
  TGeoPoint p{parts[0], parts[1], std::nullopt};
  if (count == 2) p.height = parts[2];
  return p;
}

}  // namespace

int ParseMeasureOption(std::string_view arg, const char* next, ConsoleMeasureOptions& options) {
  if (arg == "--accuracy") {
    options.accuracy = true;
    return 1;
  }
  if (next == nullptr) return 0;
  if (arg == "--gpx" && next[0] != '\0') {
    options.gpxPath = next;
    return 2;
  }
  if (arg == "--reference") {
    options.reference = ParseReference(next);
    if (!options.reference) return 0;
    options.accuracy = true;
    return 2;
  }
  return 0;
}

std::string AccuracyLine(const TAccuracyFigures& f) {
  return "accuracy: {\"fixes\":" + std::to_string(f.fixes) + ",\"cep50_m\":" + JsonNumber(f.cep50, 3) +
         ",\"cep95_m\":" + JsonNumber(f.cep95, 3) + ",\"drms2_m\":" + JsonNumber(f.drms2, 3) +
         ",\"mean_lat\":" + JsonNumber(f.meanLat, 8) + ",\"mean_lon\":" + JsonNumber(f.meanLon, 8) +
         ",\"mean_height_m\":" + JsonNumber(f.meanHeight, 3) + ",\"vertical95_m\":" + JsonNumber(f.vertical95, 3) + "}";
}

ConsoleMeasurements::ConsoleMeasurements(const ConsoleMeasureOptions& options, TSession& session, std::FILE* out)
    : options_(options), session_(session), out_(out) {
  if (options_.reference) session_.Bench().Accuracy().SetReference(*options_.reference);
  if (options_.stats) {
    QObject::connect(&statsTimer_, &QTimer::timeout, [this] { PrintStats(); });
    statsTimer_.start(kStatsIntervalMs);
  }
  if (!options_.accuracy) return;
  QObject::connect(&printTimer_, &QTimer::timeout, [this] { Print(); });
  printTimer_.start(kPrintIntervalMs);
}

void ConsoleMeasurements::Print() {
  std::fprintf(out_, "%s\n", AccuracyLine(session_.Bench().Accuracy().Figures()).c_str());
  std::fflush(out_);
}

void ConsoleMeasurements::PrintStats() {
  std::fprintf(out_, "stats: %s\n", session_.Statistics().Json().c_str());
  std::fflush(out_);
}

bool ConsoleMeasurements::Finish(std::string& error) {
  printTimer_.stop();
  statsTimer_.stop();
  session_.Bench().Finish();
  if (options_.accuracy) Print();
  if (options_.stats) PrintStats();
  if (options_.gpxPath.empty()) return true;
  std::ofstream file(options_.gpxPath, std::ios::binary | std::ios::trunc);
  if (file) WriteGpx(file, std::string("orlimo-console ") + kProgramVersion, session_.Bench().Track());
  file.close();
  if (file) return true;
  error = "cannot write the GPX track " + options_.gpxPath;
  return false;
}

}  // namespace orlimo
