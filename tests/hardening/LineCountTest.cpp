// The statement reader counts line ends for its messages; a file with more than 2^31 of them
// (a few gigabytes of line feeds) must not overflow the count. The count starts near its limit
// here instead of reading such a file.

#include <cstdint>

#include "ImportFixture.h"
#include "apertures/ApertureFile.h"
#include "gerber/GerberRun.h"
#include "gerber/StatementReader.h"
#include "host/TextFile.h"

namespace zz::hardening {
namespace {

using LineCount = ImportFixture;

TEST_F(LineCount, StopsAtTheLargest32BitValue) {
  const std::string path = Write("lines.gbr", "\r\n\r\n\n\n\nX1*\r\n");
  TextFile file;
  ASSERT_TRUE(file.Open(path.c_str()));
  TApertureFile table;
  TGerberState state;
  GerberRun run(file, table, nullptr, state);
  run.LineNumber = INT32_MAX - 2;

  EXPECT_EQ(ReadStatement(run).View(), "X1*");  // line feeds between statements only separate them
  EXPECT_EQ(run.LineNumber, INT32_MAX);
  EXPECT_EQ(run.StatementLine, INT32_MAX);
  ReadStatement(run);
  EXPECT_EQ(run.LineNumber, INT32_MAX);
}

}  // namespace
}  // namespace zz::hardening
