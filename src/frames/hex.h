// Hexadecimal text <-> bytes. Bytes are kept verbatim in std::string.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orlimo {

// Pairs of hex digits (either case) to bytes. An odd length or any other character
// is a conversion error: nullopt.
std::optional<std::string> HexToBytes(std::string_view text);

// Two upper-case hex digits a byte, nothing between them.
std::string BytesToHex(std::string_view bytes);

}  // namespace orlimo
