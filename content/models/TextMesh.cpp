// TextMesh: FreeType outlines, GLU tessellation, extrusion.
#include "TextMesh.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

namespace models {

namespace {

// Segments per curve piece: enough for smooth letters at the show's sizes
// without blowing past the 65535-point limit of a 3DS mesh.
const int kConicSteps = 3;
const int kCubicSteps = 4;
// DejaVu's capital height as a share of its em square.
const float kCapHeightPerEm = 0.729f;

struct Point2 {
  double x, y;
};

// Flattened outline: closed contours of 2D points in font units.
struct Outline {
  std::vector<std::vector<Point2>> contours;
  double offsetX = 0.0;  // pen position of the glyph being decomposed
};

Point2 at(const FT_Vector* v, const Outline* o) {
  return Point2{static_cast<double>(v->x) + o->offsetX, static_cast<double>(v->y)};
}

int moveTo(const FT_Vector* to, void* user) {
  Outline* o = static_cast<Outline*>(user);
  o->contours.emplace_back();
  o->contours.back().push_back(at(to, o));
  return 0;
}

int lineTo(const FT_Vector* to, void* user) {
  Outline* o = static_cast<Outline*>(user);
  o->contours.back().push_back(at(to, o));
  return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
  Outline* o = static_cast<Outline*>(user);
  std::vector<Point2>& c = o->contours.back();
  Point2 p0 = c.back(), p1 = at(control, o), p2 = at(to, o);
  for (int i = 1; i <= kConicSteps; ++i) {
    double t = static_cast<double>(i) / kConicSteps, s = 1.0 - t;
    c.push_back(Point2{s * s * p0.x + 2 * s * t * p1.x + t * t * p2.x,
                       s * s * p0.y + 2 * s * t * p1.y + t * t * p2.y});
  }
  return 0;
}

int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
  Outline* o = static_cast<Outline*>(user);
  std::vector<Point2>& c = o->contours.back();
  Point2 p0 = c.back(), p1 = at(c1, o), p2 = at(c2, o), p3 = at(to, o);
  for (int i = 1; i <= kCubicSteps; ++i) {
    double t = static_cast<double>(i) / kCubicSteps, s = 1.0 - t;
    double a = s * s * s, b = 3 * s * s * t, d = 3 * s * t * t, e = t * t * t;
    c.push_back(Point2{a * p0.x + b * p1.x + d * p2.x + e * p3.x,
                       a * p0.y + b * p1.y + d * p2.y + e * p3.y});
  }
  return 0;
}

// Drops the closing point that repeats the first and zero-length steps,
// which would give the tessellator degenerate edges.
void tidy(std::vector<Point2>* contour) {
  std::vector<Point2> out;
  for (const Point2& p : *contour)
    if (out.empty() || p.x != out.back().x || p.y != out.back().y) out.push_back(p);
  while (out.size() > 1 && out.front().x == out.back().x && out.front().y == out.back().y)
    out.pop_back();
  contour->swap(out);
}

bool layOutText(FT_Face face, const std::string& text, Outline* outline) {
  FT_Outline_Funcs funcs{};
  funcs.move_to = moveTo;
  funcs.line_to = lineTo;
  funcs.conic_to = conicTo;
  funcs.cubic_to = cubicTo;
  double pen = 0.0;
  FT_UInt previous = 0;
  for (unsigned char ch : text) {
    FT_UInt glyph = FT_Get_Char_Index(face, ch);
    if (previous && glyph && FT_HAS_KERNING(face)) {
      FT_Vector kern;
      if (FT_Get_Kerning(face, previous, glyph, FT_KERNING_UNSCALED, &kern) == 0) pen += kern.x;
    }
    if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING))
      return false;
    if (face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
      outline->offsetX = pen;
      if (FT_Outline_Decompose(&face->glyph->outline, &funcs, outline)) return false;
    }
    pen += face->glyph->advance.x;
    previous = glyph;
  }
  for (std::vector<Point2>& contour : outline->contours) tidy(&contour);
  return true;
}

// Collects the tessellator's triangles as indices into a 2D vertex list.
struct Tessellation {
  std::vector<Point2> vertices;
  std::vector<unsigned> triangles;
  bool failed = false;
};

void APIENTRY tessVertex(void* vertex, void* user) {
  Tessellation* t = static_cast<Tessellation*>(user);
  t->triangles.push_back(static_cast<unsigned>(reinterpret_cast<uintptr_t>(vertex)));
}

void APIENTRY tessCombine(GLdouble coords[3], void* [4], GLfloat[4], void** out, void* user) {
  Tessellation* t = static_cast<Tessellation*>(user);
  *out = reinterpret_cast<void*>(static_cast<uintptr_t>(t->vertices.size()));
  t->vertices.push_back(Point2{coords[0], coords[1]});
}

void APIENTRY tessEdgeFlag(GLboolean) {}  // its presence makes GLU emit plain triangles

void APIENTRY tessError(GLenum, void* user) { static_cast<Tessellation*>(user)->failed = true; }

bool tessellate(const Outline& outline, Tessellation* t) {
  for (const std::vector<Point2>& contour : outline.contours)
    t->vertices.insert(t->vertices.end(), contour.begin(), contour.end());
  GLUtesselator* tess = gluNewTess();
  if (!tess) return false;
  using Callback = void(APIENTRY*)();
  gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(tessVertex));
  gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(tessCombine));
  gluTessCallback(tess, GLU_TESS_EDGE_FLAG, reinterpret_cast<Callback>(tessEdgeFlag));
  gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<Callback>(tessError));
  gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
  gluTessNormal(tess, 0.0, 0.0, 1.0);
  // GLU keeps pointers to the coordinates until the polygon ends.
  std::vector<GLdouble> coords(t->vertices.size() * 3);
  gluTessBeginPolygon(tess, t);
  size_t index = 0;
  for (const std::vector<Point2>& contour : outline.contours) {
    gluTessBeginContour(tess);
    for (size_t i = 0; i < contour.size(); ++i, ++index) {
      GLdouble* c = &coords[index * 3];
      c[0] = contour[i].x;
      c[1] = contour[i].y;
      c[2] = 0.0;
      gluTessVertex(tess, c, reinterpret_cast<void*>(static_cast<uintptr_t>(index)));
    }
    gluTessEndContour(tess);
  }
  gluTessEndPolygon(tess);
  gluDeleteTess(tess);
  return !t->failed && t->triangles.size() % 3 == 0;
}

}  // namespace

bool buildTextMesh(const char* fontPath, const std::string& text, float height, float depth,
                   TriangleMesh* mesh, std::string* error) {
  FT_Library library;
  if (FT_Init_FreeType(&library)) {
    *error = "cannot start FreeType";
    return false;
  }
  std::unique_ptr<FT_LibraryRec_, FT_Error (*)(FT_Library)> libraryOwner(library, FT_Done_FreeType);
  FT_Face face;
  if (FT_New_Face(library, fontPath, 0, &face)) {
    *error = std::string("cannot read font ") + fontPath;
    return false;
  }
  Outline outline;
  bool laidOut = layOutText(face, text, &outline);
  double unitsPerEm = face->units_per_EM;
  FT_Done_Face(face);
  if (!laidOut) {
    *error = "cannot load the glyphs of \"" + text + "\"";
    return false;
  }
  Tessellation tess;
  if (!tessellate(outline, &tess)) {
    *error = "cannot tessellate \"" + text + "\"";
    return false;
  }

  // Scale font units to world units and centre the line on x.
  double scale = height / (unitsPerEm * kCapHeightPerEm);
  double minX = 1e30, maxX = -1e30;
  for (const Point2& p : tess.vertices) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
  }
  double centreX = tess.vertices.empty() ? 0.0 : (minX + maxX) / 2;
  const unsigned n = static_cast<unsigned>(tess.vertices.size());
  const float front = depth / 2, back = -depth / 2;
  mesh->points.clear();
  mesh->indices.clear();
  for (float z : {front, back})
    for (const Point2& p : tess.vertices)
      mesh->points.emplace_back(static_cast<float>((p.x - centreX) * scale),
                                static_cast<float>(p.y * scale), z);

  // Front faces as the tessellator wound them (counter-clockwise seen from
  // +z), back faces reversed.
  for (size_t i = 0; i < tess.triangles.size(); i += 3) {
    unsigned a = tess.triangles[i], b = tess.triangles[i + 1], c = tess.triangles[i + 2];
    mesh->indices.insert(mesh->indices.end(), {a, b, c});
    mesh->indices.insert(mesh->indices.end(), {a + n, c + n, b + n});
  }
  // Side walls: one quad per outline edge, joining the two faces.
  unsigned start = 0;
  for (const std::vector<Point2>& contour : outline.contours) {
    unsigned count = static_cast<unsigned>(contour.size());
    for (unsigned i = 0; i < count; ++i) {
      unsigned a = start + i, b = start + (i + 1) % count;
      mesh->indices.insert(mesh->indices.end(), {a, a + n, b});
      mesh->indices.insert(mesh->indices.end(), {b, a + n, b + n});
    }
    start += count;
  }
  return true;
}

}  // namespace models
