#include "frames/frame_text.h"

#include <cstdarg>
#include <cstdio>

namespace orlimo {

std::string_view FrameFixName(TFrameFix fix) {
  switch (fix) {
    case TFrameFix::None: return "no fix";
    case TFrameFix::DeadReckoning: return "DR";
    case TFrameFix::Fix2D: return "2D";
    case TFrameFix::Fix3D: return "3D";
    case TFrameFix::GNSSDeadReckoning: return "3D+DR";
    case TFrameFix::TimeOnly: return "time";
  }
  return "?";
}

template <std::size_t N>
void AppendFormat(TFixedText<N>& text, const char* format, ...) {
  char buffer[N + 1];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n > 0) text.Append({buffer, std::min(static_cast<std::size_t>(n), N)});
}

template <std::size_t N>
void AppendLatLon(TFixedText<N>& text, double latitude, double longitude, int decimals) {
  AppendFormat(text, " %.*f %c %.*f %c", decimals, latitude < 0 ? -latitude : latitude, latitude < 0 ? 'S' : 'N',
               decimals, longitude < 0 ? -longitude : longitude, longitude < 0 ? 'W' : 'E');
}

template void AppendFormat(TFrameText&, const char*, ...);
template void AppendFormat(TFrameKey&, const char*, ...);
template void AppendLatLon(TFrameText&, double, double, int);

}  // namespace orlimo
