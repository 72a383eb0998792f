#include <gtest/gtest.h>

#include "frames/sirf_decoder.h"
#include "frames/sirf_frame.h"
#include "payload_builder.h"

namespace orlimo {
namespace {

using test::Payload;

Payload BE() { return Payload(TByteOrder::Big); }

// Message 41: 3-D from 8 satellites, south and east, 2019-04-22 21:19:20.5.
std::string Geodetic41() {
  return BE().Int(41, 1).Int(0, 2).Int(0x0004, 2).Int(2050, 2).Int(163178000, 4)
      .Int(2019, 2).Int(4, 1).Int(22, 1).Int(21, 1).Int(19, 1).Int(20500, 2).Int(0x00000FF0, 4)
      .Int(-458775920, 4).Int(1705001240, 4).Int(2923, 4).Int(2744, 4).Int(21, 1)
      .Int(254, 2).Int(21788, 2).Int(0, 2).Int(-12, 2).Int(0, 2)
      .Int(1450, 4).Int(1290, 4).Int(0, 4).Int(0, 2).Zeros(16).Int(0, 4).Int(0, 2).Int(0, 2)
      .Int(8, 1).Int(4, 1).Int(0, 1).Bytes();
}

TEST(SiRFDecode, GeodeticNavigationFromBuiltFrame) {
  const std::string payload = Geodetic41();
  ASSERT_EQ(payload.size(), 91u);
  TSiRFDecoder sirf;
  const TSiRFDecoded d = sirf.Decode(BuildSiRFFrame(payload));
  ASSERT_EQ(d.Status, TFrameStatus::Decoded);
  const TSiRFGeodeticNav& g = sirf.GeodeticNav;
  EXPECT_EQ(g.Fix, TFrameFix::Fix3D);
  EXPECT_DOUBLE_EQ(g.TimeOfWeek, 163178.0);
  EXPECT_DOUBLE_EQ(g.Second, 20.5);
  EXPECT_DOUBLE_EQ(g.Latitude, -45.877592);
  EXPECT_DOUBLE_EQ(g.Longitude, 170.500124);
  EXPECT_DOUBLE_EQ(g.Speed, 2.54);
  EXPECT_DOUBLE_EQ(g.Course, 217.88);
  EXPECT_DOUBLE_EQ(g.ClimbRate, -0.12);
  EXPECT_DOUBLE_EQ(g.HDOP, 0.8);
  EXPECT_EQ(sirf.Describe(d).View(), "SiRF 41 3D 8 SV 45.87759 S 170.50012 E");
  EXPECT_EQ(SiRFMessageKey(41), "SIRF-41");

  // Too short for its message (here, and a tracker report promising 12 channels):
  // not decoded, the record kept. Another message: its number and size.
  const TSiRFDecoded cut = sirf.Decode(BuildSiRFFrame(payload.substr(0, 90)));
  EXPECT_EQ(cut.Status, TFrameStatus::Malformed);
  EXPECT_EQ(sirf.Describe(cut).View(), "SiRF 41 (90 bytes, not decoded)");
  EXPECT_EQ(sirf.GeodeticNav.SatsUsed, 8);
  const std::string tracker = BE().Int(4, 1).Int(302, 2).Int(39810328, 4).Int(12, 1).Zeros(100).Bytes();
  EXPECT_EQ(sirf.Decode(BuildSiRFFrame(tracker)).Status, TFrameStatus::Malformed);
  const TSiRFDecoded other = sirf.Decode(BuildSiRFFrame(std::string("\xFF", 1) + std::string(11, '\0')));
  EXPECT_EQ(other.Status, TFrameStatus::Unknown);
  EXPECT_EQ(sirf.Describe(other).View(), "SiRF 255 (12 bytes)");
}

TEST(SiRFDecode, SoftwareVersionInBothForms) {
  TSiRFDecoder sirf;
  const std::string padded = BE().Int(6, 1).Text("GSW3.2.4_3.1.00.12-SDK003P1.00a", 80).Bytes();
  const TSiRFDecoded d = sirf.Decode(BuildSiRFFrame(padded));
  ASSERT_EQ(d.Status, TFrameStatus::Decoded);
  EXPECT_EQ(sirf.Version.Software, "GSW3.2.4_3.1.00.12-SDK003P1.00a");
  EXPECT_EQ(sirf.Describe(d).View(), "SiRF 6 GSW3.2.4_3.1.00.12-SDK003P1.00a");

  const std::string software = "GSD4e_4.1.2-P1 R+ 11/15/2011 319-Nov 15 2011-23:04:55";
  const std::string sized = BE().Int(6, 1).Int(static_cast<std::int64_t>(software.size()), 1).Int(4, 1)
                                .Text(software, software.size()).Text("1.0", 4).Bytes();
  ASSERT_EQ(sirf.Decode(BuildSiRFFrame(sized)).Status, TFrameStatus::Decoded);
  EXPECT_EQ(sirf.Version.Software, software);
  EXPECT_EQ(sirf.Version.Customer, "1.0");
}

}  // namespace
}  // namespace orlimo
