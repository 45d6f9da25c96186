#include "host/TextFile.h"

#include <string>

#include "host/FileNames.h"

namespace zz {

TextFile::TextFile() = default;

TextFile::~TextFile() { Close(); }

bool TextFile::Open(const char* path) {
  Close();
  // Binary mode: Windows text-mode translation must never change what the reader sees.
  file_ = std::fopen(platform::WindowsFileName(path).c_str(), "rb");
  if (file_ == nullptr) return false;
  if (!buffer_) buffer_ = std::make_unique<unsigned char[]>(kBufferSize);
  pos_ = end_ = 0;
  return true;
}

void TextFile::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  pos_ = end_ = 0;
}

bool TextFile::Refill() {
  if (file_ == nullptr) return false;
  pos_ = 0;
  end_ = std::fread(buffer_.get(), 1, kBufferSize, file_);
  return end_ != 0;  // a read error (a folder, say) reads as the end of the file
}

void TextFile::SkipLineEnd() {
  while (!AtEnd()) {
    if (ReadChar() == '\n') return;
  }
}

bool TextFile::ReadLine(TShortString<255>& line) {
  line.Clear();
  if (AtEnd()) return false;
  while (!AtEnd()) {
    const char c = ReadChar();
    if (c == '\n') break;
    // A carriage return is dropped whether or not a line feed follows it.
    if (c != '\r') line.Append(c);
  }
  return true;
}

}  // namespace zz
