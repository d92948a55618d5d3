// MovieBuilder: turns a MovieScript into the bytes of its movie file.
#pragma once

#include <cstdint>
#include <vector>

#include "MovieScripts.h"

namespace movies {

std::vector<uint8_t> buildMovie(const MovieScript& script);

}  // namespace movies
