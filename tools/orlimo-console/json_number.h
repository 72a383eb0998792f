// A number as the console's JSON lines print it: fixed decimals with '.' whatever the
// locale, and null for a figure that is not known.
#pragma once

#include <charconv>
#include <optional>
#include <string>

namespace orlimo {

inline std::string JsonNumber(const std::optional<double>& v, int decimals) {
  if (!v) return "null";
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, *v, std::chars_format::fixed, decimals);
  return r.ec == std::errc() ? std::string(buf, r.ptr) : "null";
}

}  // namespace orlimo
