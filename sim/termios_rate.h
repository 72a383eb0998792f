// The bit rate a termios speed stands for, and back, for the rates a receiver uses.
#pragma once

#include <termios.h>

namespace orlimo {

// 0 for a speed that is not one of the standard rates.
inline int RateOfSpeed(speed_t s) {
  switch (s) {
    case B300: return 300;
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    case B230400: return 230400;
    case B460800: return 460800;
    case B921600: return 921600;
    default: return 0;
  }
}

// 9600 for a rate that has no speed of its own here.
inline speed_t SpeedOfRate(int rate) {
  switch (rate) {
    case 4800: return B4800;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return B9600;
  }
}

}  // namespace orlimo
