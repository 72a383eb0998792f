// The byte patterns a receiver's stream takes on when it is read at the wrong rate.
// Baud detection listens at 19200, 115200 or 921600 bit/s and searches the buffer for
// these, row by row, first column before second.
//
// A listener faster than the sender by a whole factor sees each of the sender's bits
// as that many of its own, and it finds every start bit on the sender's falling edge:
// what it reads depends on the factor alone, not on the rates. 921600 is to 230400 and
// 460800 what 19200 is to 4800 and 9600, so its table is that one scaled. (A
// listener slower than the sender samples every other bit or worse and loses whole
// bytes, which makes no pattern to trust: the high rates are heard from above.)
#pragma once

#include <array>
#include <string_view>

#include "session/link_state.h"

namespace orlimo {

struct BaudSignatureRow {
  std::string_view first;   // leads to the table's firstState
  std::string_view second;  // leads to the table's secondState
  int receiverRate;
};

struct BaudSignatureTable {
  int portRate;
  TLinkState firstState;
  TLinkState secondState;
  std::array<BaudSignatureRow, 5> rows;
};

using namespace std::string_view_literals;

inline constexpr BaudSignatureTable kSignaturesAt19200 = {
    19200, TLinkState::SiRF, TLinkState::NMEA,
    {{
        {"\x00\xF8\x80\x00\xF8\x00\x78"sv, "\x00\x80\x80\xF8\x00\xF8"sv, 4800},
        {"\x00\xF8\x80\x00\xF8\x00\x78"sv, "\x00\x80\x80\xF8\x00\xF8"sv, 4800},
        {"\x00\x86\x80\x86\x80"sv, "\x60\x78\x60\x00\xE6"sv, 9600},
        {"\x00\x7E\x06\x7E\x00"sv, "\x60\x86\x7E\x98\x00"sv, 9600},
        {"\xA0\xA2\x00\x09\x09"sv, "$GP"sv, 19200},
    }}};

inline constexpr BaudSignatureTable kSignaturesAt115200 = {
    115200, TLinkState::NMEA, TLinkState::SiRF,
    {{
        {"\x00\xE0\xFC\x00\xFC\x1C"sv, "\x00\xFC\xE0\xFC\x00\x1C\x00\x1C\x00"sv, 38400},
        {"\x00\xE0\xF0\xFC\x00\xFC"sv, "\x00\xFC\xE0\x80\xFC\x00"sv, 38400},
        {"\x60\x78\x60\x00\xE6"sv, "\x00\x86\x80\x86\x80"sv, 57600},
        {"\x60\x86\x7E\x98\x00\xE6"sv, "\x00\x7E\x06\x7E\x00"sv, 57600},
        {"$GP"sv, "\xA0\xA2\x00\x09\x09"sv, 115200},
    }}};

// `table` as heard by a listener `factor` times as fast, from senders that much faster.
constexpr BaudSignatureTable ScaledSignatureTable(const BaudSignatureTable& table, int factor) {
  BaudSignatureTable scaled = table;
  scaled.portRate *= factor;
  for (BaudSignatureRow& row : scaled.rows) row.receiverRate *= factor;
  return scaled;
}

inline constexpr BaudSignatureTable kSignaturesAt921600 = ScaledSignatureTable(kSignaturesAt19200, 48);

// The table for the rate the port is open at, or nullptr when detection does not listen there.
constexpr const BaudSignatureTable* SignatureTableFor(int portRate) {
  if (portRate == 19200) return &kSignaturesAt19200;
  if (portRate == 115200) return &kSignaturesAt115200;
  if (portRate == 921600) return &kSignaturesAt921600;
  return nullptr;
}

}  // namespace orlimo
