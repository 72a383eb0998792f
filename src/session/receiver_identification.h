// Reads the receiver's answers out of the receive buffer before it is cut into lines:
// the firmware reply that identifies a SiRF or a u-blox ANTARIS receiver (window
// title, command controls), the TMC module, the power mode (status panel 7) and the
// UBX replies of a u-blox receiver (the smallest NMEA output rate, which bounds how
// long it may stay silent). A u-blox 5 to 10 and a MediaTek receiver name themselves,
// asked or not, in their banner, MON-VER or $PMTK705 reply. The whole buffer is
// searched, so a reply counts even when it is not a well-formed sentence.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "session/pipeline_hooks.h"
#include "session/receiver_clues.h"
#include "session/receiver_family.h"

namespace orlimo {

struct SessionContext;
class ConnectionControl;

// Names of the NMEA messages a CFG-MSG reply can be about, by message ID.
inline constexpr std::string_view kUBXMessageNames[] = {"uGGA", "uGLL", "uGSA", "uGSV", "uRMC", "uVTG",
                                                       "uGRS", "uGST", "uZDA", "uGBS", "uDTM"};
// The NMEA message IDs whose output rate a newly identified u-blox receiver is asked.
inline constexpr std::uint8_t kPolledNMEAMessages[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x08};

// The CFG-MSG poll for NMEA message `id` (class F0).
std::string UBXMessageRatePoll(std::uint8_t id);

class ReceiverIdentification : public ReplyScanners {
 public:
  // Longest firmware or reply text taken: a line.
  static constexpr std::size_t kMaxReplyText = 80;
  // Passes without a new fact after which a receiver that has named its family is
  // taken as it stands (a banner without its protocol line).
  static constexpr int kQuietPassesToName = 1;

  ReceiverIdentification(SessionContext& ctx, ConnectionControl& connection)
      : ctx_(ctx), connection_(connection) {}

  void ScanUBXFrames(std::string_view rxBuffer) override;
  void CheckFirmwareReply(std::string_view rxBuffer) override;
  void WatchPowerReply(std::string_view rxBuffer) override;

  // Logs one UBX message (class, ID, length, payload); CFG-MSG replies lower the
  // u-blox silence limit to their smallest non-zero rate.
  void HandleUBXMessage(std::string_view body, std::uint16_t length);
  // Shows the "$PQXR,200,1" power-mode reply in status panel 7.
  void ShowPowerMode(std::string_view rxBuffer);

 private:
  void IdentifyUBlox(std::string_view rxBuffer);
  bool IdentifySiRF(std::string_view rxBuffer);
  // The receivers that name themselves: u-blox 5 to 10 and MediaTek.
  void ReadOwnWords(std::string_view rxBuffer);
  void Identify(TReceiverKind kind, const std::string& firmware);
  void PollNMEARates();
  void ShowFirmware(const std::string& firmware);
  void EnableControlsUnlessPaused();

  SessionContext& ctx_;
  ConnectionControl& connection_;
  // The frames handled in the unfinished tail of the last pass, which the next pass
  // finds again at the head of its buffer.
  std::string handledTail_;
};

}  // namespace orlimo
