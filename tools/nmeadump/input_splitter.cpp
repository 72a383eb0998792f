#include "nmeadump/input_splitter.h"

#include <algorithm>
#include <cstring>
#include <istream>

#include "frames/sirf_frame.h"
#include "frames/ubx_frame.h"

namespace orlimo {
namespace {

// Big reads: a log of tens of megabytes is read a block at a time.
constexpr std::size_t kBlockSize = 1 << 20;
// The longest frame either protocol can send (UBX: a 16-bit payload length).
constexpr std::size_t kMaxFrame = 0xFFFF + kUBXFrameOverhead;
static_assert(kSiRFMaxPayload + kSiRFFrameOverhead <= kMaxFrame);

}  // namespace

TInputSplitter::TInputSplitter(std::istream& in) : in_(in), buffer_(kBlockSize) {}

std::size_t TInputSplitter::NextSyncByte() {
  // memchr is much faster than a search for either byte; each position found stays
  // good until begin_ passes it, so a block is scanned about once for each byte.
  const auto find = [this](char c) {
    const void* at = std::memchr(buffer_.data() + begin_, c, end_ - begin_);
    return at != nullptr ? static_cast<std::size_t>(static_cast<const char*>(at) - buffer_.data()) : end_;
  };
  if (nextUBX_ == kUnknown || nextUBX_ < begin_) nextUBX_ = find('\xB5');
  if (nextSiRF_ == kUnknown || nextSiRF_ < begin_) nextSiRF_ = find('\xA0');
  return std::min(nextUBX_, nextSiRF_);
}

void TInputSplitter::Search() {
  const std::string_view bytes(buffer_.data(), end_);
  const std::size_t sync = NextSyncByte();
  frame_ = sync < end_ ? FindNextFrame(bytes, sync) : TFoundFrame{};
  if (frame_.Protocol != TFrameProtocol::None) {
    settled_ = frame_.Offset;
  } else if (eof_) {
    settled_ = end_;
  } else {
    // A frame starting within the last kMaxFrame bytes may be cut by the block's end;
    // one starting earlier would have been found whole. Plain text has no sync bytes.
    const std::size_t from = std::max(begin_, end_ > kMaxFrame ? end_ - kMaxFrame : 0);
    settled_ = sync >= from ? sync : std::min(bytes.find_first_of(std::string_view("\xB5\xA0", 2), from), end_);
  }
  searched_ = true;
}

bool TInputSplitter::Next(TInputPiece& piece) {
  for (;;) {
    if (!searched_) Search();
    const char* begin = buffer_.data() + begin_;
    if (const void* nl = std::memchr(begin, '\n', settled_ - begin_)) {
      const auto length = static_cast<std::size_t>(static_cast<const char*>(nl) - begin);
      piece = {{}, {begin, length}};
      begin_ += length + 1;
      return true;
    }
    if (frame_.Protocol != TFrameProtocol::None) {
      if (settled_ > begin_) {  // text the frame cuts short
        piece = {{}, {begin, settled_ - begin_}};
        begin_ = settled_;
        return true;
      }
      piece = {frame_, frame_.Frame};
      begin_ += frame_.Frame.size();
      searched_ = false;
      return true;
    }
    if (eof_) break;
    Fill();
  }
  if (begin_ == end_) return false;
  piece = {{}, {buffer_.data() + begin_, end_ - begin_}};
  begin_ = end_;
  return true;
}

bool TInputSplitter::Fill() {
  searched_ = false;  // offsets move
  nextUBX_ = nextSiRF_ = kUnknown;
  if (eof_) return false;
  std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
  end_ -= begin_;
  begin_ = 0;
  if (buffer_.size() - end_ < kBlockSize / 2) buffer_.resize(buffer_.size() * 2);  // a long line
  in_.read(buffer_.data() + end_, static_cast<std::streamsize>(buffer_.size() - end_));
  const auto got = static_cast<std::size_t>(in_.gcount());
  end_ += got;
  eof_ = got == 0;
  return !eof_;
}

}  // namespace orlimo
