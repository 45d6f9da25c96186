#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "host/LayerTypes.h"

namespace zz {
namespace {

constexpr TLayerIdentifier Id(uint16_t classWord, uint16_t number) {
  return (static_cast<TLayerIdentifier>(classWord) << 16) | number;
}

std::string RaisedMessage(const std::function<void()>& construct) {
  try {
    construct();
  } catch (const ELayerException& e) {
    return e.what();
  }
  return "<no exception>";
}

TEST(LayerConversion, ClassicNumbersRoundTrip) {
  for (int n = 0; n <= kMaxClassicLayer; ++n) {
    const auto number = static_cast<TLayerNumber>(n);
    EXPECT_EQ(LayerIdFromNumber(number), static_cast<TLayerIdentifier>(n)) << n;
    EXPECT_EQ(LayerNumberFromId(LayerIdFromNumber(number)), number) << n;
  }
}

TEST(LayerConversion, NumbersBeyondTheClassicRangeHaveNoLayer) {
  for (int n = kMaxClassicLayer + 1; n <= 255; ++n) {
    EXPECT_EQ(LayerIdFromNumber(static_cast<TLayerNumber>(n)), 0u) << n;
  }
}

TEST(LayerConversion, LayersBeyondTheClassicRangeFallOntoTheLastOfTheirKind) {
  EXPECT_EQ(LayerNumberFromId(SignalLayerId(32)), 31);
  EXPECT_EQ(LayerNumberFromId(SignalLayerId(65534)), 31);
  EXPECT_EQ(LayerNumberFromId(InternalPlaneId(20)), 54);
  EXPECT_EQ(LayerNumberFromId(InternalPlaneId(65535)), 54);
  EXPECT_EQ(LayerNumberFromId(MechanicalLayerId(17)), 72);
  EXPECT_EQ(LayerNumberFromId(MechanicalLayerId(65535)), 72);
}

TEST(LayerConversion, CategoriesAndIndicesOfClassicLayers) {
  const struct {
    TLayerIdentifier Id;
    TLayerCategory Category;
    int32_t Index;
  } cases[] = {{0, 0, 0},   {1, 1, 1},    {31, 2, 31},  {32, 3, 65535}, {33, 6, 6},   {38, 11, 11},
               {40, 4, 2},  {55, 12, 12}, {56, 13, 13}, {72, 5, 16},    {82, 23, 23}, {83, 0, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(LayerCategoryOf(c.Id), c.Category) << c.Id;
    EXPECT_EQ(LayerIndexOf(c.Id), c.Index) << c.Id;
  }
}

TEST(LayerConversion, IdentifiersOfNoKnownClassAreNoLayer) {
  const TLayerIdentifier unknownClass = Id(0x0200, 5);
  EXPECT_EQ(LayerCategoryOf(unknownClass), 0);
  EXPECT_EQ(LayerIndexOf(unknownClass), 5);
  EXPECT_EQ(LayerNumberFromId(unknownClass), 0);
  EXPECT_EQ(LayerNumberFromId(0xFFFFFFFFu), 0);
}

TEST(LayerIdentifier, SignalLayers) {
  EXPECT_EQ(SignalLayerId(1), 1u);
  EXPECT_EQ(SignalLayerId(2), 2u);
  EXPECT_EQ(SignalLayerId(31), 31u);
  // The bottom layer is signal layer 65535, whatever the stack.
  EXPECT_EQ(SignalLayerId(65535), 32u);
  EXPECT_EQ(LayerCategoryOf(SignalLayerId(65535)), 3);

  const TLayerIdentifier beyond = SignalLayerId(32);
  EXPECT_EQ(beyond, Id(kSignalLayerClass, 32));
  EXPECT_EQ(LayerCategoryOf(beyond), 2);
  EXPECT_EQ(LayerIndexOf(beyond), 32);
  EXPECT_EQ(LayerNumberFromId(beyond), 31);

  EXPECT_EQ(MidLayerId(30), 31u);
  EXPECT_EQ(MidLayerId(31), SignalLayerId(32));
  EXPECT_EQ(MidLayerId(65534), 32u);
}

TEST(LayerIdentifier, PlanesAndMechanicalLayers) {
  EXPECT_EQ(InternalPlaneId(1), 39u);
  EXPECT_EQ(InternalPlaneId(16), 54u);
  EXPECT_EQ(InternalPlaneId(20), Id(kInternalPlaneClass, 20));
  EXPECT_EQ(LayerCategoryOf(InternalPlaneId(20)), 4);
  EXPECT_EQ(LayerIndexOf(InternalPlaneId(20)), 20);

  EXPECT_EQ(MechanicalLayerId(1), 57u);
  EXPECT_EQ(MechanicalLayerId(16), 72u);
  EXPECT_EQ(MechanicalLayerId(17), Id(kMechanicalLayerClass, 17));
  EXPECT_EQ(LayerCategoryOf(MechanicalLayerId(17)), 5);
}

TEST(LayerIdentifier, ConstructorsRaiseWithTheLowWordOfTheNumber) {
  EXPECT_EQ(RaisedMessage([] { InternalPlaneId(0); }), "Creating InternalPlaneLayer(0)");
  EXPECT_EQ(RaisedMessage([] { InternalPlaneId(65536); }), "Creating InternalPlaneLayer(65536)");
  EXPECT_EQ(RaisedMessage([] { MechanicalLayerId(65536); }), "Creating MechanicalLayer(65536)");
  EXPECT_EQ(RaisedMessage([] { MechanicalLayerId(-3); }), "Creating MechanicalLayer(-3)");
  EXPECT_EQ(RaisedMessage([] { SignalLayerId(-1); }), "Creating SignalLayer(-1)");
  EXPECT_EQ(RaisedMessage([] { SignalLayerId(65536); }), "Creating SignalLayer(65536)");
  // Only the low 32 bits are written, as a signed value.
  EXPECT_EQ(RaisedMessage([] { SignalLayerId(0x100000005LL); }), "Creating SignalLayer(5)");
  EXPECT_EQ(RaisedMessage([] { SignalLayerId(0xFFFFFFFFLL); }), "Creating SignalLayer(-1)");
  EXPECT_EQ(RaisedMessage([] { InternalPlaneId(INT64_MIN); }), "Creating InternalPlaneLayer(0)");
  // MidLayerId reports the signal layer it asked for; the largest number wraps instead of overflowing.
  EXPECT_EQ(RaisedMessage([] { MidLayerId(65535); }), "Creating SignalLayer(65536)");
  EXPECT_EQ(RaisedMessage([] { MidLayerId(INT64_MAX); }), "Creating SignalLayer(0)");
}

TEST(LayerIdentifier, SignalLayerZeroIsMalformedNotAnError) {
  const TLayerIdentifier id = SignalLayerId(0);
  EXPECT_EQ(id, Id(kSignalLayerClass, 0));
  EXPECT_TRUE(IsMalformedLayerId(id));
  EXPECT_FALSE(IsNoLayer(id));
  EXPECT_FALSE(IsClassicLayerId(id));
  EXPECT_FALSE(IsSignalLayer(id));
  EXPECT_FALSE(IsInternalPlane(id));
  EXPECT_FALSE(IsMechanicalLayer(id));
  EXPECT_FALSE(IsTopLayer(id));
  EXPECT_FALSE(IsBottomLayer(id));
  EXPECT_EQ(LayerCategoryOf(id), 0);
  EXPECT_EQ(LayerNumberFromId(id), 0);
}

TEST(LayerIdentifier, PredicatesLookAtTheClassWordAndTheLowByte) {
  EXPECT_TRUE(IsNoLayer(0));
  EXPECT_FALSE(IsMalformedLayerId(0));
  EXPECT_TRUE(IsClassicLayerId(Id(0x00FF, 1)));
  EXPECT_FALSE(IsClassicLayerId(Id(kMechanicalLayerClass, 17)));
  EXPECT_TRUE(IsSignalLayer(32));
  EXPECT_FALSE(IsSignalLayer(33));
  EXPECT_FALSE(IsSignalLayer(Id(0x0001, 1)));  // neither the signal class nor classic
  EXPECT_TRUE(IsInternalPlane(54));
  EXPECT_FALSE(IsInternalPlane(55));
  EXPECT_TRUE(IsMechanicalLayer(57));
  EXPECT_FALSE(IsMechanicalLayer(56));
  EXPECT_FALSE(IsMechanicalLayer(Id(kMechanicalLayerClass, 0)));
  EXPECT_FALSE(IsBottomLayer(Id(kSignalLayerClass, 32)));
}

TEST(LayerNames, NumberedNamesStartAtOne) {
  EXPECT_EQ(LayerNameTable[0].View(), "NoLayer");
  EXPECT_EQ(LayerNameTable[2].View(), "MidLayer1");
  EXPECT_EQ(LayerNameTable[31].View(), "MidLayer30");
  EXPECT_EQ(LayerNameTable[32].View(), "BottomLayer");
  EXPECT_EQ(LayerNameTable[39].View(), "InternalPlane1");
  EXPECT_EQ(LayerNameTable[54].View(), "InternalPlane16");
  EXPECT_EQ(LayerNameTable[57].View(), "Mechanical1");
  EXPECT_EQ(LayerNameTable[72].View(), "Mechanical16");
  EXPECT_EQ(LayerNameTable[82].View(), "ViaHoleLayer");
}

}  // namespace
}  // namespace zz
