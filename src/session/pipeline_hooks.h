// Where a pipeline pass calls out to the reply scanners and the raw-data log.
// Each does nothing until the part behind it is plugged in.
#pragma once

#include <cstddef>
#include <string_view>

namespace orlimo {

class PipelineHooks {
 public:
  virtual ~PipelineHooks() = default;

  // Reply scanners: each reads the whole receive buffer before line assembly.
  virtual void ScanUBXFrames(std::string_view /*rxBuffer*/) {}
  virtual void CheckFirmwareReply(std::string_view /*rxBuffer*/) {}
  virtual void WatchPowerReply(std::string_view /*rxBuffer*/) {}

  // The log line list of the raw-data log.
  virtual void AddLogLine(std::string_view /*line*/) {}
  virtual std::size_t LogLineCount() const { return 0; }
  virtual void FlushLog() {}
};

}  // namespace orlimo
