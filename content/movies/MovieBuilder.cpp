// MovieBuilder: one shape per layer, then per frame the display tags for
// the layers that changed, the frame's commands and ShowFrame.
#include "MovieBuilder.h"

#include <cmath>

#include "SwfWriter.h"

namespace movies {

namespace {

const int kStageWidth = 640, kStageHeight = 480;

int twips(float pixels) { return static_cast<int>(std::lround(pixels * 20.0f)); }
int alphaTerm(float alpha) { return static_cast<int>(std::lround(alpha * 256.0f)); }

bool sameState(const LayerFrame& a, const LayerFrame& b) {
  return a.present == b.present && twips(a.x) == twips(b.x) && twips(a.y) == twips(b.y) &&
         alphaTerm(a.alpha) == alphaTerm(b.alpha);
}

}  // namespace

std::vector<uint8_t> buildMovie(const MovieScript& script) {
  SwfWriter writer(kStageWidth, kStageHeight, script.frameRate, script.frameCount);
  writer.setBackgroundColour(0, 0, 0);
  for (size_t i = 0; i < script.layers.size(); ++i) {
    const ShapeSpec& s = script.layers[i].shape;
    writer.defineRectangle(static_cast<int>(i) + 1, 0, 0, s.width * 20, s.height * 20,
                           {s.r, s.g, s.b, s.a}, s.withAlpha);
  }
  for (int f = 0; f < script.frameCount; ++f) {
    for (size_t i = 0; i < script.layers.size(); ++i) {
      const LayerTrack& track = script.layers[i];
      const LayerFrame& now = track.frames[f];
      const bool wasPresent = f > 0 && track.frames[f - 1].present;
      if (!now.present) {
        if (wasPresent) writer.removeObject(track.depth);
        continue;
      }
      if (!wasPresent || now.cut) {
        // A depth that still holds the object would keep both: clear it
        // first. Frame 0 always does, as a looping movie restarts there
        // with its layers as they were.
        if (wasPresent || f == 0) writer.removeObject(track.depth);
        writer.placeObject(track.depth, static_cast<int>(i) + 1, twips(now.x), twips(now.y),
                           alphaTerm(now.alpha));
      } else if (!sameState(now, track.frames[f - 1])) {
        writer.placeObject(track.depth, 0, twips(now.x), twips(now.y), alphaTerm(now.alpha));
      }
    }
    for (const FrameCommand& command : script.commands) {
      if (command.frame != f) continue;
      if (command.form == CommandForm::GetUrl)
        writer.commandGetUrl(command.text);
      else
        writer.commandFsCommand(command.text);
    }
    writer.showFrame();
  }
  return writer.finish();
}

}  // namespace movies
