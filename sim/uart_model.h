// What a UART at one rate reads from a line driven by a UART at another rate.
//
// The sender puts each byte on the line as 8N1: a start bit (low), 8 data bits LSB
// first, a stop bit (high), then the line idles high for the byte's gap. The listener
// waits for a falling edge, checks the start bit in its middle, samples the 8 data bits
// and the stop bit in their middles at its own bit time, and then waits for the next
// falling edge. A low stop bit (framing error) still delivers the byte as sampled, as a
// raw-mode port does. At equal rates the listener reads exactly what was sent.
//
// Time is counted in ticks of 1/kUartTicksPerSecond s, fine enough that the bit times
// of every standard rate from 300 to 921600 bit/s are whole numbers of ticks.
#pragma once

#include <cstdint>
#include <deque>
#include <limits>
#include <span>
#include <string>
#include <string_view>

namespace orlimo {

using UartTick = std::int64_t;
inline constexpr UartTick kUartTicksPerSecond = 128 * 230400;
inline constexpr UartTick kUartNever = std::numeric_limits<UartTick>::max();

// Ticks of one bit at `rate` bit/s (rate clamped to 50..kUartTicksPerSecond/32).
UartTick UartBitTicks(int rate);

// Ticks a byte occupies on the line: 10 bits plus a gap given in sixteenths of a bit.
UartTick UartByteTicks(int rate, int gapSixteenths);

// A line carrying one direction of traffic, read by a listener at `listenRate`.
// Bytes are put on the line in time order; Advance() hands out what the listener has
// fully sampled by then. Feeding one burst and advancing past its end gives the same
// bytes as SampleAtRate().
class UartLine {
 public:
  explicit UartLine(int listenRate);

  // The listener changes its rate: whatever it was half-way through is lost.
  void SetListenRate(int listenRate, UartTick now);
  int ListenRate() const { return listenRate_; }

  // Drives one byte at `sendRate` from tick `start` (no earlier than the end of the
  // previous byte); returns the tick where its stop bit and gap end.
  UartTick Send(std::uint8_t byte, int sendRate, UartTick start, int gapSixteenths = 0);

  // The line is known up to `now` (idle high after the last byte). Appends to `out`
  // every byte whose stop bit the listener has sampled by then.
  void Advance(UartTick now, std::string& out);

  // The tick from which Advance() has the next byte to hand out (a glitch may still
  // come to nothing then), kUartNever when the line is idle: the driver of the line
  // sleeps until then instead of asking every millisecond.
  UartTick NextByteAt() const;

 private:
  struct Edge {
    UartTick at;
    bool high;  // level from `at` on
  };
  bool LevelAt(UartTick t) const;

  int listenRate_;
  std::deque<Edge> edges_;  // in time order; the line is high before the first one
  bool levelBeforeEdges_ = true;
  UartTick ready_ = 0;      // the listener looks for a falling edge from here on
  UartTick lineEnd_ = 0;    // end of the last byte driven
};

// The irregular idle gaps a receiver's firmware leaves between bytes: 0 to 1 bit in
// quarter-bit steps, from a seeded generator so that runs repeat.
class UartGapSource {
 public:
  explicit UartGapSource(std::uint32_t seed) : state_(seed * 2654435761u + 1) {
    if (state_ == 0) state_ = 1;
  }
  int NextSixteenths() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<int>(state_ % 5) * 4;
  }

 private:
  std::uint32_t state_;
};

// One burst from an idle line: `bytes` sent at `sendRate` with the given gaps (in
// sixteenths of a bit, reused cyclically; none means back to back), read at `listenRate`.
std::string SampleAtRate(std::string_view bytes, int sendRate, int listenRate,
                         std::span<const int> gapSixteenths = {});

}  // namespace orlimo
