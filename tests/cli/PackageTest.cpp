// A fabrication package as designers get it, as a folder and as a .zip: converted in one
// command, and imported from the output folder onto the layers its originals go on.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>

#include "RealPlugin.h"
#include "ToolRun.h"
#include "ZipWriter.h"
#include "cli/LayerAssignment.h"

namespace zzcli {
namespace {

namespace fs = std::filesystem;
using test::RealPlugin;

std::string X2Layer(const std::string& function) {
  return "%FSLAX46Y46*%\n%MOMM*%\n%TF.FileFunction," + function +
         "*%\n%ADD10C,0.25*%\nD10*\nX0Y0D02*\nX10000000Y0D01*\n"
         "G36*\nX0Y1000000D02*\nX5000000Y1000000D01*\nX5000000Y3000000D01*\nX0Y3000000D01*\nX0Y1000000D01*\nG37*\n"
         "M02*\n";
}

const std::string kPlain = "%FSLAX24Y24*%\n%MOIN*%\n%ADD10C,0.010*%\nD10*\nX0Y0D02*\nX1000Y0D01*\nM02*\n";
// Holes of 0.8 mm at (1, 2) and (3, 4) mm, one of 1.2 mm at (5, 6) mm.
const std::string kDrill = "M48\nMETRIC,TZ\nT1C0.8\nT2C1.2\n%\nT1\nX1.0Y2.0\nX3.0Y4.0\nT2\nX5.0Y6.0\nM30\n";

std::string ReadExample(const std::string& name) {
  std::ifstream in(std::string(ZZ_EXAMPLES_DIR) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Name -> contents, as the package holds them.
std::map<std::string, std::string> PackageFiles() {
  return {
      {"copper_top.gbr", X2Layer("Copper,L1,Top")},
      {"copper_l2.gbr", X2Layer("Copper,L2,Inr")},
      {"soldermask_bottom.gbr", X2Layer("Soldermask,Bot")},
      {"silk.GTO", kPlain},  // its name only
      {"fab.gm12", kPlain},  // a layer the dialog shows no extension for
      {"outline.gbr", "%FSLAX46Y46*%\n%MOMM*%\n%TF.FileFunction,Profile,NP*%\nM02*\n"},  // empty
      {"legacy.gbr", ReadExample("rs274d/legacy.gbr")},                                  // RS-274-D
      {"LEGACY.ABR", ReadExample("rs274d/legacy.Abr")},                                  // its table, named in capitals
      {"holes.drl", kDrill},
      {"board.gbrjob", "{\"Header\": {}}\n"},
      {"README.txt", "Fabrication files\n"},
  };
}

class Package : public test::TempFolder {
 protected:
  nlohmann::json ImportJson(const std::string& path) {
    const test::ToolResult r = test::RunWith(RealPlugin(), {"import", path, "--json", "-", "--quiet", "--no-left-out"});
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    return nlohmann::json::parse(r.Out);
  }
  // Each file's layer by its name up to the extension.
  static std::map<std::string, int> LayersByStem(const nlohmann::json& dump) {
    std::map<std::string, int> layers;
    for (const nlohmann::json& file : dump["files"]) {
      layers[fs::path(file["file"].get<std::string>()).stem().string()] = file["layer"].get<int>();
    }
    return layers;
  }
};

TEST_F(Package, ConvertedFolderAndArchiveImportOntoTheOriginalsLayers) {
  fs::create_directories(dir_ / "pkg");
  std::vector<test::ZipItem> items;
  bool stored = false;
  for (const auto& [name, bytes] : PackageFiles()) {
    Write("pkg/" + name, bytes);
    items.push_back({"gerbers/" + name, bytes, stored = !stored});
  }
  Write("pkg.zip", test::MakeZip(items));
  const std::map<std::string, int> expected = LayersByStem(ImportJson(PathOf("pkg")));
  ASSERT_EQ(expected.size(), 7U);  // the Gerber files; the drill file is not imported as it comes
  EXPECT_EQ(LayersByStem(ImportJson(PathOf("pkg.zip"))), expected);

  struct Row {
    const char* Input;
    const char* OutDir;  // null: beside the input
    const char* Output;
  };
  const Row rows[] = {
      {"pkg", "out/new", "out/new"},
      {"pkg.zip", nullptr, "pkg-converted"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Input);
    const std::string figures = PathOf(std::string(row.Input) + ".json");
    std::vector<std::string> args = {"convert", PathOf(row.Input), "--json", figures};
    if (row.OutDir) args.insert(args.end(), {"--out-dir", PathOf(row.OutDir)});
    const test::ToolResult summary = test::RunWith(RealPlugin(), args);
    ASSERT_EQ(summary.ExitCode, 0) << summary.Err;
    // Each file as the user knows it, never by the scratch copy an archive's entry is read from.
    const nlohmann::json written = nlohmann::json::parse(Read(figures));
    ASSERT_EQ(written["files"].size(), 6U);  // the RS-274-D file is copied, not proved
    for (const nlohmann::json& file : written["files"]) {
      EXPECT_TRUE(file["file"].get<std::string>().starts_with(PathOf(row.Input))) << file["file"];
    }
    EXPECT_TRUE(summary.Out.ends_with("Package:         8 files converted, 3 skipped, 0 failed\n")) << summary.Out;
    EXPECT_NE(summary.Out.find("(job file)"), std::string::npos);
    EXPECT_NE(summary.Out.find("with its aperture table LEGACY.ABR as"), std::string::npos) << summary.Out;

    // Every converted file keeps its original's name up to an extension the dialog shows.
    for (const auto& entry : fs::directory_iterator(PathOf(row.Output))) {
      const std::string name = entry.path().filename().string();
      if (name.ends_with("Abr")) continue;  // the RS-274-D file's table beside it
      EXPECT_TRUE(DialogShowsExtension(entry.path().extension().string())) << name;
    }
    const nlohmann::json dump = ImportJson(PathOf(row.Output));
    std::map<std::string, int> layers = LayersByStem(dump);
    EXPECT_EQ(layers["holes"], 73);  // DrillDrawing
    layers.erase("holes");
    EXPECT_EQ(layers, expected);
    for (const nlohmann::json& file : dump["files"]) {
      // The layer comment of fab.gm12's conversion is read as a comment.
      if (file["file"].get<std::string>().ends_with("fab.gbr")) {
        EXPECT_TRUE(file["ignored"].empty()) << file;
      }
    }

    // The holes, as pads of their diameter where they are.
    std::vector<std::array<int64_t, 3>> holes;
    for (const nlohmann::json& object : dump["objects"]) {
      if (object["layer"] == 73 && object["kind"] == "pad") {
        holes.push_back(
            {object["x"].get<int64_t>(), object["y"].get<int64_t>(), object["top"]["x_size"].get<int64_t>()});
      }
    }
    const double mm = 10000 / 0.0254;
    const std::vector<std::array<double, 3>> expectedHoles = {{1, 2, 0.8}, {3, 4, 0.8}, {5, 6, 1.2}};
    ASSERT_EQ(holes.size(), expectedHoles.size());
    for (std::size_t i = 0; i < holes.size(); ++i) {
      for (int k = 0; k < 3; ++k) EXPECT_NEAR(static_cast<double>(holes[i][k]), expectedHoles[i][k] * mm, 2.0) << i;
    }
  }
  // The archive's files went to a scratch folder that is gone again.
  EXPECT_FALSE(fs::exists(PathOf("pkg.zip") + "-converted"));
}

TEST_F(Package, FilesNamedWithoutACommandAreConvertedBesideThem) {
  Write("copper_top.gbr", X2Layer("Copper,L1,Top"));
  fs::create_directories(dir_ / "cam");
  Write("cam/mask.gbr", X2Layer("Soldermask,Top"));
  Write("cam/notes.txt", "notes\n");
  const test::ToolResult r = test::RunWith(RealPlugin(), {PathOf("copper_top.gbr"), PathOf("cam")});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_TRUE(fs::is_regular_file(dir_ / "copper_top.converted.gtl"));
  EXPECT_TRUE(fs::is_regular_file(dir_ / "cam-converted" / "mask.gts"));
  EXPECT_TRUE(r.Out.ends_with("Package:         2 files converted, 1 skipped, 0 failed\n")) << r.Out;
  // A text alone is skipped, and nothing converted is no success.
  const test::ToolResult text = test::RunWith(RealPlugin(), {"convert", PathOf("cam/notes.txt")});
  EXPECT_EQ(text.ExitCode, 1);
  EXPECT_NE(text.Out.find("notes.txt (text)"), std::string::npos) << text.Out;
  // Anything else stays a usage error.
  EXPECT_EQ(test::RunWith(RealPlugin(), {PathOf("no-such-file.gbr")}).ExitCode, 2);
}

TEST_F(Package, TwoFilesOfOneConvertedNameAreNotWrittenOverEachOther) {
  fs::create_directories(dir_ / "pkg");
  Write("pkg/top.gbr", X2Layer("Copper,L1,Top"));
  Write("pkg/top.gtl", kPlain);
  const test::ToolResult r = test::RunWith(RealPlugin(), {"convert", PathOf("pkg"), "--out-dir", PathOf("out"), "-q"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("pkg/top.gtl: its conversion would be"), std::string::npos) << r.Err;
  // The first file's conversion stays.
  EXPECT_NE(Read(PathOf("out/top.gtl")).find("%FSLAX46Y46*%"), std::string::npos);
}

// The importer looks for legacy.Abr; the file system holds LEGACY.ABR, which the editor's finds as
// well. Both commands name the table as it is spelled on disk.
TEST_F(Package, ATableFoundWhateverItsLetterCaseIsNamedAsOnDisk) {
  const std::string gerber = Write("legacy.gbr", ReadExample("rs274d/legacy.gbr"));
  Write("LEGACY.ABR", ReadExample("rs274d/legacy.Abr"));
  const test::ToolResult imported = test::RunWith(RealPlugin(), {"import", gerber, "--no-left-out"});
  EXPECT_EQ(imported.ExitCode, 0) << imported.Err;
  EXPECT_NE(imported.Out.find("Aperture table:  " + PathOf("LEGACY.ABR") + "\n"), std::string::npos) << imported.Out;
  const test::ToolResult converted = test::RunWith(RealPlugin(), {"convert", gerber});
  EXPECT_EQ(converted.ExitCode, 0) << converted.Err;
  EXPECT_NE(converted.Out.find("with its aperture table LEGACY.ABR as " + PathOf("legacy.converted.Abr")),
            std::string::npos)
      << converted.Out;
  EXPECT_EQ(Read(PathOf("legacy.converted.Abr")), ReadExample("rs274d/legacy.Abr"));
}

// Windows opens a narrow name in its code page; the tool's arguments are UTF-8. A name outside
// any code page (Greek) must be read, written and read back for the proof all the same.
TEST_F(Package, NamesOutsideTheCodePageConvert) {
  const auto utf8 = [](std::u8string_view text) { return std::string(text.begin(), text.end()); };
  const fs::path folder = dir_ / fs::path(u8"Platine-\u03a9");
  fs::create_directories(folder);
  std::ofstream(folder / fs::path(u8"oben-\u00fc.gbr"), std::ios::binary) << X2Layer("Copper,L1,Top");
  std::ofstream(folder / fs::path(u8"bohr-\u03c0.drl"), std::ios::binary) << kDrill;
  const std::string out = PathOf("out") + "/" + utf8(u8"\u03b1");
  const test::ToolResult r =
      test::RunWith(RealPlugin(), {"convert", PathOf("") + utf8(u8"Platine-\u03a9"), "--out-dir", out, "-q"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_TRUE(fs::exists(dir_ / "out" / fs::path(u8"\u03b1") / fs::path(u8"oben-\u00fc.gtl"))) << r.Err;
  EXPECT_TRUE(fs::exists(dir_ / "out" / fs::path(u8"\u03b1") / fs::path(u8"bohr-\u03c0.gd1"))) << r.Err;
}

}  // namespace
}  // namespace zzcli
