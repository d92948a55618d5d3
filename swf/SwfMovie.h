// SwfMovie: one playable copy of a movie — its frames, dictionary and fonts
// as the reader filed them, and the 20 depth layers it plays them on.
//
// Playing enters frames in order: display commands place or remove
// characters on layers, then the frame's text commands are dispatched to
// registered handlers. Nothing is drawn; owners read values off the layers.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "swf/SwfCharacter.h"
#include "swf/SwfRecords.h"

class SwfMovie;

// A text command split at its commas; argument 0 names the command.
using SwfArguments = std::vector<std::string>;
// Handlers get their own copy of the arguments; nonzero results go to the
// movie's commandResultHook.
using CommandHandler = std::function<int(SwfMovie*, SwfArguments)>;
// Gets a copy of the layer's instance list; the instances stay the layer's.
using ObjectCallback = std::function<int(SwfMovie*, std::vector<SwfCharacter*>)>;
using DisplayHandler = void (*)(SwfMovie&, const DisplayCommand&);

struct SwfFrame {
  std::vector<DisplayCommand> displayCommands;
  std::vector<SwfArguments> actions;

  void addDisplayCommand(const DisplayCommand& command) { displayCommands.push_back(command); }
  // Splits at commas, dropping empty fields; a text with no fields at all
  // names no command and is not kept.
  void addCommand(const std::string& text);
};

struct SwfLayer {
  std::vector<std::unique_ptr<SwfCharacter>> instances;
  std::vector<ObjectCallback> objectCallbacks;
};

class SwfMovie {
 public:
  static const int kLayerCount = 20;

  // Reads the movie from size bytes at data; null data leaves it empty. A
  // file that is rejected leaves it empty too (no frames, frameCount 0).
  // `name` labels the line that reports a rejected file (null: no line).
  SwfMovie(const unsigned char* data, size_t size, const char* name = "");
  SwfMovie(const SwfMovie&) = delete;
  SwfMovie& operator=(const SwfMovie&) = delete;

  // Enters every frame up to floor(p) not yet entered (restarting from
  // frame 0 when p goes backwards), then runs the layers' object callbacks.
  void update(double p);
  void registerCommand(const std::string& name, CommandHandler handler);
  // Names a callback the built-in "addObjectCallback" command can install.
  void registerObjectCallback(const std::string& name, ObjectCallback callback);

  // For the reader.
  SwfFrame* appendFrame();
  SwfFrame* frame(int k);  // null outside the frame list
  SwfShape* defineShape(int id, const SwfRect& bounds, int minX, int minY, int maxX, int maxY);
  SwfText* defineText(int id, const SwfRect& bounds, const SwfMatrix& matrix);
  void defineFont(int id, const std::string& name, const std::string& codes);
  // Forgets everything read (a rejected file).
  void clearContent();

  std::vector<std::unique_ptr<SwfFrame>> frames;
  SwfLayer layers[kLayerCount];
  std::map<int, std::unique_ptr<SwfCharacter>> dictionary;
  std::map<int, std::unique_ptr<SwfFont>> fonts;
  std::map<int, DisplayHandler> displayHandlers;
  std::map<std::string, CommandHandler> commands;
  std::map<std::string, ObjectCallback> objectCallbacks;
  int stageWidth = 0, stageHeight = 0;
  int lastFrame = -1;
  double frameRate = 0.0;
  int frameCount = 0;
  bool actionsEnabled = true;
  CommandHandler commandResultHook;
  bool loaded = false;  // the reader accepted the file

 private:
  void enterFrame(int f);
  void runCommands(int f);
};

// Decimal value of a command argument: leading blanks and a sign allowed,
// reading stops at the first non-digit, no digits give 0.
int swfArgumentToInt(const std::string& text);
