// ExtensionSetup: what the driver offers, checked by name, and the entry
// points of each extension fetched into the GL table (gfx/GlExtensions.h).
//
// Names are matched as whole words against the combined extension string:
// the GL string, then the platform layer's own names (pixel buffer, swap
// control). The start-up sequence asks for the show's common needs, then
// for the needs of the vendor's path: NVIDIA boards run register
// combiners, texture shaders and NV vertex programs; "ATI Technologies
// Inc." runs ARB vertex programs (and ARB shadows with quality on); any
// other vendor needs nothing more.
#pragma once

#include <string>

// The strings the checks read; taken from the current context, or given.
struct GlStrings {
  std::string vendor;
  std::string version;
  std::string extensions;          // GL_EXTENSIONS
  std::string platformExtensions;  // the platform layer's names
};

// The current context's strings.
GlStrings currentGlStrings();

class ExtensionChecker {
 public:
  // `lookup` fetches one entry point by name (null when missing).
  using Lookup = void* (*)(const char* name);
  ExtensionChecker(GlStrings strings, Lookup lookup);

  // Names separated by blanks, tabs or newlines: true when every name is
  // supported and all its entry points came back; otherwise false, with the
  // failing names (each followed by a space) in `missing`. Every name is
  // tried.
  bool checkExtensions(const char* list);
  // Names separated by single blanks, from the larger table that also
  // covers ARB and ATI rows; WGL names are looked up in the platform's
  // names only, the others in the GL string only.
  bool setupExtensions(const char* list);

  // Whole-word presence in the combined string.
  bool supported(const std::string& name) const;

  std::string missing;
  const GlStrings& strings() const { return strings_; }

 private:
  bool fetchEntryPoints(const std::string& name, bool setupTable);

  GlStrings strings_;
  std::string combined_;
  Lookup lookup_;
};

// The start-up checks, in order, for a context with these strings. Null
// when the show can start; otherwise the text the viewer is shown (the
// caller ends the process). `swapControl` tells whether the swap interval
// may be set.
const char* runExtensionStartUp(ExtensionChecker& checker, bool quality, bool* swapControl);

// Caption of the box that shows a failed start-up check.
extern const char* const kExtensionFailureCaption;

// True when `name` occurs in `list` as a whole word (blank separated).
bool hasWord(const std::string& list, const std::string& name);
