// What the tool reports as read and ignored, from a real import.

#include <gtest/gtest.h>

#include <map>

#include "ToolRun.h"
#include "cli/IgnoredStatements.h"
#include "gerber/GerberState.h"
#include "importer/ZizoZudu.h"
#include "standin/Registration.h"

namespace zzcli {
namespace {

using IgnoredStatementsTest = test::TempFolder;

std::map<std::string, int64_t> CountsOf(const std::string& path) {
  zz::GerberState = zz::TGerberState{};
  standin::Reset();
  standin::Register();
  IgnoredStatements observer;
  zz::SetImportObserver(&observer);
  const zz::TShortString<255> name(path);
  ImportFileIntoPcb(&name, &name, 0);
  zz::SetImportObserver(nullptr);
  standin::Unregister();
  std::map<std::string, int64_t> counts;
  for (const auto& [kind, count] : observer.Counts()) counts[kind] = count;
  return counts;
}

TEST_F(IgnoredStatementsTest, CountsWhatThePlugInCannotRepresent) {
  const std::string path = Write("macro.gtl",
                                 "%FSLAX24Y24*%\r\n%MOIN*%\r\n%AMTHERM*7,0,0,0.1,0.08,0.01,45*%\r\n"
                                 "%ADD10C,0.010*%\r\n%ADD11THERM*%\r\n%LPC*%\r\n%SRX2Y2I1J1*%\r\n%IPPOS*%\r\n"
                                 "G70*\r\nG36*\r\nD10*\r\nX0Y0D02*\r\nX100Y0D01*\r\nG37*\r\nD5*\r\n"
                                 "D12*\r\nX0Y0D03*\r\nD11*\r\nX0Y0D03*\r\n");
  const auto counts = CountsOf(path);
  EXPECT_EQ(counts.at("aperture_macros"), 1);
  EXPECT_EQ(counts.at("macro_apertures"), 1);
  EXPECT_EQ(counts.at("polarity"), 1);
  EXPECT_EQ(counts.at("step_and_repeat"), 1);
  EXPECT_EQ(counts.at("other_parameters"), 1);
  EXPECT_EQ(counts.at("regions"), 1);
  EXPECT_EQ(counts.at("g_codes_without_effect"), 1);
  EXPECT_EQ(counts.at("d_codes_without_effect"), 1);
  // D12 was never defined. D11 names a macro whose name holds an "R": a rectangle of size 0,
  // counted with the macro apertures rather than as undefined.
  EXPECT_EQ(counts.at("undefined_aperture_uses"), 1);
}

TEST_F(IgnoredStatementsTest, AnOrdinaryFileIgnoresNothing) {
  const std::string path = Write("plain.gtl", "%FSLAX24Y24*%\r\n%MOMM*%\r\n%ADD10R,0.5X0.4*%\r\nG01*\r\nD10*\r\n"
                                              "X0Y0D02*\r\nX100Y0D01*\r\nG04 done*\r\nM02*\r\n");
  EXPECT_TRUE(CountsOf(path).empty());
}

}  // namespace
}  // namespace zzcli
