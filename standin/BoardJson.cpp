#include "standin/BoardJson.h"

#include <charconv>
#include <nlohmann/json.hpp>
#include <sstream>

namespace standin {
namespace {

using nlohmann::json;

// A value written by the JSON library, so strings are escaped and doubles round-trip.
std::string Text(const json& value) { return value.dump(-1, ' ', false, json::error_handler_t::replace); }

// Integers without any locale's digit grouping.
struct Int {
  int64_t Value;
  friend std::ostream& operator<<(std::ostream& out, Int n) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n.Value).ptr;
    return out.write(digits, end - digits);
  }
};

class ObjectWriter {
 public:
  explicit ObjectWriter(std::ostream& out) : out_(out) {}

  void Begin(const char* kind, uint32_t layerId) {
    out_ << "{\"kind\":\"" << kind << "\",\"layer\":" << Int{zz::LayerNumberFromId(layerId)};
  }
  void Length(const char* key, int32_t value) { out_ << ",\"" << key << "\":" << Int{value}; }
  void Angle(const char* key, double value) { out_ << ",\"" << key << "\":" << Text(value); }
  void Size(const char* key, int32_t x, int32_t y, uint8_t shape) {
    out_ << ",\"" << key << "\":{\"x_size\":" << Int{x} << ",\"y_size\":" << Int{y} << ",\"shape\":" << Int{shape}
         << '}';
  }
  void End() { out_ << '}'; }

 private:
  std::ostream& out_;
};

void WriteObject(std::ostream& out, const ObjectStore& objects, THandle handle) {
  ObjectWriter w(out);
  if (const auto t = objects.FindTrack(handle)) {
    w.Begin("track", t->Common.LayerId);
    w.Length("x1", t->X);
    w.Length("y1", t->Y);
    w.Length("x2", t->X2);
    w.Length("y2", t->Y2);
    w.Length("width", t->Width);
  } else if (const auto f = objects.FindFill(handle)) {
    w.Begin("fill", f->Common.LayerId);
    w.Length("x1", f->X);
    w.Length("y1", f->Y);
    w.Length("x2", f->X2);
    w.Length("y2", f->Y2);
    w.Angle("rotation", f->Rotation);
  } else if (const auto a = objects.FindArc(handle)) {
    w.Begin("arc", a->Common.LayerId);
    w.Length("x", a->X);
    w.Length("y", a->Y);
    w.Length("radius", a->Radius);
    w.Angle("start_angle", a->StartAngle);
    w.Angle("end_angle", a->EndAngle);
    w.Length("width", a->LineWidth);
  } else if (const auto p = objects.FindPad(handle)) {
    w.Begin("pad", p->Common.LayerId);
    w.Length("x", p->X);
    w.Length("y", p->Y);
    w.Length("hole_size", p->HoleSize);
    w.Angle("rotation", p->Rotation);
    w.Size("top", p->TopXSize, p->TopYSize, p->TopShape);
    w.Size("mid", p->MidXSize, p->MidYSize, p->MidShape);
    w.Size("bot", p->BotXSize, p->BotYSize, p->BotShape);
  } else {
    const CommonFields* c = objects.FindCommon(handle);
    w.Begin(KindName(objects.KindOf(handle)), c != nullptr ? c->LayerId : 0);
  }
  w.End();
}

}  // namespace

void WriteBoardJson(std::ostream& out, const Server& server, const Board& board, const DumpHeader& header,
                    std::string_view more) {
  out << "{\"format\":\"zizozudu-board/1\",\"file\":" << Text(header.File)
      << ",\"recognised\":" << (header.Recognised ? "true" : "false")
      << ",\"result\":" << (header.Result ? "true" : "false") << ",\"messages\":" << Text(server.Ui().Messages())
      << ",\"current_layer\":" << Int{CurrentLayerNumber(board)} << ",\"objects\":[";
  bool first = true;
  for (const THandle handle : board.Objects) {
    out << (first ? "\n" : ",\n");
    first = false;
    WriteObject(out, server.Objects(), handle);
  }
  out << (first ? "]" : "\n]");
  out << more << "}\n";
}

std::string BoardJson(const Server& server, const Board& board, const DumpHeader& header, std::string_view more) {
  std::ostringstream out;
  WriteBoardJson(out, server, board, header, more);
  return out.str();
}

std::string JsonString(std::string_view text) { return Text(std::string(text)); }
std::string JsonStrings(const std::vector<std::string>& texts) { return Text(texts); }

}  // namespace standin
