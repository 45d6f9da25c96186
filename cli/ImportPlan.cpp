#include "cli/ImportPlan.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "cli/FileContents.h"
#include "cli/Utf8Path.h"
#include "cli/ZipArchive.h"
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
  FileKind Kind;
  std::string_view Why;
};

// What a CAD program writes beside its Gerber files.
constexpr std::array<ExtensionKind, 7> kOtherFiles{{
    {" drl xln drd exc nc ncd cnc tap drill ", FileKind::Drill, "drill file"},
    {" ipc d356 net ", FileKind::Other, "netlist"},
    {" gbrjob ", FileKind::Other, "job file"},
    {" pos mnt mnb xy csv ", FileKind::Other, "pick-and-place data or parts list"},
    {" apr abr ", FileKind::Other, "aperture table, read with its Gerber file"},
    {" txt md pdf htm html rtf doc ", FileKind::Other, "text"},
    {" svg png jpg jpeg bmp gif zip json xml ", FileKind::Other, "not a Gerber file"},
}};

bool IsGenericGerberExtension(const std::string& ext) {
  return ext == "gbr" || ext == "ger" || ext == "gbx" || ext == "pho" || ext == "art" ||
         (ext.size() >= 2 && ext.size() <= 3 && ext[0] == 'g');
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t\r\n");
  return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(PathFromUtf8(path), error);
}

// The folder's entries in name order, the same on every system and whatever the listing order.
std::vector<std::filesystem::path> SortedEntries(const std::string& folder) {
  std::vector<std::filesystem::path> entries;
  std::error_code error;
  for (std::filesystem::directory_iterator it(PathFromUtf8(folder), error), end; !error && it != end;
       it.increment(error)) {
    entries.push_back(it->path());
  }
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return Utf8FromPath(a.filename()) < Utf8FromPath(b.filename()); });
  return entries;
}

// `head`: the file's first kClassifyHeadBytes bytes.
PackageFile Classified(std::string path, std::string shown, std::string_view head) {
  FileClass kind = ClassifyFile(FileNameOf(path), head);
  return {std::move(path), std::move(shown), std::move(kind)};
}

}  // namespace

FileClass ClassifyFile(std::string_view fileName, std::string_view head) {
  const std::string name = Lower(fileName);
  if (name.starts_with(".")) return {FileKind::Other, "hidden file"};
  if (gerberx::drill::LooksLikeDrillFile(head)) return {FileKind::Drill, "drill file"};
  const std::size_t dot = name.rfind('.');
  const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  if (LayerFromFileName(fileName)) return {FileKind::Gerber, ""};
  if (!ext.empty()) {
    for (const ExtensionKind& other : kOtherFiles) {
      if (other.Extensions.find(" " + ext + " ") != std::string_view::npos) {
        return {other.Kind, std::string(other.Why)};
      }
    }
  }
  if (name.starts_with("readme")) return {FileKind::Other, "text"};
  if (IsGenericGerberExtension(ext)) return {FileKind::Gerber, ""};
  const std::string_view start = Trimmed(head);
  if (start.starts_with("%") || start.starts_with("G04")) return {FileKind::Gerber, ""};
  return {FileKind::Other, "not a Gerber file"};
}

std::optional<std::string> NotAGerberFile(std::string_view fileName, std::string_view head) {
  FileClass kind = ClassifyFile(fileName, head);
  if (kind.Kind == FileKind::Gerber) return std::nullopt;
  return std::move(kind.Why);
}

OpenedArgument OpenArgument(const std::string& argument) {
  OpenedArgument opened;
  if (IsFolder(argument)) {
    opened.Package = true;
    // The folder as the user wrote it, so that the names shown and dumped are the user's.
    const bool separated = argument.ends_with('/') || argument.ends_with('\\');
    for (const std::filesystem::path& entry : SortedEntries(argument)) {
      const std::string path = argument + (separated ? "" : "/") + Utf8FromPath(entry.filename());
      std::error_code error;
      if (std::filesystem::is_directory(entry, error)) {
        opened.Skipped.push_back({path, "folder, not searched"});
      } else {
        opened.Files.push_back(Classified(path, path, ReadHead(path, kClassifyHeadBytes)));
      }
    }
    return opened;
  }
  const std::string head = ReadHead(argument, kClassifyHeadBytes);
  if (!LooksLikeZip(FileNameOf(argument), head)) {
    opened.Files.push_back(Classified(argument, argument, head));
    return opened;
  }
  opened.Package = true;
  try {
    opened.Scratch = std::make_shared<ScratchFolder>();
    std::vector<std::string> entries = ExtractZip(PathFromUtf8(argument), opened.Scratch->Path());
    std::sort(entries.begin(), entries.end());
    for (const std::string& entry : entries) {
      std::string shown = argument;
      shown.append("/").append(entry);
      std::string path = Utf8FromPath(opened.Scratch->Path() / PathFromUtf8(entry));
      const std::string entryHead = ReadHead(path, kClassifyHeadBytes);
      opened.Files.push_back(Classified(std::move(path), std::move(shown), entryHead));
    }
  } catch (const std::exception& e) {
    opened.Error = e.what();
    opened.Files.clear();
    opened.Scratch.reset();  // nothing of a refused archive stays on disk
  }
  return opened;
}

std::string AsShown(std::string text, const std::string& file, const std::string& shown) {
  if (shown == file) return text;
  for (std::size_t at = text.find(file); at != std::string::npos; at = text.find(file, at)) {
    text.replace(at, file.size(), shown);
    at += shown.size();
  }
  return text;
}

ImportPlan PlanImport(const ImportCommand& command) {
  ImportPlan plan;
  bool anyFolder = false;
  struct Expanded {
    std::string File;
    std::string Shown;
    std::optional<zz::TLayerNumber> Given;
    bool Auto;  // --layer auto
  };
  std::vector<Expanded> expanded;
  for (std::size_t i = 0; i < command.Files.size(); ++i) {
    const std::optional<zz::TLayerNumber> given = i < command.Layers.size() ? command.Layers[i] : std::nullopt;
    const bool autoLayer = i < command.Layers.size() && !command.Layers[i];
    OpenedArgument opened = OpenArgument(command.Files[i]);
    if (!opened.Package) {
      // A file named alone is imported whatever it looks like, as the editor would.
      expanded.push_back({command.Files[i], command.Files[i], given, autoLayer});
      continue;
    }
    anyFolder = true;
    if (opened.Error) plan.Errors.push_back(*opened.Error);
    if (opened.Scratch) plan.Scratch.push_back(opened.Scratch);
    std::size_t gerberFiles = 0;
    for (PackageFile& file : opened.Files) {
      if (file.Class.Kind == FileKind::Gerber) {
        expanded.push_back({std::move(file.Path), std::move(file.Shown), given, autoLayer});
        ++gerberFiles;
      } else {
        opened.Skipped.push_back({std::move(file.Shown), std::move(file.Class.Why)});
      }
    }
    if (gerberFiles == 0 && !opened.Error) plan.EmptyFolders.push_back(command.Files[i]);
    std::stable_sort(opened.Skipped.begin(), opened.Skipped.end(),
                     [](const SkippedFile& a, const SkippedFile& b) { return a.File < b.File; });
    for (SkippedFile& skipped : opened.Skipped) plan.Skipped.push_back(std::move(skipped));
  }
  // One file alone keeps the board's current layer unless told otherwise, as in the editor.
  const bool automatic = anyFolder || expanded.size() > 1;
  for (Expanded& input : expanded) {
    PlannedImport planned{std::move(input.File), std::move(input.Shown), std::nullopt};
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
