// soundtrack: renders the show's music and writes it as an MP3.
//
// Usage: soundtrack <output.mp3>
#include <cstdio>

#include "Mp3Encoder.h"
#include "Score.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output.mp3>\n", argv[0]);
    return 2;
  }
  soundtrack::Bus track = soundtrack::renderSoundtrack();
  return soundtrack::writeMp3(track, argv[1], 192) ? 0 : 1;
}
