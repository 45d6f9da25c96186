#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "TempFile.h"
#include "apertures/ApertureFile.h"
#include "apertures/ParameterString.h"
#include "host/ClientServices.h"
#include "host/Errors.h"

namespace zz::testing {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

struct Fields {
  int32_t XSize, YSize, HoleSize;
  uint8_t Shape, Usage;
  bool operator==(const Fields&) const = default;
};

void PrintTo(const Fields& a, std::ostream* os) {
  *os << "{" << a.XSize << ", " << a.YSize << ", " << a.HoleSize << ", shape " << int(a.Shape) << ", usage "
      << int(a.Usage) << "}";
}

Fields Get(const TApertureFile& table, int32_t dcode) {
  Fields f{1, 1, 1, 9, 9};
  table.GetAperture(dcode, f.XSize, f.YSize, f.HoleSize, f.Shape, f.Usage);
  return f;
}

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

TEST_F(ApertureFileTest, AbsentEntriesGiveZeroSizesRoundAndMultiple) {
  EXPECT_EQ(Get(table_, 5), kEmpty);
  EXPECT_EQ(Get(table_, 1000), kEmpty);
  EXPECT_EQ(Get(table_, 500), kEmpty);
  EXPECT_EQ(Get(table_, -2147483647 - 1), kEmpty);
  EXPECT_EQ(table_.MaxDCode(), 9);
}

TEST_F(ApertureFileTest, DefinesOnlyDCodesTenTo999) {
  table_.DefineAperture(9, 1, 2, 3, kShapeRectangle, kUsageFlashOnly);
  table_.DefineAperture(1000, 1, 2, 3, kShapeRectangle, kUsageFlashOnly);
  EXPECT_EQ(table_.FindAperture(9), nullptr);
  EXPECT_EQ(table_.FindAperture(1000), nullptr);
  table_.DefineAperture(10, 1, 2, 3, kShapeRectangle, kUsageFlashOnly);
  table_.DefineAperture(999, 4, 5, 6, kShapeOctagon, kUsageStrokeOnly);
  EXPECT_EQ(Get(table_, 10), (Fields{1, 2, 3, kShapeRectangle, kUsageFlashOnly}));
  EXPECT_EQ(Get(table_, 999), (Fields{4, 5, 6, kShapeOctagon, kUsageStrokeOnly}));
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
  EXPECT_TRUE(table_.EnsureAperture(10, kShapeRound));
  EXPECT_TRUE(table_.EnsureAperture(11, kShapeRectangle));
  EXPECT_TRUE(table_.EnsureAperture(12, kShapeOctagon));
  EXPECT_TRUE(table_.EnsureAperture(13, kShapeRelief));
  EXPECT_TRUE(table_.EnsureAperture(14, 7));
  EXPECT_TRUE(HoldsClass<TRoundAperture>(10));
  EXPECT_TRUE(HoldsClass<TRectangleAperture>(11));
  EXPECT_TRUE(HoldsClass<TOctagonAperture>(12));
  EXPECT_TRUE(HoldsClass<TReliefAperture>(13));
  EXPECT_TRUE(HoldsClass<TAperture>(14));
  EXPECT_EQ(table_.FindAperture(14)->Shape, 0);
  EXPECT_TRUE(table_.EnsureAperture(10, kShapeRelief));
  EXPECT_TRUE(HoldsClass<TRoundAperture>(10));
}

// --- keyed tables ---

TEST_F(ApertureFileTest, KeyedTableLoadsUnderItsHeader) {
  Load(
      "Kolvex Aperture File 1.0\r\n"
      "DCode=10|Shape=Round|XSize=10mil|YSize=10mil|HoleSize=0mil|Usage=FLASHONLY\r\n"
      "DCode=20|Shape=Octagon|XSize=0.254mm|YSize=2|Usage=strokeonly\r\n");
  EXPECT_TRUE(HoldsClass<TRoundAperture>(10));
  EXPECT_EQ(Get(table_, 10), (Fields{100000, 100000, 0, kShapeRound, kUsageFlashOnly}));
  // Each value starts in mils: the "mm" of XSize does not carry to YSize.
  EXPECT_EQ(Get(table_, 20), (Fields{100000, 20000, 0, kShapeOctagon, kUsageStrokeOnly}));
  EXPECT_EQ(table_.MaxDCode(), 20);
}

TEST_F(ApertureFileTest, KeyedLinesThatAreSkipped) {
  Load(
      "header: Kolvex Aperture File\n"
      "DCode=10|Shape=SQUARE|XSize=1\n"          // not a shape word of this format
      "dCode=11|Shape=Round|XSize=1\n"           // first character must be an upper-case D
      "Shape=Round|DCode=12|XSize=1\n"           // likewise
      "DCode=13|XSize=1\n"                       // no shape
      "Diameter=5|Shape=Round\n"                 // no D-code
      "DCode=5|Shape=Round|XSize=1\n"            // out of range
      "DCODE=14|SHAPE=round|XSIZE=1|USAGE=x\n");  // names and shape words in any case
  for (const int32_t dcode : {5, 10, 11, 12, 13}) EXPECT_EQ(table_.FindAperture(dcode), nullptr) << dcode;
  EXPECT_EQ(Get(table_, 14), (Fields{10000, 0, 0, kShapeRound, kUsageMultiple}));
  EXPECT_EQ(table_.MaxDCode(), 14);
}

TEST_F(ApertureFileTest, LaterKeyedLineChangesOnlySizesHoleAndUsage) {
  Load(
      "Kolvex Aperture File\n"
      "DCode=11|Shape=ROUND|XSize=10|YSize=20|HoleSize=5|Usage=FLASHONLY\n"
      "DCode=11|Shape=RECTANGLE|YSize=30\n");
  EXPECT_TRUE(HoldsClass<TRoundAperture>(11));
  // XSize and HoleSize were not named again; Usage falls back to multiple.
  EXPECT_EQ(Get(table_, 11), (Fields{100000, 300000, 50000, kShapeRound, kUsageMultiple}));
}

TEST_F(ApertureFileTest, KeyedLineIsParsedOnce) {
  const uint32_t before = ParameterLineParseCount();
  Load(
      "Kolvex Aperture File\n"
      "DCode=10|Shape=Round|XSize=1|YSize=1|HoleSize=0|Usage=MULTIPLE\n"
      "DCode=11|Shape=Round|XSize=1|YSize=1|HoleSize=0|Usage=MULTIPLE\n");
  EXPECT_EQ(ParameterLineParseCount() - before, 2u);
}

TEST_F(ApertureFileTest, KeyedDCodeThatIsNotAnIntegerEndsTheLoad) {
  try {
    Load(
        "Kolvex Aperture File\n"
        "DCode=10|Shape=Round|XSize=1\n"
        "DCode=1O|Shape=Round|XSize=1\n"
        "DCode=12|Shape=Round|XSize=1\n");
    ADD_FAILURE() << "no error";
  } catch (const EConversionError& error) {
    EXPECT_THAT(error.what(), AllOf(HasSubstr("line 3"), HasSubstr("\"1O\""), HasSubstr(".apr")));
  }
  EXPECT_NE(table_.FindAperture(10), nullptr);
  EXPECT_EQ(table_.FindAperture(12), nullptr);
}

TEST_F(ApertureFileTest, KeyedLineEndsAtANul) {
  Load(std::string("Kolvex Aperture File\nDCode=10|Shape=Round|XSize=1\0|YSize=2\n", 51));
  EXPECT_EQ(Get(table_, 10).YSize, 0);
  EXPECT_EQ(Get(table_, 10).XSize, 10000);
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
      "D10 OCTAGON 7 7\n");
  EXPECT_TRUE(HoldsClass<TOctagonAperture>(10));
  EXPECT_EQ(Get(table_, 10), (Fields{70000, 70000, 0, kShapeOctagon, kUsageMultiple}));
  EXPECT_EQ(table_.FindAperture(5), nullptr);
  EXPECT_EQ(table_.MaxDCode(), 10);
}

TEST_F(ApertureFileTest, LengthsThatAreNotNumbersReadAsZeroOrTheirLeadingNumber) {
  Load("D10 ROUND abc 1.2.3 7x\n");
  EXPECT_EQ(Get(table_, 10), (Fields{0, 12000, 70000, kShapeRound, kUsageMultiple}));
}

TEST_F(ApertureFileTest, ListDCodeThatIsNotAnIntegerEndsTheLoad) {
  for (const char* bad : {"DCODE ROUND 1\n", "D ROUND 1\n", "D99999999999 ROUND 1\n", "D\n"}) {
    TApertureFile table;
    const TempFile file(std::string("D10 ROUND 1\n") + bad + "D11 ROUND 1\n");
    try {
      table.LoadFromFile(TShortString<255>(file.Path()));
      ADD_FAILURE() << bad << " was accepted";
    } catch (const EConversionError& error) {
      EXPECT_THAT(error.what(), HasSubstr("line 2")) << bad;
    }
    EXPECT_NE(table.FindAperture(10), nullptr);
    EXPECT_EQ(table.FindAperture(11), nullptr);
  }
}

TEST_F(ApertureFileTest, LengthBeyond32BitsEndsTheLoadWithARangeError) {
  EXPECT_THROW(Load("D10 ROUND 1e30\n"), ERangeError);
  EXPECT_THROW(Load("Kolvex Aperture File\nDCode=10|Shape=Round|XSize=99999999mm\n"), ERangeError);
}

TEST_F(ApertureFileTest, CtrlZEndsTheFile) {
  Load("D10 ROUND 1\n\x1A" "D11 ROUND 1\n");
  EXPECT_NE(table_.FindAperture(10), nullptr);
  EXPECT_EQ(table_.FindAperture(11), nullptr);
}

TEST_F(ApertureFileTest, MissingFileOrMissingServiceLoadsNothing) {
  table_.LoadFromFile(TShortString<255>("/nonexistent/folder/table.apr"));
  const TempFile file("D10 ROUND 1\n");
  client::RegisterClientServices({});
  table_.LoadFromFile(TShortString<255>(file.Path()));
  EXPECT_EQ(table_.FindAperture(10), nullptr);
  EXPECT_EQ(table_.MaxDCode(), 9);
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
