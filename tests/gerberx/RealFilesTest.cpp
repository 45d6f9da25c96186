// Real files of some twenty CAD programs, as Debian's gerbv package installs them: every
// Gerber file reads, and what is not a Gerber file says so.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "gerberx/Reader.h"

namespace gerberx {
namespace {

const std::filesystem::path kExamples = "/usr/share/doc/gerbv/examples";

struct RealFile {
  const char* path;
  const char* error;  // nullptr: reads; else part of the expected message
};

class RealFileTest : public testing::TestWithParam<RealFile> {};

TEST_P(RealFileTest, ReadsOrSaysWhyNot) {
  const RealFile& f = GetParam();
  const std::filesystem::path path = kExamples / f.path;
  if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " not installed";
  Options options;
  options.computeDarkArea = false;  // the objects are the test; the dark area of these takes seconds
  if (f.error == nullptr) {
    try {
      const Layer layer = ReadGerberFile(path.string(), options);
      EXPECT_FALSE(layer.objects.empty());
    } catch (const ReadError& e) {
      ADD_FAILURE() << e.what();
    }
  } else {
    try {
      ReadGerberFile(path.string(), options);
      ADD_FAILURE() << "read without error";
    } catch (const ReadError& e) {
      EXPECT_NE(std::string(e.what()).find(f.error), std::string::npos) << e.what();
    }
  }
}

std::string Name(const testing::TestParamInfo<RealFile>& info) {
  std::string name;
  for (const char* c = info.param.path; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(
    GerbvExamples, RealFileTest,
    testing::Values(
        RealFile{"ekf/l1.off", "RS-274-D"}, RealFile{"ekf2/d1.grb", nullptr}, RealFile{"ekf2/gnd.grb", nullptr},
        RealFile{"ekf2/l0.grb", nullptr}, RealFile{"ekf2/l1.grb", nullptr}, RealFile{"ekf2/l2.grb", nullptr},
        RealFile{"ekf2/l3.grb", nullptr}, RealFile{"ekf2/l4.grb", nullptr}, RealFile{"ekf2/l5.grb", nullptr},
        RealFile{"ekf2/pow.grb", nullptr}, RealFile{"ekf2/pow3.grb", nullptr}, RealFile{"ekf2/resplan.grb", nullptr},
        RealFile{"ekf2/sieb0.grb", nullptr}, RealFile{"ekf2/sieb1.grb", nullptr}, RealFile{"ekf2/stp0.grb", nullptr},
        RealFile{"ekf2/stp1.grb", nullptr}, RealFile{"exposure/example.grb", nullptr},
        RealFile{"amacro-ref/1.grb", nullptr}, RealFile{"amacro-ref/full-ex.grb", nullptr},
        RealFile{"amacro-ref/gerbv_am_expression_bug.ger", nullptr}, RealFile{"amacro-ref/jj1.grb", nullptr},
        RealFile{"amacro-ref/limit-ex.grb", nullptr}, RealFile{"amacro-ref/stp0.grb", nullptr},
        RealFile{"am-test/am-test.gbx", nullptr}, RealFile{"hellboard/hellboard.back.gbr", nullptr},
        RealFile{"hellboard/hellboard.fab.gbr", nullptr}, RealFile{"hellboard/hellboard.front.gbr", nullptr},
        RealFile{"hellboard/hellboard.group1.gbr", nullptr}, RealFile{"hellboard/hellboard.group2.gbr", nullptr},
        RealFile{"dan/top.gbx", nullptr}, RealFile{"dan/top_sr.gbx", nullptr}, RealFile{"cslk/cslk.gbx", nullptr},
        RealFile{"numpres/numpres.pcb.output_componentmask.grb", nullptr},
        RealFile{"numpres/numpres.pcb.output_componentsilk.grb", nullptr},
        RealFile{"numpres/numpres.pcb.output_group1.grb", nullptr},
        RealFile{"numpres/numpres.pcb.output_group2.grb", nullptr},
        RealFile{"numpres/numpres.pcb.output_plated-drill.grb", "Excellon"},
        RealFile{"numpres/numpres.pcb.output_soldermask.grb", nullptr},
        RealFile{"numpres/numpres.pcb.output_unplated-drill.grb", "Excellon"}, RealFile{"jj/l1-1.grb", nullptr},
        RealFile{"jj/l1-2.grb", nullptr}, RealFile{"jj/l1-3.grb", nullptr}, RealFile{"jj/l1-orig.grb", nullptr},
        RealFile{"uwe/example.gbr", nullptr}, RealFile{"eaglecad1/top-cop.gbx", nullptr},
        RealFile{"Mentor-BoardStation/artwork_1.grb", nullptr}, RealFile{"trailing/cd1r2.1_sieb0.off", nullptr},
        RealFile{"trailing/cd1r2.1_sieb1.off", nullptr}, RealFile{"polarity/6_vbat.gbr", nullptr},
        RealFile{"nollezappare/AssemblyTop.gdo", nullptr}, RealFile{"nollezappare/EtchLayer2Bottom.gdo", nullptr},
        RealFile{"orcad/rs232_cm.asb", nullptr}, RealFile{"orcad/rs232_cm.ast", nullptr},
        RealFile{"orcad/rs232_cm.bot", nullptr}, RealFile{"orcad/rs232_cm.smb", nullptr},
        RealFile{"orcad/rs232_cm.smt", nullptr}, RealFile{"orcad/rs232_cm.ssb", nullptr},
        RealFile{"orcad/rs232_cm.sst", nullptr}, RealFile{"orcad/rs232_cm.top", nullptr},
        RealFile{"pick-and-place/LED.frontsilk.gbr", nullptr}),
    Name);

}  // namespace
}  // namespace gerberx
