#include "sim/uart_model.h"

#include <algorithm>

namespace orlimo {

UartTick UartBitTicks(int rate) {
  const int r = std::clamp(rate, 50, static_cast<int>(kUartTicksPerSecond / 32));
  return kUartTicksPerSecond / r;
}

UartTick UartByteTicks(int rate, int gapSixteenths) {
  const UartTick bit = UartBitTicks(rate);
  return 10 * bit + bit * std::max(gapSixteenths, 0) / 16;
}

UartLine::UartLine(int listenRate) : listenRate_(listenRate) {}

void UartLine::SetListenRate(int listenRate, UartTick now) {
  listenRate_ = listenRate;
  ready_ = std::max(ready_, now);
}

UartTick UartLine::Send(std::uint8_t byte, int sendRate, UartTick start, int gapSixteenths) {
  start = std::max(start, lineEnd_);
  const UartTick bit = UartBitTicks(sendRate);
  // Start bit, data bits LSB first, stop bit: record only the level changes.
  bool level = edges_.empty() ? levelBeforeEdges_ : edges_.back().high;
  auto drive = [&](UartTick at, bool high) {
    if (high != level) {
      edges_.push_back({at, high});
      level = high;
    }
  };
  drive(start, false);
  for (int i = 0; i < 8; ++i) drive(start + (i + 1) * bit, ((byte >> i) & 1) != 0);
  drive(start + 9 * bit, true);
  lineEnd_ = start + UartByteTicks(sendRate, gapSixteenths);
  return lineEnd_;
}

bool UartLine::LevelAt(UartTick t) const {
  // Last edge at or before t decides the level.
  auto it = std::upper_bound(edges_.begin(), edges_.end(), t,
                             [](UartTick v, const Edge& e) { return v < e.at; });
  if (it == edges_.begin()) return levelBeforeEdges_;
  return std::prev(it)->high;
}

void UartLine::Advance(UartTick now, std::string& out) {
  const UartTick bit = UartBitTicks(listenRate_);
  const UartTick half = bit / 2;
  for (;;) {
    // The next falling edge at or after ready_.
    auto it = std::lower_bound(edges_.begin(), edges_.end(), ready_,
                               [](const Edge& e, UartTick v) { return e.at < v; });
    while (it != edges_.end() && it->high) ++it;
    if (it == edges_.end() || it->at > now) break;
    const UartTick t0 = it->at;
    const UartTick stopSample = t0 + 19 * half;
    if (stopSample > now) break;  // not sampled yet
    if (LevelAt(t0 + half)) {     // a glitch, not a start bit
      ready_ = t0 + half;
      continue;
    }
    unsigned value = 0;
    for (int k = 0; k < 8; ++k) {
      if (LevelAt(t0 + (2 * k + 3) * half)) value |= 1u << k;
    }
    out.push_back(static_cast<char>(value));
    ready_ = stopSample;
  }
  if (now > ready_ && edges_.empty()) ready_ = now;
  // Forget edges the listener can no longer look at, keeping the level they leave.
  while (!edges_.empty() && edges_.front().at < ready_ &&
         (edges_.size() == 1 || edges_[1].at < ready_)) {
    levelBeforeEdges_ = edges_.front().high;
    edges_.pop_front();
  }
}

UartTick UartLine::NextByteAt() const {
  auto it = std::lower_bound(edges_.begin(), edges_.end(), ready_,
                             [](const Edge& e, UartTick v) { return e.at < v; });
  while (it != edges_.end() && it->high) ++it;
  if (it == edges_.end()) return kUartNever;
  return it->at + 19 * (UartBitTicks(listenRate_) / 2);  // its stop bit sampled
}

std::string SampleAtRate(std::string_view bytes, int sendRate, int listenRate,
                         std::span<const int> gapSixteenths) {
  UartLine line(listenRate);
  std::string out;
  UartTick t = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const int gap = gapSixteenths.empty() ? 0 : gapSixteenths[i % gapSixteenths.size()];
    t = line.Send(static_cast<std::uint8_t>(bytes[i]), sendRate, t, gap);
  }
  line.Advance(t + 20 * UartBitTicks(std::min(sendRate, listenRate)), out);
  return out;
}

}  // namespace orlimo
