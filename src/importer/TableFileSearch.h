#pragma once

#include <optional>
#include <string>

namespace zz {

// The aperture table file beside a Gerber file: first the Gerber file's name with the first
// character of its extension replaced by "A" (top.gtl -> top.Atl), then the name with the
// extension "apr". The first candidate that exists wins. A candidate that is the Gerber file
// itself (a name without extension, or one already ending in ".apr") is never taken.
std::optional<std::string> FindApertureTableFile(const std::string& gerberFileName);

// The first candidate alone, as the search forms it.
std::string ChangedExtensionCandidate(const std::string& gerberFileName);

}  // namespace zz
