#include "session/log_stream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "session/file_places.h"

namespace orlimo {

std::string LogStream::Noun() const {
  return kind_ == LogKind::Text ? std::string("lines") : LogKindName(kind_).append(" frames");
}

void LogStream::Add(std::string_view record, std::size_t maxBytes) {
  records_.emplace_back(record);
  pendingBytes_ += record.size() + Terminator().size();
  while (pendingBytes_ > maxBytes && !records_.empty()) {
    pendingBytes_ -= records_.front().size() + Terminator().size();
    records_.pop_front();
    ++dropped_;
  }
}

void LogStream::ClearRecords() {
  records_.clear();
  pendingBytes_ = 0;
}

bool LogStream::Create(const std::string& dir, const std::string& stem, std::string& error) {
  return temp_.Create(dir, stem, error, TempExtension(kind_));
}

bool LogStream::WriteBatch(std::string& error) {
  const int fd = temp_.Fd();
  struct stat st {};
  const off_t before = ::fstat(fd, &st) == 0 ? st.st_size : -1;
  std::string batch;
  batch.reserve(pendingBytes_);
  for (const std::string& record : records_) batch.append(record).append(Terminator());
  if (!WriteAll(fd, batch)) {
    error = std::strerror(errno);
    // Take back the part that got in: the file holds whole batches only.
    if (before >= 0 && ::ftruncate(fd, before) != 0) error += " (the file keeps part of a batch)";
    return false;
  }
  const auto now = std::chrono::steady_clock::now();
  if (now - lastSync_ >= kSyncInterval) {
    lastSync_ = now;
    ::fdatasync(fd);
  }
  ClearRecords();
  return true;
}

void LogStream::Sync() {
  if (temp_.IsOpen()) ::fdatasync(temp_.Fd());
}

bool LogStream::HoldsNothing() const {
  struct stat st {};
  return records_.empty() && (!temp_.IsOpen() || (::fstat(temp_.Fd(), &st) == 0 && st.st_size == 0));
}

bool LogStream::RenameTo(const std::string& path) {
  if (!RenameNoReplace(temp_.Path(), path)) return false;
  temp_.Close();
  return true;
}

void LogStream::Remove() {
  if (temp_.IsOpen()) ::unlink(temp_.Path().c_str());
  temp_.Close();
}

void LogStream::Close(const std::string& renamedTo) {
  if (temp_.IsOpen() && !renamedTo.empty() && RenameNoReplace(temp_.Path(), renamedTo)) temp_.Renamed(renamedTo);
  temp_.Close();
}

}  // namespace orlimo
