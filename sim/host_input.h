// Cuts what the host sends into NMEA sentences, SiRF binary frames and UBX frames, and
// checks each one. The stream may start anywhere and hold any garbage: bytes that do
// not begin a message are skipped, and nothing is held beyond a few kilobytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orlimo {

struct HostMessage {
  enum class Kind { Nmea, SiRF, UBX };
  Kind kind;
  std::string bytes;  // a sentence without CR LF, or a whole frame
};

class HostInputParser {
 public:
  // Appends every complete, checked message in `bytes` to `out`.
  void Feed(std::string_view bytes, std::vector<HostMessage>& out);

  int Rejected() const { return rejected_; }  // bad checksums, bad frames
  int Accepted() const { return accepted_; }

 private:
  // One step over the front of the buffer: false when more bytes are needed.
  bool Step(std::vector<HostMessage>& out);

  std::string buf_;
  int rejected_ = 0;
  int accepted_ = 0;
};

}  // namespace orlimo
