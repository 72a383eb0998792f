// Files the window writes for the user (runs as CSV, tracks as GPX): written whole or
// not at all, so a full disk or a crash never leaves half a file under the name.
#pragma once

#include <QString>

#include <string_view>

namespace orlimo {

// False, with the reason in `error`, when the file could not be written whole.
bool WriteWholeFile(const QString& path, std::string_view bytes, QString& error);

}  // namespace orlimo
