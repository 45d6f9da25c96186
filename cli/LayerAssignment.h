#pragma once

// The layer a Gerber file belongs on, from what the file says of itself: its X2 file function,
// else the file-name conventions of CAD programs, else TopLayer. The editor's user picks the
// current layer before each import; the tool does it for a folder of layers.

#include <optional>
#include <string>
#include <string_view>

#include "host/LayerTypes.h"

namespace zzcli {

enum class LayerSource {
  Option,        // --layer
  FileFunction,  // the file's X2 file function attribute
  FileName,      // the file name's extension or layer suffix
  Default,       // nothing said it: TopLayer
};

struct LayerChoice {
  zz::TLayerNumber Layer = 1;
  LayerSource Source = LayerSource::Default;
  // What said it: the file function ("Copper,L1,Top"), the extension (".GTL") or name part
  // ("F_Cu"); for the default, a file function without a classic layer, if there was one.
  std::string Evidence;
};

// How many bytes of a file are read for its file function: the attribute is in the header.
constexpr std::size_t kLayerHeadBytes = 16 * 1024;

// The value of the first file function attribute in the file's first bytes (the statement
// `%TF.FileFunction,...*%` or its comment form `G04 #@! TF.FileFunction,...*`), or none.
std::optional<std::string> FileFunctionOf(std::string_view head);

// The classic layer of a file function value, or none (a drawing, glue, a component layer...).
// "Other" with the name of a classic layer ("Other,Mechanical12") is that layer: the tool writes
// it into a converted file whose layer no extension the editor's dialog shows would say.
std::optional<zz::TLayerNumber> LayerOfFileFunction(std::string_view value);

// The layer a file name's conventions give, with the part of the name that gave it, or none.
std::optional<LayerChoice> LayerFromFileName(std::string_view fileName);

// The three rules in order, for a file of this name whose first bytes are `head`.
LayerChoice ChooseLayer(std::string_view fileName, std::string_view head);

// The same for a file on disk (UTF-8 path); a file that cannot be read gives its name's layer.
LayerChoice ChooseLayerOfFile(const std::string& path);

// The extension (without its dot) that says the layer by the name conventions and that the
// editor's import dialog shows (*.g??;*.g?): "gtl", "g3", "gp2", "gd1"...; none for a layer
// without one (InternalPlane10-16, Mechanical10-16, the layers no Gerber file is for).
std::optional<std::string> DialogExtensionOf(zz::TLayerNumber layer);

// Whether the editor's import dialog shows files of this extension (with its dot): "g" and one
// or two more characters.
bool DialogShowsExtension(std::string_view extension);

// "file function Copper,L1,Top", "file name .GTL", "--layer", "default: ...".
std::string DescribeLayerChoice(const LayerChoice& choice);

}  // namespace zzcli
