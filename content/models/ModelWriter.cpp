// ModelWriter: lib3ds meshes, object nodes, cameras and their tracks.
#include "ModelWriter.h"

#include <lib3ds/camera.h>
#include <lib3ds/file.h>
#include <lib3ds/matrix.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>

#include <cmath>
#include <cstring>

#include "TextMesh.h"

namespace models {

namespace {

// Clip range stored with every camera. The show sets its own planes, but
// other 3DS readers take these and refuse a zero range; the far value
// matches the show's deepest far plane.
const float kCameraNear = 1.0f;
const float kCameraFar = 1800.0f;

void setName(char* dest, size_t size, const char* name) {
  std::strncpy(dest, name, size - 1);
  dest[size - 1] = '\0';
}

void addLin3Key(Lib3dsLin3Track* track, int frame, const Vec3& v) {
  Lib3dsLin3Key* key = lib3ds_lin3_key_new();
  key->tcb.frame = frame;
  key->value[0] = v.x;
  key->value[1] = v.y;
  key->value[2] = v.z;
  lib3ds_lin3_track_insert(track, key);
}

void addLin1Key(Lib3dsLin1Track* track, int frame, float v) {
  Lib3dsLin1Key* key = lib3ds_lin1_key_new();
  key->tcb.frame = frame;
  key->value = v;
  lib3ds_lin1_track_insert(track, key);
}

// Letters stand up: their own y becomes the world's z (up), their front
// (+z) faces the world's -y, where the cameras look from.
const float kStandUpAngle = -1.5707963f;

Lib3dsNode* addTextNode(Lib3dsFile* file, const TextPlan& text, Lib3dsWord id) {
  Lib3dsNode* node = lib3ds_node_new_object();
  setName(node->name, sizeof(node->name), text.name);
  node->node_id = id;
  node->parent_id = LIB3DS_NO_PARENT;
  Lib3dsObjectData* object = &node->data.object;
  addLin3Key(&object->pos_track, 0, toVec3(text.base));
  lib3ds_lin3_track_setup(&object->pos_track);
  Lib3dsQuatKey* rot = lib3ds_quat_key_new();
  rot->tcb.frame = 0;
  rot->axis[0] = 1.0f;
  rot->angle = kStandUpAngle;
  lib3ds_quat_track_insert(&object->rot_track, rot);
  lib3ds_quat_track_setup(&object->rot_track);
  addLin3Key(&object->scl_track, 0, Vec3(1, 1, 1));
  lib3ds_lin3_track_setup(&object->scl_track);
  lib3ds_file_insert_node(file, node);
  return node;
}

bool addText(Lib3dsFile* file, const TextPlan& text, Lib3dsWord id, std::string* error) {
  TriangleMesh local;
  if (!buildTextMesh(fontPath(), text.text, text.height, text.depth, &local, error)) return false;
  if (local.points.size() > 65535 || local.indices.size() / 3 > 65535) {
    *error = std::string("lettering \"") + text.text + "\" exceeds a 3DS mesh";
    return false;
  }
  Lib3dsNode* node = addTextNode(file, text, id);
  // The node's evaluated matrix is the placement; the mesh stores it too.
  lib3ds_node_eval(node, 0.0f);
  Lib3dsMatrix& m = node->matrix;
  // NOTE: lib3ds's quaternion sign convention decides the turn; insist on
  // upright letters rather than trusting it.
  if (std::fabs(m[1][2] - 1.0f) > 1e-5f) {
    *error = "the stand-up rotation does not map the letters' y onto z";
    return false;
  }

  Lib3dsMesh* mesh = lib3ds_mesh_new(text.name);
  lib3ds_matrix_copy(mesh->matrix, m);
  lib3ds_mesh_new_point_list(mesh, static_cast<Lib3dsDword>(local.points.size()));
  for (size_t i = 0; i < local.points.size(); ++i) {
    const Vec3& p = local.points[i];
    for (int r = 0; r < 3; ++r)
      mesh->pointL[i].pos[r] = m[0][r] * p.x + m[1][r] * p.y + m[2][r] * p.z + m[3][r];
  }
  size_t faces = local.indices.size() / 3;
  lib3ds_mesh_new_face_list(mesh, static_cast<Lib3dsDword>(faces));
  for (size_t f = 0; f < faces; ++f) {
    Lib3dsFace& face = mesh->faceL[f];
    for (int c = 0; c < 3; ++c) face.points[c] = static_cast<Lib3dsWord>(local.indices[f * 3 + c]);
    face.flags = LIB3DS_FACE_FLAG_VIS_AB | LIB3DS_FACE_FLAG_VIS_BC | LIB3DS_FACE_FLAG_VIS_AC;
  }
  lib3ds_file_insert_mesh(file, mesh);
  return true;
}

void addCamera(Lib3dsFile* file, const ModelFile& plan, const std::string& name, Lib3dsWord* id) {
  std::vector<CameraKey> keys = cameraKeys(plan, name);
  const CameraKey& first = keys.front();

  Lib3dsCamera* camera = lib3ds_camera_new(name.c_str());
  camera->position[0] = first.eye.x;
  camera->position[1] = first.eye.y;
  camera->position[2] = first.eye.z;
  camera->target[0] = first.target.x;
  camera->target[1] = first.target.y;
  camera->target[2] = first.target.z;
  camera->roll = first.roll;
  camera->fov = first.fov;
  camera->near_range = kCameraNear;
  camera->far_range = kCameraFar;
  lib3ds_file_insert_camera(file, camera);

  Lib3dsNode* node = lib3ds_node_new_camera();
  setName(node->name, sizeof(node->name), name.c_str());
  node->node_id = (*id)++;
  node->parent_id = LIB3DS_NO_PARENT;
  Lib3dsNode* target = lib3ds_node_new_target();
  setName(target->name, sizeof(target->name), name.c_str());
  target->node_id = (*id)++;
  target->parent_id = LIB3DS_NO_PARENT;
  for (const CameraKey& key : keys) {
    addLin3Key(&node->data.camera.pos_track, key.frame, key.eye);
    addLin1Key(&node->data.camera.fov_track, key.frame, key.fov);
    addLin1Key(&node->data.camera.roll_track, key.frame, key.roll);
    addLin3Key(&target->data.target.pos_track, key.frame, key.target);
  }
  lib3ds_lin3_track_setup(&node->data.camera.pos_track);
  lib3ds_lin1_track_setup(&node->data.camera.fov_track);
  lib3ds_lin1_track_setup(&node->data.camera.roll_track);
  lib3ds_lin3_track_setup(&target->data.target.pos_track);
  lib3ds_file_insert_node(file, node);
  lib3ds_file_insert_node(file, target);
}

}  // namespace

bool writeModelFile(const ModelFile& plan, const std::string& path, std::string* error) {
  Lib3dsFile* file = lib3ds_file_new();
  if (!file) {
    *error = "out of memory";
    return false;
  }
  file->frames = plan.frames;
  file->segment_from = 0;
  file->segment_to = plan.frames;
  file->keyf_revision = 5;
  Lib3dsWord id = 0;
  bool ok = true;
  for (const TextPlan& text : plan.texts) ok = ok && addText(file, text, id++, error);
  if (ok)
    for (const std::string& name : cameraNames(plan)) addCamera(file, plan, name, &id);
  if (ok && !lib3ds_file_save(file, path.c_str())) {
    *error = "cannot write " + path;
    ok = false;
  }
  lib3ds_file_free(file);
  return ok;
}

}  // namespace models
