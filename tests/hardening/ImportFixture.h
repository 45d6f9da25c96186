#pragma once

// Imports files through the plug-in's exports into the stand-in, the way the editor does, and
// checks what must hold after any import however bad the file: the progress display closed,
// every created object on the board exactly once, and for a failed import one message that
// names the file.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "gerber/GerberState.h"
#include "host/HostBinding.h"
#include "host/Messages.h"
#include "importer/ZizoZudu.h"
#include "standin/Registration.h"
#include "standin/Server.h"

namespace zz::hardening {

// The usual first lines: format 2.4 with leading zeros omitted, inches.
constexpr std::string_view kInchHeader = "%FSLAX24Y24*%\r\n%MOIN*%\r\n";
constexpr std::string_view kMmHeader = "%FSLAX33Y33*%\r\n%MOMM*%\r\n";

struct ImportOutcome {
  bool Recognised = false;
  bool Result = false;
};

class ImportFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::Options options;
    options.Progress = standin::ProgressDisplay::Mode::Never;
    standin::Register(options);
    host::UnbindHostEntryPointsForTesting();
    platform::SetTestModeOverride(false);
    standin::Reset();
    // Every test starts from the modal state of a freshly loaded library.
    GerberState = TGerberState{};

    static const unsigned processTag = std::random_device{}();
    static int counter = 0;
    dir_ = std::filesystem::temp_directory_path() /
           ("zz_hardening_" + std::to_string(processTag) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(dir_);
  }

  void TearDown() override {
    std::error_code ignored;
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(dir_, ignored);
    standin::Unregister();
    platform::ClearTestModeOverride();
  }

  std::string PathOf(std::string_view name) const { return (dir_ / name).string(); }

  std::string Write(std::string_view name, std::string_view bytes) {
    const std::string path = PathOf(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    EXPECT_TRUE(out) << "cannot write " << path;
    return path;
  }

  // The recognition test, then the import, as the editor calls them.
  ImportOutcome Import(const std::string& path, int32_t boardHandle = 0) {
    const TShortString<255> fileName(path);
    const TShortString<255> reserved;
    ImportOutcome outcome;
    outcome.Recognised = RecognisedPCBFile(&fileName) != 0;
    outcome.Result = ImportFileIntoPcb(&fileName, &reserved, boardHandle) != 0;
    return outcome;
  }

  ImportOutcome ImportBytes(std::string_view bytes, std::string_view name = "board.gtl") {
    return Import(Write(name, bytes));
  }

  static standin::Server& Server() { return standin::TheServer(); }
  static const std::vector<std::string>& Messages() { return Server().Ui().Messages(); }
  static const standin::ChunkedVector<THandle>& BoardObjects() { return Server().Boards().CurrentBoard().Objects; }

  // Copies of the board's pads, in the order added.
  static std::vector<standin::PadRecord> Pads() {
    std::vector<standin::PadRecord> pads;
    for (const THandle handle : BoardObjects()) {
      if (const auto pad = Server().Objects().FindPad(handle)) pads.push_back(*pad);
    }
    return pads;
  }

  // What holds after every import: the progress display closed as often as it was opened,
  // and each object the import created on the current board, once.
  static void ExpectRunClosedCleanly() {
    const standin::ProgressDisplay& progress = Server().Ui().Progress();
    EXPECT_FALSE(progress.IsOpen());
    EXPECT_EQ(progress.InitCount(), progress.FinishCount());
    EXPECT_EQ(BoardObjects().size(), Server().Objects().ObjectCount()) << "objects created but not on the board";
    const std::set<THandle> distinct(BoardObjects().begin(), BoardObjects().end());
    EXPECT_EQ(distinct.size(), BoardObjects().size()) << "an object on the board twice";
  }

  // A file turned down by the recognition test: nothing at all happens.
  static void ExpectNotRecognised(const ImportOutcome& outcome) {
    EXPECT_FALSE(outcome.Recognised);
    EXPECT_FALSE(outcome.Result);
    EXPECT_EQ(Server().Ui().Progress().InitCount(), 0);
    EXPECT_EQ(Server().Objects().ObjectCount(), 0U);
    EXPECT_TRUE(Messages().empty());
  }

  // A recognised file whose import stopped: result false, one message holding the path and
  // every given part (line number, statement), the run closed.
  static void ExpectFailure(const ImportOutcome& outcome, const std::string& path,
                            std::initializer_list<std::string_view> parts = {}) {
    EXPECT_TRUE(outcome.Recognised);
    EXPECT_FALSE(outcome.Result);
    EXPECT_EQ(Server().Ui().Progress().InitCount(), 1);
    ExpectRunClosedCleanly();
    ASSERT_EQ(Messages().size(), 1U);
    const std::string& message = Messages().front();
    EXPECT_NE(message.find(path), std::string::npos) << message;
    for (const std::string_view part : parts) EXPECT_NE(message.find(part), std::string::npos) << message;
  }

  // A recognised file read to its end without a message.
  static void ExpectSuccess(const ImportOutcome& outcome) {
    EXPECT_TRUE(outcome.Recognised);
    EXPECT_TRUE(outcome.Result);
    EXPECT_EQ(Server().Ui().Progress().InitCount(), 1);
    ExpectRunClosedCleanly();
    EXPECT_TRUE(Messages().empty()) << Messages().front();
  }

  std::filesystem::path dir_;
};

}  // namespace zz::hardening
