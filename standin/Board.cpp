#include "standin/Board.h"

namespace standin {

Board::Board(zz::THandle handle) : Handle(handle) {
  for (int n = 0; n <= zz::kMaxClassicLayer; ++n) Layers[n].Name = zz::LayerNameTable[n];
  // The signal layers form the stack from TopLayer (1) through the mid layers to BottomLayer (32).
  for (int n = 1; n <= 32; ++n) {
    Layers[n].PrevLayer = static_cast<uint8_t>(n - 1);
    Layers[n].NextLayer = static_cast<uint8_t>(n == 32 ? 0 : n + 1);
  }
  const zz::TText255 fr4("FR-4");
  ExternalDielectrics = {fr4, 1, 4.8, 126000, fr4, 1, 4.8, 126000};
}

zz::TLayerNumber CurrentLayerNumber(const Board& board) { return zz::LayerNumberFromId(board.CurrentLayerId); }

void SetCurrentLayer(Board& board, zz::TLayerNumber layer) { board.CurrentLayerId = zz::LayerIdFromNumber(layer); }

}  // namespace standin
