#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "QueryFields.h"
#include "standin/BoardSvg.h"
#include "standin/Registration.h"

namespace standin {
namespace {

using zz::kFetch;
using zz::kStore;

constexpr double kUnitsPerMm = 10000.0 / 0.0254;

// Element nesting and attribute quoting: enough of XML well-formedness to catch a writer slip.
::testing::AssertionResult IsWellFormed(const std::string& xml) {
  std::vector<std::string> open;
  std::size_t pos = xml.find("?>");
  if (xml.rfind("<?xml", 0) != 0 || pos == std::string::npos) return ::testing::AssertionFailure() << "no prolog";
  pos += 2;
  const std::regex attribute(R"(\s+[A-Za-z_:][-A-Za-z0-9_:.]*="[^"<&]*")");
  const std::regex name(R"(^[A-Za-z_:][-A-Za-z0-9_:.]*)");
  while ((pos = xml.find('<', pos)) != std::string::npos) {
    const std::size_t end = xml.find('>', pos);
    if (end == std::string::npos) return ::testing::AssertionFailure() << "unclosed tag at " << pos;
    std::string tag = xml.substr(pos + 1, end - pos - 1);
    pos = end + 1;
    if (!tag.empty() && tag[0] == '/') {
      if (open.empty() || open.back() != tag.substr(1)) return ::testing::AssertionFailure() << "stray </" << tag;
      open.pop_back();
      continue;
    }
    const bool selfClosing = !tag.empty() && tag.back() == '/';
    if (selfClosing) tag.pop_back();
    std::smatch m;
    if (!std::regex_search(tag, m, name)) return ::testing::AssertionFailure() << "bad tag <" << tag;
    const std::string element = m.str();
    const std::string rest = std::regex_replace(tag.substr(element.size()), attribute, "");
    if (rest.find_first_not_of(" \n") != std::string::npos) {
      return ::testing::AssertionFailure() << "bad attributes in <" << tag;
    }
    if (!selfClosing) open.push_back(element);
  }
  if (!open.empty()) return ::testing::AssertionFailure() << "unclosed <" << open.back();
  return ::testing::AssertionSuccess();
}

std::vector<double> Numbers(const std::string& text) {
  std::istringstream in(text);
  std::vector<double> values;
  double v = 0;
  while (in >> v) values.push_back(v);
  return values;
}

std::string Attribute(const std::string& svg, const std::string& element, const std::string& attribute) {
  const std::regex pattern("<" + element + "[^>]*\\s" + attribute + "=\"([^\"]*)\"");
  std::smatch m;
  return std::regex_search(svg, m, pattern) ? m[1].str() : std::string("<missing>");
}

class BoardSvgDrawing : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  zz::THandle Add(uint8_t kind) {
    const zz::THandle h = PcbApi_CreateObject(kind);
    PcbApi_AddObjectToContainer(PcbApi_GetCurrentBoardHandle(), h);
    return h;
  }
  std::string Svg() { return BoardSvg(TheServer(), TheServer().CurrentBoard()); }
};

TEST_F(BoardSvgDrawing, ViewBoxFramesTheObjectsInMillimetresWithYUp) {
  const zz::THandle h = Add(4);
  test::Track t;
  t.Query(kFetch, h);
  t.X = 0;
  t.Y = static_cast<int32_t>(5 * kUnitsPerMm);
  t.X2 = static_cast<int32_t>(10 * kUnitsPerMm);
  t.Y2 = t.Y;
  t.Width = static_cast<int32_t>(1 * kUnitsPerMm);
  t.Query(kStore, h);

  const std::string svg = Svg();
  ASSERT_TRUE(IsWellFormed(svg)) << svg;
  // Bounds x -0.5..10.5, y 4.5..5.5; margin 0.5 mm + 2 % of 11 mm.
  const std::vector<double> box = Numbers(Attribute(svg, "svg", "viewBox"));
  ASSERT_EQ(box.size(), 4U);
  EXPECT_NEAR(box[0], -1.22, 1e-3);
  EXPECT_NEAR(box[1], -6.22, 1e-3);  // the top edge, y flipped
  EXPECT_NEAR(box[2], 12.44, 1e-3);
  EXPECT_NEAR(box[3], 2.44, 1e-3);
  EXPECT_EQ(Attribute(svg, "svg", "width"), "12.44mm");
  EXPECT_NEAR(std::stod(Attribute(svg, "line", "y1")), -5.0, 1e-3);
  EXPECT_NEAR(std::stod(Attribute(svg, "line", "stroke-width")), 1.0, 1e-3);
  EXPECT_NE(svg.find("stroke-linecap=\"round\""), std::string::npos);
}

TEST_F(BoardSvgDrawing, ArcsRunCounterClockwiseAndFullCirclesAreCircles) {
  const zz::THandle quarter = Add(1);
  test::Arc a;
  a.Query(kFetch, quarter);
  a.Radius = static_cast<int32_t>(2 * kUnitsPerMm);
  a.StartAngle = 0.0;
  a.EndAngle = 90.0;
  a.LineWidth = 1000;
  a.Query(kStore, quarter);
  const zz::THandle wrapped = Add(1);  // end below start: 270 -> 0 is a quarter through 360
  a.StartAngle = 270.0;
  a.EndAngle = 0.0;
  a.Query(kStore, wrapped);
  const zz::THandle circle = Add(1);
  a.StartAngle = 0.0;
  a.EndAngle = 360.0;
  a.Query(kStore, circle);

  const std::string svg = Svg();
  ASSERT_TRUE(IsWellFormed(svg)) << svg;
  // From (2, 0) to (0, 2) mm; SVG y is flipped, sweep flag 0, small arc.
  EXPECT_NE(svg.find("d=\"M 2 0 A 2 2 0 0 0 0 -2\""), std::string::npos) << svg;
  EXPECT_NE(svg.find("d=\"M 0 2 A 2 2 0 0 0 2 0\""), std::string::npos) << svg;
  EXPECT_NE(svg.find("<circle cx=\"0\" cy=\"0\" r=\"2\" fill=\"none\""), std::string::npos) << svg;
}

TEST_F(BoardSvgDrawing, PadsAndFillsTakeTheirShapes) {
  const int32_t mm = static_cast<int32_t>(kUnitsPerMm);
  const struct {
    uint8_t Shape;
    int32_t X, Y;
  } pads[] = {{1, mm, mm}, {1, 2 * mm, mm}, {2, mm, mm}, {3, mm, mm}, {5, mm, mm}};
  for (const auto& p : pads) {
    const zz::THandle h = Add(2);
    test::Pad pad;
    pad.Query(kFetch, h);
    pad.TopX = p.X;
    pad.TopY = p.Y;
    pad.TopShape = p.Shape;
    pad.Query(kStore, h);
  }
  const zz::THandle f = Add(6);
  test::Fill fill;
  fill.Query(kFetch, f);
  fill.X2 = mm;
  fill.Y2 = 2 * mm;
  fill.Query(kStore, f);

  const std::string svg = Svg();
  ASSERT_TRUE(IsWellFormed(svg)) << svg;
  const std::regex circle("<circle ");
  EXPECT_EQ(std::distance(std::sregex_iterator(svg.begin(), svg.end(), circle), std::sregex_iterator()),
            2);                                          // the round pad and the relief pad
  EXPECT_NE(svg.find("rx=\"0.5\""), std::string::npos);  // the stadium
  EXPECT_NE(svg.find("<polygon "), std::string::npos);   // the octagon
  EXPECT_NE(svg.find("<rect x=\"0\" y=\"-2\" width=\"1\" height=\"2\" stroke=\"none\"/>"), std::string::npos) << svg;
}

TEST_F(BoardSvgDrawing, AnEmptyBoardStillGivesAFramedDrawing) {
  const std::string svg = Svg();
  ASSERT_TRUE(IsWellFormed(svg)) << svg;
  EXPECT_EQ(Numbers(Attribute(svg, "svg", "viewBox")).size(), 4U);
}

}  // namespace
}  // namespace standin
