#include "sim/mtk_personality.h"

#include <charconv>

#include "sim/nmea_output.h"

namespace orlimo {
namespace {

bool AllDigits(std::string_view s) {
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return !s.empty();
}

std::string Ack(std::string_view command, char flag) {
  return NmeaLine("$PMTK001," + std::string(command) + "," + flag);
}

}  // namespace

MediaTekPersonality::MediaTekPersonality(const SimOptions& options)
    : factoryRate_(options.factoryRate), ignoresRateChange_(options.ignoresRateChange) {}

std::string MediaTekPersonality::StartupLines() {
  return NmeaLine("$PMTK011,MTKGPS") + NmeaLine("$PMTK010,001");
}

SimCommandResult MediaTekPersonality::Handle(std::string_view sentence) const {
  sentence = sentence.substr(0, sentence.find('*'));
  const std::size_t comma = sentence.find(',');
  const std::string_view address = sentence.substr(0, comma);
  const std::string_view arg = comma == std::string_view::npos ? std::string_view() : sentence.substr(comma + 1);
  SimCommandResult r;
  if (address.size() != 8 || address.substr(0, 5) != "$PMTK" || !AllDigits(address.substr(5))) return r;
  const std::string_view command = address.substr(5);
  if (command == "605") {
    r.reply = NmeaLine("$PMTK705,AXN_2.31_3339_13101700,5632,PA6H,1.0");
  } else if (command >= "101" && command <= "104") {
    static constexpr int kKinds[] = {1, 2, 4, 8};
    r.restartKind = kKinds[command[2] - '1'];
    if (command == "104") r.newRate = factoryRate_;
  } else if (command == "251") {
    long bps = 0;
    const auto [end, ec] = std::from_chars(arg.data(), arg.data() + arg.size(), bps);
    const bool ok = ec == std::errc() && end == arg.data() + arg.size() && IsStandardSimRate(bps);
    r.reply = Ack(command, ok ? '3' : '2');
    if (ok && !ignoresRateChange_) r.newRate = static_cast<int>(bps);
  } else {
    r.reply = Ack(command, '1');
  }
  return r;
}

}  // namespace orlimo
