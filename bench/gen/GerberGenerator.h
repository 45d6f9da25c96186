#pragma once

// Deterministic Gerber files for benchmarks and end-to-end tests. The same seed gives the same
// bytes on every run and platform: the generator has its own random sequence and integer
// geometry, and uses nothing of the C library whose results could differ between libraries.

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace zzbench {

// xoshiro256** seeded through splitmix64.
class Random {
 public:
  explicit Random(uint64_t seed);
  uint64_t Next();
  // Uniform in lo..hi, both included (lo <= hi).
  int64_t Range(int64_t lo, int64_t hi);
  // True with probability percent / 100.
  bool Percent(int percent) { return Range(0, 99) < percent; }

 private:
  uint64_t s_[4];
};

// What a large file holds, by kind of statement. Every draw uses a round aperture, so draws
// become tracks or arcs and never fills.
struct LargeFileStats {
  uint64_t Bytes = 0;
  uint64_t Lines = 0;
  uint64_t Statements = 0;  // every statement, parameter statements included
  uint64_t Tracks = 0;      // linear draws
  uint64_t Arcs = 0;        // circular draws (G75, I and J)
  uint64_t Pads = 0;        // flashes
  uint64_t Moves = 0;
  uint64_t Selects = 0;  // aperture selections (Dnn*)
  uint64_t Apertures = 0;
};

// A large RS-274-X file of about targetBytes bytes (it stops at the first statement that reaches
// the target): format 2.4 with leading zeros omitted, inches, a few dozen C, R and O apertures,
// of the operations about 60 % draws, 10 % moves, 25 % flashes and 5 % arcs, CR LF line ends,
// every coordinate within 0..10 inches.
LargeFileStats WriteLargeFile(std::ostream& out, uint64_t seed, uint64_t targetBytes);

// The stats as "key=value" lines, as the benchmark script reads them.
std::string FormatStats(const LargeFileStats& stats);

// What a pour file holds: regions, clear objects, pads, macro pads and tracks.
struct PourFileStats {
  uint64_t Bytes = 0;
  uint64_t Regions = 0;
  uint64_t Clearances = 0;
  uint64_t Pads = 0;
  uint64_t MacroPads = 0;
  uint64_t Tracks = 0;
};

// A region-heavy RS-274-X file of about targetBytes bytes, as today's CAD programs write inner
// layers: tiles of pours with chamfered corners, round and rectangular clearances and a slot cut
// in clear polarity, pads (some of them rounded-rectangle macros) and tracks; format 3.4, inches.
PourFileStats WritePourFile(std::ostream& out, uint64_t seed, uint64_t targetBytes);
std::string FormatPourStats(const PourFileStats& stats);

// Mixed: every fourth file with bare line feeds; Varied: as Mixed, and every tenth file with no
// line ends at all.
enum class LineEnds { CrLf, Lf, Mixed, Varied };

struct CorpusOptions {
  LineEnds Eol = LineEnds::CrLf;
  // Files as they come from the field, not all of them valid: statements the importer ignores or
  // cannot read, files without units or aperture definitions, formats up to 4.5, D codes up to
  // 999, files without extension or with odd ones, table files missing, doubled, with stray lines
  // or unusual words, in either form under either name.
  bool Rough = false;
};

struct CorpusFile {
  std::filesystem::path Gerber;
  std::filesystem::path Table;  // the first table file; empty for RS-274-X files and files without one
  std::string Description;      // e.g. "RS-274-X inch 2.4 L" or "RS-274-D mm 3.3 T, keyed table"
};

// count small valid files in folder (created if missing): RS-274-X in inches and millimetres with
// every aperture shape, leading or trailing zero omission, formats 2.3, 2.4, 3.3 and 2.5, linear
// and rectangle draws, G74 and G75 arcs both ways with full circles, moves, flashes and comments;
// and RS-274-D files with an aperture table beside them, a plain list (x.gbr -> x.Abr) or a
// keyed table (x.apr). Every file states its units (rough files aside), so that no import depends
// on the one before.
std::vector<CorpusFile> WriteCorpus(const std::filesystem::path& folder, uint64_t seed, int count,
                                    const CorpusOptions& options);

}  // namespace zzbench
