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
#include <cstddef>

namespace orlimo {

class TIniFile {
 public:
  // Bigger files are not settings files: such a file is not read, and never written
  // back; nor is a file written that would be bigger.
  static constexpr std::size_t kMaxBytes = std::size_t{1} << 20;

  // False when the file does not exist, is not a regular file, cannot be read or is
  // larger than kMaxBytes (the contents stay empty).
  bool Load(const std::string& path);
  void Parse(std::string_view text);

  // The text after the first "=", leading blanks kept, trailing blanks dropped.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  // A value ends at its first line end, if any.
  void Write(std::string_view section, std::string_view key, std::string_view value);

  std::string Text() const;  // CR LF line ends
  // False with `error` set (the old file untouched) when the file cannot be replaced,
  // was loaded too large, or would be too large.
  bool Save(const std::string& path, std::string& error) const;

 private:
  // The section's lines: from `begin` (after its header) to `end`; npos when none.
  struct Body {
    std::size_t begin = std::string::npos;
    std::size_t end = std::string::npos;
  };
  Body Find(std::string_view name) const;

  // The lines as one text, each ending in LF: "[name]", "key=value", or kept as they
  // were (comment, blank, junk). A line costs its bytes and no more, so that memory
  // stays in proportion to the file whatever its lines.
  std::string lines_;
  bool refused_ = false;  // loaded from a file larger than kMaxBytes
  bool bom_ = false;      // the text began with a UTF-8 byte-order mark
};

}  // namespace orlimo
