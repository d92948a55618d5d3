// libFuzzer target for the movie reader and player: any bytes are read as a
// movie file and, if they load, played forwards, backwards and past the end
// with requests, commands and object callbacks in place.
#include <cstddef>
#include <cstdint>

#include "swf/swfScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  swfScript script(data, true, size);
  float colour[4], corners[8], position[2];
  script.requestColour(1, colour);
  script.requestCorners(2, corners);
  script.requestPosition(19, position);
  int fired = 0;
  script.registerCommand("white", [&](SwfMovie*, SwfArguments args) {
    fired += swfArgumentToInt(args.size() > 1 ? args[1] : "");
    return 1;  // sends the arguments on to the result hook as well
  });
  script.registerObjectCallback("count", [&](SwfMovie*, std::vector<SwfCharacter*> list) {
    for (SwfCharacter* c : list) fired += c->kind;
    return 0;
  });
  const double positions[] = {0.0, 0.5, 3.25, 1.0, 77.7, -5.0, 1e12, 2.0, -1e12, 9.99};
  for (double p : positions) script.update(p);
  script.loop = false;
  for (double p : positions) script.update(p);
  return fired == -1 ? 1 : 0;
}
