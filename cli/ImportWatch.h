#pragma once

// What the tool learns from the plug-in through its import observer: why a file was turned
// down, which aperture table file the run loaded, what it read and ignored, by kind, and (the
// report's part) what it read differently from what the file means. It changes nothing the
// plug-in does.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli/ImportDump.h"
#include "importer/ImportObserver.h"
#include "report/Misreadings.h"

namespace zzcli {

class ImportWatch : public zzreport::MisreadingWatch {
 public:
  void OnNotRecognised(const zz::RecognitionFailure& failure) override { failure_ = failure; }
  void OnRunStart() override;
  void OnApertureTableFile(const std::optional<std::string>& file) override;
  void OnIgnored(zz::IgnoredKind kind, std::string_view statement) override;
  void OnRunEnd(int32_t objectsNotCreated) override;

  // The last reason the recognition test gave, if it turned the file down.
  const std::optional<zz::RecognitionFailure>& Failure() const { return failure_; }
  // Whether the last run searched for a table file, and the one it found.
  bool TableSearched() const { return tableSearched_; }
  const std::optional<std::string>& TableFile() const { return tableFile_; }
  // The non-zero counts of the last run, in a fixed order (the keys of the dump's "ignored"), and
  // last the objects the editor refused to create.
  IgnoredCounts Counts() const;

 private:
  std::optional<zz::RecognitionFailure> failure_;
  bool tableSearched_ = false;
  std::optional<std::string> tableFile_;
  std::array<int64_t, zz::kIgnoredKindCount> counts_{};
  int64_t objectsNotCreated_ = 0;
};

// The words the summary gives a key of Counts().
std::string_view CountWords(std::string_view key);

// The recognition test's reason in plain words.
std::string RecognitionFailureText(const zz::RecognitionFailure& failure);

}  // namespace zzcli
