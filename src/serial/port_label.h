// Port names as people know them: a device path with the maker, model and serial
// number of the USB device behind it, read from udev's properties of the node.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

#include <functional>

namespace orlimo {

// udev's properties of one device (ID_BUS, ID_VENDOR_ENC, ...), values as raw bytes.
using TUdevProperties = QMap<QByteArray, QByteArray>;

// Reads the properties of a port; the seam that tests fill by hand.
using PortPropertyReader = std::function<TUdevProperties(const QString& port)>;

// The properties udev holds for the character device a path names (links followed).
// Empty for a path that is no device, or one udev does not know (a pty).
TUdevProperties ReadUdevProperties(const QString& port);

// Undoes udev's \xNN encoding of the *_ENC properties; any other backslash is kept.
QByteArray DecodeUdevEscapes(const QByteArray& encoded);

// "maker model (SN serial)" of a USB device from its properties: the hardware
// database's names first, then the device's own; parts it lacks are left out.
// Empty for anything not on USB.
QString DescribeUsbPort(const TUdevProperties& properties);

// "path — description", or the bare path without a description.
QString PortLabel(const QString& path, const QString& description);

}  // namespace orlimo
