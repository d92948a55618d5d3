// ModelWriter: builds one .3ds file of the plan in lib3ds's structures and
// saves it through lib3ds.
//
// Lettering meshes store their points in world space with the mesh matrix
// set (the local-to-world placement), as 3DS files do; each has an object
// node whose evaluated matrix is that same placement, so a reader that
// takes points back through the inverse mesh matrix and then applies the
// node transform lands where the file shows them. Cameras get a camera
// object, a camera node and a target node, keyed on every plan key.
#pragma once

#include <string>

#include "ModelPlan.h"

namespace models {

// Writes `plan` to `path`; false with a message in `error` on failure.
bool writeModelFile(const ModelFile& plan, const std::string& path, std::string* error);

}  // namespace models
