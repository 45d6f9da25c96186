#include <sstream>
#include <ostream>
#include <string>

#include "GerberGenerator.h"

namespace zzbench {
namespace {

// Coordinates in 0.0001 inch (format 2.4).
void Point(std::ostream& out, int64_t x, int64_t y) { out << 'X' << x << 'Y' << y; }

}  // namespace

// Tiles of 0.5 by 0.5 inch, forty to a row of 20 inches, row after row until
// the target size: in each tile a pour (a region with chamfered corners), round and square
// clearances cut into it in clear polarity, pads in them (round, rectangle and a rounded
// rectangle macro), a via with its clearance, and a few tracks.
PourFileStats WritePourFile(std::ostream& out, uint64_t seed, uint64_t targetBytes) {
  Random random(seed);
  PourFileStats stats;
  std::string head =
      "G04 Pours with clearances and macro pads, written by zz-gengerber*\r\n"
      "%TF.FileFunction,Copper,L2,Inr*%\r\n"
      "%FSLAX34Y34*%\r\n%MOIN*%\r\n"
      "%AMROUNDRECT*\r\n0 width, height, corner radius*\r\n"
      "21,1,$1,$2-$3-$3,0,0,0*\r\n21,1,$1-$3-$3,$2,0,0,0*\r\n"
      "1,1,$3+$3,$1/2-$3,$2/2-$3*\r\n1,1,$3+$3,-$1/2+$3,$2/2-$3*\r\n"
      "1,1,$3+$3,-$1/2+$3,-$2/2+$3*\r\n1,1,$3+$3,$1/2-$3,-$2/2+$3*%\r\n"
      "%ADD10C,0.0100*%\r\n%ADD11C,0.0600*%\r\n%ADD12C,0.0800*%\r\n%ADD13R,0.0600X0.0400*%\r\n"
      "%ADD14ROUNDRECT,0.0700X0.0450X0.0100*%\r\n%ADD15C,0.0300*%\r\n%ADD16C,0.0500*%\r\nG01*\r\nG75*\r\n";
  out << head;
  uint64_t bytes = head.size();
  constexpr int64_t kTile = 5000;
  for (int64_t tile = 0; bytes < targetBytes; ++tile) {
    const int64_t x0 = (tile % 40) * kTile + 100;
    const int64_t y0 = (tile / 40) * kTile + 100;
    const int64_t w = kTile - 200;
    const int64_t c = random.Range(200, 600);  // chamfer
    std::string text;
    std::ostringstream s;
    s << "%LPD*%\r\nG36*\r\n";
    Point(s, x0 + c, y0), s << "D02*\r\n";
    Point(s, x0 + w - c, y0), s << "D01*\r\n";
    Point(s, x0 + w, y0 + c), s << "D01*\r\n";
    Point(s, x0 + w, y0 + w - c), s << "D01*\r\n";
    Point(s, x0 + w - c, y0 + w), s << "D01*\r\n";
    Point(s, x0 + c, y0 + w), s << "D01*\r\n";
    Point(s, x0, y0 + w - c), s << "D01*\r\n";
    Point(s, x0, y0 + c), s << "D01*\r\n";
    Point(s, x0 + c, y0), s << "D01*\r\nG37*\r\n%LPC*%\r\n";
    ++stats.Regions;
    // Clearances on a 3 by 3 grid inside the pour, round or rectangular.
    int64_t px[9], py[9];
    for (int k = 0; k < 9; ++k) {
      px[k] = x0 + 900 + (k % 3) * 1500 + random.Range(-100, 100);
      py[k] = y0 + 900 + (k / 3) * 1500 + random.Range(-100, 100);
      if (random.Percent(50)) {
        s << "D12*\r\n";
        Point(s, px[k], py[k]), s << "D03*\r\n";
      } else {
        s << "G36*\r\n";
        Point(s, px[k] - 550, py[k] - 400), s << "D02*\r\n";
        Point(s, px[k] + 550, py[k] - 400), s << "D01*\r\n";
        Point(s, px[k] + 550, py[k] + 400), s << "D01*\r\n";
        Point(s, px[k] - 550, py[k] + 400), s << "D01*\r\n";
        Point(s, px[k] - 550, py[k] - 400), s << "D01*\r\nG37*\r\n";
      }
      ++stats.Clearances;
    }
    // A clear slot along one row.
    s << "D16*\r\n";
    Point(s, x0 + 300, y0 + 1650), s << "D02*\r\n";
    Point(s, x0 + w - 300, y0 + 1650), s << "D01*\r\n%LPD*%\r\n";
    ++stats.Clearances;
    for (int k = 0; k < 9; ++k) {
      const int kind = static_cast<int>(random.Range(0, 2));
      s << (kind == 0 ? "D11*\r\n" : kind == 1 ? "D13*\r\n" : "D14*\r\n");
      Point(s, px[k], py[k]), s << "D03*\r\n";
      ++(kind == 2 ? stats.MacroPads : stats.Pads);
    }
    s << "D10*\r\n";
    for (int k = 0; k + 1 < 9; k += 2) {
      Point(s, px[k], py[k]), s << "D02*\r\n";
      Point(s, px[k + 1], py[k + 1]), s << "D01*\r\n";
      ++stats.Tracks;
    }
    text = s.str();
    out << text;
    bytes += text.size();
  }
  out << "M02*\r\n";
  stats.Bytes = bytes + 6;
  return stats;
}

std::string FormatPourStats(const PourFileStats& stats) {
  return "bytes=" + std::to_string(stats.Bytes) + "\nregions=" + std::to_string(stats.Regions) +
         "\nclearances=" + std::to_string(stats.Clearances) + "\npads=" + std::to_string(stats.Pads) +
         "\nmacro_pads=" + std::to_string(stats.MacroPads) + "\ntracks=" + std::to_string(stats.Tracks) + "\n";
}

}  // namespace zzbench
