#include "gerberx/Statements.h"

#include <cctype>

#include "gerberx/ReadError.h"

namespace gerberx {

namespace {

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

std::string Trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  std::size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// "G04" or "G4" and then no digit: a comment, whose text may hold a '%'.
bool IsComment(const std::string& text) {
  const std::string t = Trim(text);
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
  std::string text;
  int line = 0;
  while (pos_ < text_.size()) {
    const char c = text_[pos_];
    if (c == '%' && !IsComment(text)) {
      if (!Trim(text).empty()) {
        // A statement that a '%' interrupts: read it as if it had its '*'.
        out = Statement{false, Trim(text), {}, {}, line};
        return true;
      }
      ++pos_;
      ReadBlock();
      return false;
    }
    ++pos_;
    if (c == '\n') ++line_;
    if (IsLineEnd(c)) continue;
    if (c == '*') {
      std::string t = Trim(text);
      if (t.empty()) {
        text.clear();
        continue;  // a lone '*'
      }
      out = Statement{false, std::move(t), {}, {}, line};
      return true;
    }
    if (text.empty() && (c == ' ' || c == '\t')) continue;
    if (text.empty()) line = line_;
    if (text.size() >= maxLength_) throw ReadError(file_, line, text.substr(0, 40), "statement too long");
    text += c;
  }
  std::string t = Trim(text);
  if (t.empty()) return false;
  out = Statement{false, std::move(t), {}, {}, line};
  return true;
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
      throw ReadError(file_, blockLine, Trim(part), "'%' block not closed by '%' before the end of the file");
    const char c = text_[pos_++];
    if (c == '\n') ++line_;
    if (IsLineEnd(c)) continue;
    if (c == '%' || c == '*') {
      std::string t = Trim(part);
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
