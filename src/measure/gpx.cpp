#include "measure/gpx.h"

#include <charconv>
#include <istream>
#include <ostream>

#include "nmea/decoder.h"
#include "nmea/sentence.h"

namespace orlimo {
namespace {

// Fixed decimals, or the shortest text that reads back the same (decimals < 0).
std::string Number(double v, int decimals) {
  char buf[64];
  const auto r = decimals < 0 ? std::to_chars(buf, buf + sizeof buf, v)
                              : std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("0");
}

// Appended, not added to a literal: GCC 12 at -O3 misreads the latter.
void AppendTwoDigits(std::string& out, int v) {
  out += static_cast<char>('0' + v / 10 % 10);
  out += static_cast<char>('0' + v % 10);
}

// 2024-06-01T12:34:05.25Z: the seconds' fraction to the millisecond, without zeros at its end.
std::string IsoTime(const TUtcStamp& t) {
  std::string seconds = Number(t.seconds, 3);
  while (seconds.back() == '0') seconds.pop_back();
  if (seconds.back() == '.') seconds.pop_back();
  std::string out = std::to_string(t.year);
  out += '-';
  AppendTwoDigits(out, t.month);
  out += '-';
  AppendTwoDigits(out, t.day);
  out += 'T';
  AppendTwoDigits(out, t.hour);
  out += ':';
  AppendTwoDigits(out, t.minute);
  out += ':';
  if (seconds.find('.') < 2 || seconds.size() < 2) out += '0';
  out += seconds;
  out += 'Z';
  return out;
}

std::string XmlEscaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

const char* FixName(TGpxFix fix) {
  switch (fix) {
    case TGpxFix::TwoD: return "2d";
    case TGpxFix::ThreeD: return "3d";
    case TGpxFix::DGPS: return "dgps";
    case TGpxFix::Unknown: break;
  }
  return nullptr;
}

}  // namespace

TTrackPoint TrackPointOf(const TEpochFix& fix) {
  TTrackPoint p;
  p.lat = fix.lat;
  p.lon = fix.lon;
  p.ele = fix.height;
  if (fix.time && fix.date) {
    const int yy = fix.date->Year;
    p.time = TUtcStamp{yy >= 80 ? 1900 + yy : 2000 + yy, fix.date->Month, fix.date->Day,
                       fix.time->Hour, fix.time->Minute, fix.time->Seconds};
  }
  if (fix.quality == 2 || fix.quality == 4 || fix.quality == 5 || fix.rmcMode == 'D') {
    p.fix = TGpxFix::DGPS;
  } else if (fix.fixMode == 3) {
    p.fix = TGpxFix::ThreeD;
  } else if (fix.fixMode == 2) {
    p.fix = TGpxFix::TwoD;
  }
  p.sat = fix.sats;
  p.hdop = fix.hdop;
  return p;
}

TGpxWriter::TGpxWriter(std::ostream& out, std::string_view creator) : out_(out) {
  out_ << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
          "<gpx version=\"1.1\" creator=\""
       << XmlEscaped(creator)
       << "\" xmlns=\"http://www.topografix.com/GPX/1/1\""
          " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
          " xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd\">\n"
          "  <trk>\n"
          "    <trkseg>\n";
}

TGpxWriter::~TGpxWriter() { Finish(); }

void TGpxWriter::Add(const TTrackPoint& p) {
  // The elements in the order the schema gives them.
  std::string s = "      <trkpt lat=\"" + Number(p.lat, 9) + "\" lon=\"" + Number(p.lon, 9) + "\">";
  if (p.ele) s += "<ele>" + Number(*p.ele, -1) + "</ele>";
  if (p.time) s += "<time>" + IsoTime(*p.time) + "</time>";
  if (const char* fix = FixName(p.fix)) s += std::string("<fix>") + fix + "</fix>";
  if (p.sat) s += "<sat>" + std::to_string(*p.sat) + "</sat>";
  if (p.hdop) s += "<hdop>" + Number(*p.hdop, -1) + "</hdop>";
  out_ << s << "</trkpt>\n";
}

void TGpxWriter::Finish() {
  if (finished_) return;
  finished_ = true;
  out_ << "    </trkseg>\n"
          "  </trk>\n"
          "</gpx>\n";
  out_.flush();
}

void WriteGpx(std::ostream& out, std::string_view creator, std::span<const TTrackPoint> points) {
  TGpxWriter writer(out, creator);
  for (const TTrackPoint& p : points) writer.Add(p);
}

void TGpxTrack::Add(TSentenceType type, std::string_view line, const TqvNMEA& nmea) {
  if (const auto fix = epochs_.Add(type, line, nmea)) points_.push_back(TrackPointOf(*fix));
}

void TGpxTrack::Flush() {
  if (const auto fix = epochs_.Flush()) points_.push_back(TrackPointOf(*fix));
}

std::vector<TTrackPoint> ReadTrack(std::istream& log) {
  TqvNMEA nmea;
  TGpxTrack track;
  std::string line;
  while (std::getline(log, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t start = line.empty() || line.front() == '#' ? std::string::npos : SentenceStart(line);
    if (start == std::string::npos) continue;
    const std::string_view sentence = std::string_view(line).substr(start);
    TSentenceType type;
    if (nmea.DecodeSentence(sentence, type)) track.Add(type, sentence, nmea);
  }
  track.Flush();
  return track.Points();
}

}  // namespace orlimo
