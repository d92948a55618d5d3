// ModelPlan: what the model tool writes into each .3ds entry, as data.
//
// Each entry holds lettering meshes (with object nodes) and cameras with
// target nodes. A camera is one or more moves: eye and target blended from
// a start to an end placement over a frame range and sampled into keys;
// lib3ds interpolates between keys. Orbit moves give the eye as (angle in
// degrees, radius, height) around a centre; `lead` aims the target that many
// degrees ahead on the same orbit. World space is the 3DS one (z up) except
// in bug.3ds, whose cameras live in the swarm landscape's own frame (y up,
// the walk along +z).
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "gfx/Vec3.h"

namespace models {

struct TextPlan {
  const char* name;   // mesh and object node name
  const char* text;   // lettering, one line
  float height;       // capital height in world units
  float depth;        // extrusion depth
  float base[3];      // world position of the baseline's centre
};

struct CameraMove {
  const char* camera;
  int firstFrame, lastFrame, keyCount;
  bool orbit;
  float centre[3];
  float eyeFrom[3], eyeTo[3];        // cartesian, or (degrees, radius, height) for orbits
  float targetFrom[3], targetTo[3];  // cartesian (added to the lead point when lead != 0)
  float lead;                        // degrees ahead on the orbit the target sits; 0 = none
  float rollFrom, rollTo;            // radians, as lib3ds's camera matrix takes them
  float fovFrom, fovTo;              // degrees
  float wobble[3];                   // eye sway amplitude per axis
  float wobbleCycles;                // whole cycles over the move, so loops close
};

struct ModelFile {
  const char* entry;
  int frames;  // last keyframe the scenes evaluate
  std::vector<TextPlan> texts;
  std::vector<CameraMove> moves;
};

struct CameraKey {
  int frame;
  Vec3 eye;
  Vec3 target;
  float roll;
  float fov;
};

// Font the lettering is cut from (Debian's fonts-dejavu-core).
inline const char* fontPath() { return "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"; }

// clang-format off
inline const std::vector<ModelFile>& modelFiles() {
  static const std::vector<ModelFile> files = {
    // Scene 0 title: two lines above the +-250 grid in the z = 0 plane.
    {"vs.3ds", 100,
     {{"Text01", "T-ROV VS QZ5", 30, 8, {0, 0, 72}},
      {"Text02", "Z-OLT!", 50, 12, {0, 0, 6}}},
     {{"Camera01", 0, 100, 11, true, {0, 0, 0}, {-120, 420, 60}, {-60, 420, 100},
       {0, 0, 55}, {0, 0, 60}, 0, 0, 0, 45, 40, {0, 0, 0}, 0},
      {"Camera02", 0, 100, 11, true, {0, 0, 0}, {-60, 330, 15}, {-110, 330, 30},
       {25, 0, 50}, {-25, 0, 50}, 0, 0, 0, 50, 50, {0, 0, 0}, 0},
      {"Camera03", 0, 100, 11, true, {0, 0, 0}, {-90, 500, 350}, {-70, 500, 250},
       {0, 0, 40}, {0, 0, 40}, 0, 0, 0.1f, 50, 45, {0, 0, 0}, 0},
      {"Camera04", 0, 100, 11, true, {0, 0, 0}, {-150, 340, 120}, {-30, 340, 40},
       {0, 0, 55}, {0, 0, 55}, 0, -0.15f, 0.15f, 55, 48, {0, 0, 0}, 0}}},

    // Scene 0 model: the lattice-deformed name; Camera05 ends over the
    // 320 x 320 ground square that grows out of its footprint.
    {"zolt.3ds", 129,
     {{"Text01", "Z-OLT!", 40, 12, {0, 0, 0}}},
     {{"Camera01", 0, 129, 14, true, {0, 0, 0}, {-110, 260, 30}, {-70, 260, 60},
       {0, 0, 20}, {0, 0, 20}, 0, 0, 0, 45, 45, {0, 0, 0}, 0},
      {"Camera02", 0, 129, 14, true, {0, 0, 0}, {-60, 150, 5}, {-100, 150, 15},
       {-40, 0, 25}, {40, 0, 20}, 0, 0, 0, 55, 55, {0, 0, 0}, 0},
      {"Camera03", 0, 129, 14, true, {0, 0, 0}, {-140, 300, 200}, {-40, 300, 120},
       {0, 0, 15}, {0, 0, 15}, 0, 0.1f, -0.1f, 45, 45, {0, 0, 0}, 0},
      {"Camera04", 0, 129, 14, true, {0, 0, 0}, {0, 220, 40}, {-45, 220, 40},
       {0, 0, 20}, {0, 0, 20}, 0, 0, 0, 50, 50, {0, 0, 0}, 0},
      {"Camera05", 0, 90, 10, true, {0, 0, 0}, {-100, 260, 40}, {-90, 240, 60},
       {0, 0, 20}, {-39, 0, 20}, 0, 0, 0, 45, 57, {0, 0, 0}, 0},
      // The footprint act (frames 90-129) stays close on the model, aimed a
      // little towards the Z and at 57 degrees, so that every lattice phase
      // (the key that swings the Z out reaches 1.5 frame half-widths at 45)
      // keeps the whole name in the frame. The
      // ground act holds frame 120, which the footprint act passes between
      // bar3's pulses of beats 24 and 25: the camera cuts out to the ground
      // view there (frames 118-121, never lit) and back.
      {"Camera05", 90, 118, 15, true, {0, 0, 0}, {-90, 240, 60}, {-82, 235, 75},
       {-39, 0, 20}, {-39, 0, 20}, 0, 0, 0, 57, 57, {0, 0, 0}, 0},
      {"Camera05", 118, 120, 2, true, {0, 0, 0}, {-82, 235, 75}, {-90, 455.4f, 336.9f},
       {-39, 0, 20}, {0, -115.4f, 15.4f}, 0, 0, 0, 57, 52.7f, {0, 0, 0}, 0},
      {"Camera05", 120, 121, 2, true, {0, 0, 0}, {-90, 455.4f, 336.9f}, {-80, 235, 78},
       {0, -115.4f, 15.4f}, {-39, 0, 20}, 0, 0, 0, 52.7f, 57, {0, 0, 0}, 0},
      {"Camera05", 121, 129, 9, true, {0, 0, 0}, {-80, 235, 78}, {-74, 230, 90},
       {-39, 0, 20}, {-39, 0, 18}, 0, 0, 0, 57, 57, {0, 0, 0}, 0}}},

    // Scene 1: around the 320 x 320 height field (x, y in -160..160). The
    // scene plays keys 0-40 (four times the rhythm level) for every camera;
    // over its last four beats Camera04 plays 80-100 on its own, closing in
    // on the ball of loops at the origin. The eyes stay on the -y side so
    // the scroller (its top towards +y) reads the right way up.
    {"plane.3DS", 100, {},
     {{"Camera01", 0, 100, 11, true, {0, 0, 0}, {-90, 240, 85}, {0, 240, 60},
       {0, 0, 0}, {0, 0, 0}, 0, 0, 0, 50, 50, {0, 0, 0}, 0},
      {"Camera02", 0, 100, 11, true, {0, 0, 0}, {200, 190, 50}, {140, 190, 60},
       {0, 0, 0}, {0, 0, 0}, 0, 0, 0, 60, 60, {0, 0, 0}, 0},
      {"Camera03", 0, 100, 11, true, {0, 0, 0}, {-60, 110, 230}, {-150, 110, 200},
       {0, 0, 0}, {0, 0, 0}, 0, 0, 0.5f, 55, 55, {0, 0, 0}, 0},
      {"Camera04", 0, 80, 9, true, {0, 0, 0}, {-30, 260, 110}, {-150, 180, 40},
       {0, 0, 0}, {0, 0, 0}, 0, 0, 0, 45, 60, {0, 0, 0}, 0},
      {"Camera04", 80, 100, 5, true, {0, 0, 0}, {-100, 150, 70}, {-60, 45, 22},
       {0, 0, 5}, {0, 0, 0}, 0, 0, 0, 50, 60, {0, 0, 0}, 0}}},

    // Scene 2: the ring disc (radius 5..30) lies in the plane z = -20.
    {"linecube.3ds", 100, {},
     {{"Camera01", 0, 100, 11, true, {0, 0, -20}, {-90, 50, 40}, {-30, 50, 25},
       {0, 0, -20}, {0, 0, -20}, 0, 0, 0, 50, 50, {0, 0, 0}, 0},
      {"Camera02", 0, 100, 11, true, {0, 0, -20}, {90, 30, 60}, {180, 30, 60},
       {0, 0, -20}, {0, 0, -20}, 0, 0, 0.3f, 45, 45, {0, 0, 0}, 0},
      {"Camera03", 0, 100, 11, true, {0, 0, -20}, {0, 70, 20}, {-120, 70, 10},
       {0, 0, -20}, {0, 0, -20}, 0, 0, 0, 40, 40, {0, 0, 0}, 0},
      {"Camera04", 0, 100, 11, true, {0, 0, -20}, {30, 10, 80}, {60, 10, 70},
       {0, 0, -20}, {0, 0, -20}, 0, 0, 0, 50, 50, {0, 0, 0}, 0},
      {"Camera05", 0, 100, 11, true, {0, 0, -20}, {-90, 60, 30}, {-90, 5, 90},
       {0, 0, -20}, {0, 0, -20}, 0, 0, 0, 50, 50, {0, 0, 0}, 0}}},

    // Scene 3: along +y inside the tube of radius 30; y runs a whole number
    // of ring spacings and the sway closes, so the loop has no seam.
    {"tunnel.3DS", 100, {},
     {{"Camera01", 0, 100, 21, false, {0, 0, 0}, {0, 0, 0}, {0, 1000, 0},
       {0, 150, 0}, {0, 1150, 0}, 0, 0, 6.2831853f, 60, 60, {8, 0, 6}, 2}}},

    // Swarm: the landscape's frame (x -16..16, y up, walk along +z).
    {"bug.3ds", 450, {},
     {{"Camera01", 0, 450, 19, false, {0, 0, 0}, {3, 25, -110}, {3, 25, 130},
       {0, 0, -50}, {0, 0, 190}, 0, 0, 0, 50, 50, {0, 0, 0}, 0},
      {"Camera02", 0, 300, 13, false, {0, 0, 0}, {30, 10, -70}, {30, 11, 90},
       {0, 0, -60}, {0, 0, 100}, 0, 0, 0, 45, 45, {0, 0, 0}, 0},
      // The gathering: high over the image's area from -x, so its rows read
      // across the screen and its columns from left to right.
      {"Camera02", 300, 360, 4, false, {0, 0, 0}, {30, 11, 90}, {-21, 37, 177},
       {0, 0, 100}, {1, 4, 178}, 0, 0, 0, 45, 45, {0, 0, 0}, 0},
      {"Camera02", 360, 450, 5, false, {0, 0, 0}, {-21, 37, 177}, {-18, 33, 181},
       {1, 4, 178}, {1, 4, 180}, 0, 0, 0, 45, 45, {0, 0, 0}, 0},
      {"Camera03", 0, 195, 9, false, {0, 0, 0}, {2, 40, -40}, {2, 40, 60},
       {0, 0, -20}, {0, 0, 90}, 0, 0, 0, 50, 50, {0, 0, 0}, 0},
      {"Camera03", 195, 300, 8, false, {0, 0, 0}, {2, 40, 60}, {6, 30, 150},
       {0, 0, 90}, {0, 0, 180}, 0, 0, 0, 50, 50, {0, 0, 0}, 0},
      {"Camera03", 300, 450, 7, false, {0, 0, 0}, {6, 30, 150}, {4, 45, 200},
       {0, 0, 180}, {0, 0, 200}, 0, 0, 0, 50, 50, {0, 0, 0}, 0}}},

    // Finale panels: once around the tentacle ball, closing the loop.
    {"tentacle.3DS", 100, {},
     {{"Camera0", 0, 100, 21, true, {0, 0, 0}, {0, 70, 20}, {360, 70, 20},
       {0, 0, 0}, {0, 0, 0}, 0, 0, 0, 45, 45, {0, 0, 15}, 1}}},

    // Finale gallery: a steady flight along a wide circle, looking ahead.
    {"tentacle2.3DS", 500, {},
     {{"Camera01", 0, 500, 41, true, {0, 0, 0}, {0, 60, 0}, {600, 60, 20},
       {0, 0, 0}, {0, 0, 0}, 15, 0, 0, 50, 50, {0, 0, 0}, 0}}},

    // Finale line models, seen from about 150 units with a wide lens.
    {"t-rov.3ds", 0, {{"Text01", "T-ROV", 48, 12, {0, 0, 0}}}, {}},
    {"qz5.3ds", 0, {{"Text01", "QZ5", 56, 14, {0, 0, 0}}}, {}},
  };
  return files;
}
// clang-format on

inline Vec3 toVec3(const float v[3]) { return Vec3(v[0], v[1], v[2]); }

// Point on an orbit: (degrees, radius, height) around a centre.
inline Vec3 orbitPoint(const float centre[3], float degrees, float radius, float height) {
  float a = degrees * 3.14159265f / 180.0f;
  return Vec3(centre[0] + radius * std::cos(a), centre[1] + radius * std::sin(a),
              centre[2] + height);
}

// The keys of one move, evenly spread over its frames.
inline std::vector<CameraKey> expandMove(const CameraMove& m) {
  std::vector<CameraKey> keys;
  int count = m.keyCount < 2 ? 2 : m.keyCount;
  for (int k = 0; k < count; ++k) {
    float u = static_cast<float>(k) / (count - 1);
    auto mix = [u](const float a[3], const float b[3]) {
      return Vec3(a[0] + (b[0] - a[0]) * u, a[1] + (b[1] - a[1]) * u, a[2] + (b[2] - a[2]) * u);
    };
    CameraKey key;
    key.frame = m.firstFrame + static_cast<int>(std::lround((m.lastFrame - m.firstFrame) * u));
    Vec3 eye = mix(m.eyeFrom, m.eyeTo);
    key.target = mix(m.targetFrom, m.targetTo);
    if (m.orbit) {
      key.eye = orbitPoint(m.centre, eye.x, eye.y, eye.z);
      if (m.lead != 0.0f) key.target += orbitPoint(m.centre, eye.x + m.lead, eye.y, eye.z);
    } else {
      key.eye = eye;
    }
    float sway = std::sin(2.0f * 3.14159265f * m.wobbleCycles * u);
    key.eye += Vec3(m.wobble[0], m.wobble[1], m.wobble[2]) * sway;
    key.roll = m.rollFrom + (m.rollTo - m.rollFrom) * u;
    key.fov = m.fovFrom + (m.fovTo - m.fovFrom) * u;
    keys.push_back(key);
  }
  return keys;
}

// Every key of a camera, its moves joined in order (a frame shared by two
// moves is kept once).
inline std::vector<CameraKey> cameraKeys(const ModelFile& file, const std::string& camera) {
  std::vector<CameraKey> keys;
  for (const CameraMove& move : file.moves) {
    if (camera != move.camera) continue;
    for (const CameraKey& key : expandMove(move))
      if (keys.empty() || key.frame > keys.back().frame) keys.push_back(key);
  }
  return keys;
}

// Camera names of a file in first-appearance order.
inline std::vector<std::string> cameraNames(const ModelFile& file) {
  std::vector<std::string> names;
  for (const CameraMove& move : file.moves) {
    bool seen = false;
    for (const std::string& n : names) seen = seen || n == move.camera;
    if (!seen) names.push_back(move.camera);
  }
  return names;
}

}  // namespace models
