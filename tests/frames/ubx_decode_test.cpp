#include <gtest/gtest.h>

#include "frames/ubx_decoder.h"
#include "frames/ubx_frame.h"
#include "frames/ubx_names.h"
#include "payload_builder.h"

namespace orlimo {
namespace {

using test::Payload;

Payload LE() { return Payload(TByteOrder::Little); }

// NAV-PVT as u-blox 7 sends it (84 bytes): 12 satellites, 3-D, south and east.
std::string NavPVT84() {
  return LE().Int(163178000, 4).Int(2019, 2).Int(4, 1).Int(22, 1).Int(21, 1).Int(19, 1).Int(20, 1)
      .Int(0x37, 1).Int(26, 4).Int(-127759, 4)
      .Int(3, 1).Int(0x01, 1).Int(0, 1).Int(12, 1)
      .Int(1705001250, 4).Int(-458775920, 4).Int(29234, 4).Int(27443, 4).Int(1450, 4).Int(1290, 4)
      .Int(251, 4).Int(-39, 4).Int(-24, 4).Int(254, 4).Int(21787649, 4).Int(900, 4).Int(2575000, 4)
      .Int(125, 2).Zeros(6).Bytes();
}

TEST(UBXDecode, PositionAndVelocityFromBuiltFrames) {
  TUBXDecoder ubx;
  const TUBXDecoded pvt = ubx.Decode(BuildUBXFrame(0x01, 0x07, NavPVT84()));
  ASSERT_EQ(pvt.Status, TFrameStatus::Decoded);
  const TUBXNavPVT& p = ubx.NavPVT;
  EXPECT_EQ(p.Second, 20);
  EXPECT_TRUE(p.DateValid() && p.TimeValid() && p.FixOK());
  EXPECT_EQ(p.Fix, TFrameFix::Fix3D);
  EXPECT_DOUBLE_EQ(p.Latitude, -45.877592);
  EXPECT_DOUBLE_EQ(p.Longitude, 170.500125);
  EXPECT_DOUBLE_EQ(p.GroundSpeed, 0.254);
  EXPECT_DOUBLE_EQ(p.Heading, 217.87649);
  EXPECT_DOUBLE_EQ(p.PDOP, 1.25);
  EXPECT_EQ(ubx.Describe(pvt).View(), "UBX NAV-PVT 3D 12 SV 45.877592 S 170.500125 E");

  // One byte short: not decoded, and the record keeps the last fix.
  const TUBXDecoded cut = ubx.Decode(BuildUBXFrame(0x01, 0x07, NavPVT84().substr(0, 83)));
  EXPECT_EQ(cut.Status, TFrameStatus::Malformed);
  EXPECT_DOUBLE_EQ(ubx.NavPVT.Latitude, -45.877592);
  EXPECT_EQ(ubx.Describe(cut).View(), "UBX NAV-PVT (83 bytes, not decoded)");

  const std::string llh = LE().Int(1000, 4).Int(-1220000000, 4).Int(491263560, 4).Int(12000, 4).Int(-5000, 4)
                              .Int(2500, 4).Int(4000, 4).Bytes();
  ASSERT_EQ(ubx.Decode(BuildUBXFrame(0x01, 0x02, llh)).Status, TFrameStatus::Decoded);
  EXPECT_DOUBLE_EQ(ubx.NavPosLLH.Latitude, 49.126356);
  EXPECT_DOUBLE_EQ(ubx.NavPosLLH.Longitude, -122.0);
  EXPECT_DOUBLE_EQ(ubx.NavPosLLH.HeightMSL, -5.0);

  const std::string vel = LE().Int(1000, 4).Int(-300, 4).Int(400, 4).Int(-10, 4).Int(501, 4).Int(500, 4)
                              .Int(14313010, 4).Int(20, 4).Int(500000, 4).Bytes();
  const TUBXDecoded v = ubx.Decode(BuildUBXFrame(0x01, 0x12, vel));
  ASSERT_EQ(v.Status, TFrameStatus::Decoded);
  EXPECT_DOUBLE_EQ(ubx.NavVelNED.VelN, -3.0);
  EXPECT_DOUBLE_EQ(ubx.NavVelNED.HeadingAccuracy, 5.0);
  EXPECT_EQ(ubx.Describe(v).View(), "UBX NAV-VELNED 5.00 m/s course 143.1");
}

TEST(UBXDecode, SignalsAndSatelliteListsCheckTheirVersion) {
  TUBXDecoder ubx;
  // GPS 5 on L1 C/A, used; GLONASS slot 7 on L2 OF, tracked only.
  const std::string sig = LE().Int(5000, 4).Int(0, 1).Int(2, 1).Zeros(2)
                              .Int(0, 1).Int(5, 1).Int(0, 1).Int(0, 1).Int(-12, 2).Int(40, 1).Int(7, 1)
                              .Int(0, 1).Int(0, 1).Int(0x0009, 2).Zeros(4)
                              .Int(6, 1).Int(7, 1).Int(2, 1).Int(11, 1).Int(0, 2).Int(35, 1).Int(4, 1)
                              .Int(0, 1).Int(0, 1).Int(0x0001, 2).Zeros(4).Bytes();
  const TUBXDecoded d = ubx.Decode(BuildUBXFrame(0x01, 0x43, sig));
  ASSERT_EQ(d.Status, TFrameStatus::Decoded);
  ASSERT_EQ(ubx.NavSig.Count, 2u);
  const TFrameSignal& gps = ubx.NavSig.Signals[0];
  const TFrameSignal& glo = ubx.NavSig.Signals[1];
  EXPECT_EQ(gps.System, TSatSystem::GPS);
  EXPECT_EQ(gps.Number, 5);
  EXPECT_EQ(gps.Cn0, 40);
  EXPECT_TRUE(gps.Used);
  EXPECT_EQ(glo.System, TSatSystem::GLONASS);
  EXPECT_EQ(glo.Number, 7);
  EXPECT_EQ(glo.SignalId, 2);
  EXPECT_FALSE(glo.Used);
  EXPECT_EQ(ubx.Describe(d).View(), "UBX NAV-SIG 2 signals 1 used");

  // Another version, or a count the payload cannot hold: not read.
  std::string otherVersion = sig;
  otherVersion[4] = 1;
  EXPECT_EQ(ubx.Decode(BuildUBXFrame(0x01, 0x43, otherVersion)).Status, TFrameStatus::Malformed);
  EXPECT_EQ(ubx.Decode(BuildUBXFrame(0x01, 0x43, sig.substr(0, sig.size() - 1))).Status, TFrameStatus::Malformed);
  const std::string sat = LE().Int(5000, 4).Int(2, 1).Int(0, 1).Zeros(2).Bytes();  // version 2
  EXPECT_EQ(ubx.Decode(BuildUBXFrame(0x01, 0x35, sat)).Status, TFrameStatus::Malformed);
  EXPECT_EQ(ubx.NavSig.Count, 2u);
}

TEST(UBXDecode, VersionReplyAndAcknowledgements) {
  TUBXDecoder ubx;
  const std::string ver = LE().Text("ROM CORE 3.01 (107888)", 30).Text("00080000", 10).Text("FWVER=SPG 3.01", 30)
                              .Text("PROTVER=18.00", 30).Text("GPS;GLO;GAL;BDS", 30).Bytes();
  const TUBXDecoded d = ubx.Decode(BuildUBXFrame(0x0A, 0x04, ver));
  ASSERT_EQ(d.Status, TFrameStatus::Decoded);
  EXPECT_EQ(ubx.MonVer.Software, "ROM CORE 3.01 (107888)");
  EXPECT_EQ(ubx.MonVer.Hardware, "00080000");
  ASSERT_EQ(ubx.MonVer.ExtensionCount, 3u);
  EXPECT_EQ(ubx.MonVer.Extensions[1], "PROTVER=18.00");
  EXPECT_EQ(ubx.Describe(d).View(),
            "UBX MON-VER ROM CORE 3.01 (107888) HW 00080000 FWVER=SPG 3.01, PROTVER=18.00, GPS;GLO;GAL;BDS");
  EXPECT_EQ(ubx.Decode(BuildUBXFrame(0x0A, 0x04, ver.substr(0, 39))).Status, TFrameStatus::Malformed);

  const TUBXDecoded ack = ubx.Decode(BuildUBXFrame(0x05, 0x01, std::string("\x06\x00", 2)));
  EXPECT_TRUE(ubx.Ack.Acknowledged);
  EXPECT_EQ(ubx.Describe(ack).View(), "UBX ACK-ACK CFG-PRT");
  const TUBXDecoded nak = ubx.Decode(BuildUBXFrame(0x05, 0x00, "\x06\x8A"));
  EXPECT_FALSE(ubx.Ack.Acknowledged);
  EXPECT_EQ(ubx.Describe(nak).View(), "UBX ACK-NAK CFG-VALSET");
}

TEST(UBXDecode, OtherMessagesAreNamedOrNumbered) {
  TUBXDecoder ubx;
  const TUBXDecoded unnamed = ubx.Decode(BuildUBXFrame(0x01, 0x7F, std::string(40, '\0')));
  EXPECT_EQ(unnamed.Status, TFrameStatus::Unknown);
  EXPECT_EQ(ubx.Describe(unnamed).View(), "UBX 0x01 0x7F (40 bytes)");
  EXPECT_EQ(UBXMessageKey(0x01, 0x7F), "UBX-01-7F");
  const TUBXDecoded eoe = ubx.Decode(BuildUBXFrame(0x01, 0x61, std::string(4, '\0')));
  EXPECT_EQ(ubx.Describe(eoe).View(), "UBX NAV-EOE (4 bytes)");
  EXPECT_EQ(UBXMessageKey(0x01, 0x07), "UBX-NAV-PVT");
  std::string bad = BuildUBXFrame(0x01, 0x07, NavPVT84());
  bad[30] ^= 1;
  EXPECT_EQ(ubx.Decode(bad).Status, TFrameStatus::Invalid);
  EXPECT_EQ(ubx.NavPVT.Year, 0);
}

}  // namespace
}  // namespace orlimo
