// The UBX messages the decoder reads, one plain record each, in the units people
// use (degrees, metres, metres per second, seconds) rather than the wire's. Offsets
// are from the start of the payload; every field is little-endian.
#pragma once

#include <array>
#include <cstdint>

#include "frames/frame_records.h"
#include "frames/geodetic.h"

namespace orlimo {

//  NAV-POSECEF 01 01, 20 bytes: iTOW U4 | ecefX ecefY ecefZ I4 cm | pAcc U4 cm
struct TUBXNavPosECEF {
  std::uint32_t TimeOfWeek = 0;  // ms
  double X = 0, Y = 0, Z = 0;    // m
  double PositionAccuracy = 0;   // m
  TGeodetic Geodetic;            // the position converted
};

//  NAV-POSLLH 01 02, 28 bytes: iTOW U4 | lon lat I4 1e-7 deg | height hMSL I4 mm
//  | hAcc vAcc U4 mm
struct TUBXNavPosLLH {
  std::uint32_t TimeOfWeek = 0;
  double Latitude = 0, Longitude = 0;  // degrees
  double Height = 0;                   // m above the ellipsoid
  double HeightMSL = 0;                // m above mean sea level
  double HorizontalAccuracy = 0, VerticalAccuracy = 0;  // m
};

//  NAV-STATUS 01 03, 16 bytes: iTOW U4 | gpsFix U1 | flags X1 | fixStat X1
//  | flags2 X1 | ttff U4 ms | msss U4 ms
struct TUBXNavStatus {
  std::uint32_t TimeOfWeek = 0;
  TFrameFix Fix = TFrameFix::None;
  std::uint8_t Flags = 0;           // bit 0 gpsFixOk, 1 diffSoln, 2 wknSet, 3 towSet
  std::uint8_t FixStatus = 0;
  std::uint8_t Flags2 = 0;
  std::uint32_t TimeToFirstFix = 0;  // ms; 0 until the first fix
  std::uint32_t SinceStartup = 0;    // ms

  bool FixOK() const { return (Flags & 0x01) != 0; }
};

//  NAV-DOP 01 04, 18 bytes: iTOW U4 | gDOP pDOP tDOP vDOP hDOP nDOP eDOP U2 0.01
struct TUBXNavDOP {
  std::uint32_t TimeOfWeek = 0;
  double GDOP = 0, PDOP = 0, TDOP = 0, VDOP = 0, HDOP = 0, NDOP = 0, EDOP = 0;
};

//  NAV-SOL 01 06, 52 bytes: iTOW U4 | fTOW I4 ns | week I2 | gpsFix U1 | flags X1
//  | ecefX Y Z I4 cm | pAcc U4 cm | ecefVX VY VZ I4 cm/s | sAcc U4 cm/s | pDOP U2 0.01
//  | reserved U1 | numSV U1 | reserved U4
struct TUBXNavSol {
  std::uint32_t TimeOfWeek = 0;
  std::int32_t FractionalTOW = 0;  // ns
  std::int16_t Week = 0;
  TFrameFix Fix = TFrameFix::None;
  std::uint8_t Flags = 0;          // bit 0 gpsFixOk, 1 diffSoln, 2 wknSet, 3 towSet
  double X = 0, Y = 0, Z = 0;      // m
  double PositionAccuracy = 0;     // m
  double VX = 0, VY = 0, VZ = 0;   // m/s
  double SpeedAccuracy = 0;        // m/s
  double PDOP = 0;
  std::uint8_t SatsUsed = 0;
  TGeodetic Geodetic;

  bool FixOK() const { return (Flags & 0x01) != 0; }
};

//  NAV-PVT 01 07, 92 bytes (84 before u-blox 8):
//   0 iTOW U4 | 4 year U2 | 6 month day hour min sec U1 | 11 valid X1 | 12 tAcc U4 ns
//  16 nano I4 | 20 fixType U1 | 21 flags X1 | 22 flags2 X1 | 23 numSV U1
//  24 lon lat I4 1e-7 deg | 32 height hMSL I4 mm | 40 hAcc vAcc U4 mm
//  48 velN velE velD I4 mm/s | 60 gSpeed I4 mm/s | 64 headMot I4 1e-5 deg
//  68 sAcc U4 mm/s | 72 headAcc U4 1e-5 deg | 76 pDOP U2 0.01 | 78 ...
struct TUBXNavPVT {
  std::uint32_t TimeOfWeek = 0;
  std::uint16_t Year = 0;
  std::uint8_t Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
  std::uint8_t Valid = 0;           // bit 0 validDate, 1 validTime, 2 fullyResolved
  std::uint32_t TimeAccuracy = 0;   // ns
  std::int32_t Nanoseconds = 0;     // to add to the second, -1e9..1e9
  TFrameFix Fix = TFrameFix::None;
  std::uint8_t Flags = 0;           // bit 0 gnssFixOK, 1 diffSoln, 6-7 carrSoln
  std::uint8_t SatsUsed = 0;
  double Latitude = 0, Longitude = 0;  // degrees
  double Height = 0, HeightMSL = 0;    // m
  double HorizontalAccuracy = 0, VerticalAccuracy = 0;  // m
  double VelN = 0, VelE = 0, VelD = 0;  // m/s
  double GroundSpeed = 0;              // m/s
  double Heading = 0;                  // degrees, heading of motion
  double SpeedAccuracy = 0;            // m/s
  double PDOP = 0;

  bool FixOK() const { return (Flags & 0x01) != 0; }
  bool DateValid() const { return (Valid & 0x01) != 0; }
  bool TimeValid() const { return (Valid & 0x02) != 0; }
};

//  NAV-VELNED 01 12, 36 bytes: iTOW U4 | velN velE velD I4 cm/s | speed gSpeed U4 cm/s
//  | heading I4 1e-5 deg | sAcc U4 cm/s | cAcc U4 1e-5 deg
struct TUBXNavVelNED {
  std::uint32_t TimeOfWeek = 0;
  double VelN = 0, VelE = 0, VelD = 0;  // m/s
  double Speed = 0;                     // m/s, 3-D
  double GroundSpeed = 0;               // m/s
  double Heading = 0;                   // degrees
  double SpeedAccuracy = 0;             // m/s
  double HeadingAccuracy = 0;           // degrees
};

//  NAV-TIMEUTC 01 21, 20 bytes: iTOW U4 | tAcc U4 ns | nano I4 ns | year U2
//  | month day hour min sec U1 | valid X1
struct TUBXNavTimeUTC {
  std::uint32_t TimeOfWeek = 0;
  std::uint32_t TimeAccuracy = 0;  // ns
  std::int32_t Nanoseconds = 0;
  std::uint16_t Year = 0;
  std::uint8_t Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
  std::uint8_t Valid = 0;          // bit 0 validTOW, 1 validWKN, 2 validUTC

  bool UTCValid() const { return (Valid & 0x04) != 0; }
};

//  MON-VER 0A 04, 40 + 30n bytes: swVersion CH[30] | hwVersion CH[10]
//  | n x extension CH[30] (FWVER=, PROTVER=, MOD=, the systems, ...)
struct TUBXMonVer {
  static constexpr std::size_t kMaxExtensions = 16;

  TFixedText<30> Software;
  TFixedText<10> Hardware;
  std::size_t ExtensionCount = 0;  // kept (the first kMaxExtensions)
  std::array<TFixedText<30>, kMaxExtensions> Extensions{};
};

//  ACK-ACK 05 01 / ACK-NAK 05 00, 2 bytes: clsID U1 | msgID U1 of the command
struct TUBXAck {
  bool Acknowledged = false;  // ACK-ACK; false for ACK-NAK
  std::uint8_t Class = 0;
  std::uint8_t Id = 0;
};

}  // namespace orlimo
