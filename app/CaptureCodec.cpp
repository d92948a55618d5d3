// CaptureCodec: the /c switch and the process-wide codec choice.
#include "app/CaptureCodec.h"

#include <cctype>

#include "platform/MessageBox.h"
#include "platform/VideoEncoder.h"

namespace {

std::string chosenCodec = platform::videoCodecs().front().name;

// Blanks around the name do no harm, as with every other switch.
std::string normalisedName(const char* argument) {
  std::string name = argument ? argument : "";
  size_t first = 0, last = name.size();
  while (first < last && std::isspace(static_cast<unsigned char>(name[first]))) ++first;
  while (last > first && std::isspace(static_cast<unsigned char>(name[last - 1]))) --last;
  name = name.substr(first, last - first);
  for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

}  // namespace

const std::string& captureCodec() { return chosenCodec; }

const char* defaultCaptureCodec() { return platform::videoCodecs().front().name; }

std::string captureCodecChoices() {
  std::string text;
  for (const platform::VideoCodecInfo& codec : platform::videoCodecs()) {
    const bool isDefault = text.empty();
    if (!isDefault) text += ", ";
    text += codec.name;
    if (isDefault) text += " (the default)";
    if (codec.lossless) text += " (lossless)";
  }
  return text;
}

bool parseCaptureCodecSwitch(const char* argument) {
  const std::string name = normalisedName(argument);
  bool known = false;
  for (const platform::VideoCodecInfo& codec : platform::videoCodecs())
    if (name == codec.name) known = true;
  if (known && platform::videoCodecAvailable(name.c_str())) {
    chosenCodec = name;
    return true;
  }
  chosenCodec = defaultCaptureCodec();
  std::string text = known ? "The codec \"" + name + "\" is not available on this machine."
                           : "Unknown codec \"" + name + "\".";
  text += "\nThe capture uses " + chosenCodec + " instead.\nCodecs: " + captureCodecChoices() + ".";
  platform::messageBox(text.c_str(), "AVI codec", platform::MessageIcon::Warning);
  return false;
}
