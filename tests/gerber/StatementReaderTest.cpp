#include <string>
#include <vector>

#include "GerberTestSupport.h"

namespace zz::testing {
namespace {

using Statements = std::vector<std::string>;
using namespace std::string_literals;

class StatementReaderTest : public GerberFixture {};

TEST_F(StatementReaderTest, SplitsDataAndParameterStatementsAndEndsWithOneNul) {
  EXPECT_EQ(ReadAll("%FSLAX24Y24*%\r\nG04 title*\r\nD10*X1Y2D01*\r\n"),
            (Statements{"%FSLAX24Y24*%", "G04 title*", "D10*", "X1Y2D01*", "\0"s}));
}

TEST_F(StatementReaderTest, ParameterStatementKeepsItsAsterisksAndSpansLines) {
  EXPECT_EQ(ReadAll("%ADD10C,\r\n0.01*\r\nADD11C,0.02*%X1*"),
            (Statements{"%ADD10C,0.01*ADD11C,0.02*%", "X1*"}));
}

TEST_F(StatementReaderTest, LineEndRunsFromCarriageReturnThroughTheNextLineFeed) {
  // The characters between a lone carriage return and the next line feed are skipped with it.
  EXPECT_EQ(ReadAll("X1*\rY2*dropped\nY3*"), (Statements{"X1*", "Y3*"}));
}

TEST_F(StatementReaderTest, LoneLineFeedsAreOrdinaryCharacters) {
  EXPECT_EQ(ReadAll("X1*\nY2*\n"), (Statements{"X1*", "\nY2*", "\n"}));
}

TEST_F(StatementReaderTest, CtrlZEndsTheFile) {
  EXPECT_EQ(ReadAll("X1*\x1AY2*"), (Statements{"X1*"}));
  EXPECT_EQ(ReadAll("X1*\r\n\x1A\r\nY2*"), (Statements{"X1*", "\0"s}));
}

TEST_F(StatementReaderTest, NulCharactersBeforeAStatementAreSkipped) {
  EXPECT_EQ(ReadAll("\0\0X1*\0Y2*X3\0Y4*"s), (Statements{"X1*", "Y2*", "X3\0Y4*"s}));
}

TEST_F(StatementReaderTest, UnterminatedLastStatementKeepsItsLastCharacter) {
  EXPECT_EQ(ReadAll("X1*Y12"), (Statements{"X1*", "Y12"}));
  EXPECT_EQ(ReadAll("%MOIN"), (Statements{"%MOIN"}));
  EXPECT_EQ(ReadAll("%"), (Statements{"%\0"s}));
}

TEST_F(StatementReaderTest, EmptyFileGivesOneNulStatement) { EXPECT_EQ(ReadAll(""), (Statements{"\0"s})); }

TEST_F(StatementReaderTest, LongStatementKeeps255CharactersAndDropsTheRest) {
  const std::string longData = "G04 " + std::string(400, 'x') + "*";
  const Statements statements = ReadAll(longData + "X1*");
  ASSERT_EQ(statements.size(), 2u);
  EXPECT_EQ(statements[0], longData.substr(0, 255));
  EXPECT_EQ(statements[1], "X1*");

  const std::string longParameter = "%AMX*" + std::string(300, '1') + "*%";
  const Statements parameters = ReadAll(longParameter + "D10*");
  ASSERT_EQ(parameters.size(), 2u);
  EXPECT_EQ(parameters[0], longParameter.substr(0, 255));
  EXPECT_EQ(parameters[1], "D10*");
}

TEST_F(StatementReaderTest, ProgressAdvancesOncePerCharacterAndOncePerLineEnd) {
  // 5 characters and 2 line ends; the junk inside the first line end is part of it.
  ReadAll("AB*\rjunk\nC*\r\n");
  EXPECT_EQ(g_progressSteps, 7);
}

TEST_F(StatementReaderTest, CountsLinesForMessages) {
  GerberRun& run = Open("G04*\r\nX1*\r\n\r\n%ADD10\r\nC,1*%\r\nD+*");
  const auto lineOf = [&run] {
    ReadStatement(run);
    return run.StatementLine;
  };
  EXPECT_EQ(lineOf(), 1);
  EXPECT_EQ(lineOf(), 2);
  EXPECT_EQ(lineOf(), 4);  // a statement spanning lines is placed where it begins
  EXPECT_EQ(lineOf(), 6);
}

TEST_F(StatementReaderTest, CountsLinesOfLineFeedFiles) {
  GerberRun& run = Open("G04*\nX1*\n\nD+*");
  ReadStatement(run);
  ReadStatement(run);
  EXPECT_EQ(run.StatementLine, 2);
  ReadStatement(run);
  EXPECT_EQ(run.StatementLine, 4);  // its text starts after the feeds it took in
}

TEST(QuotedStatementTest, ShowsControlCharactersAsBlanks) {
  EXPECT_EQ(QuotedStatement("\nD+*"), "\"D+*\"");
  EXPECT_EQ(QuotedStatement("%ADD10C,\n1*%"), "\"%ADD10C, 1*%\"");
  EXPECT_EQ(QuotedStatement(std::string(1, '\0')), "\"\"");
}

}  // namespace
}  // namespace zz::testing
