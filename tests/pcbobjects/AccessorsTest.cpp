// Every accessor of every wrapper class: a value set through the setter reaches the host in its
// own argument of the class's query and in no other, and a fresh wrapper fetching what the host
// kept reads it back through the getter. Setters of properties a class lacks change nothing.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "RecordingHost.h"
#include "pcbobjects/PCBObjectClass.h"
#include "pcbobjects/PCBRegion.h"
#include "pcbobjects/PcbArc.h"
#include "pcbobjects/PcbComponent.h"
#include "pcbobjects/PcbComponentBody.h"
#include "pcbobjects/PcbCoordinate.h"
#include "pcbobjects/PcbDifferentialPair.h"
#include "pcbobjects/PcbDimension.h"
#include "pcbobjects/PcbEmbedded.h"
#include "pcbobjects/PcbEmbeddedBoard.h"
#include "pcbobjects/PcbFill.h"
#include "pcbobjects/PcbFromTo.h"
#include "pcbobjects/PcbNet.h"
#include "pcbobjects/PcbPad.h"
#include "pcbobjects/PcbPolygon.h"
#include "pcbobjects/PcbRule.h"
#include "pcbobjects/PcbSplitPlane.h"
#include "pcbobjects/PcbText.h"
#include "pcbobjects/PcbTrack.h"
#include "pcbobjects/PcbVia.h"
#include "pcbobjects/PcbViolation.h"

namespace zz {
namespace {

using test::HostArg;
using test::HostCall;
using test::RecordingHost;

using Value = std::variant<int64_t, double, std::string>;

std::string Show(const Value& value) {
  if (const auto* i = std::get_if<int64_t>(&value)) return std::to_string(*i);
  if (const auto* f = std::get_if<double>(&value)) return std::to_string(*f);
  return '"' + std::get<std::string>(value) + '"';
}

// The value the plug-in handed the host in an argument.
Value Sent(const HostArg& arg) {
  if (!arg.ByRef) return arg.Int;
  if (arg.ArgType == HostArg::Type::Text) return arg.Text;
  if (arg.ArgType == HostArg::Type::F64) return arg.Float;
  return arg.Int;
}

struct Accessor {
  std::function<void(TPCBObject&)> Set;
  std::function<Value(const TPCBObject&)> Get;
  Value Expected;
};

// Every property with a getter and a setter of the same name, each with a value of its own.
const std::map<std::string, Accessor>& Accessors() {
#define ZZ_INT(Prop, value) \
  {#Prop, {[](TPCBObject& o) { o.Set##Prop(value); }, [](const TPCBObject& o) { return Value{int64_t{o.Get##Prop()}}; }, Value{int64_t{value}}}}
#define ZZ_FLOAT(Prop, value) \
  {#Prop, {[](TPCBObject& o) { o.Set##Prop(value); }, [](const TPCBObject& o) { return Value{o.Get##Prop()}; }, Value{value}}}
#define ZZ_TEXT(Prop, value)                                      \
  {#Prop,                                                         \
   {[](TPCBObject& o) { o.Set##Prop(value); },                    \
    [](const TPCBObject& o) {                                     \
      TText255 text;                                              \
      o.Get##Prop(text);                                          \
      return Value{text.Str()};                                   \
    },                                                            \
    Value{std::string(value)}}}
#define ZZ_BOOL(Prop)                                                                                   \
  {#Prop, {[](TPCBObject& o) { o.Set##Prop(true); }, [](const TPCBObject& o) { return Value{int64_t{o.Get##Prop()}}; }, \
           Value{int64_t{1}}}}
  static const std::map<std::string, Accessor> accessors = {
      ZZ_INT(X, 1001),          ZZ_INT(Y, -1002),         ZZ_INT(X2, 1003),         ZZ_INT(Y2, -1004),
      ZZ_INT(StateFlags, 0x4321), ZZ_INT(IndexWord, 0x1357), ZZ_INT(Layer, 33),      ZZ_INT(AuxByte, 0xA1),
      ZZ_INT(AuxValue1, -1005), ZZ_INT(AuxValue2, 1006),  ZZ_INT(ExtValue1, 1007),  ZZ_INT(ExtValue2, 1008),
      ZZ_INT(ExtValue3, 1009),  ZZ_INT(TopXSize, 1010),   ZZ_INT(TopYSize, 1011),   ZZ_INT(MidXSize, 1012),
      ZZ_INT(MidYSize, 1013),   ZZ_INT(BotXSize, 1014),   ZZ_INT(BotYSize, 1015),   ZZ_INT(HoleSize, 1016),
      ZZ_INT(TopShape, 0xA2),   ZZ_INT(MidShape, 0xA3),   ZZ_INT(BotShape, 0xA4),   ZZ_TEXT(Name, "PAD-7"),
      ZZ_FLOAT(Rotation, 12.5), ZZ_INT(Width, 1017),      ZZ_INT(Shape, 0xA5),      ZZ_INT(Size, 1018),
      ZZ_INT(ViaAttr1, 0xA6),   ZZ_INT(ViaAttr2, 0xA7),   ZZ_INT(Radius, 1019),     ZZ_FLOAT(StartAngle, 33.25),
      ZZ_FLOAT(EndAngle, 271.75), ZZ_INT(LineWidth, 1020), ZZ_INT(TextValue, 1021), ZZ_INT(TextFlag, 0xA8),
      ZZ_TEXT(Text, "HELLO"),   ZZ_INT(FromToAttr1, 0xA9), ZZ_INT(FromToAttr2, 0xAA), ZZ_BOOL(PadViaFlag1),
      ZZ_BOOL(PadViaFlag2),
  };
#undef ZZ_INT
#undef ZZ_FLOAT
#undef ZZ_TEXT
#undef ZZ_BOOL
  return accessors;
}

// A property the class exchanges: the query and argument it travels in. The layer travels as its
// identifier unless the class sends the classic number (LayerAsNumber).
struct Exchanged {
  std::string Property;
  std::string Query;
  std::size_t Arg;
};

struct WrapperClass {
  const char* Name;
  std::function<std::unique_ptr<TPCBObject>(THandle)> Make;
  std::vector<Exchanged> Exchanges;
  std::vector<std::string> KeptOnly;   // set and read back, never sent to the host
  std::vector<Exchanged> FetchedOnly;  // a getter without a setter of its own
  bool LayerAsNumber = false;
};

template <typename T>
std::function<std::unique_ptr<TPCBObject>(THandle)> Maker() {
  return [](THandle handle) { return std::make_unique<T>(handle); };
}

// Properties that travel in one query, in consecutive arguments from `first` on.
std::vector<Exchanged> Args(const std::string& query, std::size_t first, const std::vector<std::string>& properties) {
  std::vector<Exchanged> rows;
  for (const std::string& property : properties) rows.push_back({property, query, first++});
  return rows;
}

std::vector<Exchanged> operator+(std::vector<Exchanged> a, const std::vector<Exchanged>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The common fields of the classes whose query opens with them, from argument `first` on.
std::vector<Exchanged> Common(const std::string& query, std::size_t first) {
  return Args(query, first, {"StateFlags", "IndexWord", "Layer", "AuxValue1", "AuxByte", "AuxValue2"});
}

const std::vector<WrapperClass>& Classes() {
  const std::vector<std::string> noPosition = {"X", "Y", "StateFlags", "Layer", "AuxByte", "AuxValue1", "AuxValue2"};
  const std::vector<std::string> nothingSent = {"X",     "Y",       "StateFlags", "IndexWord",
                                                "Layer", "AuxByte", "AuxValue1",  "AuxValue2"};
  const std::string pad = "PcbApi_QueryPad";
  static const std::vector<WrapperClass> classes = {
      {"Track", Maker<TPcbTrack>(),
       Common("PcbApi_QueryTrack", 2) +
           Args("PcbApi_QueryTrack", 8, {"X", "Y", "X2", "Y2", "Width", "ExtValue1", "ExtValue2", "ExtValue3"}),
       {}, {}},
      {"Fill", Maker<TPcbFill>(),
       Common("PcbApi_QueryFill", 2) + Args("PcbApi_QueryFill", 8, {"X", "Y", "X2", "Y2", "ExtValue1", "Rotation"}),
       {}, {}},
      {"Arc", Maker<TPcbArc>(),
       Common("PcbApi_QueryArc", 2) +
           Args("PcbApi_QueryArc", 8, {"X", "Y", "Radius", "StartAngle", "EndAngle", "LineWidth", "ExtValue1"}),
       {}, {}},
      {"Via", Maker<TPcbVia>(),
       Common("PcbApi_QueryVia", 2) + Args("PcbApi_QueryVia", 8,
                                           {"X", "Y", "Size", "HoleSize", "ViaAttr1", "ViaAttr2", "PadViaFlag1",
                                            "PadViaFlag2"}),
       {}, {}, true},
      {"Pad", Maker<TPcbPad>(),
       Common(pad, 2) +
           Args(pad, 8,
                {"X", "Y", "TopXSize", "TopYSize", "MidXSize", "MidYSize", "BotXSize", "BotYSize", "HoleSize",
                 "TopShape", "MidShape", "BotShape", "Name"}) +
           Args(pad, 23, {"Rotation"}) + Args(pad, 35, {"PadViaFlag1", "PadViaFlag2"}),
       {}, {}},
      {"Text", Maker<TPcbText>(),
       Common("PcbApi_QueryText", 2) + Args("PcbApi_QueryText", 8,
                                            {"X", "Y", "Size", "TextValue", "Rotation", "TextFlag", "Text",
                                             "LineWidth", "ExtValue2", "ExtValue3"}),
       {}, {}},
      {"Region", Maker<TPCBRegion>(), Common("PcbApi_QueryRegion", 3), {"X", "Y"}, {}},
      {"Polygon", Maker<TPcbPolygon>(),
       Args("PcbApi_QueryPolygon", 2, {"StateFlags", "IndexWord", "Layer", "AuxValue1", "AuxByte"}),
       {"X", "Y", "AuxValue2"}, {}},
      {"BoardOutline", Maker<TPcbBoardOutline>(),
       Args("PcbApi_QueryPolygon", 2, {"StateFlags", "IndexWord", "Layer", "AuxValue1", "AuxByte"}),
       {"X", "Y", "AuxValue2"}, {}},
      {"SplitPlane", Maker<TPcbSplitPlane>(),
       Args("PcbApi_QuerySplitPlane", 2, {"StateFlags", "IndexWord", "Layer", "AuxValue1", "AuxByte"}),
       {"X", "Y", "AuxValue2"}, {}},
      {"Component", Maker<TPcbComponent>(),
       Args("PcbApi_QueryComponent", 2, {"StateFlags", "IndexWord", "Layer", "AuxByte"}) +
           Args("PcbApi_QueryComponent", 11, {"X", "Y"}),
       {"AuxValue1", "AuxValue2"}, Args("PcbApi_QueryComponent", 14, {"Rotation"}), true},
      {"Coordinate", Maker<TPcbCoordinate>(),
       Args("PcbApi_QueryCoordinate", 2, {"StateFlags", "IndexWord", "AuxByte", "X", "Y", "Layer"}),
       {"AuxValue1", "AuxValue2"}, {}},
      {"Dimension", Maker<TPcbDimension>(),
       Args("PcbApi_QueryDimension", 2, {"StateFlags", "IndexWord", "AuxByte", "X", "Y"}) +
           Args("PcbApi_QueryDimension", 9, {"Layer"}),
       {"AuxValue1", "AuxValue2"}, {}},
      {"FromTo", Maker<TPcbFromTo>(),
       Args("PcbApi_QueryFromTo", 2, {"IndexWord", "X", "Y", "FromToAttr1", "X2", "Y2", "FromToAttr2", "AuxValue1"}),
       {"StateFlags", "Layer", "AuxByte", "AuxValue2"}, {}},
      {"ManualFromTo", Maker<TPcbManualFromTo>(), Args("PcbApi_QueryManualFromTo", 2, {"IndexWord"}), noPosition, {}},
      {"Net", Maker<TPcbNet>(), Args("PcbApi_QueryNet", 2, {"IndexWord"}), noPosition,
       Args("PcbApi_QueryNet", 3, {"Name"})},
      {"ObjectClass", Maker<TPCBObjectClass>(), Args("PcbApi_QueryClass", 2, {"IndexWord"}), noPosition, {}},
      {"EmbeddedBoard", Maker<TPcbEmbeddedBoard>(),
       Args("PcbApi_QueryEmbeddedBoard", 2, {"StateFlags", "IndexWord", "AuxByte", "X", "Y"}) +
           Args("PcbApi_QueryEmbeddedBoard", 13, {"TextFlag"}),
       {"Layer", "AuxValue1", "AuxValue2"}, {}},
      {"ComponentBody", Maker<TPcbComponentBody>(),
       Args("PcbApi_QueryPrimitive", 2, {"StateFlags", "IndexWord", "Layer", "AuxValue1", "AuxValue2", "AuxByte"}),
       {"X", "Y"}, {}},
      {"DifferentialPair", Maker<TPcbDifferentialPair>(),
       Args("PcbApi_QueryPrimitive", 2, {"StateFlags", "IndexWord", "Layer", "AuxValue1", "AuxValue2", "AuxByte"}),
       {"X", "Y"}, {}},
      {"Violation", Maker<TPcbViolation>(), {}, nothingSent, {}},
      {"Rule", Maker<TPcbRule>(), {}, nothingSent, {}},
      {"Embedded", Maker<TPcbEmbedded>(), {}, nothingSent, {}},
  };
  return classes;
}

Value WireValue(const WrapperClass& c, const std::string& property, const Value& value) {
  if (property != "Layer" || c.LayerAsNumber) return value;
  return int64_t{LayerIdFromNumber(static_cast<TLayerNumber>(std::get<int64_t>(value)))};
}

// From now on every fetch of these queries hands out what this store sent.
void ReplayOnFetch(RecordingHost& host, const std::vector<HostCall>& stored) {
  for (const HostCall& call : stored) {
    if (!call.Directional) continue;
    host.OnCall(call.Name, [call](HostCall& fetch) {
      if (!fetch.Fetch) return;
      for (std::size_t i = 2; i < fetch.Args.size(); ++i) {
        const HostArg& arg = fetch.Args[i];
        if (!arg.ByRef || !arg.Writable) continue;
        if (arg.ArgType == HostArg::Type::Text) {
          fetch.SetText(i, call.Args[i].Text);
        } else if (arg.ArgType == HostArg::Type::F64) {
          fetch.SetFloat(i, call.Args[i].Float);
        } else {
          fetch.SetInt(i, call.Args[i].Int);
        }
      }
    });
  }
}

class AccessorsTest : public ::testing::TestWithParam<WrapperClass> {
 protected:
  std::vector<HostCall> Store(TPCBObject& object) {
    host.Clear();
    object.Sync(kStore);
    return host.Calls;
  }

  // The calls of `store` differ from `baseline` in argument `arg` of `query` only, if at all.
  void ExpectOnlyDifference(const std::vector<HostCall>& baseline, const std::vector<HostCall>& store,
                            const std::string& query, std::size_t arg, const std::string& context) {
    ASSERT_EQ(store.size(), baseline.size()) << context;
    for (std::size_t c = 0; c < store.size(); ++c) {
      ASSERT_EQ(store[c].Name, baseline[c].Name) << context;
      ASSERT_EQ(store[c].Args.size(), baseline[c].Args.size()) << context;
      for (std::size_t i = 0; i < store[c].Args.size(); ++i) {
        if (store[c].Name == query && i == arg) continue;
        EXPECT_EQ(Sent(store[c].Args[i]), Sent(baseline[c].Args[i]))
            << context << ": " << store[c].Name << " argument " << i << " changed";
      }
    }
  }

  RecordingHost host;
};

TEST_P(AccessorsTest, EachPropertyTravelsInItsOwnArgumentAndComesBack) {
  const WrapperClass& c = GetParam();
  const std::vector<HostCall> baseline = Store(*c.Make(5));
  for (const Exchanged& row : c.Exchanges) {
    const std::string context = std::string(c.Name) + "." + row.Property;
    const Accessor& accessor = Accessors().at(row.Property);
    const std::unique_ptr<TPCBObject> object = c.Make(5);
    accessor.Set(*object);
    EXPECT_EQ(accessor.Get(*object), accessor.Expected) << context;

    const std::vector<HostCall> stored = Store(*object);
    ExpectOnlyDifference(baseline, stored, row.Query, row.Arg, context);
    bool found = false;
    for (const HostCall& call : stored) {
      if (call.Name != row.Query) continue;
      found = true;
      ASSERT_LT(row.Arg, call.Args.size()) << context;
      EXPECT_EQ(Sent(call.Args[row.Arg]), WireValue(c, row.Property, accessor.Expected))
          << context << ": sent " << Show(Sent(call.Args[row.Arg]));
    }
    EXPECT_TRUE(found) << context << ": no " << row.Query;

    ReplayOnFetch(host, stored);
    const std::unique_ptr<TPCBObject> fresh = c.Make(5);
    fresh->Sync(kFetch);
    EXPECT_EQ(accessor.Get(*fresh), accessor.Expected) << context << " fetched back";
    ReplayOnFetch(host, baseline);
  }
}

TEST_P(AccessorsTest, PropertiesKeptOnlyInTheCopyNeverReachTheHost) {
  const WrapperClass& c = GetParam();
  const std::vector<HostCall> baseline = Store(*c.Make(5));
  for (const std::string& property : c.KeptOnly) {
    const Accessor& accessor = Accessors().at(property);
    const std::unique_ptr<TPCBObject> object = c.Make(5);
    accessor.Set(*object);
    EXPECT_EQ(accessor.Get(*object), accessor.Expected) << c.Name << "." << property;
    ExpectOnlyDifference(baseline, Store(*object), "", 0, std::string(c.Name) + "." + property);
  }
}

TEST_P(AccessorsTest, GettersWithoutSettersReadWhatTheHostHandsOut) {
  const WrapperClass& c = GetParam();
  for (const Exchanged& row : c.FetchedOnly) {
    const Accessor& accessor = Accessors().at(row.Property);
    const Value value = accessor.Expected;
    host.OnCall(row.Query, [arg = row.Arg, value](HostCall& call) {
      if (const auto* text = std::get_if<std::string>(&value)) call.SetText(arg, *text);
      if (const auto* number = std::get_if<double>(&value)) call.SetFloat(arg, *number);
      if (const auto* integer = std::get_if<int64_t>(&value)) call.SetInt(arg, *integer);
    });
    const std::unique_ptr<TPCBObject> object = c.Make(5);
    object->Sync(kFetch);
    EXPECT_EQ(accessor.Get(*object), value) << c.Name << "." << row.Property;
  }
}

TEST_P(AccessorsTest, SettersOfPropertiesTheClassLacksChangeNothing) {
  const WrapperClass& c = GetParam();
  std::map<std::string, bool> own;
  for (const Exchanged& row : c.Exchanges) own[row.Property] = true;
  for (const std::string& property : c.KeptOnly) own[property] = true;

  const std::unique_ptr<TPCBObject> untouched = c.Make(5);
  const std::unique_ptr<TPCBObject> object = c.Make(5);
  for (const auto& [property, accessor] : Accessors()) {
    if (own.count(property) == 0) accessor.Set(*object);
  }
  for (const auto& [property, accessor] : Accessors()) {
    if (own.count(property) == 0) {
      EXPECT_EQ(accessor.Get(*object), accessor.Get(*untouched)) << c.Name << "." << property;
    }
  }
  ExpectOnlyDifference(Store(*untouched), Store(*object), "", 0, c.Name);
}

INSTANTIATE_TEST_SUITE_P(EveryClass, AccessorsTest, ::testing::ValuesIn(Classes()),
                         [](const ::testing::TestParamInfo<WrapperClass>& param) { return param.param.Name; });


// --- Flags: each accessor works on its own bit of its own flag field ---

struct Flag {
  const char* Name;
  std::function<void(TPCBObject&, bool)> Set;
  std::function<bool(const TPCBObject&)> Get;
  uint16_t Mask;
};

template <typename Row>
void ExpectOnlyThisFlag(const std::vector<Row>& rows, const Row& on, const TPCBObject& object,
                        const std::string& context) {
  for (const Row& row : rows) EXPECT_EQ(row.Get(object), &row == &on) << context << ": " << row.Name;
}

class FlagsTest : public ::testing::Test {
 protected:
  // The value the last store sent in argument 2 of `query`.
  int64_t StoredField(TPCBObject& object, const std::string& query) {
    host.Clear();
    object.Sync(kStore);
    stored = host.Calls;
    return host.CallsTo(query).at(0).Int(2);
  }

  RecordingHost host;
  std::vector<HostCall> stored;
};

TEST_F(FlagsTest, EachStateFlagIsItsOwnBitAndComesBack) {
  const std::vector<Flag> flags = {
      {"0008", [](TPCBObject& o, bool b) { o.SetStateFlag0008AndStore(b); },
       [](const TPCBObject& o) { return o.GetStateFlag0008(); }, 0x0008},
      {"0010", [](TPCBObject& o, bool b) { o.SetStateFlag0010(b); },
       [](const TPCBObject& o) { return o.GetStateFlag0010(); }, 0x0010},
      // Stored inverted: "clear" is the bit's absence.
      {"0100", [](TPCBObject& o, bool b) { o.SetStateFlag0100ClearAndStore(!b); },
       [](const TPCBObject& o) { return !o.GetStateFlag0100Clear(); }, 0x0100},
      {"0800", [](TPCBObject& o, bool b) { o.SetStateFlag0800(b); },
       [](const TPCBObject& o) { return o.GetStateFlag0800(); }, 0x0800},
      {"1000", [](TPCBObject& o, bool b) { o.SetStateFlag1000(b); },
       [](const TPCBObject& o) { return o.GetStateFlag1000(); }, 0x1000},
      {"2000", [](TPCBObject& o, bool b) { o.SetStateFlag2000(b); },
       [](const TPCBObject& o) { return o.GetStateFlag2000(); }, 0x2000},
      {"4000", [](TPCBObject& o, bool b) { o.SetStateFlag4000(b); },
       [](const TPCBObject& o) { return o.GetStateFlag4000(); }, 0x4000},
      {"8000", [](TPCBObject& o, bool b) { o.SetStateFlag8000(b); },
       [](const TPCBObject& o) { return o.GetStateFlag8000(); }, 0x8000},
  };
  for (const Flag& flag : flags) {
    TPcbTrack track(5);
    flag.Set(track, true);
    ExpectOnlyThisFlag(flags, flag, track, flag.Name);
    EXPECT_EQ(StoredField(track, "PcbApi_QueryTrack"), flag.Mask) << flag.Name;

    ReplayOnFetch(host, stored);
    TPcbTrack fresh(5);
    fresh.Sync(kFetch);
    ExpectOnlyThisFlag(flags, flag, fresh, std::string(flag.Name) + " fetched back");

    flag.Set(track, false);
    EXPECT_FALSE(flag.Get(track)) << flag.Name;
    EXPECT_EQ(StoredField(track, "PcbApi_QueryTrack"), 0) << flag.Name;
  }
}

TEST_F(FlagsTest, BitField3BitsAreSetSeparatelyOrTogether) {
  const std::vector<Flag> bits = {
      {"02", [](TPCBObject& o, bool b) { o.SetBitField3Bit02(b); },
       [](const TPCBObject& o) { return o.GetBitField3Bit02(); }, 0x02},
      {"04", [](TPCBObject& o, bool b) { o.SetBitField3Bit04(b); },
       [](const TPCBObject& o) { return o.GetBitField3Bit04(); }, 0x04},
  };
  for (const Flag& bit : bits) {
    TPcbArc arc(5);
    bit.Set(arc, true);
    ExpectOnlyThisFlag(bits, bit, arc, bit.Name);
    EXPECT_TRUE(arc.GetBitField3Any()) << bit.Name;
    EXPECT_EQ(StoredField(arc, "PcbApi_GetObjectBitField3"), bit.Mask) << bit.Name;
    EXPECT_EQ(host.CallsTo("PcbApi_GetObjectBitField2").at(0).Int(2), 0) << bit.Name;

    ReplayOnFetch(host, stored);
    TPcbArc fresh(5);
    fresh.Sync(kFetch);
    ExpectOnlyThisFlag(bits, bit, fresh, std::string(bit.Name) + " fetched back");
  }
  TPcbArc arc(5);
  arc.SetBitField3Both(true);
  EXPECT_EQ(StoredField(arc, "PcbApi_GetObjectBitField3"), 0x06);
  arc.SetBitField3Both(false);
  EXPECT_FALSE(arc.GetBitField3Any());
  EXPECT_EQ(StoredField(arc, "PcbApi_GetObjectBitField3"), 0);
}

TEST_F(FlagsTest, EachBitField2GetterReadsItsOwnBit) {
  struct Bit {
    const char* Name;
    std::function<bool(const TPCBObject&)> Get;
    uint8_t Mask;
  };
  const std::vector<Bit> bits = {
      {"01", [](const TPCBObject& o) { return o.GetBitField2Bit01(); }, 0x01},
      {"02", [](const TPCBObject& o) { return o.GetBitField2Bit02(); }, 0x02},
      {"08", [](const TPCBObject& o) { return o.GetBitField2Bit08(); }, 0x08},
      {"10", [](const TPCBObject& o) { return o.GetBitField2Bit10(); }, 0x10},
      {"20", [](const TPCBObject& o) { return o.GetBitField2Bit20(); }, 0x20},
      {"40", [](const TPCBObject& o) { return o.GetBitField2Bit40(); }, 0x40},
  };
  for (const Bit& bit : bits) {
    host.SetFill("PcbApi_GetObjectBitField2", 2, bit.Mask);
    TPcbFill fill(5);
    fill.Sync(kFetch);
    ExpectOnlyThisFlag(bits, bit, fill, bit.Name);
  }
  // The bits no getter reads change none.
  host.SetFill("PcbApi_GetObjectBitField2", 2, 0x84);
  TPcbFill fill(5);
  fill.Sync(kFetch);
  for (const Bit& bit : bits) EXPECT_FALSE(bit.Get(fill)) << bit.Name;
}

}  // namespace
}  // namespace zz
