#include "console_view.h"

#include <QCoreApplication>

#include "measure/fix_quality.h"
#include "nmea/decoder.h"

namespace orlimo {
namespace {

// One output line per event: control bytes are written as escapes.
std::string OneLine(std::string_view text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F)) {  // C0, DEL and C1
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// A dialog's lines joined on one line: each line break (CR LF, LF, or a run of them
// around a blank line) becomes " | ".
std::string DialogLine(std::string_view text) {
  std::string joined;
  bool brokeLine = false;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      brokeLine = true;
      continue;
    }
    if (brokeLine && !joined.empty()) joined += " | ";
    brokeLine = false;
    joined += c;
  }
  return OneLine(joined);
}

}  // namespace

ConsoleView::ConsoleView(std::FILE* out, bool answerYes) : out_(out), answerYes_(answerYes) {
  flush_.setSingleShot(true);
  flush_.setInterval(0);
  QObject::connect(&flush_, &QTimer::timeout, [this] { std::fflush(out_); });
}

ConsoleView::~ConsoleView() { std::fflush(out_); }

void ConsoleView::FlushSoon() {
  if (QCoreApplication::instance() == nullptr) std::fflush(out_);  // no loop to end a turn
  else if (!flush_.isActive()) flush_.start();
}

void ConsoleView::Print(const std::string& prefix, std::string_view text) {
  std::fprintf(out_, "%s%s\n", prefix.c_str(), OneLine(text).c_str());
  FlushSoon();
}

void ConsoleView::SetPanelText(int panel, std::string_view text) {
  std::string& current = panels_[panel];
  if (current == text) return;
  current = text;
  Print("panel " + std::to_string(panel) + ": ", text);
}

std::string ConsoleView::PanelText(int panel) const {
  const auto it = panels_.find(panel);
  return it == panels_.end() ? std::string{} : it->second;
}

void ConsoleView::SetWindowTitle(std::string_view title) { Print("title: ", title); }

void ConsoleView::AppendMonitorLine(std::string_view line) {
  ++lines_;
  Print("monitor: ", line);
}

void ConsoleView::DeleteFirstMonitorLines(int count) {
  lines_ -= count;
  selected_ -= count;
}

void ConsoleView::AppendTrace(int memo, std::string_view text) {
  ++traceLines_[memo];
  Print("trace Memo" + std::to_string(memo) + ": ", text);
}

int ConsoleView::TraceLineCount(int memo) const {
  const auto it = traceLines_.find(memo);
  return it == traceLines_.end() ? 0 : it->second;
}

bool ConsoleView::AskYesNo(std::string_view msg) {
  Dialog("ask", msg, answerYes_ ? "yes" : "no");
  return answerYes_;
}

void ConsoleView::Dialog(const char* kind, std::string_view msg, const char* answer) {
  std::fprintf(out_, "dialog %s: %s -> %s\n", kind, DialogLine(msg).c_str(), answer);
  std::fflush(out_);
}

bool ConsoleView::ButtonEnabled(TToolButton b) const {
  const auto it = enabled_.find(b);
  return it != enabled_.end() && it->second;
}

void ConsoleView::UpdateNaviPanel(const TqvNMEA& n) {
  char buf[256];
  std::snprintf(buf, sizeof buf,
                "navi: lat=%.6f lon=%.6f alt=%.1f fix=%s mode=%d speed_knots=%.2f course=%.2f "
                "sats=%d utc=%02u:%02u:%02.0f date=%02u-%02u-%02d",
                n.GGA.Latitude, n.GGA.Longitude, n.GGA.Altitude, n.FixValid ? "yes" : "no",
                n.GSA.FixMode, n.RMC.SpeedKnots, n.RMC.Course, n.GGA.SatsUsed, n.RMC.UTCTime.Hour,
                n.RMC.UTCTime.Minute, n.RMC.UTCTime.Seconds, n.RMC.Date.Day, n.RMC.Date.Month,
                n.RMC.Date.Year);
  std::fprintf(out_, "%s %s\n", buf, FixQualityKeys(FixQualityOf(n)).c_str());
  FlushSoon();
}

}  // namespace orlimo
