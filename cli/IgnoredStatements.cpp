#include "cli/IgnoredStatements.h"

#include <charconv>

#include "gerber/Dispatch.h"

namespace zzcli {
namespace {

bool ReadNumber(std::string_view field, int64_t& value) {
  // Nearly every field is a few plain digits.
  if (!field.empty() && field.size() <= 18) {
    int64_t n = 0;
    std::size_t i = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) n = n * 10 + (field[i] - '0');
    if (i == field.size()) {
      value = n;
      return true;
    }
  }
  if (!field.empty() && field.front() == '+') field.remove_prefix(1);
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc() && end == field.data() + field.size() && !field.empty();
}

bool IsFieldChar(char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }

// The fields after the first "G" and the first "D" of a data statement (as ExtractField gives
// them), found in one pass: this runs for every statement of files of millions.
void GAndDFields(std::string_view statement, std::string_view& g, std::string_view& d) {
  constexpr std::size_t kNone = std::string_view::npos;
  std::size_t gAt = kNone;
  std::size_t dAt = kNone;
  for (std::size_t i = 0; i < statement.size() && (gAt == kNone || dAt == kNone); ++i) {
    if (statement[i] == 'G' && gAt == kNone) gAt = i;
    if (statement[i] == 'D' && dAt == kNone) dAt = i;
  }
  const auto fieldAfter = [&](std::size_t at) {
    if (at == kNone) return std::string_view();
    std::size_t end = at + 1;
    while (end < statement.size() && IsFieldChar(statement[end])) ++end;
    return statement.substr(at + 1, end - at - 1);
  };
  g = fieldAfter(gAt);
  d = fieldAfter(dAt);
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// Whether the definition after "ADD<number>" is one of the standard templates the plug-in reads.
bool NamesStandardTemplate(std::string_view afterNumber) {
  return StartsWith(afterNumber, "C,") || StartsWith(afterNumber, "R,") || StartsWith(afterNumber, "O,") ||
         StartsWith(afterNumber, "P,") || afterNumber == "C*%" || afterNumber.empty();
}

}  // namespace

void IgnoredStatements::OnRunStart() { *this = IgnoredStatements(); }

void IgnoredStatements::OnStatement(const zz::GerberRun& run, std::string_view statement, bool isData) {
  if (isData) {
    OnData(run, statement);
  } else {
    OnParameter(statement);
  }
}

void IgnoredStatements::OnParameter(std::string_view statement) {
  const auto percent = statement.find('%');
  std::string_view body = statement.substr(percent + 1);
  while (!body.empty() && (body.front() == ' ' || body.front() == '\n')) body.remove_prefix(1);
  if (StartsWith(body, "FS") || StartsWith(body, "MO")) return;
  if (StartsWith(body, "AM")) {
    ++apertureMacros_;
  } else if (StartsWith(body, "AD")) {
    std::string_view rest = body.substr(2);
    if (!rest.empty() && rest.front() == 'D') rest.remove_prefix(1);
    while (!rest.empty() && rest.front() >= '0' && rest.front() <= '9') rest.remove_prefix(1);
    if (!NamesStandardTemplate(rest)) ++macroApertures_;
  } else if (StartsWith(body, "LP")) {
    ++polarity_;
  } else if (StartsWith(body, "SR")) {
    ++stepAndRepeat_;
  } else if (!body.empty() && body.front() != '%') {
    ++otherParameters_;
  }
}

void IgnoredStatements::OnData(const zz::GerberRun& run, std::string_view statement) {
  int64_t number = 0;
  std::string_view g;
  std::string_view d;
  GAndDFields(statement, g, d);
  if (!g.empty() && ReadNumber(g, number)) {
    if (number == 36) {
      ++regions_;
    } else if (number != 1 && number != 2 && number != 3 && number != 4 && number != 37 && number != 54 &&
               number != 55 && number != 74 && number != 75) {
      ++gCodes_;
    }
  }
  if (!d.empty() && ReadNumber(d, number) && number != 1 && number != 2 && number != 3 &&
      !(number >= 10 && number <= 999)) {
    ++dCodes_;
  }
  const zz::TOperation operation = run.State.Operation;
  if (run.HaveApertureTable && (operation == zz::TOperation::Draw || operation == zz::TOperation::Flash) &&
      run.ApertureTable.FindAperture(run.State.CurrentDCode) == nullptr) {
    ++undefinedApertures_;
  }
}

standin::IgnoredCounts IgnoredStatements::Counts() const {
  standin::IgnoredCounts counts;
  const auto add = [&counts](const char* kind, int64_t count) {
    if (count != 0) counts.emplace_back(kind, count);
  };
  add("aperture_macros", apertureMacros_);
  add("macro_apertures", macroApertures_);
  add("undefined_aperture_uses", undefinedApertures_);
  add("regions", regions_);
  add("polarity", polarity_);
  add("step_and_repeat", stepAndRepeat_);
  add("other_parameters", otherParameters_);
  add("g_codes_without_effect", gCodes_);
  add("d_codes_without_effect", dCodes_);
  return counts;
}

}  // namespace zzcli
