#pragma once

// What the tool finds out about a Gerber file on its own, beside the importer's answers: why a
// file is not recognised, in plain words, and which aperture table file the importer would
// have found beside it.

#include <optional>
#include <string>

namespace zzcli {

enum class Unrecognised {
  None,               // the first line holds a whole format statement
  Missing,            // no such file
  NotRegularFile,     // a folder, a device, ...
  CannotOpen,         // exists but cannot be read
  EmptyFirstLine,     // nothing before the first line end
  NoFormatStatement,  // the first line lacks "%FS" (or "%*FS"), "X", "Y" or "*%"
};

struct Diagnosis {
  Unrecognised Reason = Unrecognised::None;
  std::string Text;  // plain words, empty for None
};

// Reads at most the first line, by the importer's rules: the line ends at a line feed, a
// carriage return is dropped, a Ctrl-Z ends the file, at most 255 characters count.
Diagnosis DiagnoseGerberFile(const std::string& path);

// The aperture table file the importer takes for this Gerber file: first the file's name with
// the extension's first letter replaced by "A" (top.gtl -> top.Atl), then the name with the
// extension "apr"; the first that exists, never the Gerber file itself. Uses the stand-in's
// client file services, so the answer matches what the importer sees.
std::optional<std::string> GuessApertureTableFile(const std::string& gerberPath);

}  // namespace zzcli
