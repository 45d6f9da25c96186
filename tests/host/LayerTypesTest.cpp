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
  EXPECT_EQ(LayerCategoryOf(0), 0);
  EXPECT_EQ(LayerCategoryOf(1), 1);
  EXPECT_EQ(LayerCategoryOf(2), 2);
  EXPECT_EQ(LayerCategoryOf(31), 2);
  EXPECT_EQ(LayerCategoryOf(32), 3);
  EXPECT_EQ(LayerCategoryOf(33), 6);
  EXPECT_EQ(LayerCategoryOf(38), 11);
  EXPECT_EQ(LayerCategoryOf(39), 4);
  EXPECT_EQ(LayerCategoryOf(55), 12);
  EXPECT_EQ(LayerCategoryOf(56), 13);
  EXPECT_EQ(LayerCategoryOf(57), 5);
  EXPECT_EQ(LayerCategoryOf(73), 14);
  EXPECT_EQ(LayerCategoryOf(82), 23);
  EXPECT_EQ(LayerCategoryOf(83), 0);

  EXPECT_EQ(LayerIndexOf(0), 0);
  EXPECT_EQ(LayerIndexOf(1), 1);
  EXPECT_EQ(LayerIndexOf(5), 5);
  EXPECT_EQ(LayerIndexOf(32), 65535);
  EXPECT_EQ(LayerIndexOf(33), 6);
  EXPECT_EQ(LayerIndexOf(40), 2);
  EXPECT_EQ(LayerIndexOf(72), 16);
  EXPECT_EQ(LayerIndexOf(82), 23);
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

TEST(LayerIdentifier, Predicates) {
  EXPECT_TRUE(IsNoLayer(0));
  EXPECT_FALSE(IsMalformedLayerId(0));
  EXPECT_TRUE(IsClassicLayerId(82));
  EXPECT_TRUE(IsClassicLayerId(Id(0x00FF, 1)));
  EXPECT_FALSE(IsClassicLayerId(Id(kMechanicalLayerClass, 17)));

  EXPECT_TRUE(IsSignalLayer(1));
  EXPECT_TRUE(IsSignalLayer(32));
  EXPECT_FALSE(IsSignalLayer(33));
  EXPECT_TRUE(IsSignalLayer(Id(kSignalLayerClass, 100)));
  EXPECT_FALSE(IsSignalLayer(Id(0x0001, 1)));  // neither the signal class nor classic

  EXPECT_TRUE(IsInternalPlane(39));
  EXPECT_TRUE(IsInternalPlane(54));
  EXPECT_FALSE(IsInternalPlane(55));
  EXPECT_TRUE(IsInternalPlane(Id(kInternalPlaneClass, 17)));

  EXPECT_TRUE(IsMechanicalLayer(57));
  EXPECT_TRUE(IsMechanicalLayer(72));
  EXPECT_FALSE(IsMechanicalLayer(56));
  EXPECT_FALSE(IsMechanicalLayer(Id(kMechanicalLayerClass, 0)));

  EXPECT_TRUE(IsTopLayer(1));
  EXPECT_TRUE(IsBottomLayer(32));
  EXPECT_FALSE(IsBottomLayer(Id(kSignalLayerClass, 32)));
}

TEST(LayerNames, ClassicLayerNames) {
  EXPECT_EQ(LayerNameTable[0].View(), "NoLayer");
  EXPECT_EQ(LayerNameTable[1].View(), "TopLayer");
  EXPECT_EQ(LayerNameTable[2].View(), "MidLayer1");
  EXPECT_EQ(LayerNameTable[31].View(), "MidLayer30");
  EXPECT_EQ(LayerNameTable[32].View(), "BottomLayer");
  EXPECT_EQ(LayerNameTable[38].View(), "BottomSolder");
  EXPECT_EQ(LayerNameTable[39].View(), "InternalPlane1");
  EXPECT_EQ(LayerNameTable[54].View(), "InternalPlane16");
  EXPECT_EQ(LayerNameTable[56].View(), "KeepOutLayer");
  EXPECT_EQ(LayerNameTable[57].View(), "Mechanical1");
  EXPECT_EQ(LayerNameTable[72].View(), "Mechanical16");
  EXPECT_EQ(LayerNameTable[76].View(), "BackGroundLayer");
  EXPECT_EQ(LayerNameTable[80].View(), "GridColor10");
  EXPECT_EQ(LayerNameTable[82].View(), "ViaHoleLayer");
}

TEST(LayerNames, TypeNameTables) {
  EXPECT_STREQ(HoleMakingMethodNames[2], "Laser Drilled");
  EXPECT_STREQ(Display3DModeNames[4], "Not Assigned");
  EXPECT_STREQ(BoardEventNames[13], "System InValid");
  EXPECT_STREQ(BoardEventNames[18], "Recall Robot State");
  EXPECT_STREQ(ComponentSetNames[3], "Outside Board Components");
}

}  // namespace
}  // namespace zz
