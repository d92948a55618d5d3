// SwfMovie: frame filing, layers and playback (see the header).
#include "swf/SwfMovie.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "swf/SwfReader.h"

namespace {

const int kAllLayers = 666;  // "addObjectCallback" layer meaning every layer

void placeCommand(SwfMovie& movie, const DisplayCommand& command) {
  if (command.depth < 0 || command.depth >= SwfMovie::kLayerCount) return;
  SwfLayer& layer = movie.layers[command.depth];
  SwfCharacter* added = nullptr;
  if (command.characterId != 0) {
    auto entry = movie.dictionary.find(command.characterId);
    // An id the file never defined places nothing; the layer still moves.
    if (entry != movie.dictionary.end()) {
      layer.instances.push_back(entry->second->clone());
      added = layer.instances.back().get();
    }
  }
  // A layer moves as a whole. A PlaceObject2 that only recolours keeps
  // where everything already stands; a character it adds starts unmoved.
  for (auto& instance : layer.instances) {
    if (command.hasMatrix)
      applyMatrix(*instance, command.matrix);
    else if (instance.get() == added)
      applyMatrix(*instance, SwfMatrix());
  }
  for (auto& instance : layer.instances) applyColourTransform(*instance, command.colourTransform);
}

void removeCommand(SwfMovie& movie, const DisplayCommand& command) {
  if (command.depth < 0 || command.depth >= SwfMovie::kLayerCount) return;
  movie.layers[command.depth].instances.clear();
}

const std::string& argumentAt(const SwfArguments& arguments, size_t i) {
  static const std::string empty;
  return i < arguments.size() ? arguments[i] : empty;
}

int addObjectCallback(SwfMovie* movie, SwfArguments arguments) {
  int layer = swfArgumentToInt(argumentAt(arguments, 1));
  ObjectCallback callback = movie->objectCallbacks[argumentAt(arguments, 2)];
  if (layer == kAllLayers) {
    for (SwfLayer& each : movie->layers) each.objectCallbacks.push_back(callback);
  } else if (layer >= 0 && layer < SwfMovie::kLayerCount) {
    movie->layers[layer].objectCallbacks.push_back(callback);
  }
  return 0;
}

int removeObjectCallback(SwfMovie* movie, SwfArguments arguments) {
  swfArgumentToInt(argumentAt(arguments, 1));
  movie->objectCallbacks[argumentAt(arguments, 2)];
  return 0;
}

}  // namespace

int swfArgumentToInt(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) value = static_cast<long long>(INT_MAX) + 1;  // saturate
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

void SwfFrame::addCommand(const std::string& text) {
  SwfArguments arguments;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    if (comma > start) arguments.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  if (!arguments.empty()) actions.push_back(std::move(arguments));
}

SwfMovie::SwfMovie(const unsigned char* data, size_t size, const char* name) {
  displayHandlers = {{4, placeCommand}, {26, placeCommand}, {5, removeCommand}, {28, removeCommand}};
  commands["addObjectCallback"] = addObjectCallback;
  commands["removeObjectCallback"] = removeObjectCallback;
  commandResultHook = [](SwfMovie*, SwfArguments) { return 0; };
  if (data) {
    SwfReader reader(this, name);
    loaded = reader.load(data, size);
  }
}

void SwfMovie::clearContent() {
  frames.clear();
  dictionary.clear();
  fonts.clear();
  stageWidth = stageHeight = 0;
  frameRate = 0.0;
  frameCount = 0;
}

SwfFrame* SwfMovie::appendFrame() {
  frames.push_back(std::make_unique<SwfFrame>());
  return frames.back().get();
}

SwfFrame* SwfMovie::frame(int k) {
  if (k < 0 || static_cast<size_t>(k) >= frames.size()) return nullptr;
  return frames[k].get();
}

SwfShape* SwfMovie::defineShape(int id, const SwfRect& bounds, int minX, int minY, int maxX,
                                int maxY) {
  auto shape = std::make_unique<SwfShape>(id, bounds, minX, minY, maxX, maxY);
  SwfShape* result = shape.get();
  dictionary[id] = std::move(shape);
  return result;
}

SwfText* SwfMovie::defineText(int id, const SwfRect& bounds, const SwfMatrix& matrix) {
  auto text = std::make_unique<SwfText>(id, bounds, matrix);
  SwfText* result = text.get();
  dictionary[id] = std::move(text);
  return result;
}

void SwfMovie::defineFont(int id, const std::string& name, const std::string& codes) {
  auto font = std::make_unique<SwfFont>();
  font->id = id;
  font->name = name;
  font->codes = codes;
  fonts[id] = std::move(font);
}

void SwfMovie::registerCommand(const std::string& name, CommandHandler handler) {
  commands[name] = std::move(handler);
}

void SwfMovie::registerObjectCallback(const std::string& name, ObjectCallback callback) {
  objectCallbacks[name] = std::move(callback);
}

void SwfMovie::update(double p) {
  // A movie without frames (frame count 0, or a file that did not load)
  // enters nothing; positions that are not numbers are ignored.
  if (frameCount <= 0 || !std::isfinite(p)) return;
  const double clamped = std::fmax(std::fmin(std::floor(p), 1e9), -1e9);
  int target = static_cast<int>(clamped);
  if (target < lastFrame) {
    // Going backwards restarts at frame 0 and enters only it now; what is
    // still placed stays placed.
    lastFrame = -1;
    target = 0;
  }
  if (target != lastFrame) {
    // Frames past the end of the list hold nothing to enter.
    const int last = std::min<long long>(target, static_cast<long long>(frames.size()) - 1);
    for (int f = lastFrame + 1; f <= last; ++f) {
      enterFrame(f);
      if (actionsEnabled) runCommands(f);
    }
    lastFrame = target;
  }
  for (SwfLayer& layer : layers) {
    if (layer.objectCallbacks.empty()) continue;
    for (size_t i = 0; i < layer.objectCallbacks.size(); ++i) {
      // Copy first: a callback may change the layer it is told about.
      ObjectCallback callback = layer.objectCallbacks[i];
      if (!callback) continue;  // installed under a name nothing registered
      std::vector<SwfCharacter*> instances;
      for (auto& instance : layer.instances) instances.push_back(instance.get());
      callback(this, instances);
    }
  }
}

void SwfMovie::enterFrame(int f) {
  for (const DisplayCommand& command : frames[f]->displayCommands) {
    auto handler = displayHandlers.find(command.code);
    if (handler != displayHandlers.end() && handler->second) handler->second(*this, command);
  }
}

void SwfMovie::runCommands(int f) {
  // Index loop: a handler may register commands but never touches frames.
  const std::vector<SwfArguments>& actions = frames[f]->actions;
  for (size_t i = 0; i < actions.size(); ++i) {
    const SwfArguments& arguments = actions[i];
    if (arguments.empty()) continue;
    CommandHandler& entry = commands[arguments[0]];
    if (!entry) continue;
    CommandHandler handler = entry;  // survives a re-registration inside the call
    if (handler(this, arguments) != 0 && commandResultHook) commandResultHook(this, arguments);
  }
}
