// Mirror-tile results widened for pictures: the cells of a hexagon meet
// exactly on its mirror lines, and an anti-aliasing renderer blends each
// cell's edge with what lies below, so the two half-covered edges leave a
// hairline of background between them. Widened cells overlap there, and
// because neighbouring cells are mirror images, what the overlap shows is
// what the neighbour shows.
#pragma once

#include <functional>

#include "hostcore/ArtModel.h"

namespace hostfiles {

// Widens, in the result group of a plug-in object, the clip path of each
// cell by `overlap` points across every edge it shares with another cell,
// keeping it within the outline the cells fill together. Cells are the
// clipped groups `overall` holds directly or in one group below it; there
// must be two to six, convex polygons that tile a convex outline, as
// mirror-tile results do. Any other result is left as it is and false is
// answered.
bool widenMirrorCells(hostcore::ArtCopy& result, double overlap,
                      const std::function<bool(const hostcore::ArtCopy&)>& isClipPath);

}  // namespace hostfiles
