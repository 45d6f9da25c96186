#pragma once

// Imports through the plug-in's exports into the stand-in, as the editor would.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gerber/GerberState.h"
#include "standin/Server.h"

namespace zz::testing {

class ImportTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the bytes to a file in this test's own folder and returns its full path.
  std::string Write(const std::string& name, const std::string& bytes);
  bool Recognised(const std::string& path);
  bool Import(const std::string& path, THandle board = 0);

  standin::Server& Server() { return standin::TheServer(); }
  const standin::Board& Board() { return Server().CurrentBoard(); }
  std::vector<std::string>& Messages() { return Server().Messages(); }
  // The added objects of the current board, in order.
  const std::vector<THandle>& Objects() { return Board().Objects; }

  standin::TrackRecord TrackAt(std::size_t i);
  standin::FillRecord FillAt(std::size_t i);
  standin::ArcRecord ArcAt(std::size_t i);
  standin::PadRecord PadAt(std::size_t i);

  std::filesystem::path dir_;
};

}  // namespace zz::testing
