#include <gtest/gtest.h>

#include "cli/Summary.h"
#include "standin/PcbServer.h"
#include "standin/Registration.h"

namespace zzcli {
namespace {

constexpr double kInch = 10'000'000.0;

ImportReport FullReport() {
  ImportReport r;
  r.File = "boards/top.gtl";
  r.Recognised = true;
  r.Result = true;
  r.Layer = 1;
  r.Messages = {"Aperture Table Not Found"};
  r.Counts.Tracks = 1;
  r.Counts.Arcs = 2;
  r.Counts.Pads = 3;
  r.Bounds = standin::Box{-0.5 * kInch, 0.0, 1.5 * kInch, 1.0 * kInch};
  r.TableSearched = true;
  r.TableFile = "boards/top.Atl";
  r.Ignored = IgnoredCounts{{"aperture_macros", 2}, {"regions", 1}};
  return r;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(Summary, ShowsEveryPartOfAnImport) {
  const std::string s = FormatSummary(FullReport());
  EXPECT_TRUE(Has(s, "File:            boards/top.gtl\n")) << s;
  EXPECT_TRUE(Has(s, "Recognised:      yes\n")) << s;
  EXPECT_TRUE(Has(s, "Result:          true (the whole file was read)\n")) << s;
  EXPECT_TRUE(Has(s, "Layer:           1 TopLayer\n")) << s;
  EXPECT_TRUE(Has(s, "Messages shown:  1\n  \"Aperture Table Not Found\"\n")) << s;
  EXPECT_TRUE(Has(s, "Objects:         6: 1 track, 0 fills, 2 arcs, 3 pads\n")) << s;
  EXPECT_TRUE(Has(s, "x -12.7000 to 38.1000, y 0.0000 to 25.4000 mm (50.8000 x 25.4000 mm)")) << s;
  EXPECT_TRUE(Has(s, "x -0.50000 to 1.50000, y 0.00000 to 1.00000 in (2.00000 x 1.00000 in)")) << s;
  EXPECT_TRUE(Has(s, "Aperture table:  boards/top.Atl\n")) << s;
  EXPECT_TRUE(Has(s, "Ignored:         aperture macros 2, regions 1\n")) << s;
}

TEST(Summary, NotRecognisedSaysWhyAndSearchedNoTable) {
  ImportReport r;
  r.File = "notes.txt";
  r.NotRecognisedReason = "the file does not exist";
  const std::string s = FormatSummary(r);
  EXPECT_TRUE(Has(s, "Recognised:      no: the file does not exist\n")) << s;
  EXPECT_TRUE(Has(s, "Result:          false (nothing was imported)\n")) << s;
  EXPECT_TRUE(Has(s, "Objects:         0\n")) << s;
  EXPECT_TRUE(Has(s, "Bounding box:    none (no objects)\n")) << s;
  EXPECT_TRUE(Has(s, "Aperture table:  not searched\n")) << s;
  EXPECT_FALSE(Has(s, "Ignored")) << s;
}

TEST(Summary, StoppedAndFailedImportsAreToldApart) {
  ImportReport r = FullReport();
  r.Result = false;
  EXPECT_TRUE(Has(FormatSummary(r), "false (the import stopped before the end of the file)"));
  r.Crashed = true;
  r.CrashText = "bad D-code";
  EXPECT_TRUE(Has(FormatSummary(r), "false (the import stopped with an error: bad D-code)"));
  r.TableFile.reset();
  EXPECT_TRUE(Has(FormatSummary(r), "Aperture table:  none beside the file\n"));
}

TEST(Summary, ObjectsAreCountedByKind) {
  standin::Reset();
  standin::Server& server = standin::TheServer();
  for (const uint8_t kind : {4, 4, 6, 1, 2, 2, 2, 3}) {
    PcbApi_AddObjectToContainer(server.Boards().CurrentBoardHandle(), PcbApi_CreateObject(kind));
  }
  PcbApi_CreateObject(4);  // created but never added
  const ObjectCounts c = CountObjects(server.Objects(), server.Boards().CurrentBoard());
  EXPECT_EQ(c.Tracks, 2U);
  EXPECT_EQ(c.Fills, 1U);
  EXPECT_EQ(c.Arcs, 1U);
  EXPECT_EQ(c.Pads, 3U);
  EXPECT_EQ(c.Others, 1U);
  EXPECT_EQ(c.Total(), 8U);
}

}  // namespace
}  // namespace zzcli
