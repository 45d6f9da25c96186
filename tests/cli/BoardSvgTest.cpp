#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <sstream>

#include "QueryFields.h"
#include "cli/BoardSvg.h"
#include "standin/Registration.h"
#include "standin/Server.h"

#ifdef ZZ_HAVE_TINYXML2
#include <tinyxml2.h>
#endif

namespace zzcli {
namespace {

using standin::Reset;
using standin::TheServer;

constexpr int32_t kMm = static_cast<int32_t>(10000.0 / 0.0254);

// Element nesting and attribute quoting: enough of XML well-formedness to catch a writer slip.
::testing::AssertionResult IsWellFormed(const std::string& xml) {
  if (xml.rfind("<?xml", 0) != 0) return ::testing::AssertionFailure() << "no prolog";
  auto isName = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-'; };
  std::vector<std::string> open;
  std::size_t i = xml.find("?>") + 2;
  while ((i = xml.find_first_of("<>", i)) != std::string::npos) {
    if (xml[i] == '>') return ::testing::AssertionFailure() << "stray > at " << i;
    const std::size_t start = i++;
    const bool closing = xml[i] == '/';
    if (closing) ++i;
    const std::size_t nameStart = i;
    while (i < xml.size() && isName(xml[i])) ++i;
    const std::string name = xml.substr(nameStart, i - nameStart);
    while (!closing && i < xml.size() && xml[i] == ' ') {  // attributes: name="value"
      const std::size_t attribute = ++i;
      while (i < xml.size() && isName(xml[i])) ++i;
      const std::size_t close = xml.find('"', i + 2);
      if (i == attribute || xml.compare(i, 2, "=\"") != 0 || close == std::string::npos ||
          xml.substr(i + 2, close - i - 2).find_first_of("<>&") != std::string::npos) {
        return ::testing::AssertionFailure() << "bad attribute in " << xml.substr(start, 40);
      }
      i = close + 1;
    }
    const bool selfClosing = !closing && xml.compare(i, 2, "/>") == 0;
    if (name.empty() || (!selfClosing && xml.compare(i, 1, ">") != 0)) {
      return ::testing::AssertionFailure() << "bad tag " << xml.substr(start, 40);
    }
    i += selfClosing ? 2 : 1;
    if (closing) {
      if (open.empty() || open.back() != name) return ::testing::AssertionFailure() << "stray </" << name;
      open.pop_back();
    } else if (!selfClosing) {
      open.push_back(name);
    }
  }
  if (!open.empty()) return ::testing::AssertionFailure() << "unclosed <" << open.back();
  return ::testing::AssertionSuccess();
}

std::vector<double> Numbers(const std::string& svg, const std::string& element, const std::string& attribute) {
  const std::size_t tag = svg.find("<" + element + " ");
  const std::size_t at = svg.find(" " + attribute + "=\"", tag);
  std::vector<double> values;
  if (tag == std::string::npos || at == std::string::npos) return values;
  const std::size_t from = at + attribute.size() + 3;
  std::istringstream in(svg.substr(from, svg.find('"', from) - from));
  for (double v; in >> v;) values.push_back(v);
  return values;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t i = text.find(part); i != std::string::npos; i = text.find(part, i + 1)) ++n;
  return n;
}

class BoardSvgDrawing : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  std::string Svg() {
    std::string svg = BoardSvg(TheServer().Objects(), TheServer().Boards().CurrentBoard());
    EXPECT_TRUE(IsWellFormed(svg)) << svg;
    return svg;
  }
};

TEST_F(BoardSvgDrawing, ViewBoxFramesTheObjectsInMillimetresWithYUp) {
  standin::test::Place<standin::test::Track>(
      4, [](standin::test::Track& t) { t = standin::test::Track{t.C, 0, 5 * kMm, 10 * kMm, 5 * kMm, kMm}; });
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
  EXPECT_EQ(
      Numbers(BoardSvg(TheServer().Objects(), *TheServer().Boards().FindBoard(TheServer().Boards().CreateBoard())),
              "svg", "viewBox")
          .size(),
      4U);  // an empty board still gets a frame
}

TEST_F(BoardSvgDrawing, ArcsRunCounterClockwiseAndFullCirclesAreCircles) {
  for (const auto& [start, end] : {std::pair{0.0, 90.0}, {270.0, 0.0}, {0.0, 360.0}, {0.0, 270.0}}) {
    standin::test::Place<standin::test::Arc>(
        1, [&](standin::test::Arc& a) { a = standin::test::Arc{a.C, 0, 0, 2 * kMm, start, end, 1000}; });
  }
  const std::string svg = Svg();
  // From (2, 0) to (0, 2) mm: SVG y is flipped, so sweep flag 0; small arcs.
  EXPECT_NE(svg.find("d=\"M 2 0 A 2 2 0 0 0 0 -2\""), std::string::npos) << svg;
  EXPECT_NE(svg.find("d=\"M 0 2 A 2 2 0 0 0 2 0\""), std::string::npos) << svg;  // 270 -> 0 passes 360
  EXPECT_NE(svg.find("<circle cx=\"0\" cy=\"0\" r=\"2\" fill=\"none\""), std::string::npos) << svg;
  EXPECT_NE(svg.find("d=\"M 2 0 A 2 2 0 1 0 0 2\""), std::string::npos) << svg;  // three quarters: the large arc
}

TEST_F(BoardSvgDrawing, PadsAndFillsTakeTheirShapes) {
  for (const auto& [shape, x, y] :
       {std::tuple{1, kMm, kMm}, {1, 2 * kMm, kMm}, {2, kMm, kMm}, {3, kMm, kMm}, {5, kMm, kMm}}) {
    standin::test::Place<standin::test::Pad>(2, [&](standin::test::Pad& p) {
      p.TopX = x;
      p.TopY = y;
      p.TopShape = static_cast<uint8_t>(shape);
    });
  }
  standin::test::Place<standin::test::Fill>(6, [](standin::test::Fill& f) {
    f.X2 = kMm;
    f.Y2 = 2 * kMm;
  });
  const std::string svg = Svg();
  EXPECT_EQ(Count(svg, "<circle "), 1U) << svg;          // the relief pad
  EXPECT_NE(svg.find("rx=\"0.5\""), std::string::npos);  // the stadium
  EXPECT_NE(svg.find("<polygon "), std::string::npos);   // the octagon
  // The fill, the rectangle pad and the round pad as parts of one path.
  EXPECT_EQ(Count(svg, "<path "), 1U) << svg;
  EXPECT_NE(svg.find("M0 -2L1 -2L1 0L0 0Z"), std::string::npos) << svg;
  EXPECT_NE(svg.find("M-0.5 0A0.5 0.5 0 1 1 0.5 0A0.5 0.5 0 1 1 -0.5 0Z"), std::string::npos) << svg;
}

// Abutting and overlapping fills and pads of any rotation: one path, each part clockwise as seen
// (a part the other way round would cut a hole where it overlaps another), holes drawn over all.
TEST_F(BoardSvgDrawing, AreasShareOnePathEachPartClockwise) {
  for (const double rotation : {0.0, 30.0, 90.0, 200.0}) {
    standin::test::Place<standin::test::Fill>(6, [&](standin::test::Fill& f) {
      f.X2 = 2 * kMm;
      f.Y2 = kMm;
      f.Rotation = rotation;
    });
    standin::test::Place<standin::test::Pad>(2, [&](standin::test::Pad& p) {
      p.X = 2 * kMm;
      p.TopX = p.TopY = kMm;
      p.TopShape = 2;  // rectangle
      p.Hole = kMm / 2;
      p.Rotation = rotation;
    });
  }
  const std::string svg = Svg();
  ASSERT_EQ(Count(svg, "<path "), 1U) << svg;
  const std::size_t from = svg.find("d=\"", svg.find("<path ")) + 3;
  std::istringstream d(svg.substr(from, svg.find('"', from) - from));
  std::vector<std::pair<double, double>> part;
  int parts = 0;
  for (char command = 0; d >> command;) {
    if (command == 'Z') {
      double twiceArea = 0;  // shoelace in the drawing's y-down frame: positive when clockwise as seen
      for (std::size_t i = 0; i < part.size(); ++i) {
        const auto& [x1, y1] = part[i];
        const auto& [x2, y2] = part[(i + 1) % part.size()];
        twiceArea += x1 * y2 - x2 * y1;
      }
      EXPECT_GT(twiceArea, 0.0) << "part " << parts << " of " << svg;
      part.clear();
      ++parts;
      continue;
    }
    double x = 0;
    double y = 0;
    d >> x >> y;
    part.emplace_back(x, y);
  }
  EXPECT_EQ(parts, 8);
  // The holes come after the path, so that nothing covers them.
  EXPECT_EQ(Count(svg.substr(svg.find("<path ")), "fill=\"#0b1a14\""), 4U) << svg;
}

#ifdef ZZ_HAVE_TINYXML2
// Each layer its own group, id its name, drawn bottom side first; the legend names each layer
// with its files, and a file name that is markup stays text.
TEST_F(BoardSvgDrawing, LayeredBoardHasAGroupPerLayerAndALegend) {
  for (const uint32_t layer : {1U, 32U, 1U, 56U}) {
    standin::test::Place<standin::test::Track>(4, [&](standin::test::Track& t) {
      t = standin::test::Track{t.C, 0, 0, 10 * kMm, 5 * kMm, kMm};
      t.C.LayerId = layer;
    });
  }
  const std::string svg = LayeredBoardSvg(TheServer().Objects(), TheServer().Boards().CurrentBoard(),
                                          {{1, "top.gtl"}, {32, "<b&b>.gbl"}, {56, "outline.gko"}, {33, "silk.gto"}});
  tinyxml2::XMLDocument doc;
  ASSERT_EQ(doc.Parse(svg.c_str()), tinyxml2::XML_SUCCESS) << doc.ErrorStr() << '\n' << svg;
  std::vector<std::string> groups;
  std::map<std::string, int> drawn;
  std::set<std::string> colours;
  std::vector<std::string> legend;
  for (const tinyxml2::XMLElement* g = doc.RootElement()->FirstChildElement("g"); g != nullptr;
       g = g->NextSiblingElement("g")) {
    const std::string id = g->Attribute("id") != nullptr ? g->Attribute("id") : "";
    if (id == "legend") {
      for (const auto* t = g->FirstChildElement("text"); t != nullptr; t = t->NextSiblingElement("text")) {
        legend.emplace_back(t->GetText());
      }
      continue;
    }
    groups.push_back(id);
    colours.insert(g->Attribute("fill") != nullptr ? g->Attribute("fill") : "");
    for (const auto* e = g->FirstChildElement(); e != nullptr; e = e->NextSiblingElement()) ++drawn[id];
  }
  EXPECT_EQ(groups, (std::vector<std::string>{"BottomLayer", "TopLayer", "TopOverlay", "KeepOutLayer"}));
  EXPECT_EQ(colours.size(), groups.size());
  EXPECT_EQ(drawn, (std::map<std::string, int>{{"BottomLayer", 1}, {"TopLayer", 2}, {"KeepOutLayer", 1}}));
  EXPECT_EQ(legend, (std::vector<std::string>{"BottomLayer: <b&b>.gbl", "TopLayer: top.gtl", "TopOverlay: silk.gto",
                                              "KeepOutLayer: outline.gko"}));
}
#endif

}  // namespace
}  // namespace zzcli
