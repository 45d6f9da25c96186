#pragma once
// A drill file as a converted layer the Gerber writer takes: each hole a round pad of its
// diameter, each slot and each straight piece of a routed path a round track, each routed arc an
// arc of the tool's width.

#include <string>

#include "gerberx/convert/Convert.h"
#include "gerberx/drill/DrillReader.h"

namespace gerberx::drill {

convert::ConvertedLayer ToConvertedLayer(const DrillFile& drill);

// "holes: 0.800 mm x 24, 1.000 mm x 8; slots: 1.200 mm x 2; routed paths: 2.000 mm x 1", each
// list by diameter; "no holes, slots or routed paths" for an empty file.
std::string DrillSummary(const DrillFile& drill);

// "plated", "non-plated", "plated and non-plated"; empty when the file does not say.
std::string PlatingText(Plating plating);

}  // namespace gerberx::drill
