// The system's list of serial ports and the comparison of two such lists.
#pragma once

#include <QString>
#include <QStringList>

#include <stdexcept>
#include <string>

namespace orlimo {

// Raised when the system's device database cannot be read. The message is one of
// "Fail to Open Key , ErrorCode : <errno>" (no access to the database) or
// "Fail to enumerates Key , ErrorCode : <errno>" (the scan failed).
class EPortListError : public std::runtime_error {
 public:
  EPortListError(const std::string& message, int errorCode)
      : std::runtime_error(message), ErrorCode(errorCode) {}
  int ErrorCode;
};

// Device paths of the serial ports the system has (udev, subsystem tty): USB
// serial adapters, CDC ACM devices, on-board UARTs that are present, Bluetooth
// rfcomm ports. Unordered. Raises EPortListError.
QStringList ListSystemSerialPorts();

// Sorts port names alphabetically ignoring case (so ttyS10 comes before ttyS2);
// names equal but for case keep a fixed order.
void SortPortNames(QStringList& names);

// Fills Target with the system's serial ports plus those of ExtraPorts that exist
// (the simulator's pty, a --port path), without duplicates, sorted by
// SortPortNames. Target is replaced only when the new list differs, so an
// unchanged list keeps a view's selection. Raises EPortListError.
void EnumerateSerialPorts(QStringList& Target, const QStringList& ExtraPorts = {});

// Compares two port lists given as texts, one name per line (CR, LF or CR LF).
//   equal texts                      -> 0, no names
//   old text has more lines          -> -1, Names = old lines found nowhere in NewText
//   new text has more lines          -> +1, Names = new lines found nowhere in OldText
//   same number of lines             -> 0, no names, even if the names differ
// "Found" is a plain substring search in the other text, so ttyS1 counts as present
// while ttyS10 is listed. Names keep the order of their text.
int DiffPortLists(const QString& OldText, const QString& NewText, QStringList& Names);

}  // namespace orlimo
