// ExecutableFolder: where the running program lives, so the show can find
// the data installed beside it whatever the current folder is.
#pragma once

#include <string>

namespace platform {

// The absolute folder of the running executable, links resolved; empty
// when the system does not say.
std::string executableFolder();

}  // namespace platform
