// RhythmAnimation: the "white" command the four rhythm movies share and
// their update.
#include "swf/RhythmAnimation.h"

#include <cstdlib>

#include "swf/swfScript.h"

int whiteCommand(int* flag, const std::vector<std::string>& arguments) {
  if (!flag) return 0;
  // strtol reads leading blanks and a sign and stops at the first non-digit;
  // no digits give 0.
  *flag = arguments.size() > 1 ? int(std::strtol(arguments[1].c_str(), nullptr, 10)) : 0;
  return 0;
}

void updateRhythmAnimation(RhythmAnimation* animation, float position) {
  if (animation) animation->update(position);
}
