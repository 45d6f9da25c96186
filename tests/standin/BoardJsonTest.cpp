#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "QueryFields.h"
#include "standin/BoardJson.h"
#include "standin/Registration.h"

namespace standin {
namespace {

using nlohmann::ordered_json;
using Keys = std::vector<std::string>;

Keys KeysOf(const ordered_json& object) {
  Keys keys;
  for (const auto& item : object.items()) keys.push_back(item.key());
  return keys;
}

class BoardJsonDump : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  ordered_json Dump(const DumpHeader& header = {}, std::string_view more = {}) {
    return ordered_json::parse(BoardJson(TheServer(), TheServer().Boards().CurrentBoard(), header, more));
  }
};

TEST_F(BoardJsonDump, HeaderKeysComeInContractOrderWithTheirTypes) {
  TheServer().Ui().Messages() = {"Aperture Table Not Found", "a \"quoted\"\nline"};
  SetCurrentLayer(TheServer().Boards().CurrentBoard(), 57);
  const ordered_json dump = Dump({"/boards/top.gtl", true, false});
  EXPECT_EQ(KeysOf(dump), (Keys{"format", "file", "recognised", "result", "messages", "current_layer", "objects"}));
  EXPECT_EQ(dump["format"], "zizozudu-board/1");
  EXPECT_EQ(dump["file"], "/boards/top.gtl");
  EXPECT_EQ(dump["recognised"], true);
  EXPECT_EQ(dump["result"], false);
  EXPECT_EQ(dump["messages"], ordered_json::array({"Aperture Table Not Found", "a \"quoted\"\nline"}));
  EXPECT_TRUE(dump["current_layer"].is_number_integer());
  EXPECT_EQ(dump["current_layer"], 57);
  EXPECT_EQ(dump["objects"], ordered_json::array());
}

TEST_F(BoardJsonDump, ObjectsAppearInTheOrderAddedWithTheirKeysAndTypes) {
  test::Place<test::Pad>(2, [](test::Pad&) {});
  test::Place<test::Arc>(1, [](test::Arc&) {});
  test::Place<test::Fill>(6, [](test::Fill&) {});
  test::Place<test::Track>(4, [](test::Track& t) {
    t = test::Track{t.C, -1, 2, 3, -4, 5};
    t.C.LayerId = zz::SignalLayerId(40);  // beyond the classic range: dumped as layer 31
  });
  PcbApi_AddObjectToContainer(PcbApi_GetCurrentBoardHandle(), PcbApi_CreateObject(3));

  const ordered_json objects = Dump()["objects"];
  ASSERT_EQ(objects.size(), 5U);
  EXPECT_EQ(KeysOf(objects[0]), (Keys{"kind", "layer", "x", "y", "hole_size", "rotation", "top", "mid", "bot"}));
  EXPECT_EQ(KeysOf(objects[0]["bot"]), (Keys{"x_size", "y_size", "shape"}));
  EXPECT_EQ(KeysOf(objects[1]), (Keys{"kind", "layer", "x", "y", "radius", "start_angle", "end_angle", "width"}));
  EXPECT_EQ(KeysOf(objects[2]), (Keys{"kind", "layer", "x1", "y1", "x2", "y2", "rotation"}));
  EXPECT_EQ(objects[3], ordered_json::parse(R"({"kind":"track","layer":31,"x1":-1,"y1":2,"x2":3,"y2":-4,"width":5})"));
  EXPECT_EQ(objects[4], ordered_json::parse(R"({"kind":"via","layer":1})"));
  EXPECT_TRUE(objects[0]["x"].is_number_integer());
  for (const auto& [i, key] : {std::pair{0, "rotation"}, {1, "start_angle"}, {1, "end_angle"}, {2, "rotation"}}) {
    EXPECT_TRUE(objects[i][key].is_number_float()) << key;
  }
}

TEST_F(BoardJsonDump, AnglesReadBackToTheSameDouble) {
  const double angles[] = {0.1, 1.0 / 3.0, static_cast<double>(-44.999992f), 360.0, 269.99998474121094, 1e-300};
  for (const double angle : angles) {
    test::Place<test::Arc>(1, [angle](test::Arc& a) {
      a.StartAngle = angle;
      a.EndAngle = -angle;
    });
  }
  const ordered_json objects = Dump()["objects"];
  for (std::size_t i = 0; i < std::size(angles); ++i) {
    EXPECT_EQ(objects[i]["start_angle"].get<double>(), angles[i]);
    EXPECT_EQ(objects[i]["end_angle"].get<double>(), -angles[i]);
  }
}

TEST_F(BoardJsonDump, MembersTheCallerAddsComeLast) {
  const ordered_json dump = Dump({"f", true, true}, R"(,"ignored":{"aperture_macros":2,"regions":1})");
  EXPECT_EQ(KeysOf(dump).back(), "ignored");
  EXPECT_EQ(dump["ignored"], ordered_json::parse(R"({"aperture_macros":2,"regions":1})"));
}

TEST_F(BoardJsonDump, TextsThatAreNotUtf8StillGiveValidJson) {
  TheServer().Ui().Messages() = {"bad \xFF byte"};
  ordered_json dump;
  ASSERT_NO_THROW(dump = Dump({"/boards/pl\xE4tine.gbr", true, true}));
  EXPECT_TRUE(dump["file"].is_string());
}

}  // namespace
}  // namespace standin
