#include "gerberx/Statements.h"

#include <cctype>

#include "gerberx/ReadError.h"

namespace gerberx {

namespace {

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

std::string_view Trimmed(std::string_view s) {
  const std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// "G04" or "G4" and then no digit: a comment, whose text may hold a '%'.
bool IsComment(std::string_view text) {
  const std::string_view t = Trimmed(text);
  std::size_t i = 0;
  if (t.size() < 2 || t[0] != 'G') return false;
  i = 1;
  while (i < t.size() && t[i] == '0') ++i;
  if (i >= t.size() || t[i] != '4') return false;
  return i + 1 >= t.size() ? false : !std::isdigit(static_cast<unsigned char>(t[i + 1]));
}

}  // namespace

StatementSplitter::StatementSplitter(std::string_view text, std::string file, std::size_t maxStatementLength)
    : text_(text), file_(std::move(file)), maxLength_(maxStatementLength) {}

bool StatementSplitter::Next(Statement& out) {
  for (;;) {
    if (pendingNext_ < pending_.size()) {
      out = std::move(pending_[pendingNext_++]);
      return true;
    }
    pending_.clear();
    pendingNext_ = 0;
    if (pos_ >= text_.size()) return false;
    if (NextWord(out)) return true;
  }
}

// Reads up to the next '*' or '%'. Returns true with a word statement; false when it only
// consumed blanks or a whole '%' block (whose commands are then pending).
bool StatementSplitter::NextWord(Statement& out) {
  std::string& text = word_;  // kept between calls for its capacity
  text.clear();
  int line = 0;
  // A word statement as it is: no '%' block, no macro body.
  const auto give = [&](std::string_view trimmed) {
    out.extended = false;
    out.text.assign(trimmed);
    out.macroBody.clear();
    out.macroLines.clear();
    out.line = line;
    return true;
  };
  const std::size_t n = text_.size();
  while (pos_ < n) {
    // The run of characters up to the next one that means something here, copied at once.
    std::size_t end = pos_;
    while (end < n) {
      const char c = text_[end];
      if (c == '*' || c == '%' || IsLineEnd(c) || (text.empty() && end == pos_ && (c == ' ' || c == '\t'))) break;
      ++end;
    }
    if (end > pos_) {
      if (text.empty()) line = line_;
      if (text.size() + (end - pos_) > maxLength_) {
        text.append(text_.substr(pos_, std::min<std::size_t>(end - pos_, 40)));
        throw ReadError(file_, line, text.substr(0, 40), "statement too long");
      }
      text.append(text_.substr(pos_, end - pos_));
      pos_ = end;
      continue;
    }
    const char c = text_[pos_];
    if (c == '%' && !IsComment(text)) {
      if (const std::string_view t = Trimmed(text); !t.empty()) return give(t);  // a statement a '%' interrupts
      ++pos_;
      ReadBlock();
      return false;
    }
    ++pos_;
    if (c == '\n') ++line_;
    if (IsLineEnd(c)) continue;
    if (c == '*') {
      if (const std::string_view t = Trimmed(text); !t.empty()) return give(t);
      text.clear();
      continue;  // a lone '*'
    }
    if (text.empty() && (c == ' ' || c == '\t')) continue;
    // Only a '%' in a comment's text comes here on its own.
    if (text.empty()) line = line_;
    if (text.size() >= maxLength_) throw ReadError(file_, line, text.substr(0, 40), "statement too long");
    text += c;
  }
  const std::string_view t = Trimmed(text);
  return !t.empty() && give(t);
}

void StatementSplitter::ReadBlock() {
  const int blockLine = line_;
  std::vector<std::string> parts;
  std::vector<int> lines;
  std::string part;
  int partLine = 0;
  std::size_t total = 0;
  for (;;) {
    if (pos_ >= text_.size())
      throw ReadError(file_, blockLine, std::string(Trimmed(part)),
                      "'%' block not closed by '%' before the end of the file");
    const char c = text_[pos_++];
    if (c == '\n') ++line_;
    if (IsLineEnd(c)) continue;
    if (c == '%' || c == '*') {
      std::string t(Trimmed(part));
      if (!t.empty()) {
        parts.push_back(std::move(t));
        lines.push_back(partLine);
      }
      part.clear();
      if (c == '%') break;
      continue;
    }
    if (part.empty() && (c == ' ' || c == '\t')) continue;
    if (part.empty()) partLine = line_;
    if (++total > maxLength_) throw ReadError(file_, blockLine, part.substr(0, 40), "'%' block too long");
    part += c;
  }
  for (std::size_t i = 0; i < parts.size(); ++i) {
    Statement s;
    s.extended = true;
    s.line = lines[i];
    s.text = std::move(parts[i]);
    if (s.text.size() >= 2 && s.text[0] == 'A' && s.text[1] == 'M') {
      // The rest of the block is the macro's body.
      for (std::size_t j = i + 1; j < parts.size(); ++j) {
        s.macroBody.push_back(std::move(parts[j]));
        s.macroLines.push_back(lines[j]);
      }
      pending_.push_back(std::move(s));
      break;
    }
    pending_.push_back(std::move(s));
  }
}

}  // namespace gerberx
