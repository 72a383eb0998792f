// Where a pipeline pass calls out: the reply scanners, which read the whole receive
// buffer before it is cut into lines, and the raw-data log. Each does nothing until
// the part behind it is plugged in.
#pragma once

#include <cstddef>
#include <string_view>

#include "frames/frame_scan.h"

namespace orlimo {

class ReplyScanners {
 public:
  virtual ~ReplyScanners() = default;
  virtual void ScanUBXFrames(std::string_view /*rxBuffer*/) {}
  virtual void CheckFirmwareReply(std::string_view /*rxBuffer*/) {}
  virtual void WatchPowerReply(std::string_view /*rxBuffer*/) {}
};

// The pending line list of the raw-data log, and its binary frames.
class RawLogHooks {
 public:
  virtual ~RawLogHooks() = default;
  virtual void AddLogLine(std::string_view /*line*/) {}
  virtual void AddLogFrame(TFrameProtocol /*protocol*/, std::string_view /*frame*/) {}
  virtual std::size_t LogLineCount() const { return 0; }
  virtual void FlushLog() {}
};

// Both in one object, for a pipeline on its own (tests, benchmarks, fuzzing).
class PipelineHooks : public ReplyScanners, public RawLogHooks {};

}  // namespace orlimo
