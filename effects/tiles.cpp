#include "effects/tiles.h"

namespace quorbel {
void DrawTileLayer1() {}
void DrawTileLayer2() {}
}  // namespace quorbel
