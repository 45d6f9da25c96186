#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "host/CallConv.h"
#include "host/HostBinding.h"
#include "host/HostRoutines.h"
#include "host/ModuleLookup.h"

namespace zz {
namespace {

// A tiny stand-in for the host PCB server: a few entry points that record what they were given.
struct FakeHostState {
  uint8_t CreatedKind = 0;
  std::string PercentText;
  const void* PercentTextAddress = nullptr;
  int32_t PercentTotal = 0;
  std::string ClassMember;
  const void* ClassMemberAddress = nullptr;
  uint32_t ReceivedLayerId = 0;
  uint32_t LayerIdToReturn = 0;
  std::string Designator;
};
FakeHostState g_host;

THandle ZZ_WINAPI FakeCreateObject(uint8_t kind) {
  g_host.CreatedKind = kind;
  return 1000 + kind;
}

THandle ZZ_WINAPI OtherCreateObject(uint8_t) { return 7; }

void ZZ_WINAPI FakePercentInit(const TText255* text, int32_t total) {
  g_host.PercentText = text->Str();
  g_host.PercentTextAddress = text;
  g_host.PercentTotal = total;
}

TStatus ZZ_WINAPI FakeAddMemberToClass(THandle, const TText255* member) {
  g_host.ClassMember = member->Str();
  g_host.ClassMemberAddress = member;
  return 0;
}

TStatus ZZ_WINAPI FakeQueryBoard(TSyncDirection, THandle, int32_t*, TText255*, uint8_t*, int32_t*, int32_t*, int32_t*,
                                 int32_t*, uint8_t*, uint32_t* currentLayerId, int32_t*) {
  g_host.ReceivedLayerId = *currentLayerId;
  *currentLayerId = g_host.LayerIdToReturn;
  return 0;
}

TStatus ZZ_WINAPI FakeGetDesignatorDisplayString(THandle, TText255* text) {
  text->Assign(g_host.Designator);
  return 0;
}

template <typename Fn>
void* Entry(Fn fn) {
  return reinterpret_cast<void*>(fn);
}

void* ResolveFakeHost(const char* name) {
  if (std::strcmp(name, "PcbApi_CreateObject") == 0) return Entry(&FakeCreateObject);
  if (std::strcmp(name, "PcbApi_Percent_Init") == 0) return Entry(&FakePercentInit);
  if (std::strcmp(name, "PcbApi_AddMemberToClass") == 0) return Entry(&FakeAddMemberToClass);
  if (std::strcmp(name, "PcbApi_QueryBoard") == 0) return Entry(&FakeQueryBoard);
  if (std::strcmp(name, "PcbApi_GetDesignatorDisplayString") == 0) return Entry(&FakeGetDesignatorDisplayString);
  return nullptr;
}

void* ResolveOtherHost(const char* name) {
  return std::strcmp(name, "PcbApi_CreateObject") == 0 ? Entry(&OtherCreateObject) : nullptr;
}

class HostBindingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::RegisterSubstituteModule(host::kHostModuleName, nullptr);
    host::UnbindHostEntryPointsForTesting();
    g_host = FakeHostState{};
  }
  void TearDown() override {
    platform::RegisterSubstituteModule(host::kHostModuleName, nullptr);
    host::UnbindHostEntryPointsForTesting();
  }
  static void InstallFakeHost() { platform::RegisterSubstituteModule(host::kHostModuleName, &ResolveFakeHost); }
};

template <typename Ret, typename... Args>
std::optional<int64_t> CallWithZeros(Ret (*routine)(Args...)) {
  if constexpr (std::is_void_v<Ret>) {
    routine(Args{}...);
    return std::nullopt;
  } else {
    return static_cast<int64_t>(routine(Args{}...));
  }
}

TEST_F(HostBindingTest, WithoutTheModuleEveryRoutineGivesItsNeutralResult) {
  const std::set<std::string> neutralOne = {
      "PcbApi_QueryBoardSplitPlaneMode", "PcbApi_QueryBoardLayerPairsCount", "PcbApi_QueryManualFromTo",
      "PcbApi_AddMemberToClass",         "PcbApi_GetMemberFromClassAt",      "PcbApi_RemoveAllMembersFromClass"};
  const std::set<std::string> withoutResult = {"PcbApi_Percent_Init", "PcbApi_Percent_Update", "PcbApi_Percent_Finish",
                                               "PcbApi_GetObjectBitField2", "PcbApi_GetObjectBitField3"};
  int routines = 0;
  // Null pointers are safe here: an absent entry point never touches its arguments.
#define ZZ_CHECK_NEUTRAL(Name, Ret, Neutral, Params, Args)                                     \
  {                                                                                            \
    ++routines;                                                                                \
    const std::optional<int64_t> result = CallWithZeros(static_cast<Ret(*) Params>(&host::Name)); \
    if (withoutResult.count(#Name) != 0) {                                                     \
      EXPECT_FALSE(result.has_value()) << #Name;                                               \
    } else {                                                                                   \
      ASSERT_TRUE(result.has_value()) << #Name;                                                \
      EXPECT_EQ(*result, neutralOne.count(#Name) != 0 ? 1 : 0) << #Name;                       \
    }                                                                                          \
  }
  ZZ_PCBAPI_ENTRIES(ZZ_CHECK_NEUTRAL)
#undef ZZ_CHECK_NEUTRAL
  EXPECT_EQ(routines, 74);
  EXPECT_EQ(host::CurrentHostBinding().Module, nullptr);
}

TEST_F(HostBindingTest, AbsentRoutinesLeaveTheirArgumentsAlone) {
  uint8_t flags = 0xA5;
  host::PcbApi_GetObjectBitField2(kFetch, 1, &flags);
  EXPECT_EQ(flags, 0xA5);

  TText254 designator("left over");
  EXPECT_EQ(host::PcbApi_GetDesignatorDisplayString(1, designator), 0);
  EXPECT_TRUE(designator.Empty());  // emptied even without a host
}

TEST_F(HostBindingTest, ModuleThatAppearsLaterIsBoundOnTheNextCall) {
  EXPECT_EQ(host::PcbApi_CreateObject(4), 0);
  InstallFakeHost();
  EXPECT_EQ(host::PcbApi_CreateObject(4), 1004);
  EXPECT_EQ(g_host.CreatedKind, 4);
  EXPECT_NE(host::CurrentHostBinding().Module, nullptr);
}

TEST_F(HostBindingTest, NameTheModuleDoesNotExportStaysEmpty) {
  InstallFakeHost();
  host::BindHostEntryPoints();
  const auto& slots = host::CurrentHostBinding().Slots;
  EXPECT_NE(slots[host::HostEntryIndex("PcbApi_CreateObject")], nullptr);
  EXPECT_EQ(slots[host::HostEntryIndex("PcbApi_QueryBoardLayerPairsCount")], nullptr);
  EXPECT_EQ(slots[host::HostEntryIndex("PcbApi_GetCurrentBoardHandle")], nullptr);

  int32_t count = -1;
  EXPECT_EQ(host::PcbApi_QueryBoardLayerPairsCount(1, &count, 1), 1);
  EXPECT_EQ(count, -1);
  EXPECT_EQ(host::PcbApi_GetCurrentBoardHandle(), 0);
  EXPECT_EQ(host::PcbApi_CreateObject(6), 1006);
}

TEST_F(HostBindingTest, FoundModuleIsNeverLookedUpAgain) {
  InstallFakeHost();
  EXPECT_EQ(host::PcbApi_CreateObject(1), 1001);
  platform::RegisterSubstituteModule(host::kHostModuleName, &ResolveOtherHost);
  host::EnsureHostBinding();
  EXPECT_EQ(host::PcbApi_CreateObject(1), 1001);
}

TEST_F(HostBindingTest, ProgressTextAndClassMemberTravelInBuffersOfTheirOwn) {
  InstallFakeHost();
  const TText255 text("Loading top.gtl (Gerber)");
  host::PcbApi_Percent_Init(text, 1234);
  EXPECT_EQ(g_host.PercentText, "Loading top.gtl (Gerber)");
  EXPECT_EQ(g_host.PercentTotal, 1234);
  EXPECT_NE(g_host.PercentTextAddress, static_cast<const void*>(&text));

  const TText255 member("GND");
  EXPECT_EQ(host::PcbApi_AddMemberToClass(5, member), 0);
  EXPECT_EQ(g_host.ClassMember, "GND");
  EXPECT_NE(g_host.ClassMemberAddress, static_cast<const void*>(&member));
}

TEST_F(HostBindingTest, DesignatorIsCutTo254Characters) {
  InstallFakeHost();
  g_host.Designator = std::string(255, 'd');
  TText254 out;
  EXPECT_EQ(host::PcbApi_GetDesignatorDisplayString(9, out), 0);
  EXPECT_EQ(out.Str(), std::string(254, 'd'));

  g_host.Designator = "U12";
  EXPECT_EQ(host::PcbApi_GetDesignatorDisplayString(9, out), 0);
  EXPECT_EQ(out.Str(), "U12");
}

struct BoardTransfer {
  host::BoardHeader Header;
  TLayerNumber CurrentLayer = 0;
  int32_t Trailer = 0;
  TStatus Run(TSyncDirection direction) {
    return host::PcbApi_QueryBoard(direction, 1, Header, CurrentLayer, Trailer);
  }
};

TEST_F(HostBindingTest, BoardTransferConvertsTheCurrentLayerBothWays) {
  InstallFakeHost();
  BoardTransfer board;

  // Fetch: an identifier beyond the classic range arrives as the last classic layer of its kind.
  board.CurrentLayer = 1;
  g_host.LayerIdToReturn = SignalLayerId(40);
  EXPECT_EQ(board.Run(kFetch), 0);
  EXPECT_EQ(g_host.ReceivedLayerId, 1u);
  EXPECT_EQ(board.CurrentLayer, 31);

  g_host.LayerIdToReturn = InternalPlaneId(20);
  board.Run(kFetch);
  EXPECT_EQ(board.CurrentLayer, 54);

  g_host.LayerIdToReturn = SignalLayerId(65535);
  board.Run(kFetch);
  EXPECT_EQ(board.CurrentLayer, 32);

  // Store: the number leaves as an identifier; one beyond 82 leaves as no layer.
  board.CurrentLayer = 57;
  g_host.LayerIdToReturn = 57;
  board.Run(kStore);
  EXPECT_EQ(g_host.ReceivedLayerId, MechanicalLayerId(1));
  EXPECT_EQ(board.CurrentLayer, 57);

  board.CurrentLayer = 200;
  g_host.LayerIdToReturn = 0;
  board.Run(kStore);
  EXPECT_EQ(g_host.ReceivedLayerId, 0u);
  EXPECT_EQ(board.CurrentLayer, 0);
}

}  // namespace
}  // namespace zz
