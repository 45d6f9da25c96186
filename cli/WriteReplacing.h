#pragma once

// A converted file written whole or not at all.

#include <functional>
#include <ostream>
#include <string>

namespace zzcli {

// Writes `target` (UTF-8) through `write` beside it first, as TARGET.partial, then renames it
// over `target`: a failure leaves no half-written file under its name. False after saying so on
// `err` when the file cannot be written; an exception passes on once the partial file is gone.
bool WriteReplacing(const std::string& target, const std::function<void(std::ostream&)>& write, std::ostream& err);

}  // namespace zzcli
