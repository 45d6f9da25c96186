// Packages handed out as .zip archives: what is extracted, and what is refused before a byte is
// written (nothing may land outside the folder, nothing may expand without bound).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "ToolRun.h"
#include "ZipWriter.h"
#include "cli/ZipArchive.h"

namespace zzcli {
namespace {

namespace fs = std::filesystem;
using test::MakeZip;
using test::ZipItem;

const std::string kGerber = "%FSLAX24Y24*%\n%MOIN*%\n%ADD10C,0.010*%\nD10*\nX0Y0D02*\nX1000Y0D01*\nM02*\n";

struct ZipCase {
  const char* What;
  std::function<std::string()> Archive;
  const char* Error;  // a part of the error; null: extracted
  std::vector<std::string> Files = {};
  ZipLimits Limits = {};
};

const ZipCase kCases[] = {
    {"stored and deflated entries, in folders",
     [] {
       return MakeZip({{"top.gtl", kGerber, false}, {"gerbers/bottom.gbl", kGerber, true}, {"gerbers/", "", false}});
     },
     nullptr,
     {"top.gtl", "gerbers/bottom.gbl"}},
    {"an empty archive", [] { return MakeZip({}); }, nullptr, {}},
    {"backslashes are folder separators",
     [] {
       return MakeZip({{"cam\\top.gtl", kGerber}});
     },
     nullptr,
     {"cam/top.gtl"}},
    {"a name with ..",
     [] {
       return MakeZip({{"top.gtl", kGerber}, {"../escape.gtl", kGerber}});
     },
     "\"..\""},
    {".. deeper in the name",
     [] {
       return MakeZip({{"a/../../escape.gtl", kGerber}});
     },
     "\"..\""},
    {"an absolute name",
     [] {
       return MakeZip({{"/tmp/escape.gtl", kGerber}});
     },
     "absolute path"},
    {"a drive",
     [] {
       return MakeZip({{"C:/escape.gtl", kGerber}});
     },
     "drive"},
    {"truncated: the directory cut off",
     [] {
       return MakeZip({{"top.gtl", kGerber}}).substr(0, 60);
     },
     "central directory is missing"},
    {"truncated: the data cut off",
     [] {
       std::string zip = MakeZip({{"top.gtl", std::string(5000, 'x') + kGerber, false}});
       return zip.substr(0, 100) + zip.substr(zip.size() - 120);  // directory kept, data gone
     },
     "truncated"},
    {"a zip bomb: 10 MB of zeros in a few kB",
     [] {
       return MakeZip({{"bomb.gtl", std::string(10 << 20, '\0')}});
     },
     "expand"},
    {"more than the total allowed",
     [] {
       return MakeZip({{"a.gtl", kGerber, false}, {"b.gtl", kGerber, false}});
     },
     "uncompressed",
     {},
     ZipLimits{10000, 100, 1000}},
    {"more entries than allowed",
     [] {
       return MakeZip({{"a.gtl", kGerber}, {"b.gtl", kGerber}});
     },
     "entries",
     {},
     ZipLimits{1, uint64_t{1} << 30, 1000}},
    {"more data than listed",
     [] {
       return MakeZip({{"top.gtl", kGerber, true, 0, -10}});
     },
     "more than its listed"},
    {"a wrong checksum",
     [] {
       return MakeZip({{"top.gtl", kGerber, true, 0, 0, 1}});
     },
     "checksum"},
    {"an encrypted entry",
     [] {
       return MakeZip({{"top.gtl", kGerber, false, 1}});
     },
     "encrypted"},
    {"another compression method",
     [] {
       return MakeZip({{"top.gtl", kGerber, false, 0, 0, 0, 12}});
     },
     "method 12"},
    {"zip64",
     [] {
       return MakeZip({{"top.gtl", kGerber}}, 0xFFFF);
     },
     "zip64"},
    {"not an archive at all", [] { return kGerber; }, "not a zip archive"},
};

class ZipArchive : public test::TempFolder {};

TEST_F(ZipArchive, ExtractsWhatIsSoundAndRefusesTheRestBeforeWriting) {
  for (const ZipCase& c : kCases) {
    SCOPED_TRACE(c.What);
    const fs::path out = dir_ / "out";
    fs::remove_all(out);
    fs::create_directories(out);
    const std::string archive = Write("package.zip", c.Archive());
    if (c.Error == nullptr) {
      std::vector<std::string> files;
      ASSERT_NO_THROW(files = ExtractZip(archive, out, c.Limits));
      EXPECT_EQ(files, c.Files);
      for (const std::string& file : files) EXPECT_EQ(Read((out / file).string()), kGerber) << file;
      continue;
    }
    try {
      ExtractZip(archive, out, c.Limits);
      ADD_FAILURE() << "extracted";
    } catch (const ZipError& e) {
      EXPECT_NE(std::string(e.what()).find(c.Error), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("package.zip"), std::string::npos) << e.what();
    }
    // Refused before anything is written, except for faults found in the data itself.
    const bool inData = std::string(c.Error) == "more than its listed" || std::string(c.Error) == "checksum" ||
                        std::string(c.Error) == "truncated";
    if (!inData) {
      EXPECT_TRUE(fs::is_empty(out));
    }
    EXPECT_FALSE(fs::exists(dir_ / "escape.gtl"));
    EXPECT_FALSE(fs::exists("/tmp/escape.gtl"));
  }
}

TEST(ZipSignature, KnownByExtensionOrFirstBytes) {
  EXPECT_TRUE(LooksLikeZip("board.ZIP", ""));
  EXPECT_TRUE(LooksLikeZip("board.bin", std::string("PK\x03\x04", 4)));
  EXPECT_FALSE(LooksLikeZip("board.gtl", "%FSLAX24Y24*%"));
  EXPECT_FALSE(LooksLikeZip("zip", ""));
}

TEST(ScratchFolder, IsRemovedWithWhatItHolds) {
  fs::path path;
  {
    ScratchFolder scratch;
    path = scratch.Path();
    std::ofstream(path / "file.gtl") << kGerber;
    EXPECT_TRUE(fs::is_directory(path));
  }
  EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace zzcli
