// What the receivers of today say about themselves, asked or not: the text banner a
// u-blox 5 to 10 sends at start-up ($GxTXT lines) and its UBX MON-VER reply, and the
// $PMTK705 reply and start-up sentences of a MediaTek receiver. A banner may arrive
// over two passes, so its facts are collected until they name the receiver.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orlimo {

inline constexpr std::size_t kMaxReceiverTitle = 80;

// The text in `buffer` from `start` up to (not including) the first byte of `stop`,
// the first byte that is not printable ASCII, or `limit` bytes, whichever comes
// first. Binary frames and line ends never reach a title or a panel.
std::string_view TextUpTo(std::string_view buffer, std::size_t start, char stop, std::size_t limit);
// Without its leading and trailing blanks.
std::string_view TrimBlanks(std::string_view s);

// The UBX MON-VER poll (class 0A, ID 04, no payload).
inline constexpr std::string_view kUBXMonVerPoll{"\xB5\x62\x0A\x04\x00\x00\x0E\x34", 8};
// The MediaTek firmware query.
inline constexpr std::string_view kMediaTekVersionQuery = "$PMTK605*31";

struct UBloxClues {
  bool maker = false;      // "u-blox" seen
  std::string hardware;    // "00080000"
  std::string model;       // "UBX-M80xx"
  std::string core;        // "ROM CORE 2.01 (75331)"
  std::string firmware;    // FWVER: "SPG 3.01"
  std::string protocol;    // PROTVER: "15.00"
  std::string module;      // MOD: "ZED-F9P"
  int quietPasses = 0;     // passes since the last new fact

  // A u-blox 5 or later has said so: its maker and hardware are known.
  bool Named() const { return maker && !hardware.empty(); }
  // Nothing more is to come: the protocol or firmware version (the last lines of a
  // banner) or a whole MON-VER reply is in.
  bool Complete() const { return Named() && (!protocol.empty() || !firmware.empty()); }
  // The protocol's major version; 0 when unknown.
  int ProtocolMajor() const;
  // "u-blox M8 ROM CORE 2.01 (75331) PROTVER 15.00", at most kMaxReceiverTitle characters.
  std::string Title() const;
};

// Everything gathered about the receiver of one connection before it is named.
struct ReceiverClues {
  UBloxClues ublox;
  bool mediaTekStartup = false;  // a MediaTek start-up sentence was seen
  int mediaTekQuietPasses = 0;   // passes since, without its $PMTK705
};

// The generation a MON-VER hardware version names ("M8" for 00080000); empty when
// it is not one of the known ones.
std::string_view UBloxGeneration(std::string_view hardware);

// Reads the banner facts in `text` (the receive buffer of one pass) into `clues`;
// true when it learnt anything new. An ANTARIS banner is not one of these.
bool ReadUBloxBanner(std::string_view text, UBloxClues& clues);

// Reads a MON-VER reply (its payload: software 30 bytes, hardware 10, extensions 30
// each) into `clues`; false when it is too short to be one.
bool ReadMonVer(std::string_view payload, UBloxClues& clues);

// "MediaTek AXN_1.30 Fastrax IT500" from a complete "$PMTK705,release,build,model,..."
// reply in `text`; nullopt when there is none.
std::optional<std::string> MediaTekTitle(std::string_view text);

// A MediaTek start-up sentence ("$PMTK011,MTKGPS", "$PMTK010,") is in `text`.
bool HasMediaTekStartup(std::string_view text);

}  // namespace orlimo
