// The large RS-274-X file of the benchmarks.

#include <algorithm>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "gen/GeneratorParts.h"
#include "gen/GerberGenerator.h"

namespace zzbench {
namespace {

using parts::AppendInt;
using parts::Decimal;
using parts::Vec;

enum class ApertureKind { Circle, Rectangle, Obround };

struct ApertureDef {
  int DCode;
  ApertureKind Kind;
};

// Coordinates in units of 0.0001 inch; points stay 0.5 inch inside the 10 inch square so that
// arcs of up to 0.4 inch radius never leave it.
constexpr int64_t kMin = 5000;
constexpr int64_t kMax = 95000;

int64_t Clamp(int64_t v) { return std::clamp(v, kMin, kMax); }

// Writes the file statement by statement through a buffer, counting what it writes. The order of
// the random draws decides the bytes: keep it when changing anything here.
class LargeFile {
 public:
  LargeFile(std::ostream& out, uint64_t seed) : out_(out), rng_(seed) { buffer_.reserve(kFlushAt + 256); }

  void WriteHeader(uint64_t seed) {
    Line("%FSLAX24Y24*%");
    Line("%MOIN*%");
    buffer_ += "G04 zz-gengerber large file, seed ";
    AppendInt(buffer_, static_cast<int64_t>(seed));
    Line("*");
  }

  // A few dozen apertures: round ones for drawing and flashing, rectangles and obrounds for flashing.
  void DefineApertures() {
    int dcode = 10;
    for (int i = 0; i < 16; ++i, ++dcode) {
      Define(dcode, 'C', Decimal(rng_.Range(40, 1000), 4));
      round_.push_back({dcode, ApertureKind::Circle});
    }
    for (int i = 0; i < 20; ++i, ++dcode) {
      const bool rectangle = i < 10;
      std::string size = Decimal(rng_.Range(100, 1200), 4);
      size += 'X';
      size += Decimal(rng_.Range(100, 1200), 4);
      Define(dcode, rectangle ? 'R' : 'O', size);
      all_.push_back({dcode, rectangle ? ApertureKind::Rectangle : ApertureKind::Obround});
    }
    all_.insert(all_.end(), round_.begin(), round_.end());
    stats_.Apertures = all_.size();
    Line("G75*");
    Line("G01*");
  }

  void MoveToStart() {
    at_ = {Clamp(rng_.Range(kMin, kMax)), Clamp(rng_.Range(kMin, kMax))};
    Select(round_[0]);
    WriteXY(at_);
    Line("D02*");
    ++stats_.Moves;
  }

  // About 60 % linear draws, 5 % arcs, 10 % moves and 25 % flashes.
  void WriteOperation() {
    const int64_t roll = rng_.Range(0, 99);
    if (roll < 60) {
      Draw();
    } else if (roll < 70) {
      Move();
    } else if (roll < 95) {
      Flash();
    } else {
      DrawArc();
    }
  }

  uint64_t Written() const { return stats_.Bytes + buffer_.size(); }

  LargeFileStats Finish() {
    Line("M02*");
    Flush();
    return stats_;
  }

 private:
  enum class Mode { Linear, Clockwise, CounterClockwise };

  void Define(int dcode, char shape, std::string_view size) {
    buffer_ += "%ADD";
    AppendInt(buffer_, dcode);
    buffer_ += shape;
    buffer_ += ',';
    buffer_ += size;
    Line("*%");
  }

  void Draw() {
    UseRoundAperture();
    SetMode(Mode::Linear, "G01");
    Vec to{Clamp(at_.X + rng_.Range(-2000, 2000)), Clamp(at_.Y + rng_.Range(-2000, 2000))};
    const int64_t shape = rng_.Range(0, 9);  // a fifth of the draws run along an axis
    if (shape == 0) to.X = at_.X;
    if (shape == 1) to.Y = at_.Y;
    if (to.X == at_.X && to.Y == at_.Y) to.X = at_.X == kMax ? at_.X - 1 : at_.X + 1;
    WriteChangedXY(to);
    Line("D01*");
    ++stats_.Tracks;
  }

  void DrawArc() {
    UseRoundAperture();
    const bool clockwise = rng_.Percent(50);
    SetMode(clockwise ? Mode::Clockwise : Mode::CounterClockwise, clockwise ? "G02" : "G03");
    const int64_t radius = rng_.Range(200, 4000);
    const int steps =
        rng_.Percent(5) ? parts::kDirections : static_cast<int>(rng_.Range(1, parts::kDirections - 1));
    // The walk keeps points 0.5 inch inside the square; an arc may end up to 0.4 inch nearer its
    // edge, and the next arc shrinks to fit.
    const parts::Arc arc = parts::InwardArc(rng_, at_, radius, parts::Box{0, 100000}, clockwise ? -steps : steps);
    WriteXY(arc.End);
    buffer_ += 'I';
    AppendInt(buffer_, arc.Offset.X);
    buffer_ += 'J';
    AppendInt(buffer_, arc.Offset.Y);
    Line("D01*");
    ++stats_.Arcs;
  }

  void Move() {
    WriteXY({rng_.Range(kMin, kMax), rng_.Range(kMin, kMax)});
    Line("D02*");
    ++stats_.Moves;
  }

  void Flash() {
    if (rng_.Percent(15)) Select(all_[static_cast<std::size_t>(rng_.Range(0, all_.size() - 1))]);
    WriteXY({Clamp(at_.X + rng_.Range(-3000, 3000)), Clamp(at_.Y + rng_.Range(-3000, 3000))});
    Line("D03*");
    ++stats_.Pads;
  }

  // Draws take round apertures only; now and then another one.
  void UseRoundAperture() {
    if (current_.Kind != ApertureKind::Circle || rng_.Percent(3)) {
      Select(round_[static_cast<std::size_t>(rng_.Range(0, round_.size() - 1))]);
    }
  }

  void Select(const ApertureDef& aperture) {
    current_ = aperture;
    buffer_ += 'D';
    AppendInt(buffer_, aperture.DCode);
    Line("*");
    ++stats_.Selects;
  }

  // The G code goes in front of the coordinates of the statement that changes the mode.
  void SetMode(Mode mode, std::string_view gcode) {
    if (mode_ == mode) return;
    buffer_ += gcode;
    mode_ = mode;
  }

  void WriteXY(Vec to) {
    buffer_ += 'X';
    AppendInt(buffer_, to.X);
    buffer_ += 'Y';
    AppendInt(buffer_, to.Y);
    at_ = to;
  }

  // X and Y of the new point, the unchanged ones left out as the modal registers allow.
  void WriteChangedXY(Vec to) {
    if (to.X != at_.X) {
      buffer_ += 'X';
      AppendInt(buffer_, to.X);
    }
    if (to.Y != at_.Y) {
      buffer_ += 'Y';
      AppendInt(buffer_, to.Y);
    }
    at_ = to;
  }

  void Line(std::string_view text) {
    buffer_ += text;
    buffer_ += "\r\n";
    ++stats_.Lines;
    ++stats_.Statements;
    if (buffer_.size() >= kFlushAt) Flush();
  }

  void Flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    stats_.Bytes += buffer_.size();
    buffer_.clear();
  }

  static constexpr std::size_t kFlushAt = 1 << 20;
  std::ostream& out_;
  Random rng_;
  std::string buffer_;
  LargeFileStats stats_;
  std::vector<ApertureDef> round_;
  std::vector<ApertureDef> all_;  // rectangles, obrounds, then the round ones
  ApertureDef current_{0, ApertureKind::Circle};
  Mode mode_ = Mode::Linear;
  Vec at_{0, 0};
};

}  // namespace

LargeFileStats WriteLargeFile(std::ostream& out, uint64_t seed, uint64_t targetBytes) {
  LargeFile file(out, seed);
  file.WriteHeader(seed);
  file.DefineApertures();
  file.MoveToStart();
  while (file.Written() < targetBytes) file.WriteOperation();
  return file.Finish();
}

std::string FormatStats(const LargeFileStats& s) {
  std::string text;
  const auto line = [&](const char* key, uint64_t value) {
    text += key;
    text += '=';
    text += std::to_string(value);
    text += '\n';
  };
  line("bytes", s.Bytes);
  line("lines", s.Lines);
  line("statements", s.Statements);
  line("tracks", s.Tracks);
  line("arcs", s.Arcs);
  line("pads", s.Pads);
  line("fills", 0);
  line("moves", s.Moves);
  line("selects", s.Selects);
  line("apertures", s.Apertures);
  return text;
}

}  // namespace zzbench
