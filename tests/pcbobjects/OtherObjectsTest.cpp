// The classes the importer never creates: their status rules, lists, tables and defaults.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "RecordingHost.h"
#include "pcbobjects/PCBObjectClass.h"
#include "pcbobjects/PcbComponent.h"
#include "pcbobjects/PcbDimension.h"
#include "pcbobjects/PcbText.h"

namespace zz {
namespace {

using test::HostCall;
using test::RecordingHost;
using ::testing::ElementsAre;

class OtherObjectsTest : public ::testing::Test {
 protected:
  // The host's class lists these members, then reports the end with `endStatus`.
  void ServeMembers(std::vector<std::string> members, int32_t endStatus) {
    host.OnCall("PcbApi_GetMemberFromClassAt", [members, endStatus](HostCall& call) {
      const auto index = static_cast<std::size_t>(call.Int(1));
      if (index < members.size()) {
        call.SetText(2, members[index]);
        call.Result = 0;
      } else {
        call.Result = endStatus;
      }
    });
  }

  RecordingHost host;
};

// --- Object class ---

TEST_F(OtherObjectsTest, ClassFetchedTwiceListsEveryMemberTwice) {
  ServeMembers({"GND", "VCC"}, 1);
  TPCBObjectClass objectClass(5);
  EXPECT_EQ(objectClass.Sync(kFetch), 1);
  EXPECT_EQ(objectClass.Sync(kFetch), 1);
  EXPECT_THAT(objectClass.Members, ElementsAre("GND", "VCC", "GND", "VCC"));
  EXPECT_EQ(objectClass.Name.Str(), RecordingHost::DefaultText(5));
}

TEST_F(OtherObjectsTest, ClassFetchEndsOnAnyFailureStatus) {
  ServeMembers({"A"}, 7);
  TPCBObjectClass objectClass(5);
  EXPECT_EQ(objectClass.Sync(kFetch), 7);
  EXPECT_THAT(objectClass.Members, ElementsAre("A"));
}

TEST_F(OtherObjectsTest, ClassFetchFromAHostThatNeverEndsTheListIsBounded) {
  host.SetResult("PcbApi_GetMemberFromClassAt", 0);
  TPCBObjectClass objectClass(5);
  EXPECT_EQ(objectClass.Sync(kFetch), 0);
  EXPECT_EQ(objectClass.Members.size(), static_cast<std::size_t>(TPCBObjectClass::kMaxMembers));
}

TEST_F(OtherObjectsTest, ClassStoreReplacesTheHostsMembers) {
  TPCBObjectClass objectClass(5);
  host.SetResult("PcbApi_RemoveAllMembersFromClass", 4);
  EXPECT_EQ(objectClass.Sync(kStore), 4);  // no members: the remove call's status
  EXPECT_THAT(host.Names(), ElementsAre("PcbApi_GetObjectBitField2", "PcbApi_GetObjectBitField3",
                                        "PcbApi_QueryClass", "PcbApi_RemoveAllMembersFromClass"));

  host.Clear();
  host.SetResult("PcbApi_AddMemberToClass", 6);
  objectClass.Members = {"NET1", std::string(300, 'x')};
  EXPECT_EQ(objectClass.Sync(2), 6);  // direction 2 stores as well
  const auto added = host.CallsTo("PcbApi_AddMemberToClass");
  ASSERT_EQ(added.size(), 2U);
  EXPECT_EQ(added[0].Int(0), 5);
  EXPECT_EQ(added[0].Args[1].Text, "NET1");
  EXPECT_EQ(added[1].Args[1].Text, std::string(255, 'x'));
  EXPECT_EQ(host.CountOf("PcbApi_GetMemberFromClassAt"), 0U);
}

// --- Dimension ---

TEST_F(OtherObjectsTest, DimensionReportsTheAndOfItsTwoQueries) {
  TPcbDimension dimension(9);
  EXPECT_EQ(dimension.E1, 8);
  host.SetResult("PcbApi_QueryDimension", 0);
  host.SetResult("PcbApi_QueryExtDimension", 5);
  EXPECT_EQ(dimension.Sync(kFetch), 0);
  host.SetResult("PcbApi_QueryDimension", 1);
  host.SetResult("PcbApi_QueryExtDimension", 3);
  host.SetResult("PcbApi_References_Count", 8);
  EXPECT_EQ(dimension.Sync(kFetch), 1);
}

TEST_F(OtherObjectsTest, DimensionWithoutReferencesMakesNoReferenceCall) {
  TPcbDimension dimension(9);
  dimension.Sync(kFetch);
  EXPECT_THAT(host.Names(), ElementsAre("PcbApi_GetObjectBitField2", "PcbApi_GetObjectBitField3",
                                        "PcbApi_QueryDimension", "PcbApi_References_Count",
                                        "PcbApi_QueryExtDimension"));
  host.Clear();
  host.SetFill("PcbApi_References_Count", 2, -4);
  dimension.Sync(kFetch);
  EXPECT_EQ(host.CountOf("PcbApi_References_At"), 0U);
  EXPECT_EQ(dimension.ReferenceCount, 0);
}

TEST_F(OtherObjectsTest, DimensionReadsAtMostItsTableOfReferences) {
  host.SetFill("PcbApi_References_Count", 2, 500);
  host.OnCall("PcbApi_References_At", [](HostCall& call) { call.SetInt(3, call.Int(2) * 10); });
  TPcbDimension dimension(9);
  dimension.Sync(kFetch);

  const auto references = host.CallsTo("PcbApi_References_At");
  ASSERT_EQ(references.size(), 200U);
  EXPECT_EQ(references.front().Int(2), 0);
  EXPECT_EQ(references.back().Int(2), 199);
  EXPECT_EQ(dimension.ReferenceCount, 200);
  EXPECT_EQ((*dimension.References)[199].Value1, 1990);
  EXPECT_EQ((*dimension.References)[199].Value4, RecordingHost::DefaultInt(6));
  EXPECT_EQ(host.Calls.back().Name, "PcbApi_QueryExtDimension");

  host.Clear();
  dimension.ReferenceCount = 500;
  dimension.Sync(kStore);
  EXPECT_EQ(host.CountOf("PcbApi_References_At"), 200U);
}

// --- Text ---

TEST_F(OtherObjectsTest, TextStartsWithTheDefaultFont) {
  TPcbText text(4);
  EXPECT_EQ(text.FontName.Str(), "Arial");
  EXPECT_EQ(text.FontValue, 200000);
  EXPECT_EQ(text.GetObjectKind(), TObjectKind::Text);
}

TEST_F(OtherObjectsTest, TextReportsTheTrueTypeStatusUnlessTheBarCodeQueryFailsWith1) {
  TPcbText text(4);
  host.SetResult("PcbApi_QueryText", 9);
  host.SetResult("PcbApi_QueryTrueTypeTextInfo", 4);
  EXPECT_EQ(text.Sync(kFetch), 4);
  EXPECT_THAT(host.Names(), ElementsAre("PcbApi_GetObjectBitField2", "PcbApi_GetObjectBitField3", "PcbApi_QueryText",
                                        "PcbApi_QueryTrueTypeTextInfo", "PcbApi_GetDesignatorDisplayString",
                                        "PcbApi_QueryBarCodeTextInfo"));
  host.SetResult("PcbApi_QueryBarCodeTextInfo", 2);
  EXPECT_EQ(text.Sync(kFetch), 4);
  host.SetResult("PcbApi_QueryTrueTypeTextInfo", 0);
  host.SetResult("PcbApi_QueryBarCodeTextInfo", 1);
  EXPECT_EQ(text.Sync(kStore), 1);
}

TEST_F(OtherObjectsTest, TextReadsItsDisplayStringInBothDirections) {
  host.SetFillText("PcbApi_GetDesignatorDisplayString", 1, std::string(255, 'd'));
  TPcbText text(4);
  text.Sync(kStore);
  EXPECT_EQ(text.DisplayText.Str(), std::string(254, 'd'));
  EXPECT_EQ(host.CallsTo("PcbApi_GetDesignatorDisplayString")[0].Int(0), 4);
}

TEST_F(OtherObjectsTest, TextWithoutTheDisplayEntryPointHasAnEmptyDisplayString) {
  host.Remove("PcbApi_GetDesignatorDisplayString");
  TPcbText text(4);
  text.DisplayText = "old";
  text.Sync(kFetch);
  EXPECT_TRUE(text.DisplayText.Empty());
  EXPECT_EQ(text.TextString.Str(), RecordingHost::DefaultText(14));
}

TEST_F(OtherObjectsTest, TextKeeps254Characters) {
  TPcbText text(4);
  text.SetText(std::string(300, 'a'));
  TText255 out;
  text.GetText(out);
  EXPECT_EQ(out.Size(), 254U);
}

// --- Component and net names ---

TEST_F(OtherObjectsTest, ComponentWithoutDesignatorHasAnEmptyName) {
  TPcbComponent component(3);
  TText255 name = "stale";
  component.GetName(name);
  EXPECT_TRUE(name.Empty());
  EXPECT_TRUE(host.Calls.empty());
}

TEST_F(OtherObjectsTest, ComponentNameIsTheTextOfItsDesignator) {
  host.SetResult("PcbApi_GetObjectIdFromObjectHandle", static_cast<int>(TObjectKind::Text));
  host.SetFillText("PcbApi_QueryText", 14, "U12");
  TPcbComponent component(3);
  component.DesignatorHandle = 77;
  TText255 name;
  component.GetName(name);
  EXPECT_EQ(name.Str(), "U12");
  EXPECT_EQ(host.Calls.front().Int(0), 77);
}

}  // namespace
}  // namespace zz
