// The cameras of the built .3ds entries as other readers and the show see
// them: every one carries a usable clip range, and the opening's cameras
// frame what the scene draws through them.
#include <dirent.h>
#include <gtest/gtest.h>
#include <lib3ds/camera.h>
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>
#include <strings.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "gfx/Scene3ds.h"
#include "scenes/effects/LatticeMesh.h"
#include "show/ResourceRegistry.h"

namespace {

std::string contentPath(const std::string& entry) {
  return std::string(ZOLT_CONTENT_DIR) + "/" + entry;
}

// Every .3ds file the build wrote (the extension in either case).
std::vector<std::string> builtModelFiles() {
  std::vector<std::string> names;
  DIR* dir = opendir(ZOLT_CONTENT_DIR);
  if (!dir) return names;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".3ds") == 0)
      names.push_back(name);
  }
  closedir(dir);
  return names;
}

// Where a world point lands in the 4:3 frame the show sets up for a camera:
// lib3ds's camera matrix (x right, y ahead, z up), then the perspective with
// the camera's field of view, in normalised device units.
struct FramePoint {
  float x, y, ahead;
  bool inside() const { return ahead > 1.0f && std::fabs(x) <= 1.0f && std::fabs(y) <= 1.0f; }
};

FramePoint project(const Scene3ds& scene, const char* camera, const float p[3]) {
  float m[16];
  scene.cameraMatrix(camera, m);
  Lib3dsNode* node = lib3ds_file_node_by_name(scene.file, camera, LIB3DS_CAMERA_NODE);
  const float halfHeight = std::tan(node->data.camera.fov * 3.14159265f / 360.0f);
  const float x = m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12];
  const float ahead = m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13];
  const float z = m[2] * p[0] + m[6] * p[1] + m[10] * p[2] + m[14];
  return {x / ahead / (halfHeight * 4.0f / 3.0f), z / ahead / halfHeight, ahead};
}

// The horizontal span, in frame widths, of a mesh's points; false when a
// point leaves the frame.
bool meshInFrame(const Scene3ds& scene, const char* camera, const char* meshName, float* span,
                 std::string* why) {
  Lib3dsMesh* mesh = lib3ds_file_mesh_by_name(scene.file, meshName);
  if (!mesh) {
    *why = std::string("no mesh ") + meshName;
    return false;
  }
  float lo = 1e9f, hi = -1e9f;
  for (Lib3dsDword i = 0; i < mesh->points; ++i) {
    FramePoint f = project(scene, camera, mesh->pointL[i].pos);
    if (!f.inside()) {
      *why = std::string(meshName) + " point at (" + std::to_string(f.x) + ", " +
             std::to_string(f.y) + ") ahead " + std::to_string(f.ahead);
      return false;
    }
    lo = std::min(lo, f.x);
    hi = std::max(hi, f.x);
  }
  *span = (hi - lo) / 2.0f;
  return true;
}

struct LooseModels {
  LooseModels() { registry.rootPath = std::string(ZOLT_CONTENT_DIR) + "/"; }
  ResourceRegistry registry;
};

}  // namespace

TEST(ModelCameras, TitleCamerasFrameBothLinesOfLetteringWhole) {
  LooseModels models;
  Scene3ds title("vs.3ds", &models.registry);
  ASSERT_NE(title.file, nullptr);
  // The title evaluates its keys from the rhythm level (mostly 0-10); look
  // all along them, finely where it dwells.
  for (const char* camera : {"Camera01", "Camera02", "Camera03", "Camera04"}) {
    for (float frame = 0.0f; frame <= 100.0f; frame += frame < 10.0f ? 0.5f : 2.5f) {
      title.setFrame(frame);
      for (const char* line : {"Text01", "Text02"}) {
        float span = 0.0f;
        std::string why;
        EXPECT_TRUE(meshInFrame(title, camera, line, &span, &why))
            << camera << " @" << frame << ": " << why;
      }
    }
  }
}

TEST(ModelCameras, FootprintActShowsTheModelLargeAndTheGroundActTheWholeSquare) {
  LooseModels models;
  Scene3ds model("zolt.3ds", &models.registry);
  ASSERT_NE(model.file, nullptr);
  // Beats 20-28 run the keys 90-129 as the scene does; frames 118-121 are
  // the cut to the ground view, which falls between bar3's pulses.
  for (float beat = 20.0f; beat < 28.0f; beat += 1.0f / 16.0f) {
    const float frame = std::min((9.0f + (beat - 20.0f) * 5.0f / 8.0f) * 10.0f, 129.0f);
    if (frame > 118.0f && frame < 121.0f) continue;
    model.setFrame(frame);
    float span = 0.0f;
    std::string why;
    EXPECT_TRUE(meshInFrame(model, "Camera05", "Text01", &span, &why)) << beat << ": " << why;
    EXPECT_GT(span, 0.55f) << "beat " << beat << " frame " << frame;
  }
  // The ground act looks from frame 120 at the 320 x 320 square the
  // footprint grows into (in the model's own frame: lifted 14, centred 150
  // in front of it).
  model.setFrame(120.0f);
  Lib3dsNode* node = lib3ds_file_node_by_name(model.file, "Text01", LIB3DS_OBJECT_NODE);
  ASSERT_NE(node, nullptr);
  for (float sx : {-160.0f, 160.0f})
    for (float sz : {-160.0f, 160.0f}) {
      const float local[3] = {sx, 13.996f, 150.0f + sz};
      float world[3];
      for (int r = 0; r < 3; ++r)
        world[r] = node->matrix[0][r] * local[0] + node->matrix[1][r] * local[1] +
                   node->matrix[2][r] * local[2] + node->matrix[3][r];
      FramePoint f = project(model, "Camera05", world);
      EXPECT_TRUE(f.inside()) << "corner " << sx << ", " << sz << " at " << f.x << ", " << f.y;
    }
}

TEST(ModelCameras, FootprintActKeepsTheModelInFrameAtEveryLatticePhase) {
  LooseModels models;
  Scene3ds model("zolt.3ds", &models.registry);
  ASSERT_NE(model.file, nullptr);
  LatticeMesh mesh(model.file, "zolt.3ds");
  ASSERT_GT(mesh.pointCount, 0);
  // The act plays any phase at any beat (the rhythm level picks it): every
  // deformed point of every phase stays in the frame, as the scene draws it.
  for (float beat = 20.0f; beat < 28.0f; beat += 0.125f) {
    const float frame = std::min((9.0f + (beat - 20.0f) * 5.0f / 8.0f) * 10.0f, 129.0f);
    if (frame > 118.0f && frame < 121.0f) continue;
    model.setFrame(frame);
    Lib3dsNode* node = lib3ds_file_node_by_name(model.file, "Text01", LIB3DS_OBJECT_NODE);
    ASSERT_NE(node, nullptr);
    float worst = 0.0f;
    for (float x = 0.0f; x < 10.0f; x += 0.125f) {
      mesh.update(x);
      for (int i = 0; i < mesh.pointCount; i += 2) {
        const float* p = &mesh.positions[size_t(i) * 3];
        float world[3];
        for (int r = 0; r < 3; ++r)
          world[r] = node->matrix[0][r] * p[0] + node->matrix[1][r] * p[1] + node->matrix[2][r] * p[2] +
                     node->matrix[3][r];
        const FramePoint f = project(model, "Camera05", world);
        worst = std::max({worst, std::fabs(f.x), std::fabs(f.y), f.ahead > 1.0f ? 0.0f : 9.0f});
      }
    }
    EXPECT_LE(worst, 1.0f) << "beat " << beat << " frame " << frame;
  }
}

TEST(ModelCameras, EveryCameraOfEveryBuiltFileHasAClipRange) {
  const std::vector<std::string> files = builtModelFiles();
  EXPECT_GE(files.size(), 10u);
  int cameras = 0;
  for (const std::string& name : files) {
    Lib3dsFile* file = lib3ds_file_load(contentPath(name).c_str());
    ASSERT_NE(file, nullptr) << name;
    for (Lib3dsCamera* camera = file->cameras; camera; camera = camera->next) {
      ++cameras;
      EXPECT_GT(camera->near_range, 0.0f) << name << " " << camera->name;
      EXPECT_LT(camera->near_range, camera->far_range) << name << " " << camera->name;
    }
    lib3ds_file_free(file);
  }
  EXPECT_GT(cameras, 20);
}
