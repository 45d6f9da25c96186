#include "cli/ImportWatch.h"

namespace zzcli {
namespace {

constexpr const char* kMustHold = "it must hold \"%FS...X..Y..*%\", the whole format statement, on the first line";

// The tool's own count beside the ignored kinds.
constexpr zz::IgnoredKindText kNotCreated{"objects_not_created", "objects not created"};

}  // namespace

void ImportWatch::OnRunStart() {
  MisreadingWatch::OnRunStart();
  tableSearched_ = false;
  tableFile_.reset();
  counts_.fill(0);
  objectsNotCreated_ = 0;
}

void ImportWatch::OnRunEnd(int32_t objectsNotCreated) {
  MisreadingWatch::OnRunEnd(objectsNotCreated);
  objectsNotCreated_ = objectsNotCreated;
}

void ImportWatch::OnApertureTableFile(const std::optional<std::string>& file) {
  tableSearched_ = true;
  tableFile_ = file;
}

void ImportWatch::OnIgnored(zz::IgnoredKind kind, std::string_view /*statement*/) {
  ++counts_[static_cast<std::size_t>(kind)];
}

IgnoredCounts ImportWatch::Counts() const {
  IgnoredCounts counts;
  for (std::size_t i = 0; i < counts_.size(); ++i) {
    if (counts_[i] != 0) counts.emplace_back(zz::kIgnoredKindTexts[i].Key, counts_[i]);
  }
  if (objectsNotCreated_ != 0) counts.emplace_back(kNotCreated.Key, objectsNotCreated_);
  return counts;
}

std::string_view CountWords(std::string_view key) {
  for (const zz::IgnoredKindText& text : zz::kIgnoredKindTexts) {
    if (text.Key == key) return text.Words;
  }
  return key == kNotCreated.Key ? kNotCreated.Words : key;
}

std::string RecognitionFailureText(const zz::RecognitionFailure& failure) {
  using Reason = zz::RecognitionFailure::Reason;
  switch (failure.Why) {
    case Reason::NoFile:
      return "the file does not exist, or is a folder or a device";
    case Reason::CannotOpen:
      return "it cannot be opened for reading";
    case Reason::EmptyFirstLine:
      return std::string("its first line is empty; ") + kMustHold;
    case Reason::NoFormatStatement:
      break;
  }
  std::string missing;
  const auto lacks = [&missing](bool absent, const char* what) {
    if (!absent) return;
    missing += missing.empty() ? "" : ", ";
    missing += what;
  };
  lacks(failure.NoStart, "\"%FS\"");
  lacks(failure.NoX, "\"X\"");
  lacks(failure.NoY, "\"Y\"");
  lacks(failure.NoEnd, "\"*%\"");
  return std::string("its first line lacks a format statement: ") + kMustHold + " (no " + missing + " found)";
}

}  // namespace zzcli
