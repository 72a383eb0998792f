// Mapping of the line configuration onto termios and the modem-control lines.
#pragma once

#include <termios.h>

#include <cstdint>
#include <optional>

#include "serial/comm_types.h"

namespace orlimo {

// The termios speed constant for a rate in bit/s; nothing for a rate the
// standard termios interface cannot express.
std::optional<speed_t> SpeedForBaud(std::uint32_t baud);

// Puts an open terminal into raw 8-bit mode with the receiver enabled and modem
// status ignored for open/close. False if the descriptor is not a terminal or the
// driver refuses the settings.
bool MakeRaw(int fd);

// Rewrites the termios fields the line configuration controls, keeping every other
// field as the driver reports it, and sets DTR and RTS. Results are not checked:
// a driver that lacks a feature (a pty has no modem lines) keeps what it has.
//
//   BaudRate         -> input and output speed (unknown rates keep the old speed)
//   ParityCheck      -> INPCK
//   Parity           -> PARENB, PARODD, CMSPAR (mark and space)
//   ByteSize         -> CS5..CS8;  StopBits -> CSTOPB for 1.5 and 2
//   Outx_CtsFlow or RtsControl == RtsHandshake -> CRTSCTS
//   Outx_XonXoffFlow -> IXON;  Inx_XonXoffFlow -> IXOFF
//   XonChar, XoffChar -> VSTART, VSTOP
//   DtrControl       -> DTR raised unless DtrDisable
//   RtsControl       -> RTS raised unless RtsDisable (handshake leaves it to CRTSCTS)
// The other fields have no Linux counterpart and are ignored.
void ApplyLine(int fd, const TCommLine& line);

// The termios part of ApplyLine: `current` with the controlled fields rewritten.
termios LineTermios(termios current, const TCommLine& line);

}  // namespace orlimo
