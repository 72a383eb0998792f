// A log cut into what nmeadump prints: lines of text, as std::getline cuts them,
// and the UBX and SiRF binary frames between them. A capture mixes both, and a
// frame may hold '\n' bytes, so frames are found first and lines are cut around them.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string_view>
#include <vector>

#include "frames/frame_scan.h"

namespace orlimo {

struct TInputPiece {
  TFoundFrame Frame;      // Protocol None: a line of text
  std::string_view Text;  // the line without its '\n', or the frame's bytes
};

class TInputSplitter {
 public:
  explicit TInputSplitter(std::istream& in);

  // The next line or frame; false at the end of the stream. Text before a frame
  // without a '\n' of its own ends there as a line; a last line without one counts,
  // an empty one after the last '\n' does not. The piece's bytes last until the
  // next call.
  bool Next(TInputPiece& piece);

 private:
  // Keeps what is not yet handed out and reads after it; false at the end of the stream.
  bool Fill();
  // The next whole frame from begin_, and how far text is settled: up to that
  // frame, or up to the first byte that may start a frame not yet read whole.
  void Search();
  // The first byte at or after begin_ that may start a frame; end_ when there is none.
  std::size_t NextSyncByte();

  static constexpr std::size_t kUnknown = std::string_view::npos;

  std::istream& in_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0, end_ = 0;
  bool eof_ = false;
  bool searched_ = false;
  TFoundFrame frame_;
  std::size_t settled_ = 0;  // text before this offset is no part of a frame
  std::size_t nextUBX_ = kUnknown, nextSiRF_ = kUnknown;  // the next B5 and A0 bytes
};

}  // namespace orlimo
