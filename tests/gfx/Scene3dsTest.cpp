// The 3DS adapter against a small file made here with known cameras and
// nodes: the GL matrices it sets, its look-ups, and a file that is missing.
#include <gtest/gtest.h>

#include <lib3ds/file.h>
#include <lib3ds/node.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>

#include "gfx/GlExtensions.h"
#include "gfx/Scene3ds.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"

namespace {

void keyLin3(Lib3dsLin3Track* track, float x, float y, float z) {
  Lib3dsLin3Key* key = lib3ds_lin3_key_new();
  key->value[0] = x;
  key->value[1] = y;
  key->value[2] = z;
  lib3ds_lin3_track_insert(track, key);
  lib3ds_lin3_track_setup(track);
}

void keyLin1(Lib3dsLin1Track* track, float v) {
  Lib3dsLin1Key* key = lib3ds_lin1_key_new();
  key->value = v;
  lib3ds_lin1_track_insert(track, key);
  lib3ds_lin1_track_setup(track);
}

Lib3dsWord nextId = 0;

void addCamera(Lib3dsFile* file, const char* name, Vec3 eye, Vec3 target, float roll, float fov,
               bool withTarget = true) {
  Lib3dsNode* camera = lib3ds_node_new_camera();
  std::strcpy(camera->name, name);
  camera->node_id = nextId++;
  camera->parent_id = LIB3DS_NO_PARENT;
  keyLin3(&camera->data.camera.pos_track, eye.x, eye.y, eye.z);
  keyLin1(&camera->data.camera.roll_track, roll);
  keyLin1(&camera->data.camera.fov_track, fov);
  lib3ds_file_insert_node(file, camera);
  if (!withTarget) return;
  Lib3dsNode* node = lib3ds_node_new_target();
  std::strcpy(node->name, name);
  node->node_id = nextId++;
  node->parent_id = LIB3DS_NO_PARENT;
  keyLin3(&node->data.target.pos_track, target.x, target.y, target.z);
  lib3ds_file_insert_node(file, node);
}

// A file with cameras along -y and along +x, one with roll, one without a
// target, and an object node with a pivot.
class Scene3dsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = std::filesystem::temp_directory_path() / "zolt_scene3ds_test";
    std::filesystem::create_directories(dir);
    Lib3dsFile* file = lib3ds_file_new();
    addCamera(file, "Front", Vec3(0, -10, 0), Vec3(0, 0, 0), 0.0f, 60.0f);
    addCamera(file, "Side", Vec3(5, 2, 3), Vec3(15, 2, 3), 0.0f, 45.0f);
    addCamera(file, "Rolled", Vec3(0, -10, 0), Vec3(0, 0, 0), 0.5f, 60.0f);
    addCamera(file, "Lonely", Vec3(1, 2, 3), Vec3(), 0.0f, 60.0f, false);
    Lib3dsNode* object = lib3ds_node_new_object();
    std::strcpy(object->name, "Box");
    object->node_id = nextId++;
    object->parent_id = LIB3DS_NO_PARENT;
    object->data.object.pivot[0] = 1;
    object->data.object.pivot[1] = 2;
    object->data.object.pivot[2] = 3;
    keyLin3(&object->data.object.pos_track, 10, 0, 0);
    Lib3dsQuatKey* rot = lib3ds_quat_key_new();
    rot->axis[2] = 1;
    lib3ds_quat_track_insert(&object->data.object.rot_track, rot);
    lib3ds_quat_track_setup(&object->data.object.rot_track);
    keyLin3(&object->data.object.scl_track, 1, 1, 1);
    lib3ds_file_insert_node(file, object);
    ASSERT_TRUE(lib3ds_file_save(file, (dir / "probe.3ds").c_str()));
    lib3ds_file_free(file);
  }

  void SetUp() override {
    registry.rootPath = dir.string() + "/";
    scene = new Scene3ds("probe.3ds", &registry);
    ASSERT_NE(scene->file, nullptr);
    scene->setFrame(0);
  }
  void TearDown() override { delete scene; }

  static std::filesystem::path dir;
  ResourceRegistry registry;
  Scene3ds* scene = nullptr;
};

std::filesystem::path Scene3dsTest::dir;

void readMatrix(GLenum which, float m[16]) { glGetFloatv(which, m); }

void expectMatrix(GLenum which, const float expected[16], float eps = 1e-5f) {
  float m[16];
  readMatrix(which, m);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], eps) << "element " << i;
}

// Marks both stacks with recognisable matrices.
void loadSentinels() {
  const float p[16] = {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1};
  const float mv[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 7, 8, 9, 1};
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(p);
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(mv);
}

// gluPerspective (60 degrees, 640 / 480, 0.1, 300) by hand.
const float kPerspective60[16] = {1.7320508f / (640.0f / 480.0f), 0, 0, 0, 0, 1.7320508f, 0, 0,
                                  0, 0, -300.1f / 299.9f, -1, 0, 0, -60.0f / 299.9f, 0};

}  // namespace

TEST_F(Scene3dsTest, ApplyCameraSetsPerspectiveAndViewAlongMinusY) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  scene->applyCamera("Front", 640, 480);
  expectMatrix(GL_PROJECTION_MATRIX, kPerspective60);
  // Quarter turn about x after the camera's frame: the target 10 units
  // ahead ends up at (0, 0, -10) in eye space, z up becomes screen up.
  const float view[16] = {1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, -10, 1};
  expectMatrix(GL_MODELVIEW_MATRIX, view);
  GLint mode;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(Scene3dsTest, ApplyCameraLooksAlongPlusXWithMinusYOnTheRight) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  scene->applyCamera("Side", 640, 480);
  const float view[16] = {0, 0, -1, 0, -1, 0, 0, 0, 0, 1, 0, 0, 2, -3, 5, 1};
  expectMatrix(GL_MODELVIEW_MATRIX, view);
  float p[16];
  readMatrix(GL_PROJECTION_MATRIX, p);
  EXPECT_NEAR(p[5] / p[0], 640.0f / 480.0f, 1e-5f);  // aspect 1.3333
  EXPECT_NEAR(p[5], 1.0f / std::tan(22.5f * 3.14159265f / 180.0f), 1e-4f);
}

TEST_F(Scene3dsTest, RollTurnsTheViewAboutItsLineOfSight) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  scene->applyCamera("Rolled", 640, 480);
  float m[16];
  readMatrix(GL_MODELVIEW_MATRIX, m);
  // The target stays straight ahead...
  EXPECT_NEAR(m[12], 0, 1e-5f);
  EXPECT_NEAR(m[13], 0, 1e-5f);
  EXPECT_NEAR(m[14], -10, 1e-5f);
  // ...while world up (z) tilts by the roll on screen.
  float upX = m[8], upY = m[9];
  EXPECT_NEAR(std::fabs(std::atan2(upX, upY)), 0.5f, 1e-4f);
  EXPECT_NEAR(m[10], 0, 1e-5f);
}

TEST_F(Scene3dsTest, ApplyCameraLookAtBuildsTheViewFromUp) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  scene->up = Vec3(0, 0, 1);
  scene->applyCameraLookAt("Front", 640, 480);
  expectMatrix(GL_PROJECTION_MATRIX, kPerspective60);
  // f = (0, 1, 0), r0 = up x f = (-1, 0, 0), r2 = r0 x f = (0, 0, -1),
  // translation (0, 10, 0); then the quarter turn about x.
  const float view[16] = {-1, 0, 0, 0, 0, 0, -1, 0, 0, -1, 0, 0, 0, 0, -10, 1};
  expectMatrix(GL_MODELVIEW_MATRIX, view);
}

TEST_F(Scene3dsTest, MissingCameraOrTargetLeavesBothStacksUntouched) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  float p0[16], mv0[16];
  loadSentinels();
  readMatrix(GL_PROJECTION_MATRIX, p0);
  readMatrix(GL_MODELVIEW_MATRIX, mv0);
  for (const char* name : {"Lonely", "Nobody"}) {
    scene->applyCamera(name, 640, 480);
    scene->applyCameraLookAt(name, 640, 480);
    expectMatrix(GL_PROJECTION_MATRIX, p0);
    expectMatrix(GL_MODELVIEW_MATRIX, mv0);
    float m[16];
    scene->cameraMatrix(name, m);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(m[i], 0.0f);
    EXPECT_EQ(m[15], 1.0f);
  }
  EXPECT_EQ(scene->cameraPosition("Lonely"), Vec3(1, 2, 3));
  EXPECT_EQ(scene->cameraPosition("Nobody"), Vec3());
}

TEST_F(Scene3dsTest, CameraMatrixIsTheViewWithoutTheQuarterTurn) {
  float m[16];
  scene->cameraMatrix("Side", m);
  const float expected[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 2, -5, -3, 1};
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], 1e-5f) << i;
  EXPECT_EQ(scene->cameraPosition("Side"), Vec3(5, 2, 3));
}

TEST_F(Scene3dsTest, NodeTransformMultipliesAndUndoesThePivot) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0, 0, -5);
  scene->applyNodeTransform("Box");
  const float expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 9, -2, -8, 1};
  expectMatrix(GL_MODELVIEW_MATRIX, expected);
  // A name the file does not hold (or a camera's name) changes nothing.
  scene->applyNodeTransform("Front");
  scene->applyNodeTransform("Nobody");
  expectMatrix(GL_MODELVIEW_MATRIX, expected);
}

TEST(Scene3dsMissing, EveryOperationOnANullFileIsANoOp) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  ResourceRegistry registry;
  registry.rootPath = "/nonexistent/";
  Scene3ds scene("nothing.3ds", &registry);
  ASSERT_EQ(scene.file, nullptr);
  float p0[16], mv0[16];
  loadSentinels();
  readMatrix(GL_PROJECTION_MATRIX, p0);
  readMatrix(GL_MODELVIEW_MATRIX, mv0);
  scene.setFrame(10);
  scene.applyCamera("Camera01", 640, 480);
  scene.applyCameraLookAt("Camera01", 640, 480);
  scene.applyNodeTransform("Text01");
  expectMatrix(GL_PROJECTION_MATRIX, p0);
  expectMatrix(GL_MODELVIEW_MATRIX, mv0);
  EXPECT_EQ(scene.cameraPosition("Camera01"), Vec3());
  float m[16];
  scene.cameraMatrix("Camera01", m);
  EXPECT_EQ(m[0], 0.0f);
  EXPECT_EQ(m[15], 1.0f);
  EXPECT_EQ(Scene3ds("x", nullptr).file, nullptr);
}
