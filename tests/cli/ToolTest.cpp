#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "FakePlugin.h"
#include "ToolRun.h"
#include "cli/Tool.h"
#include "standin/Registration.h"
#include "standin/Server.h"

namespace zzcli {
namespace {

using test::Fake;
using test::FakeBehaviour;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class Tool : public test::TempFolder {
 protected:
  void SetUp() override {
    TempFolder::SetUp();
    Fake() = FakeBehaviour{};
    gerber_ = Write("top.gtl", "%FSLAX24Y24*%\n");
  }
  void TearDown() override {
    standin::Unregister();
    TempFolder::TearDown();
  }
  test::ToolResult Run(std::vector<std::string> args, const Plugin& plugin = test::FakePlugin()) {
    return test::RunWith(plugin, std::move(args));
  }
  std::string gerber_;
};

TEST_F(Tool, ImportThatReadsTheWholeFileExitsWithZeroAndSummarises) {
  Fake().Tracks = 3;
  const test::ToolResult r = Run({"import", gerber_});
  EXPECT_EQ(r.ExitCode, kExitImported) << r.Err;
  EXPECT_EQ(Fake().LastFileName, gerber_);
  EXPECT_TRUE(Has(r.Out, "Recognised:      yes")) << r.Out;
  EXPECT_TRUE(Has(r.Out, "Objects:         3: 3 tracks")) << r.Out;
  EXPECT_TRUE(Has(r.Out, "(25.6540 x 5.3340 mm)")) << r.Out;  // 1 in strokes 0.1 in apart, 10 mil wide
  EXPECT_TRUE(r.Err.empty()) << r.Err;
}

TEST_F(Tool, ImportThatStopsEarlyExitsWithOne) {
  Fake().Result = false;
  Fake().Message = "Aperture Table Not Found";
  const test::ToolResult r = Run({"import", gerber_});
  EXPECT_EQ(r.ExitCode, kExitImportFailed);
  EXPECT_TRUE(Has(r.Out, "\"Aperture Table Not Found\"")) << r.Out;
  EXPECT_TRUE(Has(r.Out, "stopped before the end of the file")) << r.Out;
}

TEST_F(Tool, QuietPrintsOnlyWhatWentWrong) {
  const test::ToolResult ok = Run({"import", gerber_, "--quiet"});
  EXPECT_EQ(ok.ExitCode, kExitImported);
  EXPECT_EQ(ok.Out, "");
  EXPECT_EQ(ok.Err, "");

  Fake().Result = false;
  Fake().Message = "Aperture Table Not Found";
  const test::ToolResult bad = Run({"import", gerber_, "-q"});
  EXPECT_EQ(bad.ExitCode, kExitImportFailed);
  EXPECT_EQ(bad.Out, "");
  EXPECT_TRUE(Has(bad.Err, gerber_ + ": Aperture Table Not Found\n")) << bad.Err;
  EXPECT_TRUE(Has(bad.Err, gerber_ + ": the import stopped before the end of the file")) << bad.Err;
}

TEST_F(Tool, UnrecognisedFileExitsWithThreeAndSaysWhy) {
  Fake().Recognise = false;
  const std::string notGerber = Write("notes.gtl", "G04 just a comment*\n");
  const test::ToolResult r = Run({"import", notGerber, "--quiet"});
  EXPECT_EQ(r.ExitCode, kExitNotRecognised);
  EXPECT_TRUE(Has(r.Err, notGerber + ": not recognised: its first line lacks a format statement")) << r.Err;
  EXPECT_TRUE(Has(r.Err, "%FS...X..Y..*%")) << r.Err;

  Fake().Failure = {zz::RecognitionFailure::Reason::NoFile};
  const test::ToolResult missing = Run({"import", PathOf("gone.gtl")});
  EXPECT_EQ(missing.ExitCode, kExitNotRecognised);
  EXPECT_TRUE(Has(missing.Err, PathOf("gone.gtl") + ": not recognised: the file does not exist")) << missing.Err;
  EXPECT_TRUE(Has(missing.Out, "Recognised:      no: the file does not exist")) << missing.Out;
}

TEST_F(Tool, JsonAndSvgGoWhereTheyAreSent) {
  Fake().Tracks = 2;
  const std::string json = PathOf("board.json");
  const std::string svg = PathOf("board.svg");
  const test::ToolResult r = Run({"import", gerber_, "--json", json, "--svg", svg});
  ASSERT_EQ(r.ExitCode, kExitImported) << r.Err;
  const nlohmann::json dump = nlohmann::json::parse(Read(json));
  EXPECT_EQ(dump["file"], gerber_);
  EXPECT_EQ(dump["recognised"], true);
  EXPECT_EQ(dump["objects"].size(), 2U);
  EXPECT_TRUE(Read(svg).rfind("<?xml", 0) == 0);
  EXPECT_TRUE(Has(Read(svg), "<line "));
}

TEST_F(Tool, JsonOnStandardOutputMovesTheSummaryToStandardError) {
  const test::ToolResult r = Run({"import", gerber_, "--json", "-"});
  ASSERT_EQ(r.ExitCode, kExitImported);
  EXPECT_TRUE(nlohmann::json::accept(r.Out)) << r.Out;
  EXPECT_TRUE(Has(r.Err, "Recognised:      yes")) << r.Err;
}

TEST_F(Tool, UnrecognisedFileStillGetsItsDump) {
  Fake().Recognise = false;
  const test::ToolResult r = Run({"import", PathOf("gone.gtl"), "--json", "-", "--quiet"});
  EXPECT_EQ(r.ExitCode, kExitNotRecognised);
  const nlohmann::json dump = nlohmann::json::parse(r.Out);
  EXPECT_EQ(dump["recognised"], false);
  EXPECT_EQ(dump["result"], false);
  EXPECT_TRUE(dump["objects"].empty());
}

TEST_F(Tool, UnwritableOutputIsAUsageErrorAndNothingIsImported) {
  const std::string badJson = PathOf("no/such/folder/board.json");
  const test::ToolResult r = Run({"import", gerber_, "--json", badJson});
  EXPECT_EQ(r.ExitCode, kExitUsage);
  EXPECT_TRUE(Has(r.Err, badJson + ": cannot be written")) << r.Err;
  EXPECT_EQ(Fake().ImportCalls, 0);
  const test::ToolResult svg = Run({"import", gerber_, "--svg", dir_.string()});
  EXPECT_EQ(svg.ExitCode, kExitUsage);
  EXPECT_EQ(Fake().ImportCalls, 0);
}

TEST_F(Tool, LayerOptionPutsTheObjectsOnThatLayer) {
  const test::ToolResult r = Run({"import", gerber_, "--layer", "BottomLayer", "--json", "-"});
  ASSERT_EQ(r.ExitCode, kExitImported) << r.Err;
  const nlohmann::json dump = nlohmann::json::parse(r.Out);
  EXPECT_EQ(dump["current_layer"], 32);
  EXPECT_EQ(dump["objects"][0]["layer"], 32);
  EXPECT_TRUE(Has(r.Err, "Layer:           32 BottomLayer")) << r.Err;
}

TEST_F(Tool, ExceptionFromTheImporterEndsTheRunNotTheTool) {
  Fake().Throw = true;
  const test::ToolResult r = Run({"import", gerber_});
  EXPECT_EQ(r.ExitCode, kExitImportFailed);
  EXPECT_TRUE(Has(r.Err, gerber_ + ": the import stopped with an error: D-code \"D1x\" is not a number")) << r.Err;
}

TEST_F(Tool, WhatTheImporterReportsReachesSummaryAndDump) {
  using enum zz::IgnoredKind;
  Fake().Ignored = {ApertureMacro, FieldWithoutDigits, ApertureMacro, ApertureMacro};
  Fake().TableFile = PathOf("top.Atl");
  const test::ToolResult r = Run({"import", gerber_, "--json", "-"});
  const nlohmann::json ignored = nlohmann::json::parse(r.Out)["ignored"];
  EXPECT_EQ(ignored, nlohmann::json::parse(R"({"aperture_macros": 3, "fields_without_digits": 1})")) << ignored;
  EXPECT_TRUE(Has(r.Err, "Ignored:         aperture macros 3, fields without digits 1\n")) << r.Err;

  // Objects the editor refused to create are told only when there are some.
  Fake().ObjectsNotCreated = 2;
  const test::ToolResult refused = Run({"import", gerber_, "--json", "-"});
  EXPECT_EQ(nlohmann::json::parse(refused.Out)["ignored"]["objects_not_created"], 2) << refused.Out;
  EXPECT_TRUE(Has(refused.Err, "fields without digits 1, objects not created 2\n")) << refused.Err;
  EXPECT_TRUE(Has(r.Err, "Aperture table:  " + PathOf("top.Atl") + "\n")) << r.Err;

  Plugin unobserved = test::FakePlugin();
  unobserved.SetObserver = nullptr;
  const test::ToolResult without = Run({"import", gerber_, "--json", "-"}, unobserved);
  EXPECT_FALSE(nlohmann::json::parse(without.Out).contains("ignored"));
  EXPECT_TRUE(Has(without.Err, "Aperture table:  not searched\n")) << without.Err;
}

// Nothing is shown that an observer would count, so the import runs without one.
TEST_F(Tool, QuietImportRunsUnobserved) {
  Run({"import", gerber_, "--quiet"});
  EXPECT_FALSE(Fake().ImportObserved);
  Run({"import", gerber_, "--quiet", "--json", PathOf("board.json")});
  EXPECT_TRUE(Fake().ImportObserved);
}

TEST_F(Tool, EachImportStartsFromAFreshBoard) {
  Fake().Tracks = 2;
  Run({"import", gerber_, "--quiet"});
  Fake().Tracks = 1;
  const test::ToolResult r = Run({"import", gerber_, "--json", "-", "--quiet"});
  EXPECT_EQ(nlohmann::json::parse(r.Out)["objects"].size(), 1U);
}

TEST_F(Tool, RecogniseAnswersPerFile) {
  const std::string other = Write("b.gbl", "%FSLAX24Y24*%\n");
  const test::ToolResult yes = Run({"recognise", gerber_, other});
  EXPECT_EQ(yes.ExitCode, kExitImported);
  EXPECT_EQ(yes.Out, gerber_ + ": recognised\n" + other + ": recognised\n");
  EXPECT_EQ(Fake().ImportCalls, 0);

  Fake().Recognise = false;
  Fake().Failure = {zz::RecognitionFailure::Reason::NoFile};
  const test::ToolResult no = Run({"recognise", PathOf("gone.gtl")});
  EXPECT_EQ(no.ExitCode, kExitNotRecognised);
  EXPECT_EQ(no.Out, PathOf("gone.gtl") + ": not recognised: the file does not exist, or is a folder or a device\n");
}

}  // namespace
}  // namespace zzcli
