// LatticeMesh: a 3DS mesh drawn as wire triangles, bent by a 4x4x4 grid of
// control points (a cubic Bezier free-form deformation).
//
// Four key grids are made at load from sine or cosine waves; update blends
// two neighbouring keys with an eased weight and recomputes every point.
// Three variants exist, one per model: "zolt.3ds" (the opening, with its
// footprint and ground square), "t-rov.3ds" and "qz5.3ds" (the finale).
// The owner sets colour and line width and calls update before render.
// Depends on lib3ds (through the registry's loader) and the shared random
// generator, whose sequence the key building advances.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/Effect.h"

struct Lib3dsFile;
class ResourceRegistry;

// The constants that tell the variants apart.
struct LatticeVariant {
  const char* modelName;
  bool cosineWave;      // else sine
  bool flatKeys[4];     // keys left as the undisturbed box grid
  float gain;
  float scale;
  float rotationY;      // degrees, applied around the drawing
  bool hasFootprint;    // only the opening's model
  float cycleLength;    // units of x for one pass through the four keys
};

class LatticeMesh final : public Effect {
 public:
  static constexpr int kControlPoints = 64;

  // Loads the model through the registry and takes its mesh "Text01".
  LatticeMesh(ResourceRegistry* registry, const char* modelName);
  // Builds from an already loaded file (not taken over; may be null).
  LatticeMesh(Lib3dsFile* file, const char* modelName);

  // Blends the keys at x and deforms every point.
  void update(float x);
  // Draws the current shape (and the footprint of the opening's model).
  int render(float t) override;
  // The opening's ground transition: footprint at 0, square at 1, ruled
  // along z by 2 and along x by 3.
  void drawGround(float x);

  const LatticeVariant* variant;
  std::vector<uint32_t> indices;
  int faceCount = 0;
  int pointCount = 0;
  std::vector<float> local;      // 0..1 inside the bounding box, per axis
  std::vector<float> positions;  // deformed, rewritten by update
  float lattice[kControlPoints * 3] = {};
  float keys[4][kControlPoints * 3] = {};
  float boxMin[3] = {1.0e10f, 1.0e10f, 1.0e10f};
  float boxMax[3] = {-1.0e10f, -1.0e10f, -1.0e10f};
  bool footprint = false;

 private:
  void build(Lib3dsFile* file);
  void buildKeys();
  void drawFootprint();
};

// The variant for a model name; the opening's model for an unknown name.
const LatticeVariant* latticeVariantFor(const char* modelName);
