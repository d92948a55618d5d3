// Movie writer: writes the show's fifteen movies into the folder given.
//
//   swfwriter <output folder>
#include <cstdio>
#include <exception>
#include <string>

#include "MovieBuilder.h"
#include "MovieScripts.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  try {
    for (const movies::MovieScript& script : movies::showMovies()) {
      std::vector<uint8_t> bytes = movies::buildMovie(script);
      std::string path = std::string(argv[1]) + "/" + script.name;
      FILE* file = std::fopen(path.c_str(), "wb");
      if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        std::fprintf(stderr, "swfwriter: cannot write %s\n", path.c_str());
        if (file) std::fclose(file);
        return 1;
      }
      std::fclose(file);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "swfwriter: %s\n", e.what());
    return 1;
  }
  return 0;
}
