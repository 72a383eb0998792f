// One function per UBX message: the payload (without sync, class, ID, length and
// checksum) into its record. Each checks the length (and the version where the
// message has one) before reading any field and returns false, leaving the record
// untouched, when the payload is too short or of another version. A longer payload
// is read: newer receivers append fields.
#pragma once

#include <string_view>

#include "frames/frame_records.h"
#include "frames/ubx_records.h"

namespace orlimo {

bool DecodeUBXNavPosECEF(std::string_view payload, TUBXNavPosECEF& r);
bool DecodeUBXNavPosLLH(std::string_view payload, TUBXNavPosLLH& r);
bool DecodeUBXNavStatus(std::string_view payload, TUBXNavStatus& r);
bool DecodeUBXNavDOP(std::string_view payload, TUBXNavDOP& r);
bool DecodeUBXNavSol(std::string_view payload, TUBXNavSol& r);
bool DecodeUBXNavPVT(std::string_view payload, TUBXNavPVT& r);
bool DecodeUBXNavVelNED(std::string_view payload, TUBXNavVelNED& r);
bool DecodeUBXNavTimeUTC(std::string_view payload, TUBXNavTimeUTC& r);

//  NAV-SAT 01 35, 8 + 12n bytes: iTOW U4 | version U1 (1) | numSvs U1 | reserved U2
//  | n x { gnssId svId cno U1 | elev I1 | azim I2 | prRes I2 | flags X4 }
//  flags: bits 0-2 qualityInd, 3 svUsed, 4-5 health, ...
bool DecodeUBXNavSat(std::string_view payload, TFrameSatList& r);

//  NAV-SVINFO 01 30, 8 + 12n bytes: iTOW U4 | numCh U1 | globalFlags X1 | reserved U2
//  | n x { chn svid U1 | flags X1 (bit 0 svUsed) | quality U1 | cno U1 | elev I1
//  | azim I2 | prRes I4 }. Empty channels (svid 0) are left out.
bool DecodeUBXNavSVInfo(std::string_view payload, TFrameSatList& r);

//  NAV-SIG 01 43, 8 + 16n bytes: iTOW U4 | version U1 (0) | numSigs U1 | reserved U2
//  | n x { gnssId svId sigId freqId U1 | prRes I2 | cno qualityInd corrSource
//  ionoModel U1 | sigFlags X2 (bit 3 prUsed) | reserved U4 }
bool DecodeUBXNavSig(std::string_view payload, TFrameSignalList& r);

bool DecodeUBXMonVer(std::string_view payload, TUBXMonVer& r);
// ACK-ACK or ACK-NAK, told by `acknowledged`.
bool DecodeUBXAck(std::string_view payload, bool acknowledged, TUBXAck& r);

}  // namespace orlimo
