// The decoders against captures of real receivers and gpsd's decode of them.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "capture_file.h"
#include "frames/frame_scan.h"
#include "frames/sat_numbering.h"
#include "frames/sirf_decoder.h"
#include "frames/ubx_decoder.h"
#include "frames/ubx_names.h"

namespace orlimo {
namespace {

using test::JsonNumber;

struct Capture {
  std::string bytes;
  std::vector<std::string> tpv, sky;
};

std::optional<Capture> Load(const std::string& name) {
  const auto bytes = test::ReadCapture(test::CaptureDir() / name);
  const auto chk = test::ReadCapture(test::CaptureDir() / (name + ".chk"));
  if (!bytes || !chk) return std::nullopt;
  return Capture{*bytes, test::Reports(*chk, "TPV"), test::Reports(*chk, "SKY")};
}

// Calls `onFrame` with each valid frame of the capture, in order.
template <typename F>
void ForEachFrame(std::string_view bytes, F onFrame) {
  for (TFoundFrame f = FindNextFrame(bytes); f.Protocol != TFrameProtocol::None;
       f = FindNextFrame(bytes, f.Offset + f.Frame.size())) {
    onFrame(f);
  }
}

// Each satellite gpsd reports in the SKY object is in the list with its values.
// `usedSubset`: a satellite used here is used there, not necessarily the reverse.
void ExpectSky(const std::string& sky, const TFrameSatList& list, double cn0Tolerance, bool usedSubset = false) {
  for (const std::string& g : test::SkySatellites(sky)) {
    const TSatId id = SatFromGnssId(static_cast<int>(*JsonNumber(g, "gnssid")), static_cast<int>(*JsonNumber(g, "svid")));
    const std::span<const TFrameSat> sats = list.View();
    const auto s = std::find_if(sats.begin(), sats.end(),
                                [&](const TFrameSat& f) { return f.System == id.System && f.Number == id.Number; });
    ASSERT_NE(s, sats.end()) << g;
    EXPECT_EQ(s->Elevation, *JsonNumber(g, "el")) << g;
    EXPECT_EQ(s->Azimuth, *JsonNumber(g, "az")) << g;
    EXPECT_NEAR(s->Cn0, *JsonNumber(g, "ss"), cn0Tolerance) << g;
    const bool gpsdUsed = g.find("\"used\":true") != std::string::npos;
    EXPECT_TRUE(s->Used == gpsdUsed || (usedSubset && !s->Used)) << g;
  }
}

TEST(UBXCapture, ZedF9PAgreesWithGpsd) {
  const auto c = Load("ublox-zed-f9p-hp.log");
  if (!c) GTEST_SKIP() << "capture not found in " << test::CaptureDir();
  TUBXDecoder ubx;
  std::size_t pvts = 0, ecefs = 0, sats = 0;
  ForEachFrame(c->bytes, [&](const TFoundFrame& f) {
    const TUBXDecoded d = ubx.Decode(f.Frame);
    if (d.Message == TUBXMessage::NavPVT && pvts < c->tpv.size()) {
      const std::string& tpv = c->tpv[pvts++];
      EXPECT_NEAR(ubx.NavPVT.Latitude, *JsonNumber(tpv, "lat"), 1e-9) << tpv;
      EXPECT_NEAR(ubx.NavPVT.Longitude, *JsonNumber(tpv, "lon"), 1e-9) << tpv;
      EXPECT_NEAR(ubx.NavPVT.HeightMSL, *JsonNumber(tpv, "altMSL"), 1e-3) << tpv;
      EXPECT_EQ(ubx.NavPVT.Fix, TFrameFix::Fix3D);
    } else if (d.Message == TUBXMessage::NavPosECEF && ecefs < c->tpv.size()) {
      const std::string& tpv = c->tpv[ecefs++];
      ASSERT_TRUE(ubx.NavPosECEF.Geodetic.Valid);
      EXPECT_NEAR(ubx.NavPosECEF.Geodetic.Latitude, *JsonNumber(tpv, "lat"), 1e-6) << tpv;
      EXPECT_NEAR(ubx.NavPosECEF.Geodetic.Longitude, *JsonNumber(tpv, "lon"), 1e-6) << tpv;
      EXPECT_NEAR(ubx.NavPosECEF.Geodetic.Height, *JsonNumber(tpv, "altHAE"), 0.05) << tpv;
    } else if (d.Message == TUBXMessage::NavSat && sats < c->sky.size()) {
      const std::string& sky = c->sky[sats++];
      EXPECT_NEAR(ubx.NavDOP.HDOP, *JsonNumber(sky, "hdop"), 1e-9);
      ExpectSky(sky, ubx.NavSat, 0);
    }
  });
  EXPECT_EQ(pvts, c->tpv.size());
  EXPECT_EQ(ecefs, c->tpv.size());
  EXPECT_EQ(sats, c->sky.size());
}

TEST(UBXCapture, AntarisSolutionAndChannelsAgreeWithGpsd) {
  const auto c = Load("ublox-aek-4t.log");
  if (!c) GTEST_SKIP() << "capture not found in " << test::CaptureDir();
  TUBXDecoder ubx;
  std::size_t sols = 0, svinfos = 0;
  ForEachFrame(c->bytes, [&](const TFoundFrame& f) {
    const TUBXDecoded d = ubx.Decode(f.Frame);
    if (d.Message == TUBXMessage::NavSol && sols < c->tpv.size()) {
      const std::string& tpv = c->tpv[sols++];
      EXPECT_NEAR(ubx.NavSol.Geodetic.Latitude, *JsonNumber(tpv, "lat"), 1e-6) << tpv;
      EXPECT_NEAR(ubx.NavSol.Geodetic.Longitude, *JsonNumber(tpv, "lon"), 1e-6) << tpv;
      EXPECT_NEAR(ubx.NavSol.Geodetic.Height, *JsonNumber(tpv, "altHAE"), 0.05) << tpv;
    } else if (d.Message == TUBXMessage::NavSVInfo && svinfos < c->sky.size()) {
      ExpectSky(c->sky[svinfos++], ubx.NavSVInfo, 0);
    } else if (d.Message == TUBXMessage::NavStatus) {
      EXPECT_EQ(ubx.NavStatus.TimeToFirstFix, 18052u);
      EXPECT_EQ(ubx.Describe(d).View(), "UBX NAV-STATUS 3D TTFF 18.1 s");
    }
  });
  EXPECT_EQ(sols, c->tpv.size());
  EXPECT_EQ(svinfos, c->sky.size());
}

TEST(SiRFCapture, NavigationAndTrackerDataAgreeWithGpsd) {
  const auto c = Load("bu303-moving.log");
  if (!c) GTEST_SKIP() << "capture not found in " << test::CaptureDir();
  // Message 41 and the tracker data of a second come before its message 2, which
  // names the satellites used: gather the epochs first.
  TSiRFDecoder sirf;
  std::vector<TSiRFNavData> navs;
  std::vector<TSiRFGeodeticNav> geodetic;
  std::vector<TFrameSatList> trackers;
  std::vector<int> trackerUsed;  // message 2's count of the tracker's epoch
  ForEachFrame(c->bytes, [&](const TFoundFrame& f) {
    const TSiRFDecoded d = sirf.Decode(f.Frame);
    if (d.Message == TSiRFMessage::GeodeticNav) geodetic.push_back(sirf.GeodeticNav);
    if (d.Message != TSiRFMessage::NavData) return;
    navs.push_back(sirf.NavData);
    if (sirf.Tracker.TimeOfWeek != sirf.NavData.TimeOfWeek) return;
    trackers.push_back(sirf.Tracker.Sats);
    trackerUsed.push_back(sirf.NavData.SatsUsed);
  });
  ASSERT_EQ(navs.size(), c->tpv.size());
  for (std::size_t i = 0; i < navs.size(); ++i) {
    const std::string& tpv = c->tpv[i];
    EXPECT_NEAR(navs[i].Geodetic.Latitude, *JsonNumber(tpv, "lat"), 1e-6) << tpv;
    EXPECT_NEAR(navs[i].Geodetic.Longitude, *JsonNumber(tpv, "lon"), 1e-6) << tpv;
    EXPECT_NEAR(navs[i].VX, *JsonNumber(tpv, "ecefvx"), 0.01) << tpv;
    EXPECT_EQ(navs[i].Fix, TFrameFix::Fix3D);
  }
  // Message 41 against the report of message 2 of the same second.
  ASSERT_EQ(geodetic.size() + 1, navs.size());
  for (std::size_t i = 0; i < geodetic.size(); ++i) {
    const std::string& tpv = c->tpv[i + 1];
    ASSERT_NEAR(geodetic[i].TimeOfWeek, navs[i + 1].TimeOfWeek, 0.01);
    EXPECT_NEAR(geodetic[i].Latitude, *JsonNumber(tpv, "lat"), 1e-5) << tpv;
    EXPECT_NEAR(geodetic[i].Longitude, *JsonNumber(tpv, "lon"), 1e-5) << tpv;
  }
  // gpsd calls a satellite used when its channel state has every tracking bit set;
  // the satellites used are those message 2 lists, and it left one out twice.
  ASSERT_EQ(trackers.size(), c->sky.size());
  for (std::size_t i = 0; i < trackers.size(); ++i) {
    ExpectSky(c->sky[i], trackers[i], 0.05, true);
    EXPECT_EQ(trackers[i].UsedCount(), trackerUsed[i]);
  }
}

TEST(Captures, EveryFrameOfEveryCaptureIsDecodedOrUnknown) {
  if (!std::filesystem::is_directory(test::CaptureDir())) GTEST_SKIP() << "no " << test::CaptureDir();
  std::map<std::string, std::map<TFrameStatus, int>> counts;  // key -> status -> frames
  int frames = 0;
  for (const auto& entry : std::filesystem::directory_iterator(test::CaptureDir())) {
    if (entry.path().extension() != ".log") continue;
    const auto bytes = test::ReadCapture(entry.path());
    ASSERT_TRUE(bytes);
    TUBXDecoder ubx;
    TSiRFDecoder sirf;
    ForEachFrame(*bytes, [&](const TFoundFrame& f) {
      ++frames;
      if (f.Protocol == TFrameProtocol::UBX) {
        const TUBXDecoded d = ubx.Decode(f.Frame);
        ++counts[std::string(UBXMessageKey(d.Class, d.Id).View())][d.Status];
      } else {
        const TSiRFDecoded d = sirf.Decode(f.Frame);
        ++counts[std::string(SiRFMessageKey(d.Id).View())][d.Status];
      }
    });
  }
  std::ostringstream table;
  bool clean = true;
  for (const auto& [key, byStatus] : counts) {
    table << key;
    for (const auto& [status, n] : byStatus) {
      static constexpr const char* kNames[] = {"decoded", "unknown", "MALFORMED", "INVALID"};
      table << ' ' << kNames[static_cast<int>(status)] << ' ' << n;
      clean = clean && (status == TFrameStatus::Decoded || status == TFrameStatus::Unknown);
    }
    table << '\n';
  }
  EXPECT_TRUE(clean) << table.str();
  EXPECT_GT(counts["UBX-NAV-PVT"][TFrameStatus::Decoded], 0) << table.str();
  EXPECT_GT(counts["SIRF-41"][TFrameStatus::Decoded], 0) << table.str();
  EXPECT_GT(frames, 400) << table.str();
}

}  // namespace
}  // namespace orlimo
