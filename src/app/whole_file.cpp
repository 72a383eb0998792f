#include "app/whole_file.h"

#include <QSaveFile>

namespace orlimo {

bool WriteWholeFile(const QString& path, std::string_view bytes, QString& error) {
  QSaveFile file(path);
  const auto size = static_cast<qint64>(bytes.size());
  if (file.open(QIODevice::WriteOnly) && file.write(bytes.data(), size) == size && file.commit()) return true;
  error = file.errorString();
  return false;
}

}  // namespace orlimo
