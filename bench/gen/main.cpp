// zz-gengerber: deterministic Gerber files for benchmarks and end-to-end tests.
//
//   zz-gengerber large --seed N --size SIZE --out FILE     one large RS-274-X file, and FILE.stats
//   zz-gengerber pours --seed N --size SIZE --out FILE     one large region-heavy file, and FILE.stats
//   zz-gengerber corpus --seed N --count N --out DIR [--eol crlf|lf|mixed|varied] [--rough]
//
// SIZE is a byte count with an optional K, M or G suffix (powers of 1024). The corpus mode prints
// the path of every Gerber file it wrote, one a line; their aperture table files lie beside them.

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

#include "gen/GerberGenerator.h"

namespace {

int Usage() {
  std::cerr << "usage: zz-gengerber large --seed N --size SIZE[K|M|G] --out FILE\n"
               "       zz-gengerber pours --seed N --size SIZE[K|M|G] --out FILE\n"
               "       zz-gengerber corpus --seed N --count N --out DIR [--eol crlf|lf|mixed|varied] [--rough]\n";
  return 2;
}

bool ParseNumber(const std::string& text, uint64_t& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtoull(text.c_str(), &end, 10);
  uint64_t scale = 1;
  if (*end == 'K' || *end == 'k') scale = 1ULL << 10;
  if (*end == 'M' || *end == 'm') scale = 1ULL << 20;
  if (*end == 'G' || *end == 'g') scale = 1ULL << 30;
  if (scale != 1) ++end;
  value *= scale;
  return end != text.c_str() && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string mode = argv[1];
  std::map<std::string, std::string> options;
  bool rough = false;
  for (int i = 2; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "--rough") {
      rough = true;
    } else if (i + 1 < argc) {
      options[name] = argv[++i];
    } else {
      return Usage();
    }
  }

  uint64_t seed = 0;
  if (!options.count("--seed") || !ParseNumber(options["--seed"], seed) || !options.count("--out")) return Usage();
  const std::string out = options["--out"];

  try {
    if (mode == "large") {
      if (rough) return Usage();
      uint64_t size = 0;
      if (!options.count("--size") || !ParseNumber(options["--size"], size)) return Usage();
      std::ofstream file(out, std::ios::binary | std::ios::trunc);
      if (!file) {
        std::cerr << "zz-gengerber: cannot write " << out << '\n';
        return 1;
      }
      const zzbench::LargeFileStats stats = zzbench::WriteLargeFile(file, seed, size);
      file.close();
      std::ofstream statsFile(out + ".stats", std::ios::trunc);
      statsFile << zzbench::FormatStats(stats);
      if (!file || !statsFile) {
        std::cerr << "zz-gengerber: cannot write " << out << '\n';
        return 1;
      }
      std::cout << zzbench::FormatStats(stats);
      return 0;
    }
    if (mode == "pours") {
      uint64_t size = 0;
      if (rough || !options.count("--size") || !ParseNumber(options["--size"], size)) return Usage();
      std::ofstream file(out, std::ios::binary | std::ios::trunc);
      const zzbench::PourFileStats stats = zzbench::WritePourFile(file, seed, size);
      file.close();
      std::ofstream statsFile(out + ".stats", std::ios::trunc);
      statsFile << zzbench::FormatPourStats(stats);
      if (!file || !statsFile) {
        std::cerr << "zz-gengerber: cannot write " << out << '\n';
        return 1;
      }
      std::cout << zzbench::FormatPourStats(stats);
      return 0;
    }
    if (mode == "corpus") {
      uint64_t count = 0;
      if (!options.count("--count") || !ParseNumber(options["--count"], count) || count > 100000) return Usage();
      zzbench::CorpusOptions corpus;
      corpus.Rough = rough;
      if (options.count("--eol")) {
        const std::string eol = options["--eol"];
        if (eol == "lf") {
          corpus.Eol = zzbench::LineEnds::Lf;
        } else if (eol == "mixed") {
          corpus.Eol = zzbench::LineEnds::Mixed;
        } else if (eol == "varied") {
          corpus.Eol = zzbench::LineEnds::Varied;
        } else if (eol != "crlf") {
          return Usage();
        }
      }
      for (const zzbench::CorpusFile& file : zzbench::WriteCorpus(out, seed, static_cast<int>(count), corpus)) {
        std::cout << file.Gerber.string() << '\n';
      }
      return 0;
    }
  } catch (const std::exception& error) {
    std::cerr << "zz-gengerber: " << error.what() << '\n';
    return 1;
  }
  return Usage();
}
