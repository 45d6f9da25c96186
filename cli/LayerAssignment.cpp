#include "cli/LayerAssignment.h"

#include <array>
#include <cctype>
#include <vector>

#include "cli/FileContents.h"
#include "cli/Utf8Path.h"

namespace zzcli {
namespace {

// Classic layer numbers.
constexpr zz::TLayerNumber kTopLayer = 1;
constexpr zz::TLayerNumber kBottomLayer = 32;
constexpr zz::TLayerNumber kTopOverlay = 33;
constexpr zz::TLayerNumber kBottomOverlay = 34;
constexpr zz::TLayerNumber kTopPaste = 35;
constexpr zz::TLayerNumber kBottomPaste = 36;
constexpr zz::TLayerNumber kTopSolder = 37;
constexpr zz::TLayerNumber kBottomSolder = 38;
constexpr zz::TLayerNumber kDrillGuide = 55;
constexpr zz::TLayerNumber kKeepOutLayer = 56;
constexpr zz::TLayerNumber kDrillDrawing = 73;
constexpr int kMidLayers = 30;
constexpr int kInternalPlanes = 16;
constexpr int kMechanicalLayers = 16;

constexpr zz::TLayerNumber MidLayer(int n) { return static_cast<zz::TLayerNumber>(1 + n); }
constexpr zz::TLayerNumber InternalPlane(int n) { return static_cast<zz::TLayerNumber>(38 + n); }
constexpr zz::TLayerNumber Mechanical(int n) { return static_cast<zz::TLayerNumber>(56 + n); }

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::vector<std::string_view> Fields(std::string_view value) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = value.find(',', start);
    fields.push_back(value.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

// The number after `prefix` when the rest of `text` is 1 to 2 digits in [1, max]; else 0.
int NumberAfter(std::string_view text, std::string_view prefix, int max) {
  if (text.size() <= prefix.size() || text.size() > prefix.size() + 2 || text.substr(0, prefix.size()) != prefix) {
    return 0;
  }
  int n = 0;
  for (const char c : text.substr(prefix.size())) {
    if (std::isdigit(static_cast<unsigned char>(c)) == 0) return 0;
    n = n * 10 + (c - '0');
  }
  return n >= 1 && n <= max ? n : 0;
}

// Top or bottom side of a two-sided function; none for another word.
std::optional<zz::TLayerNumber> Side(std::string_view side, zz::TLayerNumber top, zz::TLayerNumber bottom) {
  if (side == "Top") return top;
  if (side == "Bot") return bottom;
  return std::nullopt;
}

struct NamedLayer {
  std::string_view Name;  // lower case
  zz::TLayerNumber Layer;
};

// Three-letter extensions of one convention and the older sets of other CAD programs.
constexpr std::array<NamedLayer, 24> kExtensions{{
    {"gtl", kTopLayer},      {"gbl", kBottomLayer},   {"gto", kTopOverlay},  {"gbo", kBottomOverlay},
    {"gtp", kTopPaste},      {"gbp", kBottomPaste},   {"gts", kTopSolder},   {"gbs", kBottomSolder},
    {"gko", kKeepOutLayer},  {"cmp", kTopLayer},      {"sol", kBottomLayer}, {"plc", kTopOverlay},
    {"pls", kBottomOverlay}, {"crc", kTopPaste},      {"crs", kBottomPaste}, {"stc", kTopSolder},
    {"sts", kBottomSolder},  {"dim", kKeepOutLayer},  {"top", kTopLayer},    {"bot", kBottomLayer},
    {"sst", kTopOverlay},    {"ssb", kBottomOverlay}, {"smt", kTopSolder},   {"smb", kBottomSolder},
}};

// Layer names that end a file name after a "-" (the layer's "." written as "_").
constexpr std::array<NamedLayer, 11> kNameSuffixes{{
    {"f_cu", kTopLayer},
    {"b_cu", kBottomLayer},
    {"f_silks", kTopOverlay},
    {"b_silks", kBottomOverlay},
    {"f_silkscreen", kTopOverlay},
    {"b_silkscreen", kBottomOverlay},
    {"f_paste", kTopPaste},
    {"b_paste", kBottomPaste},
    {"f_mask", kTopSolder},
    {"b_mask", kBottomSolder},
    {"edge_cuts", kKeepOutLayer},
}};

std::optional<zz::TLayerNumber> LayerOfExtension(const std::string& ext) {
  for (const NamedLayer& entry : kExtensions) {
    if (ext == entry.Name) return entry.Layer;
  }
  // Numbered: inner signal layers .G1-.G30, planes .GP1-.GP16, mechanical .GM1-.GM16, drill
  // drawing .GD1 and drill guide .GG1.
  if (const int n = NumberAfter(ext, "g", kMidLayers)) return MidLayer(n);
  if (const int n = NumberAfter(ext, "gp", kInternalPlanes)) return InternalPlane(n);
  if (const int n = NumberAfter(ext, "gm", kMechanicalLayers)) return Mechanical(n);
  if (NumberAfter(ext, "gd", 99) != 0) return kDrillDrawing;
  if (NumberAfter(ext, "gg", 99) != 0) return kDrillGuide;
  return std::nullopt;
}

std::optional<zz::TLayerNumber> LayerOfNameSuffix(const std::string& suffix) {
  for (const NamedLayer& entry : kNameSuffixes) {
    if (suffix == entry.Name) return entry.Layer;
  }
  // In1_Cu is the first inner layer.
  if (suffix.size() > 5 && suffix.ends_with("_cu")) {
    if (const int n = NumberAfter(std::string_view(suffix).substr(0, suffix.size() - 3), "in", kMidLayers)) {
      return MidLayer(n);
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> FileFunctionOf(std::string_view head) {
  constexpr std::string_view kKey = "TF.FileFunction,";
  std::size_t at = 0;
  while ((at = head.find(kKey, at)) != std::string_view::npos) {
    // The statement itself, or the comment that carries it for readers of older files.
    const bool statement = at >= 1 && head[at - 1] == '%';
    const bool comment = at >= 4 && head.substr(at - 4, 4) == "#@! ";
    const std::size_t start = at + kKey.size();
    const std::size_t end = head.find('*', start);
    if ((statement || comment) && end != std::string_view::npos) return std::string(head.substr(start, end - start));
    at = start;
  }
  return std::nullopt;
}

std::optional<zz::TLayerNumber> LayerOfFileFunction(std::string_view value) {
  const std::vector<std::string_view> f = Fields(value);
  const std::string_view type = f[0];
  const std::string_view second = f.size() > 1 ? f[1] : std::string_view();
  if (type == "Copper" && f.size() > 2) {
    // Copper,L<n>,Top|Inr|Bot: layer n of the stack, inner ones on the mid layers in order.
    if (f[2] == "Top") return kTopLayer;
    if (f[2] == "Bot") return kBottomLayer;
    if (f[2] == "Inr") {
      if (const int n = NumberAfter(second, "L", kMidLayers + 1); n >= 2) return MidLayer(n - 1);
    }
    return std::nullopt;
  }
  if (type == "Soldermask") return Side(second, kTopSolder, kBottomSolder);
  if (type == "Legend") return Side(second, kTopOverlay, kBottomOverlay);
  if (type == "Paste") return Side(second, kTopPaste, kBottomPaste);
  if (type == "Profile" || type == "Keep-out") return kKeepOutLayer;
  if (type == "Drillmap") return kDrillDrawing;
  if (type == "Plated" || type == "NonPlated") return kDrillGuide;
  if (type == "Other" && !second.empty()) {
    for (int n = kTopLayer; n <= kDrillDrawing; ++n) {
      if (second == zz::LayerNameTable[n].View()) return static_cast<zz::TLayerNumber>(n);
    }
  }
  return std::nullopt;
}

std::optional<LayerChoice> LayerFromFileName(std::string_view fileName) {
  const std::string name = Lower(fileName);
  const std::size_t dot = name.rfind('.');
  const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
  if (dot != std::string::npos) {
    if (const auto layer = LayerOfExtension(name.substr(dot + 1))) {
      return LayerChoice{*layer, LayerSource::FileName, std::string(fileName.substr(dot))};
    }
  }
  // "board-F_Cu.gbr", "board-F.Cu.gbr", "board-In1_Cu.gbr".
  std::string suffix = stem;
  for (char& c : suffix) c = c == '.' ? '_' : c;
  const std::size_t dash = suffix.rfind('-');
  if (dash != std::string::npos) suffix.erase(0, dash + 1);
  if (const auto layer = LayerOfNameSuffix(suffix)) {
    const std::size_t from = dash == std::string::npos ? 0 : dash + 1;
    return LayerChoice{*layer, LayerSource::FileName, std::string(fileName.substr(from, stem.size() - from))};
  }
  return std::nullopt;
}

LayerChoice ChooseLayer(std::string_view fileName, std::string_view head) {
  const std::optional<std::string> function = FileFunctionOf(head);
  if (function) {
    if (const auto layer = LayerOfFileFunction(*function))
      return LayerChoice{*layer, LayerSource::FileFunction, *function};
  }
  if (auto byName = LayerFromFileName(fileName)) return *byName;
  return LayerChoice{kTopLayer, LayerSource::Default, function.value_or("")};
}

LayerChoice ChooseLayerOfFile(const std::string& path) {
  return ChooseLayer(FileNameOf(path), ReadHead(path, kLayerHeadBytes));
}

std::optional<std::string> DialogExtensionOf(zz::TLayerNumber layer) {
  for (const NamedLayer& entry : kExtensions) {
    if (entry.Layer == layer && entry.Name.starts_with('g')) return std::string(entry.Name);
  }
  const auto numbered = [](std::string_view prefix, int n) -> std::optional<std::string> {
    std::string ext = std::string(prefix) + std::to_string(n);
    if (!DialogShowsExtension("." + ext)) return std::nullopt;
    return ext;
  };
  if (layer > kTopLayer && layer < kBottomLayer) return numbered("g", layer - 1);
  if (layer > kBottomSolder && layer < kDrillGuide) return numbered("gp", layer - 38);
  if (layer > kKeepOutLayer && layer < kDrillDrawing) return numbered("gm", layer - 56);
  if (layer == kDrillGuide) return "gg1";
  if (layer == kDrillDrawing) return "gd1";
  return std::nullopt;
}

bool DialogShowsExtension(std::string_view extension) {
  return (extension.size() == 3 || extension.size() == 4) && extension[0] == '.' &&
         (extension[1] == 'g' || extension[1] == 'G');
}

std::string DescribeLayerChoice(const LayerChoice& choice) {
  switch (choice.Source) {
    case LayerSource::Option:
      return "--layer";
    case LayerSource::FileFunction:
      return "file function " + choice.Evidence;
    case LayerSource::FileName:
      return "file name " + choice.Evidence;
    case LayerSource::Default:
      break;
  }
  if (!choice.Evidence.empty()) return "default: file function " + choice.Evidence + " has no layer here";
  return "default: neither a file function nor the file name says the layer";
}

}  // namespace zzcli
