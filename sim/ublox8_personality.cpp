#include "sim/ublox8_personality.h"

#include <array>
#include <cstdint>

#include "frames/ubx_frame.h"
#include "sim/nmea_output.h"
#include "sim/ubx_replies.h"

namespace orlimo {
namespace {

constexpr std::string_view kSoftware = "ROM CORE 3.01 (107888)";
constexpr std::string_view kHardware = "00080000";
constexpr std::array<std::string_view, 5> kExtensions = {"FWVER=SPG 3.01", "PROTVER=18.00", "GPS;GLO;GAL;BDS",
                                                         "SBAS;IMES;QZSS", "GNSS OTP=GPS;GLO"};
constexpr std::uint32_t kMode8N1 = 0x08D0;
// charLen, parity and nStopBits: bit 4 is reserved, and hosts send it either way.
constexpr std::uint32_t kFramingBits = 0x3EC0;
// A CFG-RST this soon after a factory default is that default's restart.
constexpr double kFactoryRestartWindow = 1.0;

std::uint32_t LittleEndian(std::string_view bytes) {
  std::uint32_t v = 0;
  for (std::size_t i = bytes.size(); i-- > 0;) v = v << 8 | static_cast<unsigned char>(bytes[i]);
  return v;
}

void PutLittleEndian(std::string& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(v >> (8 * i) & 0xFF));
}

std::string ZeroPadded(std::string_view text, std::size_t size) {
  std::string out(text.substr(0, size));
  out.resize(size, '\0');
  return out;
}

std::string MonVer() {
  std::string payload = ZeroPadded(kSoftware, 30) + ZeroPadded(kHardware, 10);
  for (std::string_view e : kExtensions) payload += ZeroPadded(e, 30);
  return BuildUBXFrame(0x0A, 0x04, payload);
}

// UART1's CFG-PRT payload at `rate`: 8N1, UBX, NMEA and RTCM in, `outProtoMask` out.
std::string PortSettings(int rate, std::uint16_t outProtoMask) {
  std::string p{'\x01', '\x00'};  // portID, reserved
  PutLittleEndian(p, 0, 2);       // txReady
  PutLittleEndian(p, kMode8N1, 4);
  PutLittleEndian(p, static_cast<std::uint32_t>(rate), 4);
  PutLittleEndian(p, 0x0007, 2);  // inProtoMask
  PutLittleEndian(p, outProtoMask, 2);
  PutLittleEndian(p, 0, 4);       // flags, reserved
  return p;
}

}  // namespace

UBlox8Personality::UBlox8Personality(const SimOptions& options)
    : factoryRates_(options.ubxRates),
      factoryRate_(options.factoryRate),
      outProtoMask_(options.personality == SimPersonality::Ubx ? 0x0001 : 0x0003),
      ignoresRateChange_(options.ignoresRateChange) {}

std::string UBlox8Personality::Banner() {
  std::string out;
  auto line = [&](std::string_view text) { out += NmeaLine("$GNTXT,01,01,02," + std::string(text)); };
  line("u-blox AG - www.u-blox.com");
  line("HW UBX-M80xx " + std::string(kHardware));
  line(kSoftware);
  for (std::string_view e : kExtensions) line(e);
  line("ANTSUPERV=AC SD PDoS SR");
  line("ANTSTATUS=DONTKNOW");
  return out;
}

SimCommandResult UBlox8Personality::Handle(std::string_view frame, double now, int rate, SimUbxRates& rates) {
  const std::uint8_t cls = UBXClass(frame), id = UBXId(frame);
  const std::string_view payload = UBXPayload(frame);
  SimCommandResult r;
  if (cls == 0x0A && id == 0x04 && payload.empty()) {  // MON-VER poll
    r.reply = MonVer();
  } else if (cls != 0x06) {
    return r;
  } else if (id == 0x01) {  // CFG-MSG
    r.reply = UbxCfgMsgReply(payload, rates);
  } else if (id == 0x04 && payload.size() >= 4) {  // CFG-RST
    const std::uint32_t mask = LittleEndian(payload.substr(0, 2));
    const bool factory = now - factoryDefaultAt_ <= kFactoryRestartWindow;
    factoryDefaultAt_ = -1e9;
    r.restartKind = factory ? 8 : mask == 0 ? 1 : mask == 1 ? 2 : 4;
  } else if (id == 0x09 && payload.size() >= 12) {  // CFG-CFG
    if (LittleEndian(payload.substr(0, 4)) != 0 && LittleEndian(payload.substr(8, 4)) != 0) {
      rates = factoryRates_;
      r.newRate = factoryRate_;
      factoryDefaultAt_ = now;
    }
    r.reply = UbxAck(cls, id, true);
  } else if (id == 0x00 && (payload.empty() || (payload.size() == 1 && payload[0] == 1))) {  // CFG-PRT poll
    r.reply = BuildUBXFrame(0x06, 0x00, PortSettings(rate, outProtoMask_)) + UbxAck(cls, id, true);
  } else if (id == 0x00) {  // CFG-PRT set
    const bool ok = payload.size() == 20 && payload[0] == 1 &&
                    (LittleEndian(payload.substr(4, 4)) & kFramingBits) == (kMode8N1 & kFramingBits) &&
                    IsSimLineRate(LittleEndian(payload.substr(8, 4)));
    r.reply = UbxAck(cls, id, ok);
    if (ok && !ignoresRateChange_) r.newRate = static_cast<int>(LittleEndian(payload.substr(8, 4)));
  } else if (id == 0x8A) {  // CFG-VALSET
    r.reply = UbxAck(cls, id, false);
  }
  return r;
}

}  // namespace orlimo
