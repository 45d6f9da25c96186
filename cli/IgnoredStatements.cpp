#include "cli/IgnoredStatements.h"

#include <charconv>

#include "gerber/Dispatch.h"

namespace zzcli {
namespace {

bool ReadNumber(std::string_view field, int64_t& value) {
  if (!field.empty() && field.front() == '+') field.remove_prefix(1);
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc() && end == field.data() + field.size() && !field.empty();
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
  const std::string_view g = zz::ExtractField(statement, "G");
  if (!g.empty() && ReadNumber(g, number)) {
    if (number == 36) {
      ++regions_;
    } else if (number != 1 && number != 2 && number != 3 && number != 4 && number != 37 && number != 54 &&
               number != 55 && number != 74 && number != 75) {
      ++gCodes_;
    }
  }
  const std::string_view d = zz::ExtractField(statement, "D");
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
