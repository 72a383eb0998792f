// Captures of several-constellation receivers replayed through the pipeline one epoch
// per pass: after each pass the views are given every system's last complete cycle
// and the used satellites of that epoch's GSA sentences, worked out here line by line.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "nmea/fields.h"
#include "nmea/sentence.h"
#include "pipeline_fixture.h"

namespace orlimo {
namespace {

namespace fs = std::filesystem;

std::string Name(std::string_view sentence, int systemId, int number) {
  const TSatSystem system = SentenceSystem(sentence, systemId, number);
  return std::string(TSatName(system, number).View());
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  const std::string body = line.substr(0, line.find('*'));
  std::size_t start = 0;
  for (std::size_t comma; (comma = body.find(',', start)) != std::string::npos; start = comma + 1)
    fields.push_back(body.substr(start, comma - start));
  fields.push_back(body.substr(start));
  return fields;
}

// What the views should hold, kept the plain way: complete cycles by talker and
// signal, and the GSA lists of the current epoch.
struct Expected {
  std::map<std::string, std::set<std::string>> building, complete;
  std::map<std::string, int> nextMessage;
  std::set<std::string> used;

  void Add(const std::string& line) {
    const std::vector<std::string> f = Fields(line);
    const std::string type = line.substr(3, 3);
    if (type == "GSA") {
      const int systemId = f.size() == 19 ? std::atoi(f[18].c_str()) : 0;
      for (int i = 3; i <= 14; ++i) {
        if (!f[i].empty()) used.insert(Name(line, systemId, std::atoi(f[i].c_str())));
      }
      return;
    }
    if (type != "GSV") return;
    const bool signal = (f.size() - 4) % 4 == 1;
    const std::string key = line.substr(1, 2) + (signal ? f.back() : "-");
    const int total = std::atoi(f[1].c_str()), msg = std::atoi(f[2].c_str());
    if (msg == 1) building[key].clear(), nextMessage[key] = 1;
    if (nextMessage[key] != msg) return;
    ++nextMessage[key];
    for (std::size_t g = 4; g + 3 < f.size(); g += 4) {
      if (!f[g].empty()) building[key].insert(Name(line, 0, std::atoi(f[g].c_str())));
    }
    if (msg == total) complete[key] = building[key];
  }
  std::set<std::string> InView() const {
    std::set<std::string> all;
    for (const auto& [key, sats] : complete) all.insert(sats.begin(), sats.end());
    return all;
  }
};

TEST(MultiConstellation, EachEpochShowsEverySystemsLastCycleAndTheEpochsUsedSet) {
  const fs::path dir = fs::path(ORLIMO_TESTDATA_DIR) / "receiver-logs";
  if (!fs::is_directory(dir)) GTEST_SKIP() << "no receiver logs at " << dir;
  for (const char* capture :
       {"neo-m8n.log", "sirfstarv-nmea.log", "ublox-zed-f9p-nmea.log", "beidou-gb.log", "nl2008u.log"}) {
    SCOPED_TRACE(capture);
    const std::vector<std::string> lines = ValidLines(ReadFile((dir / capture).string()));
    ASSERT_GT(lines.size(), 50u);
    // An epoch begins with whichever RMC or GGA (of one talker) the receiver sends first.
    std::string epochStart;
    for (const std::string& l : lines) {
      const std::string type = l.substr(3, 3);
      if (type == "RMC" || type == "GGA") {
        epochStart = l.substr(0, 6);
        break;
      }
    }
    PipelineRig rig;
    Expected expected;
    int epochs = 0, multiSystemEpochs = 0;
    std::size_t mostUsed = 0;
    const auto endEpoch = [&] {
      rig.pipeline.ProcessRxBuffer();
      std::set<std::string> inView, used;
      for (const TSkySat& s : rig.nmea.Sky.Satellites()) {
        const std::string name(TSatName(s.System, s.Number).View());
        inView.insert(name);
        if (s.Used) used.insert(name);
      }
      std::set<std::string> expectedUsedInView;
      for (const std::string& n : expected.used) {
        if (inView.count(n)) expectedUsedInView.insert(n);
      }
      ASSERT_EQ(inView, expected.InView()) << "epoch " << epochs;
      ASSERT_EQ(used, expectedUsedInView) << "epoch " << epochs;
      ASSERT_EQ(rig.nmea.Sky.UsedCount(), static_cast<int>(expected.used.size())) << "epoch " << epochs;
      std::set<TSatSystem> systems;
      for (const TSkySat& s : rig.nmea.Sky.Satellites()) systems.insert(s.System);
      if (systems.size() > 1) ++multiSystemEpochs;
      mostUsed = std::max(mostUsed, expected.used.size());
      ++epochs;
    };
    bool started = false;
    for (const std::string& line : lines) {
      if (line.compare(0, 6, epochStart) == 0) {
        if (started) endEpoch();
        started = true;
        expected.used.clear();
      }
      rig.Feed(line + "\r\n");
      expected.Add(line);
    }
    EXPECT_GE(epochs, 3);
    EXPECT_GT(multiSystemEpochs, epochs / 2) << "the capture shows several systems";
    if (std::string(capture) == "ublox-zed-f9p-nmea.log") {
      EXPECT_GT(mostUsed, 12u);
    }
  }
}

}  // namespace
}  // namespace orlimo
