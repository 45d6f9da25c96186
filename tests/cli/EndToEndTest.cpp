// The real importer, driven through its three exports by the tool, into the stand-in: what a
// user gets from `zizozudu import`.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "RealPlugin.h"
#include "ToolRun.h"
#include "cli/Tool.h"
#include "standin/Registration.h"

namespace zzcli {
namespace {

using test::RealPlugin;

class EndToEnd : public test::TempFolder {
 protected:
  // Imports the file and returns its board dump.
  nlohmann::json Import(const std::string& path, std::vector<std::string> extra = {}, int expectedExit = 0) {
    std::vector<std::string> args = {"import", path, "--json", "-", "--quiet"};
    args.insert(args.end(), extra.begin(), extra.end());
    const test::ToolResult r = test::RunWith(RealPlugin(), args);
    EXPECT_EQ(r.ExitCode, expectedExit) << r.Err;
    lastErr_ = r.Err;
    return nlohmann::json::parse(r.Out);
  }
  std::string lastErr_;
};

// Files are written as DOS text, with CR LF line ends.
std::string Dos(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

constexpr const char* kHeader = "%FSLAX24Y24*%\n%MOIN*%\n";

TEST_F(EndToEnd, RoundApertureDrawBecomesATrack) {
  const nlohmann::json dump =
      Import(Write("track.gtl", Dos(std::string(kHeader) + "%ADD10C,0.0100*%\nD10*\nX0Y0D02*\nX1000Y0D01*\nM02*\n")));
  ASSERT_EQ(dump["objects"].size(), 1U) << dump;
  const nlohmann::json& t = dump["objects"][0];
  EXPECT_EQ(t["kind"], "track");
  EXPECT_EQ(t["layer"], 1);
  EXPECT_EQ(t["x1"], 0);
  EXPECT_EQ(t["y1"], 0);
  EXPECT_EQ(t["x2"], 1000000);
  EXPECT_EQ(t["y2"], 0);
  EXPECT_EQ(t["width"], 100000);
  EXPECT_EQ(dump["result"], true);
}

TEST_F(EndToEnd, RectangleApertureDrawBecomesAFillAroundTheStroke) {
  const nlohmann::json dump = Import(
      Write("fill.gtl", Dos(std::string(kHeader) + "%ADD11R,0.0100X0.0050*%\nD11*\nX0Y0D02*\nX1000Y0D01*\nM02*\n")));
  ASSERT_EQ(dump["objects"].size(), 1U) << dump;
  const nlohmann::json& f = dump["objects"][0];
  EXPECT_EQ(f["kind"], "fill");
  EXPECT_EQ(f["x1"], -50000);
  EXPECT_EQ(f["y1"], -25000);
  EXPECT_EQ(f["x2"], 1050000);
  EXPECT_EQ(f["y2"], 25000);
  EXPECT_EQ(f["rotation"], 0.0);
}

TEST_F(EndToEnd, MultiQuadrantFullCircleBecomesAWholeArc) {
  const nlohmann::json dump = Import(Write(
      "circle.gtl", Dos(std::string(kHeader) + "%ADD10C,0.0100*%\nD10*\nG75*\nX1Y0D02*\nG03X1Y0I-1J0D01*\nM02*\n")));
  ASSERT_EQ(dump["objects"].size(), 1U) << dump;
  const nlohmann::json& a = dump["objects"][0];
  EXPECT_EQ(a["kind"], "arc");
  EXPECT_EQ(a["x"], 0);
  EXPECT_EQ(a["y"], 0);
  EXPECT_EQ(a["radius"], 1000);
  EXPECT_EQ(a["start_angle"].get<double>(), 0.0);
  EXPECT_EQ(a["end_angle"].get<double>(), 360.0);
}

TEST_F(EndToEnd, FlashBecomesAPadWithoutHoleOnTheChosenLayer) {
  const nlohmann::json dump =
      Import(Write("pad.gtl", Dos(std::string(kHeader) + "%ADD12C,0.0600X0.0200*%\nD12*\nX5000Y2500D03*\nM02*\n")),
             {"--layer", "BottomLayer"});
  ASSERT_EQ(dump["objects"].size(), 1U) << dump;
  const nlohmann::json& p = dump["objects"][0];
  EXPECT_EQ(p["kind"], "pad");
  EXPECT_EQ(p["layer"], 32);
  EXPECT_EQ(p["x"], 5000000);
  EXPECT_EQ(p["y"], 2500000);
  EXPECT_EQ(p["hole_size"], 0);
  for (const char* side : {"top", "mid", "bot"}) {
    EXPECT_EQ(p[side]["x_size"], 600000) << side;
    EXPECT_EQ(p[side]["shape"], 1) << side;
  }
  EXPECT_EQ(dump["current_layer"], 32);
}

TEST_F(EndToEnd, DrawWithoutAnyApertureSourceStopsWithTheMessage) {
  const nlohmann::json dump =
      Import(Write("bare.gtl", Dos(std::string(kHeader) + "X0Y0D02*\nX1000Y0D01*\nM02*\n")), {}, kExitImportFailed);
  EXPECT_EQ(dump["messages"], nlohmann::json::array({"Aperture Table Not Found"}));
  EXPECT_EQ(dump["result"], false);
  EXPECT_TRUE(dump["objects"].empty());
  EXPECT_NE(lastErr_.find("Aperture Table Not Found"), std::string::npos) << lastErr_;
}

TEST_F(EndToEnd, FileWithoutFormatStatementIsNotRecognised) {
  const nlohmann::json dump =
      Import(Write("plain.gtl", Dos("G04 no format*\n%FSLAX24Y24*%\n")), {}, kExitNotRecognised);
  EXPECT_EQ(dump["recognised"], false);
  EXPECT_NE(lastErr_.find("first line lacks a format statement"), std::string::npos) << lastErr_;
}

// Several files into one board: the objects of each file's own import, in order, on its layer;
// the messages with the file that showed them.
TEST_F(EndToEnd, SeveralFilesMakeOneBoardOfTheirSingleImports) {
  const std::string top =
      Write("top.gtl", std::string(kHeader) + "%ADD10C,0.0100*%\nD10*\nX0Y0D02*\nX1000Y0D01*\nM02*\n");
  const std::string bottom =
      Write("bottom.gbl", std::string(kHeader) + "%ADD12C,0.0600*%\nD12*\nX5000Y2500D03*\nM02*\n");
  const std::string bare = Write("bare.gto", std::string(kHeader) + "X0Y0D02*\nX1000Y0D01*\nM02*\n");
  nlohmann::json objects = Import(top, {"--layer", "1"})["objects"];
  const nlohmann::json bottomAlone = Import(bottom, {"--layer", "32"});
  for (const auto& o : bottomAlone["objects"]) objects.push_back(o);

  const nlohmann::json board = Import(top, {bottom, bare, "--layer", "1", "--layer", "32", "--layer", "33"}, 1);
  EXPECT_EQ(board["objects"], objects);
  EXPECT_EQ(board["current_layer"], 33);
  ASSERT_EQ(board["files"].size(), 3U) << board;
  for (const auto& [k, file, layer, count, messages] :
       {std::tuple{0, top, 1, 1, nlohmann::json::array()},
        {1, bottom, 32, 1, nlohmann::json::array()},
        {2, bare, 33, 0, nlohmann::json::array({"Aperture Table Not Found"})}}) {
    const nlohmann::json& f = board["files"][k];
    EXPECT_EQ(f["file"], file);
    EXPECT_EQ(f["layer"], layer);
    EXPECT_EQ(f["objects"], count);
    EXPECT_EQ(f["messages"], messages) << f;
  }
  EXPECT_EQ(board["result"], false);
}

// The worst file decides: not recognised, else stopped early, else imported.
TEST_F(EndToEnd, SeveralFilesExitWithTheWorstOfTheirCodes) {
  const std::string good =
      Write("good.gtl", std::string(kHeader) + "%ADD10C,0.0100*%\nD10*\nX0Y0D02*\nX1000Y0D01*\nM02*\n");
  const std::string early = Write("early.gtl", std::string(kHeader) + "X0Y0D02*\nX1000Y0D01*\nM02*\n");
  const std::string plain = Write("plain.gtl", "G04 no format*\n");
  for (const auto& [files, code] : std::vector<std::pair<std::vector<std::string>, int>>{
           {{good, good}, kExitImported},
           {{good, early}, kExitImportFailed},
           {{early, good}, kExitImportFailed},
           {{plain, good}, kExitNotRecognised},
           {{early, plain}, kExitNotRecognised},
       }) {
    std::vector<std::string> args = {"import"};
    args.insert(args.end(), files.begin(), files.end());
    args.push_back("--quiet");
    EXPECT_EQ(test::RunWith(RealPlugin(), args).ExitCode, code) << ::testing::PrintToString(files);
  }
}

TEST_F(EndToEnd, ExampleBoardsImportWhole) {
  // board: the folder of one board's layers, each on the layer its name says.
  for (const char* example : {"board.gtl", "keyed/panel.gtl", "rs274d/legacy.gbr", "board"}) {
    const std::string path = std::string(ZZ_EXAMPLES_DIR) + "/" + example;
    const test::ToolResult r = test::RunWith(RealPlugin(), {"import", path});
    EXPECT_EQ(r.ExitCode, kExitImported) << example << r.Err;
    EXPECT_EQ(r.Out.find("Objects:         0\n"), std::string::npos) << example << '\n' << r.Out;
  }
  const test::ToolResult board = test::RunWith(RealPlugin(), {"import", std::string(ZZ_EXAMPLES_DIR) + "/board"});
  for (const char* layer : {"32 BottomLayer (file name .gbl)", "56 KeepOutLayer (file name .gko)",
                            "33 TopOverlay (file name .gto)", "1 TopLayer (file name .gtl)", "4 files, 4 read"}) {
    EXPECT_NE(board.Out.find(layer), std::string::npos) << layer << '\n' << board.Out;
  }
}

TEST_F(EndToEnd, DrillFileConvertedImportsItsHolesAsPadsOnTheDrillDrawing) {
  // Inch, trailing zeros kept: 1 in = 10 000 000 units.
  const std::string drill = Write("board.drl", Dos("M48\nINCH,TZ\nT1C0.0280\nT2C0.0400\n%\nT1\nX010000Y005000\n"
                                                   "X020000\nT2\nX0Y0G85X005000Y0\nM30\n"));
  std::filesystem::create_directories(dir_ / "out");
  const test::ToolResult converted = test::RunWith(RealPlugin(), {"convert", drill, "--out-dir", PathOf("out")});
  ASSERT_EQ(converted.ExitCode, 0) << converted.Err;
  const nlohmann::json dump = Import(PathOf("out/board.gd1"), {"--layer", "auto"});
  ASSERT_EQ(dump["objects"].size(), 3U) << dump;
  const auto near = [](const nlohmann::json& value, std::int64_t expected) {
    return std::abs(value.get<std::int64_t>() - expected) <= 1;  // the file holds nanometres
  };
  for (std::size_t i = 0; i < 2; ++i) {
    const nlohmann::json& pad = dump["objects"][i];
    EXPECT_EQ(pad["kind"], "pad");
    EXPECT_EQ(pad["layer"], 73);  // DrillDrawing, by the name .gd1
    EXPECT_TRUE(near(pad["x"], i == 0 ? 10'000'000 : 20'000'000)) << pad;
    EXPECT_TRUE(near(pad["y"], 5'000'000)) << pad;
    EXPECT_TRUE(near(pad["top"]["x_size"], 280'000)) << pad;
    EXPECT_TRUE(near(pad["top"]["y_size"], 280'000)) << pad;
  }
  const nlohmann::json& slot = dump["objects"][2];
  EXPECT_EQ(slot["kind"], "track");
  EXPECT_TRUE(near(slot["x2"], 5'000'000)) << slot;
  EXPECT_TRUE(near(slot["width"], 400'000)) << slot;
}

// `convert` on what CAD programs write, and the importer on what it writes.
struct ConvertCase {
  const char* Name;
  std::string Text;
  std::string Table;  // the aperture table beside the file (x.Abr), if any
  int Exit;
  const char* Says;     // in what convert prints, on either stream
  int ImportedObjects;  // that the converted file imports whole into; -1: nothing written
};

std::ostream& operator<<(std::ostream& out, const ConvertCase& c) { return out << c.Name; }

class ConvertThenImport : public test::TempFolder, public ::testing::WithParamInterface<ConvertCase> {};

TEST_P(ConvertThenImport, ConvertsWhatTheImporterReadsWhole) {
  const ConvertCase& c = GetParam();
  const std::string file = Write("x.gbr", c.Text);
  if (!c.Table.empty()) Write("x.Abr", c.Table);
  const std::string target = PathOf("out.gbr");
  const test::ToolResult converted = test::RunWith(RealPlugin(), {"convert", file, "-o", target});
  EXPECT_EQ(converted.ExitCode, c.Exit) << converted.Out << converted.Err;
  EXPECT_NE((converted.Out + converted.Err).find(c.Says), std::string::npos) << converted.Out << converted.Err;
  if (c.ImportedObjects < 0) {
    EXPECT_FALSE(std::filesystem::exists(target));
    return;
  }
  const test::ToolResult imported = test::RunWith(RealPlugin(), {"import", target, "--json", "-", "--quiet"});
  EXPECT_EQ(imported.ExitCode, kExitImported) << imported.Err;
  const nlohmann::json dump = nlohmann::json::parse(imported.Out);
  EXPECT_EQ(dump["result"], true);
  EXPECT_EQ(dump["objects"].size(), static_cast<std::size_t>(c.ImportedObjects));
}

const std::string kMmHeader = "%FSLAX46Y46*%\n%MOMM*%\n";
const std::string kSquareRegion =
    "G36*\nX0Y0D02*\nX1000000Y0D01*\nX1000000Y1000000D01*\nX0Y1000000D01*\nX0Y0D01*\nG37*\n";

INSTANTIATE_TEST_SUITE_P(
    Convert, ConvertThenImport,
    ::testing::Values(
        // A CAD program writes one for every empty layer of a package.
        ConvertCase{"EmptyLayerIsAnEmptyFile",
                    kMmHeader + "%TF.FileFunction,Paste,Bot*%\n%TF.Part,Single*%\nG04 no D10 here*\nM02*\n", "", 0,
                    "nothing to convert", 0},
        // A 1 mm square pour: one fill.
        ConvertCase{"RegionsOnlyAreRs274X", kMmHeader + kSquareRegion + "M02*\n", "", 0, "1 region into 1 object", 1},
        ConvertCase{"Rs274DIsCopiedWithItsTable", kHeader + std::string("D10*\nX0Y0D02*\nX1000Y0D01*\nM02*\n"),
                    "D10 CIRCULAR 10.0 10.0 0 STROKE\n", 0, "RS-274-D: copied unchanged", 1},
        ConvertCase{"Rs274DWithoutItsTableIsRefused", kHeader + std::string("G54D11*\nX0Y0D02*\nX1000Y0D01*\nM02*\n"),
                    "", 1, "without its aperture table", -1},
        // Without a format statement no file is RS-274-X, whatever it draws, and the importer
        // does not recognise it: a copy would not be read either.
        ConvertCase{"NoFormatStatementIsRs274D", kSquareRegion + "M02*\n", "", 1, "the importer does not recognise",
                    -1}),
    [](const ::testing::TestParamInfo<ConvertCase>& row) { return std::string(row.param.Name); });

}  // namespace
}  // namespace zzcli
