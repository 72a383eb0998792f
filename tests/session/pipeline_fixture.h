// A receive pipeline wired to a recording view, for tests.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fake_session_view.h"
#include "nmea/decoder.h"
#include "nmea/sentence.h"
#include "session/activity_indicator.h"
#include "session/pipeline_hooks.h"
#include "session/receive_pipeline.h"

namespace orlimo {

class RecordingHooks : public PipelineHooks {
 public:
  void ScanUBXFrames(std::string_view) override { calls.push_back("ubx"); }
  void CheckFirmwareReply(std::string_view b) override {
    calls.push_back("firmware");
    seenBuffers.emplace_back(b);
  }
  void WatchPowerReply(std::string_view) override { calls.push_back("power"); }
  void AddLogLine(std::string_view line) override { logLines.emplace_back(line); }
  std::size_t LogLineCount() const override { return logLines.size(); }
  void FlushLog() override {
    ++flushes;
    logLines.clear();
  }
  std::vector<std::string> calls, seenBuffers, logLines;
  int flushes = 0;
};

struct PipelineRig {
  SessionState state;
  TqvNMEA nmea;
  FakeSessionView view;
  RecordingHooks hooks;
  FakeTimer timer;
  ActivityIndicator indicator{timer, view};
  ReceivePipeline pipeline{state, nmea, view, hooks, indicator};

  void Feed(std::string_view bytes) { pipeline.CommGPSReceiveData(bytes.data(), bytes.size()); }
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The valid sentences of a byte stream, line by line (a CR before the LF dropped).
inline std::vector<std::string> ValidLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t eol; (eol = bytes.find('\n', start)) != std::string::npos; start = eol + 1) {
    std::string line = bytes.substr(start, eol - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (IsValidSentence(line)) lines.push_back(line);
  }
  return lines;
}

inline std::string SampleLog() { return ReadFile(std::string(ORLIMO_SOURCE_DIR) + "/data/sample-1hz.nmea"); }

}  // namespace orlimo
