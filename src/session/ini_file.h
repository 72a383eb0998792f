// An INI file as the Windows profile functions read it: "[section]" lines, then
// "key=value" lines; names are trimmed and compare without regard to letter case;
// CR LF, LF or CR line ends; a UTF-8 byte-order mark is skipped and written back.
// Unknown sections and keys, and the order of everything, survive a write. A write
// replaces the file whole (a new file renamed over the old one), so a crash or a full
// disk leaves the old file or the new one, never part of one. Only a regular file is
// read or replaced; a symbolic link stays a link, its target is replaced.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlimo {

class TIniFile {
 public:
  // Bigger files are not settings files: only their beginning is read, and such a
  // file is never written back (that would drop its tail).
  static constexpr std::size_t kMaxBytes = std::size_t{16} << 20;

  // False when the file does not exist, is not a regular file or cannot be read (the
  // contents stay empty).
  bool Load(const std::string& path);
  void Parse(std::string_view text);

  // The text after the first "=", leading blanks kept, trailing blanks dropped.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  void Write(std::string_view section, std::string_view key, std::string_view value);

  std::string Text() const;  // CR LF line ends
  // False with `error` set (the old file untouched) when the file cannot be replaced.
  bool Save(const std::string& path, std::string& error) const;

 private:
  struct Entry {
    std::string key;    // empty: a line kept as it was (comment, blank, junk)
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  Section* Find(std::string_view name);
  const Section* Find(std::string_view name) const;

  std::vector<Section> sections_;  // the first, unnamed one holds lines before any section
  bool truncated_ = false;         // loaded from a file longer than kMaxBytes
  bool bom_ = false;               // the text began with a UTF-8 byte-order mark
};

}  // namespace orlimo
