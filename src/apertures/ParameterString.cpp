#include "apertures/ParameterString.h"

#include "host/AsciiCase.h"

namespace zz {
namespace {

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= 32; }

// Bounds of the text between first and last with trimmed characters removed at both ends.
void Trim(std::string_view text, std::size_t& first, std::size_t& last) {
  while (first < last && IsTrimmed(text[first])) ++first;
  while (last > first && IsTrimmed(text[last - 1])) --last;
}

std::string_view Trimmed(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  Trim(text, first, last);
  return text.substr(first, last - first);
}

// The library is driven from one host thread at a time, so one cache serves every reader.
TParameterString g_lastLine;
bool g_lastLineValid = false;
uint32_t g_parseCount = 0;

}  // namespace

void TParameterString::Parse(std::string_view line) {
  text_.Assign(line);
  count_ = 0;
  const std::string_view text = text_.View();
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('|', start);
    if (end == std::string_view::npos) end = text.size();
    const std::size_t equals = text.find('=', start);
    if (equals != std::string_view::npos && equals < end) {
      std::size_t nameFirst = start;
      std::size_t nameLast = equals;
      std::size_t valueFirst = equals + 1;
      std::size_t valueLast = end;
      Trim(text, nameFirst, nameLast);
      Trim(text, valueFirst, valueLast);
      if (nameLast > nameFirst && count_ < std::size(pairs_)) {
        pairs_[count_++] = {static_cast<uint8_t>(nameFirst), static_cast<uint8_t>(nameLast - nameFirst),
                            static_cast<uint8_t>(valueFirst), static_cast<uint8_t>(valueLast - valueFirst)};
      }
    }
    start = end + 1;
  }
}

bool TParameterString::Find(std::string_view name, std::string_view& value) const {
  const std::string_view text = text_.View();
  for (std::size_t i = 0; i < count_; ++i) {
    const Pair& pair = pairs_[i];
    if (SameIgnoringAsciiCase(text.substr(pair.NameStart, pair.NameLength), name)) {
      value = text.substr(pair.ValueStart, pair.ValueLength);
      return true;
    }
  }
  return false;
}

bool GetParameter(std::string_view line, std::string_view name, TShortString<255>& value) {
  if (line.size() > TShortString<255>::Capacity) line = line.substr(0, TShortString<255>::Capacity);
  if (!g_lastLineValid || g_lastLine.Line() != line) {
    g_lastLine.Parse(line);
    g_lastLineValid = true;
    ++g_parseCount;
  }
  std::string_view found;
  const bool present = g_lastLine.Find(name, found);
  value.Assign(found);
  return present;
}

uint32_t ParameterLineParseCount() { return g_parseCount; }

void SetParameter(TShortString<255>& text, std::string_view name, std::string_view value) {
  if (!text.Empty()) text.Append('|');
  text.Append(name);
  text.Append('=');
  value = Trimmed(value);
  text.Append(value.empty() ? std::string_view(" ") : value);
}

}  // namespace zz
