#include <gtest/gtest.h>

#include <filesystem>

#include "cli/ConvertCommand.h"
#include "cli/ImportPlan.h"
#include "cli/LayerAssignment.h"

namespace zzcli {
namespace {

// A file in a CAD program's output folder: the layer it says it is for, by which rule, and
// whether a folder import takes it at all.
struct FileCase {
  const char* Name;
  const char* Head;
  int Layer;
  LayerSource Source;
  const char* Evidence;
  const char* Skipped = nullptr;  // why a folder import leaves it out; null: a Gerber file it imports
};

constexpr const char* kFormat = "%FSLAX24Y24*%\n%MOIN*%\n";

const FileCase kFiles[] = {
    // The file function wins over the name, in the statement or in its comment form.
    {"board.gbl", "%FSLAX46Y46*%\n%TF.FileFunction,Copper,L1,Top*%\n", 1, LayerSource::FileFunction, "Copper,L1,Top"},
    {"x.gbr", "G04 #@! TF.FileFunction,Copper,L4,Bot,Signal*\n%FSLAX46Y46*%\n", 32, LayerSource::FileFunction,
     "Copper,L4,Bot,Signal"},
    {"x.gbr", "%TF.FileFunction,Copper,L3,Inr,Plane*%", 3, LayerSource::FileFunction, "Copper,L3,Inr,Plane"},
    {"x.gbr", "%TF.FileFunction,Soldermask,Bot*%", 38, LayerSource::FileFunction, "Soldermask,Bot"},
    {"x.gbr", "%TF.FileFunction,Legend,Top*%", 33, LayerSource::FileFunction, "Legend,Top"},
    {"x.gbr", "%TF.FileFunction,Paste,Bot*%", 36, LayerSource::FileFunction, "Paste,Bot"},
    {"x.gbr", "%TF.FileFunction,Profile,NP*%", 56, LayerSource::FileFunction, "Profile,NP"},
    // A file function without a classic layer, or beyond the mid layers, leaves it to the name.
    {"x.gto", "%TF.FileFunction,AssemblyDrawing,Top*%", 33, LayerSource::FileName, ".gto"},
    {"x.g2", "%TF.FileFunction,Copper,L40,Inr*%", 3, LayerSource::FileName, ".g2"},
    {"x.gbr", "%TF.FileFunction,Glue,Top*%", 1, LayerSource::Default, "Glue,Top"},
    // Text that only looks like the attribute says nothing.
    {"x.gbr", "G04 TF.FileFunction,Copper,L2,Bot*", 1, LayerSource::Default, ""},
    // Extensions, letter case aside: copper, overlay, mask, paste, outline, numbered layers.
    {"BOARD.GTL", kFormat, 1, LayerSource::FileName, ".GTL"},
    {"board.GBS", kFormat, 38, LayerSource::FileName, ".GBS"},
    {"board.gtp", kFormat, 35, LayerSource::FileName, ".gtp"},
    {"board.GKO", kFormat, 56, LayerSource::FileName, ".GKO"},
    {"board.G30", kFormat, 31, LayerSource::FileName, ".G30"},
    {"board.GP2", kFormat, 40, LayerSource::FileName, ".GP2"},
    {"board.GM16", kFormat, 72, LayerSource::FileName, ".GM16"},
    {"board.G31", kFormat, 1, LayerSource::Default, "", nullptr},
    // The older extension set.
    {"board.sol", kFormat, 32, LayerSource::FileName, ".sol"},
    {"board.plc", kFormat, 33, LayerSource::FileName, ".plc"},
    {"board.crs", kFormat, 36, LayerSource::FileName, ".crs"},
    {"board.dim", kFormat, 56, LayerSource::FileName, ".dim"},
    // Layer names at the end of the name.
    {"board-F_Cu.gbr", kFormat, 1, LayerSource::FileName, "F_Cu"},
    {"my-board-B_SilkS.gbr", kFormat, 34, LayerSource::FileName, "B_SilkS"},
    {"board-Edge.Cuts.gbr", kFormat, 56, LayerSource::FileName, "Edge.Cuts"},
    {"board-In2_Cu.gbr", kFormat, 3, LayerSource::FileName, "In2_Cu"},
    {"board-In31_Cu.gbr", kFormat, 1, LayerSource::Default, ""},
    {"F_Cu_board.gbr", kFormat, 1, LayerSource::Default, ""},
    // What a folder holds besides the layers.
    {"board.drl", "M48\n", 1, LayerSource::Default, "", "drill file"},
    {"drill.txt", "\r\nM48\r\n", 1, LayerSource::Default, "", "drill file"},
    {"ThruHolePlated.ncd", ";PARTNO board.pcb\n;LEADER 240 CHARACTERS\nM48\n", 1, LayerSource::Default, "",
     "drill file"},
    {"thruhole.nc1", "%\nT1C0.028F200S100\n", 1, LayerSource::Default, "", "drill file"},
    {"board-job.gbrjob", "{", 1, LayerSource::Default, "", "job file"},
    {"board.ipc", "P  JOB", 1, LayerSource::Default, "", "netlist"},
    {"board-top-pos.csv", "Ref,Val", 1, LayerSource::Default, "", "pick-and-place data or parts list"},
    {"legacy.Abr", "D10 ROUND 10", 1, LayerSource::Default, "", "aperture table, read with its Gerber file"},
    {"README", "Board files", 1, LayerSource::Default, "", "text"},
    {"board.svg", "<svg", 1, LayerSource::Default, "", "not a Gerber file"},
    {".board.gtl", kFormat, 1, LayerSource::FileName, ".gtl", "hidden file"},
    {"photo", "%FSLAX24Y24*%", 1, LayerSource::Default, "", nullptr},
};

TEST(LayerAssignment, FilesGoOnTheLayerTheySay) {
  for (const FileCase& c : kFiles) {
    SCOPED_TRACE(std::string(c.Name) + " | " + c.Head);
    const LayerChoice choice = ChooseLayer(c.Name, c.Head);
    EXPECT_EQ(choice.Layer, c.Layer);
    EXPECT_EQ(choice.Source, c.Source);
    EXPECT_EQ(choice.Evidence, c.Evidence);
    EXPECT_EQ(NotAGerberFile(c.Name, c.Head), c.Skipped ? std::optional<std::string>(c.Skipped) : std::nullopt);
  }
}

// A converted file's name: the original's up to its extension, an extension the editor's dialog
// shows, and the original's layer said by the name or, where no name can, by a comment.
struct NameCase {
  const char* Original;
  const char* Infix;
  int Layer;
  LayerSource Source;
  const char* Converted;
  bool Comment = false;
};

const NameCase kNames[] = {
    {"copper_top.gbr", "", 1, LayerSource::FileFunction, "copper_top.gtl"},
    {"soldermask_bottom.gbr", "", 38, LayerSource::FileFunction, "soldermask_bottom.gbs"},
    {"inner.art", "", 3, LayerSource::FileFunction, "inner.g2"},
    {"x.gbr", "", 31, LayerSource::FileFunction, "x.g30"},
    {"drawing.gbr", "", 73, LayerSource::FileFunction, "drawing.gd1"},
    {"guide.gbr", "", 55, LayerSource::FileFunction, "guide.gg1"},
    {"notes.gtl", "", 32, LayerSource::FileFunction, "notes.gbl"},  // the file function wins over the name
    {"board.GBS", "", 38, LayerSource::FileName, "board.GBS"},      // kept as it is
    {"board.cmp", "", 1, LayerSource::FileName, "board.gtl"},       // not shown by the dialog
    {"board.gm3", "", 59, LayerSource::FileName, "board.gm3"},
    {"board.GP9", ".converted", 47, LayerSource::FileName, "board.converted.GP9"},
    {"board-F_Cu.gbr", "", 1, LayerSource::FileName, "board-F_Cu.gbr"},
    {"board-F_Cu.gbr", ".converted", 1, LayerSource::FileName, "board-F_Cu.converted.gtl"},  // the suffix lost
    {"board.gp12", "", 50, LayerSource::FileName, "board.gbr", true},
    {"board.GM16", ".converted", 72, LayerSource::FileName, "board.converted.gbr", true},
    {"board.art", "", 1, LayerSource::Default, "board.gbr"},
    {"top.gbx", ".converted", 1, LayerSource::Default, "top.converted.gbx"},
    {"holes.drl", "", 73, LayerSource::FileName, "holes.gd1"},
};

TEST(ConvertedName, SaysTheOriginalsLayerInANameTheDialogShows) {
  for (const NameCase& c : kNames) {
    SCOPED_TRACE(std::string(c.Original) + " on " + std::to_string(c.Layer));
    const LayerChoice original{static_cast<zz::TLayerNumber>(c.Layer), c.Source, ""};
    const ConvertedTarget target = ConvertedTargetOf("", c.Original, c.Infix, original);
    EXPECT_EQ(target.Path, c.Converted);
    EXPECT_EQ(target.LayerComment.has_value(), c.Comment);
    // What the layer assignment makes of the converted file: the original's layer.
    const std::string head = "%FSLAX46Y46*%\n" + target.LayerComment.value_or("") + "\n%MOMM*%\n";
    EXPECT_EQ(ChooseLayer(target.Path, head).Layer, c.Layer);
    EXPECT_TRUE(DialogShowsExtension(std::filesystem::path(target.Path).extension().string()));
  }
}

}  // namespace
}  // namespace zzcli
