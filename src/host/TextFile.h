#pragma once

// Buffered reading of a text file in binary mode, serving the two reading styles:
// - characters (the Gerber statement reader): AtEnd / AtLineEnd / ReadChar / SkipLineEnd. A
//   carriage return starts a line end that runs through the next line feed; a lone line feed
//   is an ordinary character.
// - lines (recognition, table files): ReadLine. A line ends at a line feed with or without a
//   carriage return before it; a carriage return not followed by a line feed is dropped; at
//   most 255 characters are kept, the rest of the line is skipped.
// In both, a Ctrl-Z (26) is the end of the file. Never more than one buffer is held.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>

#include "host/ShortString.h"

namespace zz {

class TextFile {
 public:
  static constexpr std::size_t kBufferSize = 64 * 1024;

  TextFile();
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  bool Open(const char* path);  // false when the file cannot be opened (also a folder)
  void Close();
  bool IsOpen() const { return file_ != nullptr; }

  // At the physical end, or at a Ctrl-Z.
  bool AtEnd() {
    if (pos_ == end_ && !Refill()) return true;
    return buffer_[pos_] == kCtrlZ;
  }
  // The next character starts a line end (a carriage return). Precondition: !AtEnd().
  bool AtLineEnd() const { return buffer_[pos_] == '\r'; }
  // Precondition: !AtEnd().
  char ReadChar() { return static_cast<char>(buffer_[pos_++]); }
  // Consumes a line end: everything from here through the next line feed, or to the end.
  void SkipLineEnd();
  // The characters buffered from the current one on, refilling the buffer when none are; empty
  // at the physical end. Valid until the next call that reads. For readers that take runs of
  // ordinary characters at once.
  std::string_view Buffered() {
    if (pos_ == end_ && !Refill()) return {};
    return {reinterpret_cast<const char*>(buffer_.get() + pos_), end_ - pos_};
  }
  // Takes n characters of Buffered() as read.
  void Advance(std::size_t n) { pos_ += n; }

  // Reads one line; false when the file is at its end before the line starts.
  bool ReadLine(TShortString<255>& line);

 private:
  static constexpr unsigned char kCtrlZ = 26;
  bool Refill();

  std::FILE* file_ = nullptr;
  std::unique_ptr<unsigned char[]> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
};

}  // namespace zz
