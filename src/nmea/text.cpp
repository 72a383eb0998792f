#include "nmea/text.h"

#include <algorithm>
#include <cstdio>

namespace orlimo {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string LeftText(std::string_view s, std::size_t n) {
  return std::string(s.substr(0, n));
}

std::string RightText(std::string_view s, std::size_t n) {
  return std::string(n >= s.size() ? s : s.substr(s.size() - n));
}

std::string CopyRange(std::string_view s, std::size_t a, std::size_t b) {
  if (a < 1) a = 1;
  if (b < a || a > s.size()) return {};
  return std::string(s.substr(a - 1, b - a + 1));
}

std::string CopyFrom(std::string_view s, std::size_t a) {
  if (a < 1) a = 1;
  if (a > s.size()) return {};
  return std::string(s.substr(a - 1));
}

std::size_t PosFrom(std::string_view sub, std::string_view s, std::size_t start) {
  if (sub.empty() || s.empty()) return 0;
  if (start < 1) start = 1;
  if (start > s.size()) return 0;
  const std::size_t p = s.find(sub, start - 1);
  return p == std::string_view::npos ? 0 : p + 1;
}

std::size_t LastPosBefore(std::string_view sub, std::string_view s, std::size_t limit) {
  if (sub.empty() || s.empty() || limit <= 1) return 0;
  limit = std::min(limit, s.size() + 1);
  const std::string_view head = s.substr(0, limit - 1);
  const std::size_t p = head.rfind(sub);
  return p == std::string_view::npos ? 0 : p + 1;
}

std::string HexDigits(std::uint32_t value, int n) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out(static_cast<std::size_t>(std::max(n, 0)), '0');
  for (int i = n - 1; i >= 0; --i, value >>= 4) {
    out[static_cast<std::size_t>(i)] = kHex[value & 0x0F];
  }
  return out;
}

std::string CopyBytes(const void* source, std::size_t count) {
  if (source == nullptr || count == 0) return {};
  return std::string(static_cast<const char*>(source), count);
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string SecondsToHMS(std::int64_t seconds) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.2lld:%.2lld:%.2lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>((seconds / 60) % 60), static_cast<long long>(seconds % 60));
  return buf;
}

}  // namespace orlimo
