// NameBlocks: the block field, its shadow pass from the circling light,
// its lit drawing and the morph into the landscape grid.
#include "scenes/effects/NameBlocks.h"

#include <cmath>

#include "gfx/DepthClear.h"
#include "gfx/ImageLoading.h"
#include "gfx/LineDrawing.h"
#include "gfx/MathUtil.h"
#include "gfx/PixelBuffer.h"
#include "gfx/Random.h"
#include "gfx/ShadowLight.h"
#include "scenes/effects/Terrain.h"
#include "show/ResourceRegistry.h"

float NameBlocks::maxHeight = 50.0f;
float NameBlocks::pitchX = 10.0f;
float NameBlocks::pitchZ = 10.0f;
bool NameBlocks::solidBlocks = true;

namespace {

// Solid blocks leave a gap to their neighbours; outlines do not.
const float kSolidHalf = 0.4761905f;

// "names.jpg" cells: 32 x 48 texels, 9 across and 4 down.
const int kCellWidth = 32;
const int kCellHeight = 48;

// A texture the registry loads from a JPEG, on the target its size picks.
bool loadPicture(ResourceRegistry* registry, const char* name, TextureHandle& texture, GLenum wrap) {
  int32_t width = 0, height = 0;
  if (!registry || registry->getJpegSize(name, &width, &height) != 0 || width <= 0 || height <= 0) return false;
  texture.target = textureTargetFor(width, height);
  texture.bind();
  if (registry->loadJpegTexture(name, 0) != 0) return false;
  // NOTE: rectangle textures take no repeat; their coordinates stay inside.
  if (texture.target != GL_TEXTURE_2D) wrap = GL_CLAMP_TO_EDGE;
  glTexParameteri(texture.target, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(texture.target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(texture.target, GL_TEXTURE_WRAP_S, GLint(wrap));
  glTexParameteri(texture.target, GL_TEXTURE_WRAP_T, GLint(wrap));
  return true;
}

void quad(const Vec3& normal, const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d) {
  glNormal3f(normal.x, normal.y, normal.z);
  glVertex3f(a.x, a.y, a.z);
  glVertex3f(b.x, b.y, b.z);
  glVertex3f(c.x, c.y, c.z);
  glVertex3f(d.x, d.y, d.z);
}

}  // namespace

NameBlock::NameBlock(int column, int row) : column(column), row(row) {
  height = remap(float(zolt::random() % 10000), 0.0f, 10000.0f, 0.0f, NameBlocks::maxHeight);
  speed = zolt::random() % 2 == 0 ? riseSpeed : fallSpeed;
}

void NameBlock::advance(float dt, float scale) {
  height += dt * scale * speed;
  if (height <= 0.0f) {
    height = 0.0f;
    speed = riseSpeed;
  } else if (height >= NameBlocks::maxHeight) {
    speed = fallSpeed;
  }
}

bool NameBlock::carriesName() const { return row >= -1 && row <= 2 && column >= -4 && column <= 4; }

int NameBlock::render(float) {
  if (NameBlocks::solidBlocks)
    drawSolid(nullptr);
  else
    drawOutline();
  return 0;
}

void NameBlock::drawSolid(TextureHandle* names) const {
  const float hx = NameBlocks::pitchX * kSolidHalf, hz = NameBlocks::pitchZ * kSolidHalf, h = height;
  glBegin(GL_QUADS);
  quad(Vec3(0, 0, 1), Vec3(-hx, 0, -hz), Vec3(hx, 0, -hz), Vec3(hx, h, -hz), Vec3(-hx, h, -hz));
  quad(Vec3(0, 0, -1), Vec3(hx, 0, hz), Vec3(-hx, 0, hz), Vec3(-hx, h, hz), Vec3(hx, h, hz));
  quad(Vec3(-1, 0, 0), Vec3(-hx, 0, hz), Vec3(-hx, 0, -hz), Vec3(-hx, h, -hz), Vec3(-hx, h, hz));
  quad(Vec3(1, 0, 0), Vec3(hx, 0, -hz), Vec3(hx, 0, hz), Vec3(hx, h, hz), Vec3(hx, h, -hz));
  glEnd();

  if (!names || !carriesName()) {
    glBegin(GL_QUADS);
    quad(Vec3(0, 1, 0), Vec3(-hx, h, hz), Vec3(hx, h, hz), Vec3(hx, h, -hz), Vec3(-hx, h, -hz));
    glEnd();
    return;
  }
  // The cell of this block, in texels of the rectangle texture.
  const float c0 = float((column + 4) * kCellWidth - 3);
  const float r0 = float(row * kCellHeight + 45);
  names->bind();
  glEnable(names->target);
  glBegin(GL_QUADS);
  glNormal3f(0, 1, 0);
  glTexCoord2f(c0, r0 + kCellHeight);
  glVertex3f(-hx, h, hz);
  glTexCoord2f(c0 + kCellWidth, r0 + kCellHeight);
  glVertex3f(hx, h, hz);
  glTexCoord2f(c0 + kCellWidth, r0);
  glVertex3f(hx, h, -hz);
  glTexCoord2f(c0, r0);
  glVertex3f(-hx, h, -hz);
  glEnd();
  glDisable(names->target);
}

void NameBlock::drawOutline() const {
  const float hx = NameBlocks::pitchX / 2.0f, hz = NameBlocks::pitchZ / 2.0f, h = height;
  const float corners[4][2] = {{-hx, -hz}, {hx, -hz}, {hx, hz}, {-hx, hz}};
  for (int side = 0; side < 4; ++side) {
    const float* a = corners[side];
    const float* b = corners[(side + 1) % 4];
    glBegin(GL_LINE_LOOP);
    glVertex3f(a[0], 0, a[1]);
    glVertex3f(b[0], 0, b[1]);
    glVertex3f(b[0], h, b[1]);
    glVertex3f(a[0], h, a[1]);
    glEnd();
  }
  glBegin(GL_LINE_LOOP);
  for (const auto& corner : corners) glVertex3f(corner[0], h, corner[1]);
  glEnd();
}

NameBlocks::NameBlocks(ResourceRegistry* registry) : gridPoints(size_t(gridRows) * gridColumns) {
  blocks.reserve(size_t(columns) * rows);
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < columns; ++j) blocks.emplace_back(j - 8, i - 8);
  }
  namesLoaded = loadPicture(registry, "names.jpg", names, GL_REPEAT);
  floorLoaded = loadPicture(registry, "gz.jpg", floorTexture, GL_CLAMP_TO_EDGE);
  if (registry) {
    circleMask = static_cast<TextureHandle*>(registry->get("CircleMask"));
    pixelBuffer = static_cast<PixelBuffer*>(registry->get("PBuffer512x512"));
    light = static_cast<ShadowLight*>(registry->get("ShadowLight"));
  }
}

void NameBlocks::advance(float t) {
  float dt = t - lastAdvance;
  if (std::fabs(dt) > 2.0f) dt = 0.0f;
  for (NameBlock& block : blocks) block.advance(dt, 1.0f);
  lastAdvance = t;
}

void NameBlocks::resetHeights() {
  for (NameBlock& block : blocks) {
    block.height = maxHeight / 2.0f;
    const int r = block.row, c = block.column;
    bool rise;
    if (r < -1 || r > 2 || c < -4 || c > 3)
      rise = false;
    else if (r == 1)
      rise = true;
    else if (r == -1)
      rise = c <= 2;
    else
      rise = c <= 0;
    block.speed = rise ? NameBlock::riseSpeed : NameBlock::fallSpeed;
  }
}

void NameBlocks::shadowPass(float t) {
  float dt = t - lastShadowPass;
  if (std::fabs(dt) > 1.0f) dt = 0.0f;
  lastShadowPass = t;
  if (!shadows || !light || !pixelBuffer) return;
  lightAngle += dt;
  light->position = Vec3(50.0f * std::cos(2.0f * lightAngle), 1.5f * maxHeight, 50.0f * std::sin(2.0f * lightAngle));
  light->target = Vec3(0.0f, 0.5f * maxHeight, 0.0f);
  light->nearPlane = 10.0f;
  light->farPlane = 150.0f;
  light->fieldOfView = 60.0f;
  // NOTE: the light is shared with the tentacles, which dim it to nothing
  // between their flashes; the field's light always shines fully.
  light->colour[3] = 1.0f;
  light->beginShadowPass(*pixelBuffer);
  drawField(true, false);
  light->endShadowPass(*pixelBuffer);
}

void NameBlocks::drawField(bool solid, bool textured) {
  TextureHandle* topTexture = textured && namesLoaded ? &names : nullptr;
  size_t index = 0;
  for (int j = 0; j < rows; ++j) {
    glPushMatrix();
    glTranslatef(-8.0f * pitchX, 0.0f, pitchZ * float(j - 8));
    for (int i = 0; i < columns; ++i) {
      glTranslatef(pitchX, 0.0f, 0.0f);
      if (solid)
        blocks[index].drawSolid(topTexture);
      else
        blocks[index].drawOutline();
      ++index;
    }
    glPopMatrix();
  }
}

void NameBlocks::shadowReceivingDraw() {
  if (light->compare != ShadowCompare::None) light->projectOnUnit(GL_TEXTURE1_ARB, light->depthMap);
  if (circleMask) light->projectOnUnit(GL_TEXTURE2_ARB, *circleMask);

  glEnable(GL_LIGHTING);
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
  glShadeModel(GL_FLAT);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
  const GLfloat ambient[4] = {0, 0, 0, 1}, diffuse[4] = {0.1f, 0.1f, 0.1f, 1}, white[4] = {1, 1, 1, 1};
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, white);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 10.0f);
  const float* c = light->colour;
  const GLfloat lightDiffuse[4] = {c[0] * c[3], c[1] * c[3], c[2] * c[3], 1.0f};
  glLightfv(GL_LIGHT0, GL_SPECULAR, white);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
  light->setLightPosition(0, 0, 0, 0);
  light->setSpotDirection(0);
  glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, 100.0f);
  glEnable(GL_LIGHT0);

  glActiveTextureARB(GL_TEXTURE0_ARB);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  drawField(true, true);

  ShadowLight::releaseUnit(GL_TEXTURE2_ARB);
  ShadowLight::releaseUnit(GL_TEXTURE1_ARB);
  glActiveTextureARB(GL_TEXTURE0_ARB);
  glShadeModel(GL_SMOOTH);
}

int NameBlocks::render(float) {
  const bool lit = shadows && light && pixelBuffer;
  linearFog(50.0f, 200.0f);
  clearDepth();
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);

  glColor4f(0.25f, 1.0f, 0.25f, lit ? 0.125f : 0.25f);
  drawField(true, true);

  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  if (lit) {
    glEnable(GL_DEPTH_TEST);
    glColor4f(1.0f, 1.0f, 1.0f, blockAlpha * 0.95f);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_FALSE);
    // NOTE: lighting and texture generation take another vertex path than
    // the first pass, whose depths it must meet: a step nearer keeps the
    // lit faces from losing to their own first pass in stripes.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(-1.0f, -1.0f);
    shadowReceivingDraw();
    glDisable(GL_POLYGON_OFFSET_FILL);
  }

  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glDisable(GL_LIGHTING);
  glDisable(GL_COLOR_MATERIAL);
  glLineWidth(8.0f);
  glColor4f(outlineWhiteness, 1.0f, outlineWhiteness, blockAlpha * 0.125f);
  drawField(false, false);

  glDepthFunc(GL_LESS);
  glDepthMask(GL_TRUE);
  return 0;
}

void NameBlocks::morph(float x) {
  for (NameBlock& block : blocks) block.height *= 1.0f - x;
  const float savedX = pitchX, savedZ = pitchZ;
  pitchX = remap(x, 0.0f, 1.0f, savedX, 0.5f);
  pitchZ = remap(x, 0.0f, 1.0f, savedZ, 0.5f);

  blockAlpha = 1.0f - 4.0f * x;
  outlineWhiteness = 4.0f * x;
  if (blockAlpha > 0.0f) {
    glPushMatrix();
    render(0.0f);
    glPopMatrix();
  }

  for (int g = 0; g < gridRows; ++g) {
    for (int j = 0; j < gridColumns; ++j) {
      const int blockRow = g - 56, blockColumn = j - 24;
      const bool under = blockRow >= 1 && blockRow <= 15 && blockColumn >= 1 && blockColumn <= 15;
      const float h = blocks[under ? size_t(blockRow * columns + blockColumn) : 0].height;
      const Vec3 start(float(j - 32) * pitchX, h, float(g - 64) * pitchZ);
      const Vec3 end = targetGrid ? targetGrid->point(j, g) : start;
      gridPoints[size_t(g * gridColumns + j)] = start + (end - start) * x;
    }
  }

  const float w = remap(x, 0.0f, 1.0f, 8.0f, 3.0f);
  const float alpha = remap(x, 0.0f, 1.0f, 0.5f, 0.25f);
  const int wi = int(std::floor(w));
  if (wi != 0) {
    glLineWidth(float(wi));
    glColor4f(x, 1.0f, x, alpha);
    for (int g = 0; g < gridRows; ++g) {
      glBegin(GL_LINE_STRIP);
      for (int j = 0; j < gridColumns; ++j) {
        const Vec3& p = gridPoints[size_t(g * gridColumns + j)];
        glVertex3f(p.x, p.y, p.z);
      }
      glEnd();
    }
    for (int j = 0; j < gridColumns; ++j) {
      glBegin(GL_LINE_STRIP);
      for (int g = 0; g < gridRows; g += 2) {
        const Vec3& p = gridPoints[size_t(g * gridColumns + j)];
        glVertex3f(p.x, p.y, p.z);
      }
      glEnd();
    }
  }
  pitchX = savedX;
  pitchZ = savedZ;
}
