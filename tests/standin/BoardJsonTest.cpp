#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "QueryFields.h"
#include "standin/BoardJson.h"
#include "standin/Registration.h"

namespace standin {
namespace {

using nlohmann::ordered_json;
using zz::kFetch;
using zz::kStore;

std::vector<std::string> KeysOf(const ordered_json& object) {
  std::vector<std::string> keys;
  for (const auto& item : object.items()) keys.push_back(item.key());
  return keys;
}

class BoardJsonDump : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }

  zz::THandle Add(uint8_t kind) {
    const zz::THandle h = PcbApi_CreateObject(kind);
    EXPECT_EQ(PcbApi_AddObjectToContainer(PcbApi_GetCurrentBoardHandle(), h), 0);
    return h;
  }
  ordered_json Dump(const DumpHeader& header = {}) {
    const std::string text = BoardJson(TheServer(), TheServer().CurrentBoard(), header);
    return ordered_json::parse(text);
  }
};

TEST_F(BoardJsonDump, HeaderKeysComeInContractOrderWithTheirTypes) {
  TheServer().Messages() = {"Aperture Table Not Found", "a \"quoted\"\nline"};
  SetCurrentLayer(TheServer().CurrentBoard(), 57);
  DumpHeader header;
  header.File = "/boards/top.gtl";
  header.Recognised = true;
  header.Result = false;
  const ordered_json dump = Dump(header);
  EXPECT_EQ(KeysOf(dump), (std::vector<std::string>{"format", "file", "recognised", "result", "messages",
                                                    "current_layer", "objects"}));
  EXPECT_EQ(dump["format"], "zizozudu-board/1");
  EXPECT_EQ(dump["file"], "/boards/top.gtl");
  EXPECT_EQ(dump["recognised"], true);
  EXPECT_EQ(dump["result"], false);
  EXPECT_EQ(dump["messages"], ordered_json::array({"Aperture Table Not Found", "a \"quoted\"\nline"}));
  EXPECT_TRUE(dump["current_layer"].is_number_integer());
  EXPECT_EQ(dump["current_layer"], 57);
  EXPECT_TRUE(dump["objects"].is_array());
  EXPECT_TRUE(dump["objects"].empty());
}

TEST_F(BoardJsonDump, ObjectsAppearInTheOrderAddedWithTheirKeys) {
  test::Track track;
  const zz::THandle t = PcbApi_CreateObject(4);
  track.Query(kFetch, t);
  track.X = -1;
  track.Y = 2;
  track.X2 = 3;
  track.Y2 = -4;
  track.Width = 5;
  track.C.LayerId = zz::SignalLayerId(40);  // beyond the classic range: dumped as layer 31
  track.Query(kStore, t);
  Add(2);
  Add(1);
  Add(6);
  PcbApi_AddObjectToContainer(PcbApi_GetCurrentBoardHandle(), t);
  Add(3);

  const ordered_json objects = Dump()["objects"];
  ASSERT_EQ(objects.size(), 5U);
  EXPECT_EQ(KeysOf(objects[0]),
            (std::vector<std::string>{"kind", "layer", "x", "y", "hole_size", "rotation", "top", "mid", "bot"}));
  EXPECT_EQ(KeysOf(objects[0]["top"]), (std::vector<std::string>{"x_size", "y_size", "shape"}));
  EXPECT_EQ(KeysOf(objects[1]),
            (std::vector<std::string>{"kind", "layer", "x", "y", "radius", "start_angle", "end_angle", "width"}));
  EXPECT_EQ(KeysOf(objects[2]), (std::vector<std::string>{"kind", "layer", "x1", "y1", "x2", "y2", "rotation"}));
  EXPECT_EQ(KeysOf(objects[3]), (std::vector<std::string>{"kind", "layer", "x1", "y1", "x2", "y2", "width"}));
  EXPECT_EQ(objects[3]["kind"], "track");
  EXPECT_EQ(objects[3]["layer"], 31);
  EXPECT_EQ(objects[3]["x1"], -1);
  EXPECT_EQ(objects[3]["y2"], -4);
  EXPECT_EQ(objects[3]["width"], 5);
  EXPECT_EQ(objects[4]["kind"], "via");
  EXPECT_EQ(objects[0]["layer"], 1);
  EXPECT_TRUE(objects[0]["x"].is_number_integer());
  EXPECT_TRUE(objects[0]["rotation"].is_number_float());
  EXPECT_TRUE(objects[1]["start_angle"].is_number_float());
  EXPECT_TRUE(objects[2]["rotation"].is_number_float());
}

TEST_F(BoardJsonDump, AnglesReadBackToTheSameDouble) {
  const double angles[] = {0.1, 1.0 / 3.0, static_cast<double>(-44.999992f), 360.0, 269.99998474121094, 1e-300};
  for (const double angle : angles) {
    const zz::THandle h = Add(1);
    test::Arc arc;
    arc.Query(kFetch, h);
    arc.StartAngle = angle;
    arc.EndAngle = -angle;
    arc.Query(kStore, h);
  }
  const ordered_json objects = Dump()["objects"];
  ASSERT_EQ(objects.size(), std::size(angles));
  for (std::size_t i = 0; i < std::size(angles); ++i) {
    EXPECT_EQ(objects[i]["start_angle"].get<double>(), angles[i]);
    EXPECT_EQ(objects[i]["end_angle"].get<double>(), -angles[i]);
  }
}

TEST_F(BoardJsonDump, IgnoredCountsComeLastWhenGiven) {
  DumpHeader header;
  header.Ignored = IgnoredCounts{{"aperture_macros", 2}, {"regions", 1}};
  const ordered_json dump = Dump(header);
  EXPECT_EQ(KeysOf(dump).back(), "ignored");
  EXPECT_EQ(KeysOf(dump["ignored"]), (std::vector<std::string>{"aperture_macros", "regions"}));
  EXPECT_EQ(dump["ignored"]["aperture_macros"], 2);
  EXPECT_FALSE(Dump().contains("ignored"));
}

TEST_F(BoardJsonDump, FileNamesThatAreNotUtf8StillGiveValidJson) {
  DumpHeader header;
  header.File = "/boards/pl\xE4tine.gbr";  // a single-byte code page name
  TheServer().Messages() = {"bad \xFF byte"};
  ordered_json dump;
  ASSERT_NO_THROW(dump = Dump(header));
  EXPECT_TRUE(dump["file"].is_string());
}

TEST_F(BoardJsonDump, SameBoardGivesTheSameBytes) {
  Add(4);
  Add(2);
  const std::string a = BoardJson(TheServer(), TheServer().CurrentBoard(), {});
  const std::string b = BoardJson(TheServer(), TheServer().CurrentBoard(), {});
  EXPECT_EQ(a, b);
  EXPECT_EQ(a.back(), '\n');
}

}  // namespace
}  // namespace standin
