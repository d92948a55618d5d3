// swfScript: what a scene holds per movie. It plays two copies of the
// movie — the current one at position p and the ahead one at p + 1 — and
// writes values of the first object on requested layers into the owner's
// buffers, interpolated between the copies by the fraction of p, so a file
// of whole frames moves smoothly. Text commands in the frames reach the
// handlers registered here.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "swf/SwfMovie.h"

enum LayerRequestKind { kRequestColour = 0, kRequestCorners = 1, kRequestPosition = 2 };

struct LayerRequest {
  int kind = 0;
  int layer = 0;
  float* out = nullptr;  // 4, 8 or 2 floats; must outlive the swfScript
  bool reportedEmpty = false;  // an empty layer is reported once
};

class swfScript {
 public:
  // inMemory: source is the file's bytes, size of them available (a file
  // announcing more than that is refused). Otherwise source is a path to
  // read and size is unused. A null source makes an empty player whose
  // calls do nothing.
  // `name` labels a rejected file's line (the path when reading a file).
  swfScript(const void* source, bool inMemory, size_t size, const char* name = "");
  ~swfScript();
  swfScript(const swfScript&) = delete;
  swfScript& operator=(const swfScript&) = delete;

  // Handlers go to the current copy only: commands fire once per frame.
  void registerCommand(const std::string& name, CommandHandler handler);
  void registerObjectCallback(const std::string& name, ObjectCallback callback);
  // Values of instance 0 of layer 0..19, written on every update.
  void requestColour(int layer, float* out);   // r, g, b, a
  void requestCorners(int layer, float* out);  // x0, y0 .. x3, y3, pixels
  void requestPosition(int layer, float* out); // x, y, pixels
  void update(double p);

  // False when there is nothing to play (null source, unreadable file).
  bool loaded() const { return current && current->loaded; }

  std::unique_ptr<SwfMovie> current;
  std::unique_ptr<SwfMovie> ahead;
  std::vector<LayerRequest> requests;
  bool loop = true;

 private:
  std::string name_;  // the entry, for messages
  void addRequest(int kind, int layer, float* out);
  void build(const unsigned char* bytes, size_t size, const char* name);
};
