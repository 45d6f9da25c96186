#include <string>
#include <vector>

#include "GerberTestSupport.h"

namespace zz::testing {
namespace {

using namespace std::string_literals;
using Statements = std::vector<std::string>;

class StatementReaderTest : public GerberFixture {};

TEST_F(StatementReaderTest, SplitsTheFileIntoStatements) {
  const std::string longData = "G04 " + std::string(400, 'x') + "*";
  const std::string longParameter = "%AMX*" + std::string(300, '1') + "*%";
  const struct {
    std::string Bytes;
    Statements Expected;
  } cases[] = {
      // After the last line end one more statement, a single NUL, is read.
      {"%FSLAX24Y24*%\r\nG04 title*\r\nD10*X1Y2D01*\r\n", {"%FSLAX24Y24*%", "G04 title*", "D10*", "X1Y2D01*", "\0"s}},
      {"%ADD10C,\r\n0.01*\r\nADD11C,0.02*%X1*", {"%ADD10C,0.01*ADD11C,0.02*%", "X1*"}},
      {"X1*\rY2*dropped\nY3*", {"X1*", "Y3*"}},  // a line end runs from CR through the next LF
      {"X1*\nY2*\n", {"X1*", "Y2*", "\0"s}},  // line feeds between statements separate them
      {"%FSLAX24Y24*%\n%MOIN*%\n%ADD10C,\n0.01*%\nX1*\n", {"%FSLAX24Y24*%", "%MOIN*%", "%ADD10C,\n0.01*%", "X1*", "\0"s}},
      {"X1\nY2*", {"X1\nY2*"}},  // inside a statement a lone LF is an ordinary character
      {"X1*\x1AY2*", {"X1*"}},
      {"X1*\r\n\x1A\r\nY2*", {"X1*", "\0"s}},
      {"\0\0X1*\0Y2*X3\0Y4*"s, {"X1*", "Y2*", "X3\0Y4*"s}},  // NULs are skipped only before a statement
      {"X1*Y12", {"X1*", "Y12"}},
      {"%", {"%\0"s}},
      {"", {"\0"s}},
      {longData + "X1*", {longData.substr(0, 255), "X1*"}},
      {longParameter + "D10*", {longParameter.substr(0, 255), "D10*"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadAll(c.Bytes), c.Expected) << QuotedStatement(c.Bytes);
}

TEST_F(StatementReaderTest, ProgressAdvancesOncePerCharacterAndOncePerLineEnd) {
  ReadAll("AB*\rjunk\nC*\r\n");  // 5 characters, 2 line ends
  EXPECT_EQ(g_progressSteps, 7);
}

TEST_F(StatementReaderTest, StatementLineIsWhereItsTextBegins) {
  for (const char* bytes : {"G04*\r\nX1*\r\n\r\nX2\r\nY3*\r\nD+*", "G04*\nX1*\n\nX2\nY3*\nD+*"}) {
    GerberRun& run = Open(bytes);
    std::vector<int32_t> lines;
    for (int i = 0; i < 4; ++i) {
      ReadStatement(run);
      lines.push_back(run.StatementLine);
    }
    EXPECT_EQ(lines, (std::vector<int32_t>{1, 2, 4, 6})) << QuotedStatement(bytes);
  }
}

TEST(QuotedStatement, ShowsControlCharactersAsBlanksAndTrimsThem) {
  const struct {
    std::string Statement;
    std::string Quoted;
  } cases[] = {
      {"X1Y2D01*", "\"X1Y2D01*\""},
      {"X1\r\nY2\t*", "\"X1  Y2 *\""},
      {"\x01\x1F\x7F" "D10*\0"s, "\"D10*\""},
      {"%AM\x1BX*%", "\"%AM X*%\""},
      {"\xB0\x80*", "\"\xB0\x80*\""},  // bytes above 127 are kept
      {"\r\n\0"s, "\"\""},
  };
  for (const auto& c : cases) EXPECT_EQ(QuotedStatement(c.Statement), c.Quoted);
}

}  // namespace
}  // namespace zz::testing
