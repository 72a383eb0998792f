// NMEA 0183 sentences of one output cycle, talker GP, with upper-case checksums and
// CR LF. Field layouts (separator counts include the '*'):
//
//   $GPRMC,hhmmss.sss,A,ddmm.mmmm,N,dddmm.mmmm,E,knots,course,ddmmyy,,,A*hh   13
//   $GPGGA,hhmmss.sss,ddmm.mmmm,N,dddmm.mmmm,E,q,nn,hdop,alt,M,geoid,M,,0000*hh 15
//   $GPGLL,ddmm.mmmm,N,dddmm.mmmm,E,hhmmss.sss,A,A*hh                      8
//   $GPGSA,A,3,prn x 12,pdop,hdop,vdop*hh                                  18
//   $GPGSV,total,num,inview,(prn,el,az,cn0) x up to 4*hh
//   $GPVTG,course,T,,M,knots,N,kmh,K,A*hh                                  10
//   $GPZDA,hhmmss.sss,dd,mm,yyyy,00,00*hh
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim/scenario.h"

namespace orlimo {

// `text` (from '$' up to, without, the '*') with its checksum and CR LF.
std::string NmeaLine(std::string_view text);

std::string NmeaRMC(const SimSnapshot& s);
std::string NmeaGGA(const SimSnapshot& s);
std::string NmeaGLL(const SimSnapshot& s);
std::string NmeaGSA(const SimSnapshot& s);
std::vector<std::string> NmeaGSV(const SimSnapshot& s);  // one cycle, four satellites a message
std::string NmeaVTG(const SimSnapshot& s);
std::string NmeaZDA(const SimSnapshot& s);

// A whole cycle in the order a receiver sends it.
std::vector<std::string> NmeaCycle(const SimSnapshot& s, bool withZda);

}  // namespace orlimo
