#pragma once

// Imports through the plug-in's exports into the stand-in, as the editor would.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "gerber/GerberState.h"
#include "importer/ImportObserver.h"
#include "standin/Server.h"

namespace zz::testing {

// Keeps what the import observer is told.
struct RecordingObserver : ImportObserver {
  void OnNotRecognised(const RecognitionFailure& failure) override { Failures.push_back(failure); }
  void OnRunStart() override { ++Starts; }
  void OnApertureTableFile(const std::optional<std::string>& file) override { TableFiles.push_back(file); }
  void OnIgnored(IgnoredKind kind, std::string_view /*statement*/) override { ++Ignored[kind]; }
  void OnRunEnd(int32_t /*objectsNotCreated*/) override { ++Ends; }

  std::vector<RecognitionFailure> Failures;
  int Starts = 0;
  int Ends = 0;
  std::vector<std::optional<std::string>> TableFiles;
  std::map<IgnoredKind, int> Ignored;
};

class ImportTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the bytes to a file in this test's own folder and returns its full path.
  std::string Write(const std::string& name, const std::string& bytes);
  bool Recognised(const std::string& path);
  bool Import(const std::string& path, THandle board = 0);

  // Sets observer_ as the import observer until the end of the test.
  RecordingObserver& Watch();

  standin::Server& Server() { return standin::TheServer(); }
  const standin::Board& Board() { return Server().Boards().CurrentBoard(); }
  std::vector<std::string>& Messages() { return Server().Ui().Messages(); }
  // The added objects of the current board, in order.
  const standin::ChunkedVector<THandle>& Objects() { return Board().Objects; }

  standin::TrackRecord TrackAt(std::size_t i);
  standin::FillRecord FillAt(std::size_t i);
  standin::ArcRecord ArcAt(std::size_t i);
  standin::PadRecord PadAt(std::size_t i);

  std::filesystem::path dir_;
  RecordingObserver observer_;
};

}  // namespace zz::testing
