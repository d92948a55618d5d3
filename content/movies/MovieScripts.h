// MovieScripts: what each of the show's movies is meant to hold, as plain
// data — per frame, each layer's position and alpha (the channel value a
// scene reads), and the text commands written into the frames. The writer
// turns these into files; the tests play the files back and compare them
// with these same scripts.
#pragma once

#include <string>
#include <vector>

namespace movies {

enum class CommandForm { GetUrl, FsCommand };

struct ShapeSpec {
  int width = 16, height = 16;   // pixels, from the shape's origin
  unsigned char r = 255, g = 255, b = 255, a = 255;
  bool withAlpha = true;         // DefineShape3, else DefineShape
};

// A layer's state in one frame. Alpha is the colour-transform alpha the
// object gets (its shape's alpha times this).
struct LayerFrame {
  bool present = true;
  float x = 0.0f, y = 0.0f;  // pixels
  float alpha = 1.0f;
  bool cut = false;          // removed and placed anew in this frame
};

struct LayerTrack {
  int depth = 1;
  ShapeSpec shape;
  std::vector<LayerFrame> frames;  // one per frame of the movie
};

struct FrameCommand {
  int frame = 0;
  std::string text;  // e.g. "setCamera,Camera02"
  CommandForm form = CommandForm::GetUrl;
};

struct MovieScript {
  std::string name;  // archive entry name
  int frameCount = 0;
  int frameRate = 25;
  std::vector<LayerTrack> layers;
  std::vector<FrameCommand> commands;
};

// The rhythm movies' layer-1 x position (pixels) at frame f of movie i.
float rhythmX(int i, int f);

// The fifteen movies of the archive, in the archive's order.
std::vector<MovieScript> showMovies();

}  // namespace movies
