// Model tool: writes every .3ds entry of the show into the folder given as
// its only argument. Same sources, same bytes: nothing here depends on time
// or on the machine.
#include <cstdio>
#include <string>

#include "ModelPlan.h"
#include "ModelWriter.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  for (const models::ModelFile& plan : models::modelFiles()) {
    std::string error;
    if (!models::writeModelFile(plan, std::string(argv[1]) + "/" + plan.entry, &error)) {
      std::fprintf(stderr, "%s: %s\n", plan.entry, error.c_str());
      return 1;
    }
  }
  return 0;
}
