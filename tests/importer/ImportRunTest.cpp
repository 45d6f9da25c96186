#include <filesystem>
#include <fstream>
#include <sstream>

#include "ImportTestSupport.h"
#include "importer/ZizoZudu.h"
#include "standin/Board.h"
#include "standin/BoardJson.h"

namespace zz::testing {
namespace {

namespace fs = std::filesystem;

std::string ReadExample(const std::string& relative) {
  std::ifstream in(fs::path(ZZ_EXAMPLES_DIR) / relative, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

using ExampleImport = ImportTest;

// Hand-computed from the drawing rules: 2.4 inch coordinates, 10 000 000 units per inch.
TEST_F(ExampleImport, BoardWithEveryApertureShapeAndArcs) {
  const std::string path = Write("board.gtl", ReadExample("board.gtl"));
  ASSERT_TRUE(Import(path));
  EXPECT_TRUE(Messages().empty());
  ASSERT_EQ(Objects().size(), 18u);

  const auto& outline = TrackAt(0);
  EXPECT_EQ(outline.X, 0);
  EXPECT_EQ(outline.Y, 0);
  EXPECT_EQ(outline.X2, 20000000);
  EXPECT_EQ(outline.Y2, 0);
  EXPECT_EQ(outline.Width, 100000);
  EXPECT_EQ(outline.Common.LayerId, 1u);

  const auto& round = PadAt(4);
  EXPECT_EQ(round.X, 2500000);
  EXPECT_EQ(round.Y, 2500000);
  EXPECT_EQ(round.TopXSize, 600000);
  EXPECT_EQ(round.BotYSize, 600000);
  EXPECT_EQ(round.TopShape, PadShape::Round);
  EXPECT_EQ(round.HoleSize, 0);

  const auto& rectangle = PadAt(8);
  EXPECT_EQ(rectangle.MidShape, PadShape::Rectangle);
  EXPECT_EQ(rectangle.MidXSize, 600000);
  EXPECT_EQ(rectangle.MidYSize, 400000);
  const auto& obround = PadAt(9);
  EXPECT_EQ(obround.TopShape, PadShape::Round);
  EXPECT_EQ(obround.TopXSize, 800000);
  EXPECT_EQ(obround.TopYSize, 400000);
  const auto& polygon = PadAt(10);
  EXPECT_EQ(polygon.BotShape, PadShape::Octagon);
  EXPECT_EQ(polygon.BotXSize, 700000);
  EXPECT_EQ(polygon.BotYSize, 700000);

  // A rectangle aperture's draw is the stroke's box grown by half the aperture.
  const auto& fill = FillAt(11);
  EXPECT_EQ(fill.X, 3900000);
  EXPECT_EQ(fill.Y, 9900000);
  EXPECT_EQ(fill.X2, 8100000);
  EXPECT_EQ(fill.Y2, 10100000);
  EXPECT_EQ(fill.Rotation, 0.0);

  EXPECT_EQ(TrackAt(12).Width, 250000);
  EXPECT_EQ(TrackAt(13).X, 10000000);

  // G75, start point equal to end point: a full circle.
  const auto& circle = ArcAt(14);
  EXPECT_EQ(circle.X, 13000000);
  EXPECT_EQ(circle.Y, 10000000);
  EXPECT_EQ(circle.Radius, 1000000);
  EXPECT_EQ(circle.StartAngle, 180.0);
  EXPECT_EQ(circle.EndAngle, 540.0);
  EXPECT_EQ(circle.LineWidth, 100000);

  // Clockwise from the west point to the north point: stored counter-clockwise, ends exchanged.
  const auto& clockwise = ArcAt(15);
  EXPECT_EQ(clockwise.X, 18000000);
  EXPECT_EQ(clockwise.Y, 9000000);
  EXPECT_EQ(clockwise.StartAngle, 90.0);
  EXPECT_EQ(clockwise.EndAngle, 180.0);
  EXPECT_EQ(clockwise.Radius, 2000000);

  const auto& counterClockwise = ArcAt(16);
  EXPECT_EQ(counterClockwise.X, 16000000);
  EXPECT_EQ(counterClockwise.Y, 11000000);
  EXPECT_EQ(counterClockwise.StartAngle, 0.0);
  EXPECT_EQ(counterClockwise.EndAngle, 90.0);

  EXPECT_EQ(TrackAt(17).Y2, 12500000);
  EXPECT_EQ(Server().Ui().Progress().InitCount(), 1);
  EXPECT_EQ(Server().Ui().Progress().FinishCount(), 1);
}

// Files with bare line-feed line ends are common; they must read exactly like their CR LF twins.
TEST_F(ExampleImport, LineFeedOnlyFileReadsLikeItsCrLfTwin) {
  std::string text = ReadExample("board.gtl");
  std::erase(text, '\r');
  ASSERT_TRUE(Import(Write("board-lf.gtl", text)));
  ASSERT_EQ(Objects().size(), 18u);
  EXPECT_EQ(FillAt(11).X2, 8100000);
  EXPECT_EQ(ArcAt(14).EndAngle, 540.0);
  EXPECT_EQ(PadAt(10).TopShape, PadShape::Octagon);
}

// Millimetre coordinates (no units statement after a fresh load) and a plain aperture list found
// by the changed-extension rule.
TEST_F(ExampleImport, Rs274dWithApertureList) {
  const std::string path = Write("legacy.gbr", ReadExample("rs274d/legacy.gbr"));
  Write("legacy.Abr", ReadExample("rs274d/legacy.Abr"));
  ASSERT_TRUE(Import(path));
  ASSERT_EQ(Objects().size(), 9u);
  EXPECT_EQ(TrackAt(0).X2, 15748031);  // 40 mm
  EXPECT_EQ(TrackAt(0).Width, 100000);  // 10 mil
  EXPECT_EQ(PadAt(4).X, 1968504);       // 5 mm
  EXPECT_EQ(PadAt(4).TopShape, PadShape::Rectangle);
  EXPECT_EQ(PadAt(4).TopXSize, 600000);
  // "1.5MM 1.0": the second size is in millimetres too.
  EXPECT_EQ(PadAt(6).TopXSize, 590551);
  EXPECT_EQ(PadAt(6).TopYSize, 393701);
  EXPECT_EQ(PadAt(7).TopShape, PadShape::Octagon);
}

// The table's name differs in letter case, as the editor's file system allows.
TEST_F(ExampleImport, KeyedTableFoundByAprRule) {
  const std::string path = Write("PANEL.GTL", ReadExample("keyed/panel.gtl"));
  Write("panel.Apr", ReadExample("keyed/panel.apr"));
  const RecordingObserver& observer = Watch();
  ASSERT_TRUE(Import(path));
  EXPECT_EQ(observer.TableFiles, std::vector<std::optional<std::string>>{(dir_ / "PANEL.apr").string()});
  ASSERT_EQ(Objects().size(), 7u);
  EXPECT_EQ(TrackAt(0).Width, 80000);
  EXPECT_EQ(PadAt(4).TopShape, PadShape::Rectangle);
  EXPECT_EQ(PadAt(4).TopYSize, 300000);
  EXPECT_EQ(PadAt(5).TopShape, PadShape::Relief);
  EXPECT_EQ(PadAt(5).HoleSize, 0);  // the relief's hole is not drilled by a flash
  EXPECT_EQ(PadAt(6).TopXSize, 590551);
}

using ImportRun = ImportTest;

const std::string kHeader = "%FSLAX24Y24*%\r\n%MOIN*%\r\n";

TEST_F(ImportRun, DrawBeforeAnyApertureStopsWithTheTableMessage) {
  const std::string path =
      Write("a.gtl", kHeader + "%ADD10C,0.01*%\r\nX0Y0D02*X100Y0D01*\r\n" + "%ADD5C,0.01*%\r\n");
  // D-code 5 defines nothing, but the definition still counts as a table: this file runs to its end.
  EXPECT_TRUE(Import(path));

  Server().Reset();
  const std::string noTable = Write("b.gtl", kHeader + "G04 no apertures*\r\nX0Y0D02*\r\nX100Y0D01*\r\n");
  EXPECT_FALSE(Import(noTable));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "Aperture Table Not Found");
  EXPECT_TRUE(Objects().empty());
  EXPECT_EQ(Server().Ui().Progress().FinishCount(), 1);
}

TEST_F(ImportRun, TableMessageOnTheLastStatementIsStillAFailure) {
  const std::string path = Write("a.gtl", kHeader + "X0Y0D02*");
  EXPECT_FALSE(Import(path));
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(ImportRun, FullCircleNeedsMultiQuadrantMode) {
  const std::string body = "%ADD10C,0.01*%\r\nX1000Y0D02*\r\nG03X1000Y0I-1000J0D01*\r\n";
  ASSERT_TRUE(Import(Write("single.gtl", kHeader + body)));
  ASSERT_EQ(Objects().size(), 1u);
  EXPECT_EQ(ArcAt(0).StartAngle, ArcAt(0).EndAngle);

  ASSERT_TRUE(Import(Write("multi.gtl", kHeader + "G75*\r\n" + body)));
  ASSERT_EQ(Objects().size(), 2u);
  EXPECT_EQ(ArcAt(1).EndAngle, ArcAt(1).StartAngle + 360.0);
  EXPECT_EQ(ArcAt(1).Radius, 1000000);
}

TEST_F(ImportRun, BoardHandleZeroMeansTheCurrentBoard) {
  const THandle second = Server().Boards().CreateBoard();
  ASSERT_NE(second, 0);
  const std::string path = Write("a.gtl", kHeader + "%ADD10C,0.01*%\r\nX0Y0D03*\r\n");
  ASSERT_TRUE(Import(path, second));
  EXPECT_TRUE(Board().Objects.empty());
  EXPECT_EQ(Server().Boards().FindBoard(second)->Objects.size(), 1u);
  ASSERT_TRUE(Import(path, 0));
  EXPECT_EQ(Board().Objects.size(), 1u);
}

TEST_F(ImportRun, ObjectsGoOnTheBoardsCurrentLayer) {
  standin::SetCurrentLayer(Server().Boards().CurrentBoard(), 33);
  ASSERT_TRUE(Import(Write("a.gtl", kHeader + "%ADD10C,0.01*%\r\nX0Y0D03*\r\nX100Y0D01*\r\n")));
  ASSERT_EQ(Objects().size(), 2u);
  EXPECT_EQ(PadAt(0).Common.LayerId, LayerIdFromNumber(33));
  EXPECT_EQ(TrackAt(1).Common.LayerId, LayerIdFromNumber(33));
}

TEST_F(ImportRun, BadNumberEndsTheRunNamingFileLineAndStatement) {
  const std::string path = Write("bad.gtl", kHeader + "%ADD10C,0.01*%\r\nX0Y0D03*\r\nG04 next*D1.5*\r\nX100Y0D03*\r\n");
  EXPECT_FALSE(Import(path));
  ASSERT_EQ(Messages().size(), 1u);
  const std::string& message = Messages()[0];
  EXPECT_NE(message.find(path), std::string::npos) << message;
  EXPECT_NE(message.find("line 5"), std::string::npos) << message;
  EXPECT_NE(message.find("\"D1.5*\""), std::string::npos) << message;
  EXPECT_EQ(Objects().size(), 1u);  // what was added before stays
  EXPECT_EQ(Server().Ui().Progress().FinishCount(), 1);
}

TEST_F(ImportRun, ArcCentreBeyondTheRangeIsAnError) {
  // 150 inches each: both fit in 32 bits, their sum does not.
  const std::string path = Write(
      "far.gtl", "%FSLAX34Y34*%\r\n%MOIN*%\r\n%ADD10C,0.01*%\r\nX1500000Y0D02*\r\nG03X1500000Y0I1500000J0D01*\r\n");
  EXPECT_FALSE(Import(path));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("arc centre"), std::string::npos) << Messages()[0];
  EXPECT_NE(Messages()[0].find("G03X1500000Y0I1500000J0D01*"), std::string::npos) << Messages()[0];
  EXPECT_TRUE(Objects().empty());
}

TEST_F(ImportRun, BadTableFileLineIsNamed) {
  const std::string path = Write("t.gbr", "%FSLAX24Y24*%\r\nD10*\r\nX0Y0D03*\r\n");
  Write("t.Abr", "D10 CIRCULAR 10 10\r\nDCODE 11\r\n");
  EXPECT_FALSE(Import(path));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("t.Abr"), std::string::npos) << Messages()[0];
  EXPECT_NE(Messages()[0].find("line 2"), std::string::npos) << Messages()[0];
  EXPECT_TRUE(Objects().empty());
}

// The first line is recognised (its lone carriage return is dropped), but the character reader
// takes everything up to the first line feed as one line end.
TEST_F(ImportRun, FileEndingBeforeItsFormatStatementFails) {
  const std::string path = Write("cr.gtl", "\r%FSLAX24Y24*%\nX0Y0D03*\n");
  ASSERT_TRUE(Recognised(path));
  EXPECT_FALSE(Import(path));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("format statement"), std::string::npos);
  EXPECT_TRUE(Objects().empty());
}

TEST_F(ImportRun, UnrecognisedFileDoesNothing) {
  const std::string path = Write("x.gtl", "%FSLAX24Y24*\r\n%\r\n");
  EXPECT_FALSE(Import(path));
  EXPECT_EQ(Server().Ui().Progress().InitCount(), 0);
  EXPECT_TRUE(Messages().empty());
  EXPECT_FALSE(Import(Write("missing-dir", "") + "/nothing.gtl"));
}

// CAM programs write such text into comments and attributes; it must not end a real import.
TEST_F(ImportRun, CommentAndAttributeTextWithoutNumbersIsIgnored) {
  const std::string draws = "%ADD10C,0.01*%\r\nD10*\r\nX0Y0D02*\r\nX100Y0D01*\r\n";
  const std::string tail = "X100Y100D01*\r\nX0Y0D03*\r\nM02*\r\n";
  const std::string text = "G04 TOP LAYER, D-CODE LIST*\r\nG04 Table of D-codes*\r\n%TO.N,ADDR0*%\r\n";
  ASSERT_TRUE(Import(Write("plain.gtl", kHeader + draws + tail)));
  const std::string plain = standin::BoardJson(Server(), Board(), {});
  Server().Reset();
  const RecordingObserver& observer = Watch();
  ASSERT_TRUE(Import(Write("text.gtl", kHeader + draws + text + tail)));
  EXPECT_EQ(standin::BoardJson(Server(), Board(), {}), plain);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(observer.Ignored, (std::map<IgnoredKind, int>{{IgnoredKind::FieldWithoutDigits, 2},
                                                          {IgnoredKind::OtherParameter, 1}}));
}

// The observer hears about each run once, also when it ends early, and about the format
// statement too.
TEST_F(ImportRun, ObserverHearsWhatEachRunFoundAndIgnored) {
  const RecordingObserver& observer = Watch();
  const std::string path = Write("macro.gtl",
                                 "%FSLAX24Y24*%\r\n%MOIN*%\r\n%AMTHERM*7,0,0,0.1,0.08,0.01,45*%\r\n"
                                 "%ADD10C,0.010*%\r\n%ADD11THERM*%\r\n%LPC*%\r\n%SRX2Y2I1J1*%\r\n%IPPOS*%\r\n"
                                 "G70*\r\nG36*\r\nD10*\r\nX0Y0D02*\r\nX100Y0D01*\r\nG37*\r\nD5*\r\n"
                                 "D12*\r\nX0Y0D03*\r\nD11*\r\nX0Y0D03*\r\n");
  ASSERT_TRUE(Import(path));
  using enum IgnoredKind;
  EXPECT_EQ(observer.Ignored, (std::map<IgnoredKind, int>{{ApertureMacro, 1},
                                                          {MacroAperture, 1},
                                                          {UndefinedAperture, 1},
                                                          {Region, 1},
                                                          {Polarity, 1},
                                                          {StepAndRepeat, 1},
                                                          {OtherParameter, 1},
                                                          {GCodeWithoutEffect, 1},
                                                          {DCodeWithoutEffect, 1}}));
  EXPECT_EQ(observer.TableFiles, std::vector<std::optional<std::string>>{std::nullopt});
  EXPECT_FALSE(Import(Write("bad.gtl", kHeader + "%IPPOS*%\r\nD1.5*\r\n")));
  EXPECT_FALSE(Import(Write("no-format.gtl", "%FSLAX24Y24*\r\n%\r\n")));  // not recognised: no run
  EXPECT_EQ(observer.Starts, 2);
  EXPECT_EQ(observer.Ends, 2);
  EXPECT_EQ(observer.Ignored.at(OtherParameter), 2);
  EXPECT_EQ(observer.Failures.size(), 1U);
}

TEST_F(ImportRun, UnitsCarryOverToTheNextRun) {
  ASSERT_TRUE(Import(Write("inch.gtl", kHeader + "%ADD10C,0.01*%\r\nX10000Y0D03*\r\n")));
  ASSERT_TRUE(Import(Write("nounits.gtl", "%FSLAX24Y24*%\r\n%ADD10C,0.01*%\r\nX10000Y0D03*\r\n")));
  ASSERT_EQ(Objects().size(), 2u);
  EXPECT_EQ(PadAt(1).X, PadAt(0).X);
  EXPECT_EQ(PadAt(1).TopXSize, 100000);
}

#if defined(__i386__) || defined(__x86_64__)
// A native host's modes: invalid operation, division by zero and overflow trap. Its own flags of
// masked exceptions (precision and underflow) are pending, and must be pending again afterwards.
constexpr uint16_t kStrictControlWord = 0x1332;
constexpr uint16_t kCallerX87Flags = 0x30;
constexpr uint32_t kStrictMxcsr = 0x1900 | 0x30;

struct FloatingPointModes {
  uint16_t ControlWord = 0;
  uint16_t StatusWord = 0;
  uint32_t Mxcsr = 0;
};

FloatingPointModes ReadModes() {
  FloatingPointModes modes;
  asm volatile("fnstcw %0" : "=m"(modes.ControlWord));
  asm volatile("fnstsw %0" : "=m"(modes.StatusWord));
#if defined(__x86_64__) || defined(__SSE__)
  asm volatile("stmxcsr %0" : "=m"(modes.Mxcsr));
#endif
  return modes;
}

// The 28-byte x87 environment of fnstenv and fldenv; the status word is its third 16-bit field.
struct X87Environment {
  uint16_t Words[14];
};

void LoadModes(uint16_t controlWord, uint32_t mxcsr, uint16_t x87Flags = 0) {
  asm volatile("fnclex");
  asm volatile("fldcw %0" : : "m"(controlWord));
  if (x87Flags != 0) {
    X87Environment environment;
    asm volatile("fnstenv %0" : "=m"(environment));
    environment.Words[2] = static_cast<uint16_t>(environment.Words[2] | x87Flags);
    asm volatile("fldenv %0" : : "m"(environment));
  }
#if defined(__x86_64__) || defined(__SSE__)
  asm volatile("ldmxcsr %0" : : "m"(mxcsr));
#else
  (void)mxcsr;
#endif
}

// Files whose numbers overflow or divide by zero on the way, imported under the strict modes:
// the exports must neither trap nor hand the modes back changed, with flags of their own pending or
// without the caller's.
TEST_F(ImportRun, StrictHostModesSurviveOverflowingFilesUnchanged) {
  Write("keyed.Atl", "Kolvex Aperture File\r\nDCode=10|XSize=1e305mil|YSize=1e305mil|Shape=Round\r\n");
  Write("plain.Abr", "D10 CIRCULAR 1e305 1e305\r\n");
  const std::string rs274d = "%FSLAX24Y24*%\r\nD10*\r\nX0Y0D03*\r\nX100Y0D01*\r\n";
  const std::string files[] = {
      Write("keyed.gtl", rs274d),
      Write("plain.gbr", rs274d),
      Write("add.gtl", kHeader + "%ADD10C,1e39*%\r\nX0Y0D03*\r\n"),
      Write("digits.gtl", kHeader + "%ADD10C," + std::string(60, '9') + "*%\r\nX0Y0D03*\r\n"),
      Write("arcs.gtl", kHeader + "%ADD10C,0.01*%\r\nX0Y0D02*\r\nG03X0Y0I0J0D01*\r\nG75*\r\nG02X0Y0I0J0D01*\r\n"),
      Write("fill.gtl", "%FSLAX34Y34*%\r\n%MOIN*%\r\n%ADD11R,200X200*%\r\nX-2000000Y0D02*\r\nX2000000Y0D01*\r\n"),
  };
  const FloatingPointModes plain = ReadModes();
  LoadModes(kStrictControlWord, kStrictMxcsr);
  const FloatingPointModes strict = ReadModes();  // as the processor reads it back
  LoadModes(plain.ControlWord, plain.Mxcsr);
  for (const std::string& path : files) {
    LoadModes(kStrictControlWord, kStrictMxcsr, kCallerX87Flags);
    Recognised(path);
    Import(path);
    const FloatingPointModes after = ReadModes();
    LoadModes(plain.ControlWord, plain.Mxcsr);
    EXPECT_EQ(after.ControlWord, strict.ControlWord) << path;
    EXPECT_EQ(after.StatusWord & 0xFF, kCallerX87Flags) << path;  // the caller's flags, none of ours
#if defined(__x86_64__) || defined(__SSE__)
    EXPECT_EQ(after.Mxcsr, strict.Mxcsr) << path;
#endif
  }
}
#endif

TEST(Exports, DescriptionIsTheFileFilterText) {
  EXPECT_STREQ(GetPcbImporterDescription(), "Single Gerber Files (*.g??;*.g?)");
}

TEST(Exports, NullFileNamesAreRefusedQuietly) {
  EXPECT_EQ(RecognisedPCBFile(nullptr), 0);
  EXPECT_EQ(ImportFileIntoPcb(nullptr, nullptr, 0), 0);
}

}  // namespace
}  // namespace zz::testing
