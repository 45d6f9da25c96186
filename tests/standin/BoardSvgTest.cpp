#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "QueryFields.h"
#include "standin/BoardSvg.h"
#include "standin/Registration.h"

namespace standin {
namespace {

constexpr int32_t kMm = static_cast<int32_t>(10000.0 / 0.0254);

// Element nesting and attribute quoting: enough of XML well-formedness to catch a writer slip.
::testing::AssertionResult IsWellFormed(const std::string& xml) {
  if (xml.rfind("<?xml", 0) != 0) return ::testing::AssertionFailure() << "no prolog";
  const std::regex tag(R"(<(/?)([A-Za-z]+)((?:\s+[a-zA-Z][-a-zA-Z0-9]*="[^"<&]*")*)\s*(/?)>)");
  std::vector<std::string> open;
  const std::size_t body = xml.find("?>") + 2;
  std::size_t last = body;  // between tags there may be no stray "<" or ">"
  for (auto it = std::sregex_iterator(xml.begin() + static_cast<long>(body), xml.end(), tag);
       it != std::sregex_iterator(); ++it) {
    const std::size_t at = body + static_cast<std::size_t>(it->position(0));
    if (xml.substr(last, at - last).find_first_of("<>") != std::string::npos) {
      return ::testing::AssertionFailure() << "malformed tag before " << it->str();
    }
    last = at + static_cast<std::size_t>(it->length(0));
    if ((*it)[1] == "/") {
      if (open.empty() || open.back() != (*it)[2]) return ::testing::AssertionFailure() << "stray " << it->str();
      open.pop_back();
    } else if ((*it)[4] != "/") {
      open.push_back((*it)[2]);
    }
  }
  if (xml.substr(last).find_first_of("<>") != std::string::npos) return ::testing::AssertionFailure() << "tail";
  if (!open.empty()) return ::testing::AssertionFailure() << "unclosed <" << open.back();
  return ::testing::AssertionSuccess();
}

std::vector<double> Numbers(const std::string& svg, const std::string& element, const std::string& attribute) {
  std::smatch m;
  std::regex_search(svg, m, std::regex("<" + element + "[^>]*\\s" + attribute + "=\"([^\"]*)\""));
  std::istringstream in(m[1].str());
  std::vector<double> values;
  for (double v; in >> v;) values.push_back(v);
  return values;
}

class BoardSvgDrawing : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  std::string Svg() {
    std::string svg = BoardSvg(TheServer(), TheServer().CurrentBoard());
    EXPECT_TRUE(IsWellFormed(svg)) << svg;
    return svg;
  }
};

TEST_F(BoardSvgDrawing, ViewBoxFramesTheObjectsInMillimetresWithYUp) {
  test::Place<test::Track>(4, [](test::Track& t) { t = test::Track{t.C, 0, 5 * kMm, 10 * kMm, 5 * kMm, kMm}; });
  const std::string svg = Svg();
  // Bounds x -0.5..10.5, y 4.5..5.5 mm; margin 0.5 mm + 2 % of 11 mm; the top edge flipped.
  const std::vector<double> box = Numbers(svg, "svg", "viewBox");
  ASSERT_EQ(box.size(), 4U);
  EXPECT_NEAR(box[0], -1.22, 1e-3);
  EXPECT_NEAR(box[1], -6.22, 1e-3);
  EXPECT_NEAR(box[2], 12.44, 1e-3);
  EXPECT_NEAR(box[3], 2.44, 1e-3);
  EXPECT_NE(svg.find("width=\"12.44mm\" height=\"2.44mm\""), std::string::npos);
  EXPECT_NE(svg.find("<line x1=\"0\" y1=\"-5\" x2=\"10\" y2=\"-5\" stroke-width=\"1\"/>"), std::string::npos) << svg;
  EXPECT_NE(svg.find("stroke-linecap=\"round\""), std::string::npos);
  EXPECT_EQ(Numbers(BoardSvg(TheServer(), *TheServer().FindBoard(TheServer().CreateBoard())), "svg", "viewBox").size(),
            4U);  // an empty board still gets a frame
}

TEST_F(BoardSvgDrawing, ArcsRunCounterClockwiseAndFullCirclesAreCircles) {
  for (const auto& [start, end] : {std::pair{0.0, 90.0}, {270.0, 0.0}, {0.0, 360.0}}) {
    test::Place<test::Arc>(1, [&](test::Arc& a) { a = test::Arc{a.C, 0, 0, 2 * kMm, start, end, 1000}; });
  }
  const std::string svg = Svg();
  // From (2, 0) to (0, 2) mm: SVG y is flipped, so sweep flag 0; small arcs.
  EXPECT_NE(svg.find("d=\"M 2 0 A 2 2 0 0 0 0 -2\""), std::string::npos) << svg;
  EXPECT_NE(svg.find("d=\"M 0 2 A 2 2 0 0 0 2 0\""), std::string::npos) << svg;  // 270 -> 0 passes 360
  EXPECT_NE(svg.find("<circle cx=\"0\" cy=\"0\" r=\"2\" fill=\"none\""), std::string::npos) << svg;
}

TEST_F(BoardSvgDrawing, PadsAndFillsTakeTheirShapes) {
  for (const auto& [shape, x, y] :
       {std::tuple{1, kMm, kMm}, {1, 2 * kMm, kMm}, {2, kMm, kMm}, {3, kMm, kMm}, {5, kMm, kMm}}) {
    test::Place<test::Pad>(2, [&](test::Pad& p) {
      p.TopX = x;
      p.TopY = y;
      p.TopShape = static_cast<uint8_t>(shape);
    });
  }
  test::Place<test::Fill>(6, [](test::Fill& f) {
    f.X2 = kMm;
    f.Y2 = 2 * kMm;
  });
  const std::string svg = Svg();
  const std::regex circle("<circle ");
  EXPECT_EQ(std::distance(std::sregex_iterator(svg.begin(), svg.end(), circle), std::sregex_iterator()), 2)
      << svg;                                            // the round pad and the relief pad
  EXPECT_NE(svg.find("rx=\"0.5\""), std::string::npos);  // the stadium
  EXPECT_NE(svg.find("<polygon "), std::string::npos);   // the octagon
  EXPECT_NE(svg.find("<rect x=\"0\" y=\"-2\" width=\"1\" height=\"2\" stroke=\"none\"/>"), std::string::npos) << svg;
}

}  // namespace
}  // namespace standin
