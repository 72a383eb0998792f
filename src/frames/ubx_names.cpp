#include "frames/ubx_names.h"

#include <array>

#include "frames/frame_text.h"

namespace orlimo {
namespace {

struct TNamed {
  std::uint8_t Class;
  std::uint8_t Id;
  std::string_view Name;
};

constexpr std::array kNames{
    TNamed{0x01, 0x01, "NAV-POSECEF"}, TNamed{0x01, 0x02, "NAV-POSLLH"},  TNamed{0x01, 0x03, "NAV-STATUS"},
    TNamed{0x01, 0x04, "NAV-DOP"},     TNamed{0x01, 0x05, "NAV-ATT"},     TNamed{0x01, 0x06, "NAV-SOL"},
    TNamed{0x01, 0x07, "NAV-PVT"},     TNamed{0x01, 0x09, "NAV-ODO"},     TNamed{0x01, 0x11, "NAV-VELECEF"},
    TNamed{0x01, 0x12, "NAV-VELNED"},  TNamed{0x01, 0x13, "NAV-HPPOSECEF"}, TNamed{0x01, 0x14, "NAV-HPPOSLLH"},
    TNamed{0x01, 0x20, "NAV-TIMEGPS"}, TNamed{0x01, 0x21, "NAV-TIMEUTC"}, TNamed{0x01, 0x22, "NAV-CLOCK"},
    TNamed{0x01, 0x23, "NAV-TIMEGLO"}, TNamed{0x01, 0x24, "NAV-TIMEBDS"}, TNamed{0x01, 0x25, "NAV-TIMEGAL"},
    TNamed{0x01, 0x26, "NAV-TIMELS"},  TNamed{0x01, 0x30, "NAV-SVINFO"},  TNamed{0x01, 0x31, "NAV-DGPS"},
    TNamed{0x01, 0x32, "NAV-SBAS"},    TNamed{0x01, 0x34, "NAV-ORB"},     TNamed{0x01, 0x35, "NAV-SAT"},
    TNamed{0x01, 0x39, "NAV-GEOFENCE"}, TNamed{0x01, 0x3B, "NAV-SVIN"},   TNamed{0x01, 0x3C, "NAV-RELPOSNED"},
    TNamed{0x01, 0x43, "NAV-SIG"},     TNamed{0x01, 0x60, "NAV-AOPSTATUS"}, TNamed{0x01, 0x61, "NAV-EOE"},
    TNamed{0x02, 0x10, "RXM-RAW"},     TNamed{0x02, 0x11, "RXM-SFRB"},    TNamed{0x02, 0x13, "RXM-SFRBX"},
    TNamed{0x02, 0x14, "RXM-MEASX"},   TNamed{0x02, 0x15, "RXM-RAWX"},    TNamed{0x02, 0x20, "RXM-SVSI"},
    TNamed{0x02, 0x32, "RXM-RTCM"},    TNamed{0x02, 0x41, "RXM-PMREQ"},   TNamed{0x02, 0x59, "RXM-RLM"},
    TNamed{0x04, 0x00, "INF-ERROR"},   TNamed{0x04, 0x01, "INF-WARNING"}, TNamed{0x04, 0x02, "INF-NOTICE"},
    TNamed{0x04, 0x03, "INF-TEST"},    TNamed{0x04, 0x04, "INF-DEBUG"},   TNamed{0x05, 0x00, "ACK-NAK"},
    TNamed{0x05, 0x01, "ACK-ACK"},     TNamed{0x06, 0x00, "CFG-PRT"},     TNamed{0x06, 0x01, "CFG-MSG"},
    TNamed{0x06, 0x02, "CFG-INF"},     TNamed{0x06, 0x04, "CFG-RST"},     TNamed{0x06, 0x06, "CFG-DAT"},
    TNamed{0x06, 0x07, "CFG-TP"},      TNamed{0x06, 0x08, "CFG-RATE"},    TNamed{0x06, 0x09, "CFG-CFG"},
    TNamed{0x06, 0x0E, "CFG-FXN"},     TNamed{0x06, 0x11, "CFG-RXM"},     TNamed{0x06, 0x13, "CFG-ANT"},
    TNamed{0x06, 0x16, "CFG-SBAS"},    TNamed{0x06, 0x17, "CFG-NMEA"},    TNamed{0x06, 0x1B, "CFG-USB"},
    TNamed{0x06, 0x23, "CFG-NAVX5"},   TNamed{0x06, 0x24, "CFG-NAV5"},    TNamed{0x06, 0x31, "CFG-TP5"},
    TNamed{0x06, 0x3B, "CFG-PM2"},     TNamed{0x06, 0x3E, "CFG-GNSS"},    TNamed{0x06, 0x8A, "CFG-VALSET"},
    TNamed{0x06, 0x8B, "CFG-VALGET"},  TNamed{0x06, 0x8C, "CFG-VALDEL"},  TNamed{0x09, 0x14, "UPD-SOS"},
    TNamed{0x0A, 0x02, "MON-IO"},      TNamed{0x0A, 0x04, "MON-VER"},     TNamed{0x0A, 0x06, "MON-MSGPP"},
    TNamed{0x0A, 0x07, "MON-RXBUF"},   TNamed{0x0A, 0x08, "MON-TXBUF"},   TNamed{0x0A, 0x09, "MON-HW"},
    TNamed{0x0A, 0x0B, "MON-HW2"},     TNamed{0x0A, 0x21, "MON-RXR"},     TNamed{0x0A, 0x27, "MON-PATCH"},
    TNamed{0x0A, 0x28, "MON-GNSS"},    TNamed{0x0A, 0x31, "MON-SPAN"},    TNamed{0x0A, 0x36, "MON-COMMS"},
    TNamed{0x0A, 0x38, "MON-RF"},      TNamed{0x0B, 0x01, "AID-INI"},     TNamed{0x0B, 0x02, "AID-HUI"},
    TNamed{0x0B, 0x30, "AID-ALM"},     TNamed{0x0B, 0x31, "AID-EPH"},     TNamed{0x0D, 0x01, "TIM-TP"},
    TNamed{0x0D, 0x03, "TIM-TM2"},     TNamed{0x0D, 0x04, "TIM-SVIN"},    TNamed{0x0D, 0x06, "TIM-VRFY"},
    TNamed{0x10, 0x02, "ESF-MEAS"},    TNamed{0x10, 0x10, "ESF-STATUS"},  TNamed{0x27, 0x03, "SEC-UNIQID"},
};

}  // namespace

std::string_view UBXMessageName(std::uint8_t msgClass, std::uint8_t msgId) {
  for (const TNamed& n : kNames) {
    if (n.Class == msgClass && n.Id == msgId) return n.Name;
  }
  return {};
}

TFrameKey UBXMessageKey(std::uint8_t msgClass, std::uint8_t msgId) {
  TFrameKey key;
  key.Assign("UBX-");
  const std::string_view name = UBXMessageName(msgClass, msgId);
  if (name.empty()) {
    AppendFormat(key, "%02X-%02X", msgClass, msgId);
  } else {
    key.Append(name);
  }
  return key;
}

}  // namespace orlimo
