// What the receive pipeline tells a measurement about the receiver's fix: each
// sentence that changes FixValid, and when that sentence arrived. The pass decodes
// once a second, so the pipeline stamps every received chunk on the watcher's clock
// as it comes and dates a sentence by the chunk that brought its line end.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orlimo {

struct SentenceArrival {
  std::int64_t chunkMs = 0;    // when the chunk with the line end was received
  std::size_t bytesAfter = 0;  // bytes of that chunk after the line end
};

class FixWatch {
 public:
  virtual ~FixWatch() = default;
  // The clock the chunks are stamped with, in milliseconds.
  virtual std::int64_t NowMs() const = 0;
  // A decoded sentence turned FixValid to `valid`.
  virtual void FixChanged(bool valid, SentenceArrival arrival) = 0;
};

}  // namespace orlimo
