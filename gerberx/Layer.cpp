#include "gerberx/Layer.h"

namespace gerberx {

const Attribute* Layer::FindFileAttribute(const std::string& name) const {
  for (auto it = fileAttributes.rbegin(); it != fileAttributes.rend(); ++it)
    if (it->name == name) return &*it;
  return nullptr;
}

std::string Layer::FileFunction() const {
  const Attribute* a = FindFileAttribute(".FileFunction");
  if (!a) return {};
  std::string text;
  for (const std::string& v : a->values) text += (text.empty() ? "" : ",") + v;
  return text;
}

}  // namespace gerberx
