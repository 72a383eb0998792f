// What the simulated receiver sends in its binary modes, read back with the
// program's own frame decoders and held against the scenario it was built from.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "frames/frame_scan.h"
#include "frames/sirf_decoder.h"
#include "frames/ubx_decoder.h"
#include "frames/ubx_frame.h"
#include "sim/receiver_core.h"

namespace orlimo {
namespace {

constexpr std::int64_t kStart = 1700000000;
constexpr double kSpeed = 12 * 1852.0 / 3600;  // m/s

SimOptions Moving(SimPersonality p) {
  SimOptions o;
  o.personality = p;
  o.ttffStart = 1;
  o.ttffCold = 5;
  o.scenario.speedKnots = 12;
  o.scenario.courseDeg = 135;
  return o;
}

// Decodes what the receiver sends at `t`, which must be whole frames and nothing
// else; returns the messages read.
template <typename Decoder>
auto DecodeCycle(ReceiverCore& core, Decoder& d, double t) {
  const std::string out = core.Due(t);
  std::set<decltype(d.Decode(out).Message)> seen;
  std::size_t at = 0;
  for (TFoundFrame f = FindNextFrame(out); f.Protocol != TFrameProtocol::None; f = FindNextFrame(out, at)) {
    EXPECT_EQ(f.Offset, at);
    at = f.Offset + f.Frame.size();
    seen.insert(d.Decode(f.Frame).Message);
  }
  EXPECT_EQ(at, out.size());
  return seen;
}

void ExpectSatellites(const TFrameSatList& got, const SimSnapshot& s, float azimuthStep) {
  ASSERT_EQ(got.Count, s.satellites.size());
  for (std::size_t i = 0; i < got.Count; ++i) {
    const SimSatellite& want = s.satellites[i];
    EXPECT_EQ(got.Sats[i].System, TSatSystem::GPS);
    EXPECT_EQ(got.Sats[i].Number, want.prn);
    EXPECT_EQ(got.Sats[i].Cn0, std::max(want.cn0, 0));
    EXPECT_EQ(got.Sats[i].Elevation, want.elevation);
    EXPECT_NEAR(got.Sats[i].Azimuth, want.azimuth, azimuthStep);
    EXPECT_EQ(got.Sats[i].Used, want.used) << want.prn;
  }
}

TEST(BinaryOutput, UbxCycleDecodesToTheScenarioTimesTheFirstFixAndAnswersAsTheM8) {
  const SimOptions o = Moving(SimPersonality::Ubx);
  ReceiverCore core(o, kStart);
  TUBXDecoder d;
  EXPECT_EQ(DecodeCycle(core, d, 0),
            (std::set{TUBXMessage::NavStatus, TUBXMessage::NavDOP, TUBXMessage::NavPVT, TUBXMessage::NavSat}));
  EXPECT_FALSE(d.NavPVT.FixOK() || d.NavStatus.FixOK());

  DecodeCycle(core, d, 1);
  const SimSnapshot s = SimWorld(o.scenario, kStart).At(1, true);
  EXPECT_EQ(d.NavPVT.Fix, TFrameFix::Fix3D);
  EXPECT_NEAR(d.NavPVT.Latitude, s.latitude, 1e-7);
  EXPECT_NEAR(d.NavPVT.Longitude, s.longitude, 1e-7);
  EXPECT_NEAR(d.NavPVT.HeightMSL, s.altitude, 1e-3);
  EXPECT_NEAR(d.NavPVT.GroundSpeed, kSpeed, 1e-3);
  EXPECT_NEAR(d.NavPVT.Heading, 135, 1e-5);
  EXPECT_EQ(d.NavPVT.SatsUsed, s.UsedCount());
  EXPECT_NEAR(d.NavDOP.HDOP, s.hdop, 0.005);
  EXPECT_EQ(d.NavStatus.TimeToFirstFix, 1000u);
  ExpectSatellites(d.NavSat, s, 0);

  // The M8's answers: MON-VER, and a rate change acknowledged at the old rate.
  core.Receive(BuildUBXFrame(0x0A, 0x04, ""), 1.5);
  d.Decode(core.Due(1.5));
  EXPECT_EQ(d.MonVer.Hardware, "00080000");
  std::string port(20, '\0');
  port[0] = 1;
  port[4] = '\xD0', port[5] = '\x08';  // 8N1
  port[9] = '\x96';                    // 38400
  core.Receive(BuildUBXFrame(0x06, 0x00, port), 1.6);
  EXPECT_EQ(core.Due(2), BuildUBXFrame(0x05, 0x01, std::string{'\x06', '\x00'}));
  EXPECT_EQ(core.Rate(), 38400);

  // A cold start: the first fix comes ttffCold later, and NAV-STATUS says so.
  core.Receive(BuildUBXFrame(0x06, 0x04, std::string{'\xFF', '\xFF', 2, 0}), 10);
  for (int t = 10; t < 16; ++t) core.Due(t);
  DecodeCycle(core, d, 16);
  EXPECT_EQ(d.NavStatus.TimeToFirstFix, 5000u);
  EXPECT_EQ(d.NavStatus.SinceStartup, 6000u);
}

TEST(BinaryOutput, SiRFCycleDecodesToTheScenario) {
  const SimOptions o = Moving(SimPersonality::SiRFBinary);
  ReceiverCore core(o, kStart);
  TSiRFDecoder d;
  EXPECT_EQ(DecodeCycle(core, d, 0), (std::set{TSiRFMessage::None, TSiRFMessage::NavData,  // None: message 9
                                               TSiRFMessage::TrackerData, TSiRFMessage::GeodeticNav}));
  EXPECT_EQ(d.GeodeticNav.Fix, TFrameFix::None);

  DecodeCycle(core, d, 1);
  const SimSnapshot s = SimWorld(o.scenario, kStart).At(1, true);
  const TSiRFGeodeticNav& g = d.GeodeticNav;
  EXPECT_EQ(g.Fix, TFrameFix::Fix3D);
  EXPECT_NEAR(g.Latitude, s.latitude, 1e-7);
  EXPECT_NEAR(g.Longitude, s.longitude, 1e-7);
  EXPECT_NEAR(g.AltitudeMSL, s.altitude, 0.01);
  EXPECT_NEAR(g.Speed, kSpeed, 0.01);
  EXPECT_NEAR(g.Course, 135, 0.01);
  EXPECT_EQ(g.SatsUsed, s.UsedCount());
  // Message 2's ECEF position is the same place, at the same height above the ellipsoid.
  EXPECT_EQ(d.NavData.Fix, TFrameFix::Fix3D);
  EXPECT_NEAR(d.NavData.Geodetic.Latitude, g.Latitude, 1e-5);
  EXPECT_NEAR(d.NavData.Geodetic.Longitude, g.Longitude, 1e-5);
  EXPECT_NEAR(d.NavData.Geodetic.Height, g.AltitudeEllipsoid, 1.0);
  ExpectSatellites(d.Tracker.Sats, s, 1.5);  // message 4 counts azimuth in steps of 1.5 degrees
}

}  // namespace
}  // namespace orlimo
