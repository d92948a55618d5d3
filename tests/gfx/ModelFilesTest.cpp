// The show's .3ds entries as the model tool wrote them: the archive copy,
// the loose copy and lib3ds's own file loader agree, cameras evaluate to the
// planned keys, and the lettering stands where the cameras look.
#include <gtest/gtest.h>

#include <lib3ds/file.h>
#include <lib3ds/matrix.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <utility>
#include <string>

#include "content/models/ModelPlan.h"
#include "gfx/Scene3ds.h"
#include "show/ResourceRegistry.h"

namespace {

// Exact text form of everything a scene reads: meshes (matrix, points,
// faces) and the node tree with its tracks. Floats as hex, so "equal" is
// bit-equal.
void describeFloats(std::string* out, const float* v, int n) {
  char buf[32];
  for (int i = 0; i < n; ++i) {
    std::snprintf(buf, sizeof buf, " %a", v[i]);
    *out += buf;
  }
}

void describeNodes(std::string* out, Lib3dsNode* node, int depth) {
  for (; node; node = node->next) {
    *out += std::string(depth, ' ') + "node " + node->name + " type " +
            std::to_string(node->type) + " id " + std::to_string(node->node_id) + " parent " +
            std::to_string(node->parent_id);
    auto lin3 = [out](const char* what, Lib3dsLin3Track& t) {
      *out += std::string(" ") + what;
      for (Lib3dsLin3Key* k = t.keyL; k; k = k->next) {
        *out += " @" + std::to_string(k->tcb.frame);
        describeFloats(out, k->value, 3);
      }
    };
    auto lin1 = [out](const char* what, Lib3dsLin1Track& t) {
      *out += std::string(" ") + what;
      for (Lib3dsLin1Key* k = t.keyL; k; k = k->next) {
        *out += " @" + std::to_string(k->tcb.frame);
        describeFloats(out, &k->value, 1);
      }
    };
    if (node->type == LIB3DS_CAMERA_NODE) {
      lin3("pos", node->data.camera.pos_track);
      lin1("fov", node->data.camera.fov_track);
      lin1("roll", node->data.camera.roll_track);
    } else if (node->type == LIB3DS_TARGET_NODE) {
      lin3("target", node->data.target.pos_track);
    } else if (node->type == LIB3DS_OBJECT_NODE) {
      describeFloats(out, node->data.object.pivot, 3);
      lin3("pos", node->data.object.pos_track);
      lin3("scl", node->data.object.scl_track);
      for (Lib3dsQuatKey* k = node->data.object.rot_track.keyL; k; k = k->next) {
        *out += " rot @" + std::to_string(k->tcb.frame);
        describeFloats(out, k->axis, 3);
        describeFloats(out, &k->angle, 1);
      }
    }
    *out += "\n";
    describeNodes(out, node->childs, depth + 1);
  }
}

std::string describe(Lib3dsFile* file) {
  if (!file) return "null";
  std::string out;
  for (Lib3dsMesh* mesh = file->meshes; mesh; mesh = mesh->next) {
    out += std::string("mesh ") + mesh->name + " matrix";
    describeFloats(&out, &mesh->matrix[0][0], 16);
    out += " points " + std::to_string(mesh->points);
    for (Lib3dsDword i = 0; i < mesh->points; ++i) describeFloats(&out, mesh->pointL[i].pos, 3);
    out += " faces " + std::to_string(mesh->faces);
    for (Lib3dsDword i = 0; i < mesh->faces; ++i)
      for (int c = 0; c < 3; ++c) out += " " + std::to_string(mesh->faceL[i].points[c]);
    out += "\n";
  }
  describeNodes(&out, file->nodes, 0);
  return out;
}

std::string contentPath(const char* entry) { return std::string(ZOLT_CONTENT_DIR) + "/" + entry; }

void expectNear(const Vec3& got, const Vec3& want, const std::string& what) {
  float eps = 1e-4f * (1.0f + want.length());
  EXPECT_NEAR(got.x, want.x, eps) << what;
  EXPECT_NEAR(got.y, want.y, eps) << what;
  EXPECT_NEAR(got.z, want.z, eps) << what;
}

Vec3 transform(const Lib3dsMatrix m, const Vec3& p) {
  return Vec3(m[0][0] * p.x + m[1][0] * p.y + m[2][0] * p.z + m[3][0],
              m[0][1] * p.x + m[1][1] * p.y + m[2][1] * p.z + m[3][1],
              m[0][2] * p.x + m[1][2] * p.y + m[2][2] * p.z + m[3][2]);
}

}  // namespace

TEST(ModelFiles, ArchiveLooseAndLib3dsCopiesAreIdentical) {
  ResourceRegistry packed;
  packed.usePack = true;
  packed.packName = std::string(ZOLT_OUTPUT_DIR) + "/trov.qz5";
  ResourceRegistry loose;
  loose.rootPath = std::string(ZOLT_CONTENT_DIR) + "/";
  for (const models::ModelFile& plan : models::modelFiles()) {
    SCOPED_TRACE(plan.entry);
    Scene3ds fromPack(plan.entry, &packed);
    Scene3ds fromDisk(plan.entry, &loose);
    Lib3dsFile* reference = lib3ds_file_load(contentPath(plan.entry).c_str());
    ASSERT_NE(fromPack.file, nullptr);
    ASSERT_NE(reference, nullptr);
    std::string expected = describe(reference);
    lib3ds_file_free(reference);
    EXPECT_EQ(describe(fromPack.file), expected);
    EXPECT_EQ(describe(fromDisk.file), expected);
    // What the plan promises is there.
    for (const models::TextPlan& text : plan.texts) {
      EXPECT_NE(lib3ds_file_mesh_by_name(fromPack.file, text.name), nullptr) << text.name;
      EXPECT_NE(lib3ds_file_node_by_name(fromPack.file, text.name, LIB3DS_OBJECT_NODE), nullptr);
    }
    EXPECT_GE(plan.texts.size() + plan.moves.size(), 1u);
  }
}

TEST(ModelFiles, CamerasEvaluateToThePlannedKeys) {
  ResourceRegistry loose;
  loose.rootPath = std::string(ZOLT_CONTENT_DIR) + "/";
  for (const models::ModelFile& plan : models::modelFiles()) {
    Scene3ds scene(plan.entry, &loose);
    ASSERT_NE(scene.file, nullptr) << plan.entry;
    for (const std::string& name : models::cameraNames(plan)) {
      std::vector<models::CameraKey> keys = models::cameraKeys(plan, name);
      ASSERT_FALSE(keys.empty());
      EXPECT_LE(keys.front().frame, 0) << plan.entry << " " << name;
      EXPECT_GE(keys.back().frame, plan.frames) << plan.entry << " " << name;
      for (const models::CameraKey& key : keys) {
        std::string what = std::string(plan.entry) + " " + name + " @" + std::to_string(key.frame);
        scene.setFrame(static_cast<float>(key.frame));
        Lib3dsNode* camera = lib3ds_file_node_by_name(scene.file, name.c_str(), LIB3DS_CAMERA_NODE);
        Lib3dsNode* target = lib3ds_file_node_by_name(scene.file, name.c_str(), LIB3DS_TARGET_NODE);
        ASSERT_NE(camera, nullptr) << what;
        ASSERT_NE(target, nullptr) << what;
        expectNear(scene.cameraPosition(name.c_str()), key.eye, what + " eye");
        const float* t = target->data.target.pos;
        expectNear(Vec3(t[0], t[1], t[2]), key.target, what + " target");
        EXPECT_NEAR(camera->data.camera.fov, key.fov, 1e-4f) << what;
        EXPECT_NEAR(camera->data.camera.roll, key.roll, 1e-4f) << what;
        EXPECT_GT((key.target - key.eye).length(), 1.0f) << what;
      }
      // Loops the scenes wrap with fmod come back to where they began.
      if (std::string(plan.entry) == "tunnel.3DS" || std::string(plan.entry) == "tentacle.3DS") {
        scene.setFrame(0);
        Vec3 start = scene.cameraPosition(name.c_str());
        scene.setFrame(static_cast<float>(plan.frames));
        Vec3 end = scene.cameraPosition(name.c_str());
        EXPECT_NEAR(start.x, end.x, 1e-3f);
        EXPECT_NEAR(start.z, end.z, 1e-3f);
        if (std::string(plan.entry) == "tunnel.3DS")
          EXPECT_EQ(std::fmod(end.y - start.y, 20.0f), 0.0f);  // whole ring spacings
        else
          EXPECT_NEAR(start.y, end.y, 1e-3f);
      }
    }
  }
}

TEST(ModelFiles, LetteringStandsUprightWhereTheCamerasLook) {
  ResourceRegistry loose;
  loose.rootPath = std::string(ZOLT_CONTENT_DIR) + "/";
  for (const models::ModelFile& plan : models::modelFiles()) {
    Scene3ds scene(plan.entry, &loose);
    ASSERT_NE(scene.file, nullptr);
    scene.setFrame(0);
    for (const models::TextPlan& text : plan.texts) {
      SCOPED_TRACE(std::string(plan.entry) + " " + text.name);
      Lib3dsMesh* mesh = lib3ds_file_mesh_by_name(scene.file, text.name);
      Lib3dsNode* node = lib3ds_file_node_by_name(scene.file, text.name, LIB3DS_OBJECT_NODE);
      ASSERT_NE(mesh, nullptr);
      ASSERT_NE(node, nullptr);
      ASSERT_GT(mesh->faces, 100u);
      // Back through the inverse mesh matrix, then the node transform,
      // lands every point where the file stores it.
      Lib3dsMatrix inverse;
      lib3ds_matrix_copy(inverse, mesh->matrix);
      ASSERT_TRUE(lib3ds_matrix_inv(inverse));
      Vec3 lo(1e9f, 1e9f, 1e9f), hi(-1e9f, -1e9f, -1e9f), centre;
      for (Lib3dsDword i = 0; i < mesh->points; ++i) {
        const float* p = mesh->pointL[i].pos;
        Vec3 world(p[0], p[1], p[2]);
        Vec3 local = transform(inverse, world);
        expectNear(transform(node->matrix, local), world, "node placement");
        lo.set(std::min(lo.x, local.x), std::min(lo.y, local.y), std::min(lo.z, local.z));
        hi.set(std::max(hi.x, local.x), std::max(hi.y, local.y), std::max(hi.z, local.z));
        centre += world / static_cast<float>(mesh->points);
      }
      // A closed solid: every edge is shared by exactly two faces, so the
      // walls meet both faces all round every outline.
      std::map<std::pair<int, int>, int> edges;
      for (Lib3dsDword f = 0; f < mesh->faces; ++f)
        for (int c = 0; c < 3; ++c) {
          int a = mesh->faceL[f].points[c], b = mesh->faceL[f].points[(c + 1) % 3];
          ++edges[{std::min(a, b), std::max(a, b)}];
        }
      int open = 0;
      for (const auto& e : edges) open += e.second != 2;
      EXPECT_EQ(open, 0);
      // Upright letters of the planned size, centred on the line.
      EXPECT_NEAR(hi.z - lo.z, text.depth, 1e-3f);
      EXPECT_NEAR(lo.x + hi.x, 0.0f, 1e-3f);
      EXPECT_GT(hi.y, text.height * 0.95f);
      EXPECT_LT(hi.y, text.height * 1.3f);
      EXPECT_GT(lo.y, -text.height * 0.3f);
      EXPECT_GT(hi.x - lo.x, text.height * 1.5f);
      // Every camera of the file sees the lettering in its frame while it
      // frames the text (zolt.3ds's Camera05 turns to the ground later).
      for (const std::string& name : models::cameraNames(plan)) {
        for (const models::CameraKey& key : models::cameraKeys(plan, name)) {
          if (key.frame > 90) continue;
          scene.setFrame(static_cast<float>(key.frame));
          float view[16];
          scene.cameraMatrix(name.c_str(), view);
          // lib3ds's camera frame: x right, y ahead, z up.
          float ex = view[0] * centre.x + view[4] * centre.y + view[8] * centre.z + view[12];
          float ahead = view[1] * centre.x + view[5] * centre.y + view[9] * centre.z + view[13];
          float ez = view[2] * centre.x + view[6] * centre.y + view[10] * centre.z + view[14];
          float halfHeight = std::tan(key.fov * 3.14159265f / 360.0f);
          std::string what = name + " @" + std::to_string(key.frame);
          ASSERT_GT(ahead, 0.0f) << what;
          EXPECT_LT(std::fabs(ez / ahead), halfHeight) << what;
          EXPECT_LT(std::fabs(ex / ahead), halfHeight * 4.0f / 3.0f) << what;
        }
      }
      scene.setFrame(0);
    }
  }
}
