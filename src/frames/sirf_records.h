// The SiRF binary messages the decoder reads, one plain record each, in degrees,
// metres, metres per second and seconds. Offsets count from the message ID, the
// payload's first byte; every field is big-endian.
#pragma once

#include <array>
#include <cstdint>

#include "frames/frame_records.h"
#include "frames/geodetic.h"

namespace orlimo {

// The navigation mode's low three bits (message 2's mode 1, message 41's nav type):
// 0 none, 1-3 a Kalman solution from 1-3 satellites, 4 from more, 5 2-D and 6 3-D
// least squares, 7 dead reckoning.
TFrameFix SiRFFix(std::uint16_t mode);

//  2, Measured Navigation Data, 41 bytes:
//   0 MID | 1 X Y Z I4 m | 13 vX vY vZ I2 m/s x8 | 19 mode 1 X1 | 20 HDOP U1 x5
//  21 mode 2 X1 | 22 GPS week U2 | 24 time of week U4 s x100 | 28 satellites in fix U1
//  29 12 x PRN used U1 (0: none)
struct TSiRFNavData {
  double X = 0, Y = 0, Z = 0;     // m
  double VX = 0, VY = 0, VZ = 0;  // m/s
  std::uint8_t Mode1 = 0;         // bit 7 DGPS used
  double HDOP = 0;
  std::uint8_t Mode2 = 0;
  std::uint16_t Week = 0;         // as the receiver counts it (older ones mod 1024)
  double TimeOfWeek = 0;          // s
  std::uint8_t SatsUsed = 0;
  std::array<std::uint8_t, 12> UsedPRN{};
  TFrameFix Fix = TFrameFix::None;
  TGeodetic Geodetic;             // the position converted
};

//  4, Measured Tracker Data, 8 + 15n bytes:
//   0 MID | 1 GPS week I2 | 3 time of week U4 s x100 | 7 channels U1
//   8 n x { SV ID U1 | azimuth U1 deg x2/3 | elevation U1 deg x2 | state X2
//           | C/N0 10 x U1 dB-Hz, one each 100 ms }
// Sats: one per channel with a satellite, C/N0 the mean of the ten readings and
// Cn0Peak the strongest; Flags the channel state.
struct TSiRFTrackerData {
  std::int16_t Week = 0;
  double TimeOfWeek = 0;          // s
  std::uint8_t Channels = 0;
  TFrameSatList Sats;
};

//  6, Software Version String: the version, NUL-padded; newer receivers put two
//  length bytes first and a customer version after it.
struct TSiRFVersion {
  TFixedText<100> Software;
  TFixedText<100> Customer;
};

//  41, Geodetic Navigation Data, 91 bytes:
//   0 MID | 1 nav valid X2 | 3 nav type X2 | 5 extended week U2 | 7 time of week U4 ms
//  11 UTC year U2 | 13 month day hour minute U1 | 17 second U2 ms | 19 satellite ID list X4
//  23 latitude longitude I4 1e-7 deg | 31 altitude ellipsoid I4 cm | 35 altitude MSL I4 cm
//  39 map datum U1 | 40 speed over ground U2 cm/s | 42 course U2 deg x100
//  44 magnetic variation I2 | 46 climb rate I2 cm/s | 48 heading rate I2 deg/s x100
//  50 est. horizontal error U4 cm | 54 est. vertical error U4 cm | 58 est. time error U4
//  62 est. horizontal velocity error U2 | 64 clock bias, bias error, drift, drift error U4
//  80 distance U4 m | 84 distance error U2 | 86 heading error U2 | 88 satellites in fix U1
//  89 HDOP U1 x5 | 90 additional mode info U1
struct TSiRFGeodeticNav {
  std::uint16_t NavValid = 0;     // 0: fully valid
  std::uint16_t NavType = 0;
  std::uint16_t Week = 0;
  double TimeOfWeek = 0;          // s
  std::uint16_t Year = 0;
  std::uint8_t Month = 0, Day = 0, Hour = 0, Minute = 0;
  double Second = 0;
  std::uint32_t SatIdList = 0;    // bit n-1: PRN n used
  double Latitude = 0, Longitude = 0;  // degrees
  double AltitudeEllipsoid = 0, AltitudeMSL = 0;  // m
  std::uint8_t Datum = 0;
  double Speed = 0;               // m/s over ground
  double Course = 0;              // degrees
  double ClimbRate = 0;           // m/s
  double HorizontalError = 0, VerticalError = 0;  // m, estimated
  std::uint8_t SatsUsed = 0;
  double HDOP = 0;
  TFrameFix Fix = TFrameFix::None;
};

}  // namespace orlimo
