#include <gtest/gtest.h>

#include <sstream>

#include "cli/CommandLine.h"

namespace zzcli {
namespace {

struct Parsed {
  ParsedCommandLine Line;
  std::string Out;
  std::string Err;
};

Parsed Parse(std::vector<std::string> args) {
  args.insert(args.begin(), "zizozudu");
  std::vector<const char*> argv;
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  std::ostringstream out, err;
  Parsed parsed;
  parsed.Line = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), out, err, [] { return "zizozudu 9.9"; });
  parsed.Out = out.str();
  parsed.Err = err.str();
  return parsed;
}

TEST(CommandLine, ImportTakesEveryOption) {
  const Parsed p = Parse({"import", "top.gtl", "--layer", "bottomlayer", "--json", "-", "--svg", "out.svg", "--quiet"});
  ASSERT_TRUE(p.Line.Import) << p.Err;
  EXPECT_EQ(p.Line.Import->Files, std::vector<std::string>{"top.gtl"});
  EXPECT_EQ(p.Line.Import->Layers, std::vector<std::optional<zz::TLayerNumber>>{32});
  EXPECT_EQ(p.Line.Import->JsonOut, "-");
  EXPECT_EQ(p.Line.Import->SvgOut, "out.svg");
  EXPECT_TRUE(p.Line.Import->Quiet);
  EXPECT_FALSE(p.Line.Recognise);
}

TEST(CommandLine, OutputsAndLayerAreAbsentUnlessGiven) {
  const Parsed p = Parse({"import", "top.gtl"});
  ASSERT_TRUE(p.Line.Import);
  EXPECT_TRUE(p.Line.Import->Layers.empty());
  EXPECT_FALSE(p.Line.Import->JsonOut);
  EXPECT_FALSE(p.Line.Import->SvgOut);
  EXPECT_FALSE(p.Line.Import->Quiet);
}

TEST(CommandLine, ImportTakesOneLayerPerFileInOrder) {
  const Parsed p = Parse(
      {"import", "--layer", "1", "top.gtl", "bottom.gbl", "--layer", "BottomLayer", "silk.gto", "--layer", "Auto"});
  ASSERT_TRUE(p.Line.Import) << p.Err;
  EXPECT_EQ(p.Line.Import->Files, (std::vector<std::string>{"top.gtl", "bottom.gbl", "silk.gto"}));
  EXPECT_EQ(p.Line.Import->Layers, (std::vector<std::optional<zz::TLayerNumber>>{1, 32, std::nullopt}));
}

TEST(CommandLine, RecogniseTakesSeveralFilesUnderEitherSpelling) {
  for (const char* command : {"recognise", "recognize"}) {
    const Parsed p = Parse({command, "a.gtl", "b.gbl"});
    ASSERT_TRUE(p.Line.Recognise) << command << p.Err;
    EXPECT_EQ(p.Line.Recognise->Files, (std::vector<std::string>{"a.gtl", "b.gbl"}));
  }
}

TEST(CommandLine, UsageErrorsExitWithTwoAndSaySo) {
  const std::vector<std::vector<std::string>> bad = {
      {},                                   // no command
      {"import"},                           // no file
      {"recognise"},                        // no file
      {"import", "a.gtl", "--frobnicate"},  // unknown option
      {"export", "a.gtl"},                  // unknown command
      {"import", "a.gtl", "--layer", "Top Layer"},
      {"import", "a.gtl", "--layer", "83"},
      {"import", "a.gtl", "b.gbl", "--layer", "1"},  // one --layer per file, or none
      {"import", "a.gtl", "--layer", "1", "--layer", "32"},
      {"convert", "a.gbr", "b.gbr", "-o", "c.gbr"},  // -o names one output
      {"convert", "a.gbr", "-o", "c.gbr", "--out-dir", "."},
      {"convert", ".", "-o", "c.gbr"},                           // a folder's files go into --out-dir
      {"convert", "a.gbr", "--out-dir", "CTestTestfile.cmake"},  // a file, not a folder
      {"convert", "a.gbr", "--tolerance", "0"},
  };
  for (const auto& args : bad) {
    const Parsed p = Parse(args);
    EXPECT_FALSE(p.Line.Import);
    EXPECT_FALSE(p.Line.Recognise);
    EXPECT_FALSE(p.Line.Convert);
    EXPECT_EQ(p.Line.ExitCode, kExitUsage) << ::testing::PrintToString(args);
    EXPECT_FALSE(p.Err.empty()) << ::testing::PrintToString(args);
  }
}

TEST(CommandLine, BadLayerNamesTheOptionAndTheValue) {
  const Parsed p = Parse({"import", "a.gtl", "--layer", "Copper"});
  EXPECT_NE(p.Err.find("--layer Copper"), std::string::npos) << p.Err;
  EXPECT_NE(p.Err.find("0 to 82"), std::string::npos) << p.Err;
  const Parsed mismatch = Parse({"import", "a.gtl", "b.gbl", "c.gto", "--layer", "1", "--layer", "32"});
  EXPECT_NE(mismatch.Err.find("3 files but 2 --layer options"), std::string::npos) << mismatch.Err;
}

TEST(CommandLine, HelpAndVersionExitWithZero) {
  const Parsed help = Parse({"--help"});
  EXPECT_EQ(help.Line.ExitCode, 0);
  EXPECT_NE(help.Out.find("import"), std::string::npos);
  EXPECT_NE(help.Out.find("recognise"), std::string::npos);
  EXPECT_NE(help.Out.find("Exit codes"), std::string::npos);
  const Parsed importHelp = Parse({"import", "--help"});
  EXPECT_EQ(importHelp.Line.ExitCode, 0);
  EXPECT_NE(importHelp.Out.find("--layer"), std::string::npos);
  const Parsed version = Parse({"--version"});
  EXPECT_EQ(version.Line.ExitCode, 0);
  EXPECT_NE(version.Out.find("zizozudu 9.9"), std::string::npos);
}

TEST(CommandLine, PathsLongerThanTheImporterTakesAreUsageErrors) {
  const std::string longest(255, 'a');
  const std::string tooLong(256, 'a');
  EXPECT_TRUE(Parse({"import", longest}).Line.Import);
  for (const char* command : {"import", "recognise"}) {
    const Parsed p = Parse({command, tooLong});
    EXPECT_EQ(p.Line.ExitCode, kExitUsage);
    EXPECT_NE(p.Err.find(tooLong + ": the path is 256 characters long"), std::string::npos) << p.Err;
  }
}

TEST(LayerArgument, NumbersAndNamesInAnyCase) {
  EXPECT_EQ(ParseLayerArgument("0"), 0);
  EXPECT_EQ(ParseLayerArgument("1"), 1);
  EXPECT_EQ(ParseLayerArgument("82"), 82);
  EXPECT_EQ(ParseLayerArgument("07"), 7);
  EXPECT_EQ(ParseLayerArgument("TopLayer"), 1);
  EXPECT_EQ(ParseLayerArgument("toplayer"), 1);
  EXPECT_EQ(ParseLayerArgument("MIDLAYER30"), 31);
  EXPECT_EQ(ParseLayerArgument("Mechanical16"), 72);
  EXPECT_EQ(ParseLayerArgument("noLayer"), 0);
  EXPECT_EQ(ParseLayerArgument("ViaHoleLayer"), 82);
  for (const char* bad : {"", "83", "100", "-1", "1.5", "+1", " 1", "Top", "Top Layer", "MidLayer31"}) {
    EXPECT_FALSE(ParseLayerArgument(bad)) << bad;
  }
}

}  // namespace
}  // namespace zzcli
