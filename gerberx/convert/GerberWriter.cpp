#include "gerberx/convert/GerberWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

namespace gerberx::convert {
namespace {

constexpr int kFirstDCode = 10;
constexpr int kLastDCode = 999;

// Millimetres with six decimals, 1 nm: each internal unit (2.54 nm) reads back to itself.
char* Coordinate(char* at, char letter, int64_t units) {
  *at++ = letter;
  return std::to_chars(at, at + 24, std::llround(static_cast<double>(units) * 2.54)).ptr;
}

std::string Millimetres(int64_t units) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", static_cast<double>(units) * 0.00000254);
  return text;
}

struct ApertureKey {
  char Letter;  // C, R or O
  int64_t X, Y;
  friend bool operator<(const ApertureKey& a, const ApertureKey& b) {
    return std::tie(a.Letter, a.X, a.Y) < std::tie(b.Letter, b.X, b.Y);
  }
};

class Writer {
 public:
  explicit Writer(std::ostream& out) : out_(out) {}

  WrittenCounts Write(const ConvertedLayer& layer, std::string_view secondLine) {
    // First every aperture, so that the definitions stand before every use.
    for (const KeptPad& p : layer.Pads) Define(PadKey(p));
    for (const KeptTrack& t : layer.Tracks) Define({'C', t.Width, t.Width});
    for (const KeptArc& a : layer.Arcs) Define({'C', a.Width, a.Width});
    for (const KeptRectStroke& s : layer.RectStrokes) Define({'R', s.XSize, s.YSize});
    for (const RoundTrack& t : layer.Decomposed.Tracks) Define({'C', t.Width, t.Width});
    for (const RoundArc& a : layer.Decomposed.Arcs) Define({'C', a.Width, a.Width});
    for (const RoundDisc& d : layer.Decomposed.Discs) Define({'C', d.Diameter, d.Diameter});
    PlanFills(layer.Decomposed.Fills);

    Put("%FSLAX46Y46*%\n");
    if (!secondLine.empty()) {
      Put(secondLine);
      Put('\n');
    }
    Put("%MOMM*%\n");
    for (const auto& [key, code] : codes_) {
      Put("%ADD" + std::to_string(code) + key.Letter + ',' + Millimetres(key.X));
      if (key.Letter != 'C') Put('X' + Millimetres(key.Y));
      Put("*%\n");
    }
    Put("G75*\nG01*\n");

    for (const KeptPad& p : layer.Pads) Flash(PadKey(p), p.At);
    for (const RoundDisc& d : layer.Decomposed.Discs) Flash({'C', d.Diameter, d.Diameter}, d.Centre);
    for (const KeptTrack& t : layer.Tracks) Line({'C', t.Width, t.Width}, t.From, t.To);
    for (const RoundTrack& t : layer.Decomposed.Tracks) Line({'C', t.Width, t.Width}, t.A, t.B);
    for (const KeptArc& a : layer.Arcs) Arc(a.Width, a.From, a.To, a.Centre, a.Clockwise);
    for (const RoundArc& a : layer.Decomposed.Arcs) {
      const auto at = [&](double deg) {
        const double t = deg * std::numbers::pi / 180.0;
        return IntPoint{a.Centre.X + std::llround(static_cast<double>(a.Radius) * std::cos(t)),
                        a.Centre.Y + std::llround(static_cast<double>(a.Radius) * std::sin(t))};
      };
      Arc(a.Width, at(a.StartDeg), at(a.EndDeg), a.Centre, false);
    }
    for (const KeptRectStroke& s : layer.RectStrokes) Line({'R', s.XSize, s.YSize}, s.From, s.To);
    for (const FillBox& f : layer.Decomposed.Fills) Fill(f);
    Put("M02*\n");
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    counts_.Apertures = codes_.size();
    return counts_;
  }

 private:
  static ApertureKey PadKey(const KeptPad& p) {
    switch (p.Shape) {
      case ApertureShape::Rectangle:
        return {'R', p.XSize, p.YSize};
      case ApertureShape::Obround:
        return {'O', p.XSize, p.YSize};
      default:
        return {'C', p.XSize, p.XSize};
    }
  }

  // Neighbouring objects mostly share their aperture: the last one is asked first.
  bool IsLast(const ApertureKey& key) const {
    return lastCode_ != 0 && key.Letter == last_.Letter && key.X == last_.X && key.Y == last_.Y;
  }

  void Define(const ApertureKey& key) {
    if (IsLast(key)) return;
    if (const auto known = codes_.find(key); known != codes_.end()) {
      last_ = key;
      lastCode_ = known->second;
      return;
    }
    if (nextCode_ > kLastDCode) {
      throw std::length_error("the layer needs more than " + std::to_string(kLastDCode - kFirstDCode + 1) +
                              " apertures, more than the importer's D-codes hold");
    }
    codes_.emplace(key, nextCode_++);
  }

  void Select(const ApertureKey& key) {
    if (!IsLast(key)) {
      last_ = key;
      lastCode_ = codes_.at(key);
    }
    const int code = lastCode_;
    if (code != current_) Put('D' + std::to_string(code) + "*\n");
    current_ = code;
  }

  void Interpolation(int g) {
    if (g != interpolation_) Put(g == 1 ? "G01*\n" : g == 2 ? "G02*\n" : "G03*\n");
    interpolation_ = g;
  }

  void Point(IntPoint p) { Pair('X', p.X, 'Y', p.Y); }

  void Pair(char a, int64_t x, char b, int64_t y) {
    char text[64];
    char* end = Coordinate(Coordinate(text, a, x), b, y);
    Put(std::string_view(text, static_cast<std::size_t>(end - text)));
  }

  // Into a buffer written out in large pieces: a stream's call per field costs more than the
  // formatting.
  void Put(std::string_view text) {
    buffer_.append(text);
    if (buffer_.size() >= (1u << 20)) {
      out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
      buffer_.clear();
    }
  }
  void Put(char c) { Put(std::string_view(&c, 1)); }

  void Flash(const ApertureKey& key, IntPoint at) {
    Select(key);
    Point(at);
    Put("D03*\n");
    ++counts_.Pads;
  }

  void Line(const ApertureKey& key, IntPoint from, IntPoint to) {
    Select(key);
    Interpolation(1);
    Point(from);
    Put("D02*\n");
    Point(to);
    Put("D01*\n");
    ++(key.Letter == 'R' ? counts_.Fills : counts_.Tracks);
  }

  void Arc(int64_t width, IntPoint from, IntPoint to, IntPoint centre, bool clockwise) {
    Select({'C', width, width});
    Interpolation(clockwise ? 2 : 3);
    Point(from);
    Put("D02*\n");
    Point(to);
    Pair('I', centre.X - from.X, 'J', centre.Y - from.Y);
    Put("D01*\n");
    Interpolation(1);
    ++counts_.Arcs;
  }

  // A box is a stroke of a square along its long side; the square's side is the short side, so
  // that both the importer's fill and the swept square are exactly the box. Short sides come
  // from apertures of their own while D-codes last, the rest from two strokes of a power of two.
  void PlanFills(const std::vector<FillBox>& fills) {
    std::unordered_map<int64_t, std::size_t> uses;
    for (const FillBox& f : fills) ++uses[Thickness(f)];
    std::vector<std::pair<std::size_t, int64_t>> byUse;
    for (const auto& [side, n] : uses) byUse.emplace_back(n, side);
    std::sort(byUse.begin(), byUse.end(), [](const auto& a, const auto& b) {
      return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    // Room for the powers of two that stand in for the rest.
    const std::size_t room =
        static_cast<std::size_t>(kLastDCode + 1 - nextCode_) - std::min<std::size_t>(40, byUse.size());
    for (std::size_t i = 0; i < byUse.size(); ++i) {
      if (i < room) {
        Define({'R', byUse[i].second, byUse[i].second});
        exact_.emplace(byUse[i].second);
      } else {
        Define({'R', PowerOfTwoBelow(byUse[i].second), PowerOfTwoBelow(byUse[i].second)});
      }
    }
  }

  static int64_t Thickness(const FillBox& f) { return std::min(f.X2 - f.X1, f.Y2 - f.Y1); }

  static int64_t PowerOfTwoBelow(int64_t v) {
    int64_t p = 1;
    while (p * 2 <= v) p *= 2;
    return p;
  }

  void Fill(const FillBox& f) {
    const int64_t side = Thickness(f);
    if (side <= 0) return;
    const bool wide = f.X2 - f.X1 >= f.Y2 - f.Y1;
    // The centre line of a stroke of a square `s` across [lo, hi] of the short side.
    const auto stroke = [&](int64_t s, int64_t across) {
      const int64_t h = s / 2;
      if (wide) {
        Line({'R', s, s}, {f.X1 + h, across}, {f.X2 - h, across});
      } else {
        Line({'R', s, s}, {across, f.Y1 + h}, {across, f.Y2 - h});
      }
    };
    const int64_t lo = wide ? f.Y1 : f.X1;
    const int64_t hi = wide ? f.Y2 : f.X2;
    if (exact_.count(side) != 0) {
      stroke(side, lo + side / 2);
      return;
    }
    const int64_t s = PowerOfTwoBelow(side);
    stroke(s, lo + s / 2);
    if (s < side) stroke(s, hi - s / 2);
  }

  std::ostream& out_;
  std::string buffer_;
  std::map<ApertureKey, int> codes_;
  ApertureKey last_{};
  int lastCode_ = 0;  // of last_; 0 before the first
  std::unordered_set<int64_t> exact_;
  int nextCode_ = kFirstDCode;
  int current_ = -1;
  int interpolation_ = 1;
  WrittenCounts counts_;
};

}  // namespace

WrittenCounts WriteGerber(std::ostream& out, const ConvertedLayer& layer, std::string_view secondLine) {
  return Writer(out).Write(layer, secondLine);
}

}  // namespace gerberx::convert
