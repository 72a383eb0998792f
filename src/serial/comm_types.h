// The settings of a serial line as the port component publishes them, its error type,
// and the messages OpenComm raises.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace orlimo {

// Enumerations with fixed ordinals; the line code maps them onto termios.
enum class TDtrControl : std::uint8_t { DtrEnable = 0, DtrDisable = 1, DtrHandshake = 2 };
enum class TRtsControl : std::uint8_t {
  RtsEnable = 0,
  RtsDisable = 1,
  RtsHandshake = 2,
  RtsTransmissionAvailable = 3,
};
enum class TByteSize : std::uint8_t { _5 = 0, _6 = 1, _7 = 2, _8 = 3 };
enum class TParity : std::uint8_t { None = 0, Odd = 1, Even = 2, Mark = 3, Space = 4 };
enum class TStopBits : std::uint8_t { _1 = 0, _1_5 = 1, _2 = 2 };

// Everything that makes up the line configuration (the "device-control block").
// Defaults are the component's constructor defaults. Fields without a Linux
// counterpart are kept so the owner can read back what it set; the line code
// ignores them (see line_settings.h).
struct TCommLine {
  std::uint32_t BaudRate = 9600;
  bool ParityCheck = false;
  bool Outx_CtsFlow = false;
  bool Outx_DsrFlow = false;  // no counterpart
  TDtrControl DtrControl = TDtrControl::DtrEnable;
  bool DsrSensitivity = false;  // no counterpart
  bool TxContinueOnXoff = true;  // no counterpart
  bool Outx_XonXoffFlow = true;
  bool Inx_XonXoffFlow = true;
  bool ReplaceWhenParityError = false;  // no counterpart
  bool IgnoreNullChar = false;  // no counterpart
  TRtsControl RtsControl = TRtsControl::RtsEnable;
  std::uint16_t XonLimit = 500;  // no counterpart
  std::uint16_t XoffLimit = 500;  // no counterpart
  TByteSize ByteSize = TByteSize::_8;
  TParity Parity = TParity::None;
  TStopBits StopBits = TStopBits::_1;
  char XonChar = 0x11;
  char XoffChar = 0x13;
  char ReplacedChar = 0x00;  // no counterpart
};

// The five timeouts, in milliseconds. Only the read timeouts shape reception:
// a chunk ends when the line has been quiet for ReadIntervalTimeout ms, when 2048
// bytes are gathered, or (when either total is non-zero) once
// ReadTotalTimeoutMultiplier * 2048 + ReadTotalTimeoutConstant ms have passed since
// the chunk's first byte. The write timeouts are stored only: the writer always
// finishes a buffer.
struct TCommTimeouts {
  std::uint32_t ReadIntervalTimeout = 100;
  std::uint32_t ReadTotalTimeoutMultiplier = 0;
  std::uint32_t ReadTotalTimeoutConstant = 0;
  std::uint32_t WriteTotalTimeoutMultiplier = 0;
  std::uint32_t WriteTotalTimeoutConstant = 0;
};

// Raised by OpenComm only; carries one of the messages below, and the system's
// error number where one caused it (0 otherwise). kBusy marks a port another
// program holds; kNotSerial one that is not a terminal at all.
class ECommsError : public std::runtime_error {
 public:
  static constexpr int kBusy = -1;
  static constexpr int kNotSerial = -2;
  explicit ECommsError(const std::string& message, int systemError = 0)
      : std::runtime_error(message), SystemError(systemError) {}
  int SystemError;
};

// Why an open failed, in a user's words: the system's text, with what to do about
// the usual causes.
std::string OpenFailureReason(int systemError);

// The messages of ECommsError, byte for byte (note the trailing blank of
// kMsgNotCommHandle).
inline constexpr const char* kMsgAlreadyOpen = "This serial port already opened";
inline constexpr const char* kMsgOpenFailed = "Error opening serial port";
inline constexpr const char* kMsgNotCommHandle = "File handle is not a comm handle ";
inline constexpr const char* kMsgSetupFailed = "Cannot setup comm buffer";
inline constexpr const char* kMsgNoEvent = "Unable to create event";
inline constexpr const char* kMsgNoReadThread = "Unable to create read thread";
inline constexpr const char* kMsgNoWriteThread = "Unable to create write thread";

// Largest chunk the reader delivers, and largest buffer one WriteData call takes.
inline constexpr int kReadChunkMax = 2048;
inline constexpr int kWriteDataMax = 65535;

}  // namespace orlimo
