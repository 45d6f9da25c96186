#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "ApertureTestSupport.h"
#include "apertures/ApertureFile.h"
#include "apertures/ParameterString.h"
#include "host/ClientServices.h"
#include "host/Errors.h"

namespace zz::testing {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using namespace std::string_literals;

uint8_t ZZ_WINAPI FileExists(const char* path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) ? 1 : 0;
}

class ApertureFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    client::ClientServiceTable services;
    services.ExistSpecific = &FileExists;
    client::RegisterClientServices(services);
  }
  void TearDown() override { client::RegisterClientServices({}); }

  void Load(std::string_view bytes) {
    const TempFile file(bytes, ".apr");
    table_.LoadFromFile(TShortString<255>(file.Path()));
  }

  template <typename T>
  bool HoldsClass(int32_t dcode) const {
    const TAperture* aperture = table_.FindAperture(dcode);
    return aperture != nullptr && typeid(*aperture) == typeid(T);
  }

  TApertureFile table_;
};

const Fields kEmpty{0, 0, 0, kShapeRound, kUsageMultiple};

// --- the table ---

TEST_F(ApertureFileTest, DefinesOnlyDCodesTenTo999AndAnswersZerosForTheRest) {
  for (const int32_t dcode : {9, 10, 999, 1000}) table_.DefineAperture(dcode, 1, 2, 3, kShapeOctagon, kUsageFlashOnly);
  for (const int32_t dcode : {-2147483647 - 1, 9, 11, 1000}) EXPECT_EQ(Get(table_, dcode), kEmpty) << dcode;
  EXPECT_EQ(Get(table_, 10), (Fields{1, 2, 3, kShapeOctagon, kUsageFlashOnly}));
  EXPECT_EQ(table_.FindAperture(999)->DCode, 999);
  EXPECT_EQ(table_.MaxDCode(), 9);  // only the file readers raise it
}

TEST_F(ApertureFileTest, RedefinitionKeepsTheObjectAndItsClass) {
  table_.DefineAperture(10, 100000, 100000, 0, kShapeRound, kUsageMultiple);
  const TAperture* first = table_.FindAperture(10);
  table_.DefineAperture(10, 200000, 100000, 0, kShapeRectangle, kUsageMultiple);
  EXPECT_EQ(table_.FindAperture(10), first);
  EXPECT_TRUE(HoldsClass<TRoundAperture>(10));
  EXPECT_EQ(Get(table_, 10).Shape, kShapeRectangle);
  EXPECT_EQ(first->DefinitionText(true, 4).View(), "%ADD10O,0.0200X0.0100*%");
}

TEST_F(ApertureFileTest, EnsureCreatesTheClassOfTheShapeOnce) {
  EXPECT_FALSE(table_.EnsureAperture(9, kShapeRound));
  int32_t dcode = 10;
  for (const uint8_t shape : {0, 7, 3, 1, 2}) EXPECT_TRUE(table_.EnsureAperture(dcode++, shape));
  EXPECT_TRUE(HoldsClass<TRoundAperture>(10));
  EXPECT_TRUE(HoldsClass<TAperture>(11));  // shape 7
  EXPECT_TRUE(HoldsClass<TReliefAperture>(12));
  EXPECT_TRUE(HoldsClass<TRectangleAperture>(13));
  EXPECT_TRUE(HoldsClass<TOctagonAperture>(14));
  EXPECT_EQ(table_.FindAperture(11)->Shape, 0);
  EXPECT_TRUE(table_.EnsureAperture(10, kShapeRelief));
  EXPECT_TRUE(HoldsClass<TRoundAperture>(10));
}

// --- keyed tables ---

TEST_F(ApertureFileTest, KeyedTableLoadsUnderItsHeader) {
  const uint32_t parsesBefore = ParameterLineParseCount();
  Load(
      "Kolvex Aperture File 1.0\r\n"
      "DCode=10|Shape=Round|XSize=10mil|YSize=10mil|HoleSize=0mil|Usage=FLASHONLY\r\n"
      "DCode=20|Shape=Octagon|XSize=0.254mm|YSize=2|Usage=strokeonly\r\n"
      "DCode=30|Shape=Round|XSize=1\0|YSize=2\r\n"s);       // a NUL ends the line
  EXPECT_EQ(ParameterLineParseCount() - parsesBefore, 3u);  // once per line
  EXPECT_TRUE(HoldsClass<TRoundAperture>(10));
  EXPECT_EQ(Get(table_, 10), (Fields{100000, 100000, 0, kShapeRound, kUsageFlashOnly}));
  // Each value starts in mils: the "mm" of XSize does not carry to YSize.
  EXPECT_EQ(Get(table_, 20), (Fields{100000, 20000, 0, kShapeOctagon, kUsageStrokeOnly}));
  EXPECT_EQ(Get(table_, 30), (Fields{10000, 0, 0, kShapeRound, kUsageMultiple}));
  EXPECT_EQ(table_.MaxDCode(), 30);
}

TEST_F(ApertureFileTest, KeyedLinesThatAreSkipped) {
  Load(
      "header: Kolvex Aperture File\n"
      "DCode=10|Shape=SQUARE|XSize=1\n"         // not a shape word of this format
      "dCode=11|Shape=Round|XSize=1\n"          // first character must be an upper-case D
      "Shape=Round|DCode=12|XSize=1\n"          // likewise
      "DCode=13|XSize=1\n"                      // no shape
      "Diameter=5|Shape=Round\n"                // no D-code
      "DCode=5|Shape=Round|XSize=1\n"           // out of range
      "DCODE=14|SHAPE=round|XSIZE=1|USAGE=x\n"  // names and shape words in any case
      "DCode=15|Shape=ROUND|XSize=10|YSize=20|HoleSize=5|Usage=FLASHONLY\n"
      "DCode=15|Shape=RECTANGLE|YSize=30\n");  // changes only sizes, hole and usage
  for (const int32_t dcode : {5, 10, 11, 12, 13}) EXPECT_EQ(table_.FindAperture(dcode), nullptr) << dcode;
  EXPECT_EQ(Get(table_, 14), (Fields{10000, 0, 0, kShapeRound, kUsageMultiple}));
  EXPECT_TRUE(HoldsClass<TRoundAperture>(15));
  EXPECT_EQ(Get(table_, 15), (Fields{100000, 300000, 50000, kShapeRound, kUsageMultiple}));
}

// --- aperture lists ---

TEST_F(ApertureFileTest, ListLinesWithoutHeader) {
  Load(
      "D10 SQUARE 20 20 0 FLASH\r\n"
      "D12\tOCTAGON  1.5MM 60 0\r\n"
      "D13 RELIEF 10 20MIL 5 STROKE extra words\r\n"
      "D14 TARGET 1mm 1 1mil MULTI\r\n");
  EXPECT_TRUE(HoldsClass<TRectangleAperture>(10));
  EXPECT_EQ(Get(table_, 10), (Fields{200000, 200000, 0, kShapeRectangle, kUsageFlashOnly}));
  // The millimetre suffix carries over to the values after it on the line.
  EXPECT_TRUE(HoldsClass<TOctagonAperture>(12));
  EXPECT_EQ(Get(table_, 12), (Fields{590551, 23622047, 0, kShapeOctagon, kUsageMultiple}));
  EXPECT_TRUE(HoldsClass<TReliefAperture>(13));
  EXPECT_EQ(Get(table_, 13), (Fields{100000, 200000, 50000, kShapeRelief, kUsageStrokeOnly}));
  EXPECT_EQ(Get(table_, 14), (Fields{393701, 393701, 10000, kShapeRound, kUsageMultiple}));
  EXPECT_EQ(table_.MaxDCode(), 14);
}

TEST_F(ApertureFileTest, ClassComesFromTheCaseSensitiveLineAndShapeFromTheWord) {
  Load(
      "D11 square 20 20\n"
      "D12 octagon 1 1 0 note: RELIEF\n"  // the class search finds RELIEF anywhere
      "D15 RECTANGULAR 1 2\n"
      "D16 BLOB 1\n");
  EXPECT_TRUE(HoldsClass<TRoundAperture>(11));
  EXPECT_EQ(Get(table_, 11).Shape, kShapeRectangle);
  EXPECT_TRUE(HoldsClass<TReliefAperture>(12));
  EXPECT_EQ(Get(table_, 12).Shape, kShapeOctagon);
  EXPECT_TRUE(HoldsClass<TRectangleAperture>(15));
  EXPECT_EQ(Get(table_, 15).Shape, kShapeRectangle);  // not a shape word: the class's shape stays
  EXPECT_TRUE(HoldsClass<TRoundAperture>(16));
}

TEST_F(ApertureFileTest, ListSkipsOtherLinesAndKeepsTheLastLineOfADCode) {
  Load(
      "Aperture list of board 7\n"
      "  D10 ROUNDED 1\n"
      "D5 ROUNDED 1\n"
      "D1000 ROUNDED 1\n"
      "D10 SQUARE 5 5\n"
      "D10 OCTAGON 7 7\n"
      "D11 ROUND abc 1.2.3 7x\n");  // not numbers: 0, or the leading number
  EXPECT_TRUE(HoldsClass<TOctagonAperture>(10));
  EXPECT_EQ(Get(table_, 10), (Fields{70000, 70000, 0, kShapeOctagon, kUsageMultiple}));
  EXPECT_EQ(Get(table_, 11), (Fields{0, 12000, 70000, kShapeRound, kUsageMultiple}));
  EXPECT_EQ(table_.FindAperture(5), nullptr);
  EXPECT_EQ(table_.MaxDCode(), 11);
}

TEST_F(ApertureFileTest, DCodeThatIsNotAnIntegerEndsTheLoadNamingFileAndLine) {
  const std::string keyed = "Kolvex Aperture File\nDCode=10|Shape=Round\n";
  const struct {
    std::string Bytes;
    const char* Shown;
  } cases[] = {
      {keyed + "DCode=1O|Shape=Round\nDCode=11|Shape=Round\n", "\"1O\""},
      {keyed + "DCode=|Shape=Round\nDCode=11|Shape=Round\n", "\"\""},
      {"\nD10 ROUND 1\nDCODE ROUND 1\nD11 ROUND 1\n", "\"DCODE\""},
      {"\nD10 ROUND 1\nD\nD11 ROUND 1\n", "\"D\""},
      {"\nD10 ROUND 1\nD99999999999 ROUND 1\nD11 ROUND 1\n", "\"D99999999999\""},
  };
  for (const auto& c : cases) {
    TApertureFile table;
    const TempFile file(c.Bytes, ".apr");
    try {
      table.LoadFromFile(TShortString<255>(file.Path()));
      ADD_FAILURE() << c.Bytes << " was accepted";
    } catch (const EConversionError& error) {
      EXPECT_THAT(error.what(), AllOf(HasSubstr("line 3"), HasSubstr(c.Shown), HasSubstr(".apr"))) << c.Bytes;
    }
    EXPECT_NE(table.FindAperture(10), nullptr);  // earlier lines stay
    EXPECT_EQ(table.FindAperture(11), nullptr);
  }
}

TEST_F(ApertureFileTest, LengthBeyond32BitsEndsTheLoadWithARangeError) {
  EXPECT_THROW(Load("D10 ROUND 1e30\n"), ERangeError);
  EXPECT_THROW(Load("Kolvex Aperture File\nDCode=10|Shape=Round|XSize=99999999mm\n"), ERangeError);
}

TEST_F(ApertureFileTest, LoadsNothingBeyondCtrlZOrFromAMissingFile) {
  Load(
      "D10 ROUND 1\n\x1A"
      "D11 ROUND 1\n");
  EXPECT_NE(table_.FindAperture(10), nullptr);
  EXPECT_EQ(table_.FindAperture(11), nullptr);
  table_.LoadFromFile(TShortString<255>("/nonexistent/folder/table.apr"));
  client::RegisterClientServices({});  // no existence service: no file
  Load("D12 ROUND 1\n");
  EXPECT_EQ(table_.FindAperture(12), nullptr);
}

// --- description lines read back ---

TEST_F(ApertureFileTest, DescriptionLinesReadBackIntoTheSameApertures) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int32_t> size(0, 1000000000);
  std::uniform_int_distribution<int> usage(0, 2);
  for (const bool imperial : {true, false}) {
    TApertureFile source;
    std::string text = "Kolvex Aperture File\r\n";
    for (int32_t dcode = 10; dcode <= 999; ++dcode) {
      const auto shape = static_cast<uint8_t>(dcode % 4);
      const int32_t x = dcode < 20 ? dcode - 10 : size(random);  // a few tiny sizes too
      source.DefineAperture(dcode, x, size(random), size(random) / 4, shape, static_cast<uint8_t>(usage(random)));
      text += source.FindAperture(dcode)->DescriptionText(imperial).Str() + "\r\n";
    }
    TApertureFile loaded;
    const TempFile file(text);
    loaded.LoadFromFile(TShortString<255>(file.Path()));
    // Mils are written to 0.001 mil: off by 5 units at most. Millimetres are rounded to
    // 0.00001 mm and then written to 0.0001 mm: off by 0.000055 mm, 21.7 units, plus the
    // rounding to a whole unit.
    const int32_t tolerance = imperial ? 5 : 22;
    for (int32_t dcode = 10; dcode <= 999; ++dcode) {
      const TAperture& a = *source.FindAperture(dcode);
      const TAperture* b = loaded.FindAperture(dcode);
      ASSERT_NE(b, nullptr) << dcode;
      EXPECT_EQ(typeid(*b), typeid(a)) << dcode;
      EXPECT_EQ(b->Shape, a.Shape) << dcode;
      EXPECT_EQ(b->Usage, a.Usage) << dcode;
      EXPECT_LE(std::abs(b->XSize - a.XSize), tolerance) << dcode << " " << imperial;
      EXPECT_LE(std::abs(b->YSize - a.YSize), tolerance) << dcode << " " << imperial;
      EXPECT_LE(std::abs(b->HoleSize - a.HoleSize), tolerance) << dcode << " " << imperial;
    }
    EXPECT_EQ(loaded.MaxDCode(), 999);
  }
}

}  // namespace
}  // namespace zz::testing
