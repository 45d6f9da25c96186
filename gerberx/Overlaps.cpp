#include "gerberx/Overlaps.h"

#include "gerberx/BoxGroups.h"
#include "gerberx/DrawnShapes.h"

namespace gerberx {

std::vector<bool> CutByLaterClear(const Layer& layer, double chordError) {
  const std::vector<Object>& objects = layer.objects;
  std::vector<bool> cut(objects.size(), false);
  std::vector<std::size_t> clears;
  for (std::size_t j = 0; j < objects.size(); ++j)
    if (objects[j].polarity == Polarity::Clear && !objects[j].box.empty) clears.push_back(j);
  if (clears.empty()) return cut;
  std::vector<Box> clearBoxes(objects.size());
  for (std::size_t j : clears) clearBoxes[j] = objects[j].box;
  const BoxIndex index(clearBoxes);
  for (std::size_t i = 0; i < objects.size(); ++i) {
    const Object& o = objects[i];
    if (o.polarity == Polarity::Clear || o.box.empty) continue;
    bool found = false;
    Area built;  // the plain object's area, once a clear object is near
    index.ForEachTouching(o.box, [&](std::size_t j) {
      if (found || j <= i || !objects[j].box.Overlaps(o.box)) return;
      if (o.area.empty() && built.empty() && o.IsPlain()) built = PlainArea(o, chordError);
      found = Overlaps(o.area.empty() ? built : o.area, objects[j].area);
    });
    cut[i] = found;
  }
  return cut;
}

}  // namespace gerberx
