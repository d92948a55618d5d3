// PanelDrawing: the gallery's framed pictures, drawn over the square
// (-1, -1) to (1, 1) of the current model-view (the caller scales it to
// the picture's shape). A picture is drawn plainly or displaced by the
// shared offset map as a grid of quad strips, the way the screen
// distortion displaces the frame, with the map's offsets taken as
// fractions of the output and turned into the picture's own texels.
#pragma once

#include "gfx/GlExtensions.h"
#include "scenes/finale/GalleryViews.h"

class DisplayList;
class OffsetMap;
class OffsetProgram;

struct PanelPicture {
  GLenum target = GL_TEXTURE_2D;
  GLuint texture = 0;
  finale::TexelExtent extent;
  bool topRowFirst = false;  // images loaded from files; frame copies are bottom first
};

// The picture over the square, no displacement.
void drawPlainPanel(const PanelPicture& picture);
// The picture over the square, displaced by `map` (plain without a map).
void drawDisplacedPanel(const PanelPicture& picture, const OffsetMap* map);
// The NVIDIA form: `program` holds the texture-shader stages for the
// picture's target (ScreenDistortion::programText), the map's DSDT texture
// offsets the picture's coordinates.
void drawDisplacedPanelNv(const PanelPicture& picture, OffsetMap& map, const DisplayList& program);
// The fragment program form: `program` is the same text translated, the
// map's float texture of pixel offsets displaces the picture per pixel as
// the grid does per cell. The map must have its float texture.
void drawDisplacedPanelProgram(const PanelPicture& picture, const OffsetMap& map, const OffsetProgram& program);
// The square (-1, -1) to (1, 1) as a line loop, in the current colour.
void drawPanelSquareLoop();
// The panel's green outline around the square.
void drawPanelOutline(int screenWidth);
