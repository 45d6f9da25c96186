#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "gen/GerberGenerator.h"

namespace zzbench {
namespace {

std::string Large(uint64_t seed, uint64_t bytes, LargeFileStats* stats = nullptr) {
  std::ostringstream out;
  const LargeFileStats s = WriteLargeFile(out, seed, bytes);
  if (stats != nullptr) *stats = s;
  return out.str();
}

// The data statements of a large file, one a line, with their letter fields.
struct Data {
  std::map<char, int64_t> Fields;
  bool Has(char key) const { return Fields.count(key) != 0; }
};

std::vector<Data> DataStatements(const std::string& text) {
  std::vector<Data> result;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '%' || line.rfind("G04", 0) == 0) continue;
    Data data;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const char key = line[i];
      if (key < 'A' || key > 'Z') continue;
      char* end = nullptr;
      data.Fields[key] = std::strtoll(line.c_str() + i + 1, &end, 10);
      i = static_cast<std::size_t>(end - line.c_str()) - 1;
    }
    result.push_back(data);
  }
  return result;
}

TEST(Random, TheSameSeedRepeatsItsSequenceAndRangesKeepTheirBounds) {
  Random a(7), b(7), c(8);
  bool differs = false;
  for (int i = 0; i < 1000; ++i) {
    const uint64_t x = a.Next();
    EXPECT_EQ(x, b.Next());
    differs = differs || x != c.Next();
  }
  EXPECT_TRUE(differs);
  std::set<int64_t> seen;
  for (int i = 0; i < 10000; ++i) {
    const int64_t v = a.Range(-3, 3);
    ASSERT_GE(v, -3);
    ASSERT_LE(v, 3);
    seen.insert(v);
  }
  EXPECT_EQ(seen.size(), 7U);  // both ends included
  EXPECT_EQ(a.Range(5, 5), 5);
}

TEST(LargeFile, TheSameSeedGivesTheSameBytesAndAnotherSeedOthers) {
  EXPECT_EQ(Large(3, 200000), Large(3, 200000));
  EXPECT_NE(Large(3, 200000), Large(4, 200000));
}

TEST(LargeFile, StopsAtTheFirstStatementPastItsTarget) {
  LargeFileStats stats;
  const std::string text = Large(5, 300000, &stats);
  EXPECT_EQ(stats.Bytes, text.size());
  EXPECT_GE(text.size(), 300000U);
  EXPECT_LT(text.size(), 300000U + 80U);  // one statement and the closing M02
  EXPECT_TRUE(text.ends_with("M02*\r\n"));
}

TEST(LargeFile, OpensWithFormatAndInchesAndEndsEveryLineWithCrLf) {
  LargeFileStats stats;
  const std::string text = Large(6, 100000, &stats);
  EXPECT_TRUE(text.starts_with("%FSLAX24Y24*%\r\n%MOIN*%\r\n"));
  std::size_t lines = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ASSERT_GT(i, 0U);
      ASSERT_EQ(text[i - 1], '\r') << "bare line feed at " << i;
      ++lines;
    } else if (text[i] == '\r') {
      ASSERT_EQ(text[i + 1], '\n') << "bare carriage return at " << i;
    }
  }
  EXPECT_EQ(lines, stats.Lines);
  EXPECT_GE(std::count(text.begin(), text.end(), 'A'), 24);  // a few dozen %ADD
  EXPECT_GE(stats.Apertures, 24U);
}

TEST(LargeFile, CountsMatchTheTextAndTheMixIsAsAnnounced) {
  LargeFileStats stats;
  const std::vector<Data> data = DataStatements(Large(9, 2000000, &stats));
  uint64_t tracks = 0, arcs = 0, moves = 0, pads = 0;
  for (const Data& d : data) {
    const int64_t op = d.Has('D') ? d.Fields.at('D') : 0;
    if (op == 1) (d.Has('I') ? arcs : tracks)++;
    if (op == 2) ++moves;
    if (op == 3) ++pads;
  }
  EXPECT_EQ(tracks, stats.Tracks);
  EXPECT_EQ(arcs, stats.Arcs);
  EXPECT_EQ(moves, stats.Moves);
  EXPECT_EQ(pads, stats.Pads);
  const double total = static_cast<double>(tracks + arcs + moves + pads);
  EXPECT_NEAR(tracks / total, 0.60, 0.01);
  EXPECT_NEAR(moves / total, 0.10, 0.01);
  EXPECT_NEAR(pads / total, 0.25, 0.01);
  EXPECT_NEAR(arcs / total, 0.05, 0.01);
}

// Follows the modal X and Y registers through the file: every point lies within 10 inches, every
// arc starts and ends on its circle, and draws only ever use round apertures.
TEST(LargeFile, PointsStayInsideTenInchesAndArcsEndOnTheirCircle) {
  const std::string text = Large(11, 3000000);
  std::set<int64_t> round;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("%ADD", 0) == 0 && line[6] == 'C') round.insert(std::stoll(line.substr(4, 2)));
  }
  ASSERT_FALSE(round.empty());

  int64_t x = 0, y = 0, aperture = 0;
  int arcs = 0, fullCircles = 0;
  for (const Data& d : DataStatements(text)) {
    const int64_t op = d.Has('D') ? d.Fields.at('D') : 0;
    if (op >= 10) aperture = op;
    const int64_t nx = d.Has('X') ? d.Fields.at('X') : x;
    const int64_t ny = d.Has('Y') ? d.Fields.at('Y') : y;
    ASSERT_TRUE(nx >= 0 && nx <= 100000 && ny >= 0 && ny <= 100000) << nx << "," << ny;
    if (op == 1) {
      ASSERT_TRUE(round.count(aperture)) << "draw with D" << aperture;
    }
    if (op == 1 && d.Has('I')) {
      const int64_t cx = x + d.Fields.at('I');
      const int64_t cy = y + d.Fields.at('J');
      const double r0 = std::hypot(double(x - cx), double(y - cy));
      const double r1 = std::hypot(double(nx - cx), double(ny - cy));
      ASSERT_NEAR(r0, r1, 1.5);
      ASSERT_GE(r0, 1.0);
      ASSERT_TRUE(cx - r0 >= -1 && cx + r0 <= 100001 && cy - r0 >= -1 && cy + r0 <= 100001);
      ++arcs;
      if (nx == x && ny == y) ++fullCircles;
    }
    x = nx;
    y = ny;
  }
  EXPECT_GT(arcs, 1000);
  EXPECT_GT(fullCircles, 0);
}

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Corpus : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("zz-corpus-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

TEST_F(Corpus, TheFirstSixteenFilesCoverEveryUnitFormatAndZeroRule) {
  const std::vector<CorpusFile> files = WriteCorpus(dir_, 1, 16, {});
  ASSERT_EQ(files.size(), 16U);
  std::set<std::string> combinations, dCombinations;
  for (const CorpusFile& file : files) {
    const std::string text = Slurp(file.Gerber);
    const std::string units = text.find("%MOIN*%") != std::string::npos ? "in" : "mm";
    const std::string format = text.substr(0, text.find('Y'));  // "%FSLAX24" or "%FSTAX33"
    combinations.insert(units + format);
    if (!file.Table.empty()) dCombinations.insert(units);
  }
  EXPECT_EQ(combinations.size(), 16U);
  EXPECT_EQ(dCombinations.size(), 2U);  // RS-274-D files in both units
}

TEST_F(Corpus, HoldsEveryShapeArcModeAndBothTableForms) {
  const std::vector<CorpusFile> files = WriteCorpus(dir_, 2, 24, {});
  std::string all;
  int lists = 0, keyed = 0;
  for (const CorpusFile& file : files) {
    const std::string text = Slurp(file.Gerber);
    all += text;
    if (file.Table.empty()) continue;
    EXPECT_EQ(text.find("%ADD"), std::string::npos) << file.Gerber;
    const std::string table = Slurp(file.Table);
    if (file.Table.extension() == ".apr") {
      ++keyed;
      EXPECT_TRUE(table.starts_with("Kolvex Aperture File\r\nDCode=10|Shape="));
    } else {
      ++lists;
      // x.gbr -> x.Abr: the first letter of the extension becomes a capital A.
      EXPECT_EQ(file.Table.stem(), file.Gerber.stem());
      EXPECT_EQ(file.Table.extension().string().substr(0, 2), ".A");
      EXPECT_EQ(file.Table.extension().string().substr(2), file.Gerber.extension().string().substr(2));
      EXPECT_NE(table.find("\r\nD10 "), std::string::npos);
    }
  }
  EXPECT_GT(lists, 0);
  EXPECT_GT(keyed, 0);
  for (const char* needle : {"C,", "R,", "O,", "P,", "G74*", "G75*", "G02X", "G03X", "D02*", "D03*", "G04 "}) {
    EXPECT_NE(all.find(needle), std::string::npos) << needle;
  }
}

TEST_F(Corpus, LineEndsFollowTheOption) {
  std::size_t withCr = 0, withoutCr = 0;
  for (const CorpusFile& file : WriteCorpus(dir_, 3, 8, {.Eol = LineEnds::Mixed})) {
    (Slurp(file.Gerber).find('\r') != std::string::npos ? withCr : withoutCr)++;
  }
  EXPECT_EQ(withCr, 6U);
  EXPECT_EQ(withoutCr, 2U);
  for (const CorpusFile& file : WriteCorpus(dir_ / "lf", 3, 4, {.Eol = LineEnds::Lf})) {
    EXPECT_EQ(Slurp(file.Gerber).find('\r'), std::string::npos);
  }
  const std::vector<CorpusFile> varied = WriteCorpus(dir_ / "varied", 3, 10, {.Eol = LineEnds::Varied});
  EXPECT_EQ(Slurp(varied[9].Gerber).find('\n'), std::string::npos);  // every tenth file: no line ends
  EXPECT_NE(Slurp(varied[3].Gerber).find('\n'), std::string::npos);
  EXPECT_EQ(Slurp(varied[3].Gerber).find('\r'), std::string::npos);
}

// The rough corpus is what the Wine comparison imports: it must reach the importer's odd paths.
TEST_F(Corpus, RoughFilesHoldWhatTheImporterIgnoresOrCannotRead) {
  const std::vector<CorpusFile> files = WriteCorpus(dir_ / "rough", 5, 200, {.Rough = true});
  std::string all;
  int withoutExtension = 0, withoutUnits = 0, withoutTable = 0, bothTables = 0;
  for (const CorpusFile& file : files) {
    const std::string text = Slurp(file.Gerber);
    all += text;
    withoutExtension += file.Gerber.extension().empty();
    withoutUnits += text.find("%MO") == std::string::npos;
    withoutTable += file.Description.ends_with("no aperture table");
    std::filesystem::path apr = file.Gerber;
    bothTables += !file.Table.empty() && file.Table.extension() != ".apr" &&
                  std::filesystem::exists(apr.replace_extension(".apr"));
  }
  EXPECT_GT(withoutExtension, 0);
  EXPECT_GT(withoutUnits, 0);
  EXPECT_GT(withoutTable, 0);
  EXPECT_GT(bothTables, 0);
  for (const char* needle : {"%LPC*%", "G36*", "G70*", "D1.5*", "G1-2*", "X99999999999D02*", "ADD9"}) {
    EXPECT_NE(all.find(needle), std::string::npos) << needle;
  }
}

TEST_F(Corpus, TheSameSeedWritesTheSameFiles) {
  const std::vector<CorpusFile> a = WriteCorpus(dir_ / "a", 4, 6, {.Rough = true});
  const std::vector<CorpusFile> b = WriteCorpus(dir_ / "b", 4, 6, {.Rough = true});
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].Gerber.filename(), b[i].Gerber.filename());
    EXPECT_EQ(Slurp(a[i].Gerber), Slurp(b[i].Gerber));
  }
}

}  // namespace
}  // namespace zzbench
