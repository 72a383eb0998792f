#include "serial/line_settings.h"

#include <sys/ioctl.h>

#include <array>
#include <utility>

namespace orlimo {

std::optional<speed_t> SpeedForBaud(std::uint32_t baud) {
  static constexpr std::array<std::pair<std::uint32_t, speed_t>, 31> kSpeeds = {{
      {50, B50},           {75, B75},           {110, B110},         {134, B134},
      {150, B150},         {200, B200},         {300, B300},         {600, B600},
      {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
      {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
      {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
      {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
      {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
      {3500000, B3500000}, {4000000, B4000000}, {0, B0},
  }};
  for (const auto& [rate, speed] : kSpeeds) {
    if (rate == baud) return speed;
  }
  return std::nullopt;
}

bool MakeRaw(int fd) {
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) return false;
  ::cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  return ::tcsetattr(fd, TCSANOW, &tio) == 0;
}

termios LineTermios(termios tio, const TCommLine& line) {
  if (auto speed = SpeedForBaud(line.BaudRate)) {
    ::cfsetispeed(&tio, *speed);
    ::cfsetospeed(&tio, *speed);
  }

  tio.c_iflag &= ~tcflag_t(INPCK | IXON | IXOFF);
  if (line.ParityCheck) tio.c_iflag |= INPCK;
  if (line.Outx_XonXoffFlow) tio.c_iflag |= IXON;
  if (line.Inx_XonXoffFlow) tio.c_iflag |= IXOFF;

  tio.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  static constexpr std::array<tcflag_t, 4> kSizes = {CS5, CS6, CS7, CS8};
  tio.c_cflag |= kSizes[static_cast<std::size_t>(line.ByteSize) & 3];
  switch (line.Parity) {
    case TParity::None: break;
    case TParity::Odd: tio.c_cflag |= PARENB | PARODD; break;
    case TParity::Even: tio.c_cflag |= PARENB; break;
    case TParity::Mark: tio.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case TParity::Space: tio.c_cflag |= PARENB | CMSPAR; break;
  }
  if (line.StopBits != TStopBits::_1) tio.c_cflag |= CSTOPB;
  if (line.Outx_CtsFlow || line.RtsControl == TRtsControl::RtsHandshake) tio.c_cflag |= CRTSCTS;

  tio.c_cc[VSTART] = static_cast<cc_t>(line.XonChar);
  tio.c_cc[VSTOP] = static_cast<cc_t>(line.XoffChar);
  return tio;
}

void ApplyLine(int fd, const TCommLine& line) {
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) return;
  tio = LineTermios(tio, line);
  (void)::tcsetattr(fd, TCSANOW, &tio);

  int dtr = TIOCM_DTR;
  (void)::ioctl(fd, line.DtrControl == TDtrControl::DtrDisable ? TIOCMBIC : TIOCMBIS, &dtr);
  if (line.RtsControl != TRtsControl::RtsHandshake) {
    int rts = TIOCM_RTS;
    (void)::ioctl(fd, line.RtsControl == TRtsControl::RtsDisable ? TIOCMBIC : TIOCMBIS, &rts);
  }
}

}  // namespace orlimo
