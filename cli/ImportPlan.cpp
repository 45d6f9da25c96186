#include "cli/ImportPlan.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "cli/Utf8Path.h"
#include "gerberx/drill/DrillReader.h"

namespace zzcli {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

struct ExtensionKind {
  std::string_view Extensions;  // lower case, each between blanks
  std::string_view Kind;
};

// What a CAD program writes beside its Gerber files.
constexpr std::array<ExtensionKind, 7> kOtherFiles{{
    {" drl xln drd exc nc tap drill ", "drill file"},
    {" ipc d356 net ", "netlist"},
    {" gbrjob ", "job file"},
    {" pos mnt mnb xy csv ", "pick-and-place data or parts list"},
    {" apr abr ", "aperture table, read with its Gerber file"},
    {" txt md pdf htm html rtf doc ", "text"},
    {" svg png jpg jpeg bmp gif zip json xml ", "not a Gerber file"},
}};

bool IsGenericGerberExtension(const std::string& ext) {
  return ext == "gbr" || ext == "ger" || ext == "gbx" || ext == "pho" || ext == "art" ||
         (ext.size() >= 2 && ext.size() <= 3 && ext[0] == 'g');
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t\r\n");
  return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

std::string ReadHead(const std::string& path, std::size_t bytes) {
  std::string head(bytes, '\0');
  std::ifstream file(PathFromUtf8(path), std::ios::binary);
  file.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(file.gcount()));
  return head;
}

struct FolderContents {
  std::vector<std::string> GerberFiles;
  std::vector<SkippedFile> Skipped;
};

FolderContents ListFolder(const std::string& folder) {
  std::vector<std::filesystem::path> entries;
  std::error_code error;
  for (std::filesystem::directory_iterator it(PathFromUtf8(folder), error), end; !error && it != end;
       it.increment(error)) {
    entries.push_back(it->path());
  }
  // Name order, the same on every system and whatever the listing order.
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return Utf8FromPath(a.filename()) < Utf8FromPath(b.filename()); });
  FolderContents contents;
  // The folder as the user wrote it, so that the names shown and dumped are the user's.
  const bool separated = folder.ends_with('/') || folder.ends_with('\\');
  for (const std::filesystem::path& entry : entries) {
    const std::string path = folder + (separated ? "" : "/") + Utf8FromPath(entry.filename());
    if (std::filesystem::is_directory(entry, error)) {
      contents.Skipped.push_back({path, "folder, not searched"});
    } else if (const auto why = NotAGerberFile(FileNameOf(path), ReadHead(path, gerberx::drill::kDrillHeadBytes))) {
      contents.Skipped.push_back({path, *why});
    } else {
      contents.GerberFiles.push_back(path);
    }
  }
  return contents;
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(PathFromUtf8(path), error);
}

}  // namespace

std::optional<std::string> NotAGerberFile(std::string_view fileName, std::string_view head) {
  const std::string name = Lower(fileName);
  if (name.starts_with(".")) return "hidden file";
  if (gerberx::drill::LooksLikeDrillFile(head)) return "drill file";
  const std::size_t dot = name.rfind('.');
  const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  if (LayerFromFileName(fileName)) return std::nullopt;
  if (!ext.empty()) {
    for (const ExtensionKind& other : kOtherFiles) {
      if (other.Extensions.find(" " + ext + " ") != std::string_view::npos) {
        return std::string(other.Kind);
      }
    }
  }
  if (name.starts_with("readme")) return "text";
  if (IsGenericGerberExtension(ext)) return std::nullopt;
  const std::string_view start = Trimmed(head);
  if (start.starts_with("%") || start.starts_with("G04")) return std::nullopt;
  return "not a Gerber file";
}

ImportPlan PlanImport(const ImportCommand& command) {
  ImportPlan plan;
  bool anyFolder = false;
  struct Expanded {
    std::string File;
    std::optional<zz::TLayerNumber> Given;
    bool Auto;  // --layer auto
  };
  std::vector<Expanded> expanded;
  for (std::size_t i = 0; i < command.Files.size(); ++i) {
    const std::optional<zz::TLayerNumber> given = i < command.Layers.size() ? command.Layers[i] : std::nullopt;
    const bool autoLayer = i < command.Layers.size() && !command.Layers[i];
    if (!IsFolder(command.Files[i])) {
      expanded.push_back({command.Files[i], given, autoLayer});
      continue;
    }
    anyFolder = true;
    FolderContents contents = ListFolder(command.Files[i]);
    if (contents.GerberFiles.empty()) plan.EmptyFolders.push_back(command.Files[i]);
    for (std::string& file : contents.GerberFiles) expanded.push_back({std::move(file), given, autoLayer});
    for (SkippedFile& skipped : contents.Skipped) plan.Skipped.push_back(std::move(skipped));
  }
  // One file alone keeps the board's current layer unless told otherwise, as in the editor.
  const bool automatic = anyFolder || expanded.size() > 1;
  for (Expanded& input : expanded) {
    PlannedImport planned{std::move(input.File), std::nullopt};
    if (input.Given) {
      planned.Layer = LayerChoice{*input.Given, LayerSource::Option, ""};
    } else if (automatic || input.Auto) {
      planned.Layer = ChooseLayerOfFile(planned.File);
    }
    plan.Imports.push_back(std::move(planned));
  }
  return plan;
}

std::string FormatSkipped(const std::vector<SkippedFile>& skipped) {
  std::string text;
  const char* label = "Skipped:         ";
  for (const SkippedFile& file : skipped) {
    text += std::string(label) + file.File + " (" + file.Why + ")\n";
    label = "                 ";
  }
  return text;
}

}  // namespace zzcli
