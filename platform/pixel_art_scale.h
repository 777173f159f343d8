// Small bitmaps (toolbar images, entry icons) for a screen of device pixel ratio 2: each pixel
// becomes 2 x 2, its corners taking a neighbour's colour where two neighbours agree across a
// diagonal edge (the EPX rule), so staircases come out finer instead of merely blown up. Edges
// along the axes and flat areas stay exactly the pixel's blocks.
#pragma once

#include <QImage>

namespace zepa {

// 2 applies the rule once, 4 twice; any other scale blows the pixels up whole. Colours and
// alpha (a mask) are compared as they are, so no new colour appears.
QImage scalePixelArt(const QImage& image, int scale);

}  // namespace zepa
