// ExtensionSetup: whole-word extension checks, the entry points of each
// extension row, and the start-up sequence with its vendor branches.
#include "gfx/ExtensionSetup.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "gfx/GlExtensions.h"
#include "gfx/ImageLoading.h"
#include "platform/GlProc.h"

const char* const kExtensionFailureCaption = "cannot find extensions";

namespace {

// Every pointer of the GL table by its entry point's name.
const std::map<std::string, void**>& tableSlots() {
  static const std::map<std::string, void**> slots = {
#define ZOLT_GL_SLOT(type, name) {#name, reinterpret_cast<void**>(&zolt_##name)},
      ZOLT_GL_ENTRY_POINTS(ZOLT_GL_SLOT)
#undef ZOLT_GL_SLOT
  };
  return slots;
}

// The entry points the show calls, by the extension that defines them.
// Rows of either table not listed here have none the show needs.
const std::map<std::string, std::vector<const char*>>& entryPoints() {
  static const std::map<std::string, std::vector<const char*>> rows = {
      {"GL_ARB_multitexture",
       {"glActiveTextureARB", "glClientActiveTextureARB", "glMultiTexCoord2fARB", "glMultiTexCoord3fvARB",
        "glMultiTexCoord4fARB"}},
      {"GL_ARB_texture_compression", {"glCompressedTexImage2DARB"}},
      {"GL_EXT_secondary_color", {"glSecondaryColor3fEXT", "glSecondaryColorPointerEXT"}},
      {"GL_NV_vertex_program",
       {"glGenProgramsNV", "glDeleteProgramsNV", "glBindProgramNV", "glLoadProgramNV", "glTrackMatrixNV",
        "glProgramParameter4fNV", "glVertexAttrib4fvNV"}},
      {"GL_NV_register_combiners",
       {"glCombinerParameteriNV", "glCombinerParameterfvNV", "glCombinerInputNV", "glCombinerOutputNV",
        "glFinalCombinerInputNV"}},
      {"GL_NV_register_combiners2", {"glCombinerStageParameterfvNV"}},
      {"GL_ARB_vertex_program",
       {"glVertexAttrib4fvARB", "glGenProgramsARB", "glDeleteProgramsARB", "glBindProgramARB",
        "glProgramStringARB", "glProgramEnvParameter4fARB"}},
  };
  return rows;
}

// Which rows each table has entry points for (the ARB rows are only in the
// larger table the vendor set-up uses; the NV rows only in the checks).
bool inCheckTable(const std::string& name) {
  return name != "GL_ARB_vertex_program";
}
bool inSetupTable(const std::string& name) {
  return name != "GL_NV_vertex_program" && name != "GL_NV_register_combiners" &&
         name != "GL_NV_register_combiners2";
}

std::vector<std::string> splitNames(const char* list, const char* separators) {
  std::vector<std::string> names;
  if (!list) return names;
  std::string current;
  for (const char* c = list;; ++c) {
    if (*c == '\0' || std::strchr(separators, *c)) {
      if (!current.empty()) names.push_back(current);
      current.clear();
      if (*c == '\0') break;
    } else {
      current += *c;
    }
  }
  return names;
}

}  // namespace

bool hasWord(const std::string& list, const std::string& name) {
  if (name.empty()) return false;
  for (size_t at = list.find(name); at != std::string::npos; at = list.find(name, at + 1)) {
    const bool startsWord = at == 0 || list[at - 1] == ' ';
    const size_t end = at + name.size();
    const bool endsWord = end == list.size() || list[end] == ' ';
    if (startsWord && endsWord) return true;
  }
  return false;
}

GlStrings currentGlStrings() {
  GlStrings strings;
  auto read = [](GLenum name) {
    const char* text = reinterpret_cast<const char*>(glGetString(name));
    return std::string(text ? text : "");
  };
  strings.vendor = read(GL_VENDOR);
  strings.version = read(GL_VERSION);
  strings.extensions = read(GL_EXTENSIONS);
  strings.platformExtensions = platform::glPlatformExtensions();
  return strings;
}

ExtensionChecker::ExtensionChecker(GlStrings strings, Lookup lookup)
    : strings_(std::move(strings)), lookup_(lookup) {
  combined_ = strings_.extensions + " " + strings_.platformExtensions + " ";
}

bool ExtensionChecker::supported(const std::string& name) const { return hasWord(combined_, name); }

bool ExtensionChecker::fetchEntryPoints(const std::string& name, bool setupTable) {
  if (setupTable ? !inSetupTable(name) : !inCheckTable(name)) return true;
  const auto row = entryPoints().find(name);
  if (row == entryPoints().end()) return true;
  bool all = true;
  for (const char* entry : row->second) {
    void* address = lookup_ ? lookup_(entry) : nullptr;
    const auto slot = tableSlots().find(entry);
    if (slot != tableSlots().end()) *slot->second = address;
    all = all && address != nullptr;
  }
  return all;
}

bool ExtensionChecker::checkExtensions(const char* list) {
  missing.clear();
  bool all = true;
  for (const std::string& name : splitNames(list, " \t\n")) {
    bool ok;
    if (name == "GL_VERSION_1_2") {
      ok = strings_.version.rfind("1.0", 0) != 0 && strings_.version.rfind("1.1", 0) != 0;
    } else {
      ok = supported(name) && fetchEntryPoints(name, false);
    }
    if (!ok) {
      missing += name + " ";
      all = false;
    }
  }
  return all;
}

bool ExtensionChecker::setupExtensions(const char* list) {
  missing.clear();
  bool all = true;
  for (const std::string& name : splitNames(list, " ")) {
    const std::string& where = name.rfind("WGL_", 0) == 0 ? strings_.platformExtensions : strings_.extensions;
    const bool ok = hasWord(where, name) && fetchEntryPoints(name, true);
    if (!ok) {
      missing += name + " ";
      all = false;
    }
  }
  return all;
}

const char* runExtensionStartUp(ExtensionChecker& checker, bool quality, bool* swapControl) {
  static std::string failure;
  if (!checker.checkExtensions("GL_ARB_multitexture GL_ARB_texture_compression GL_EXT_secondary_color "
                               "GL_EXT_texture_object  WGL_ARB_pbuffer WGL_ARB_pixel_format ")) {
    failure = "Necessary extensions are not supported: " + checker.missing;
    std::printf("%s\n", failure.c_str());
    std::fflush(stdout);
    return failure.c_str();
  }
  if (swapControl) *swapControl = checker.checkExtensions("WGL_EXT_swap_control ");

  const std::string& vendor = checker.strings().vendor;
  if (vendor == "ATI Technologies Inc.") {
    if (quality) {
      if (!checker.setupExtensions("GL_ARB_depth_texture GL_ARB_shadow GL_ARB_shadow_ambient GL_ARB_vertex_program "))
        return "could not setup arb extensions, try unchecking Quality\n";
    } else if (!checker.setupExtensions("GL_ARB_vertex_program ")) {
      return "could not setup arb extensions\n";
    }
    if (!checker.setupExtensions("GL_EXT_vertex_array GL_EXT_vertex_shader GL_EXT_texture_rectangle"))
      return "could not setup ext extensions\n";
  } else if (isNvidiaVendor(vendor.c_str())) {
    if (!checker.checkExtensions("GL_NV_register_combiners GL_NV_texture_shader GL_VERSION_1_2 "
                                 "GL_NV_texture_rectangle GL_NV_vertex_program ")) {
      failure = "Necessary extensions are not supported: " + checker.missing;
      return failure.c_str();
    }
  }
  return nullptr;
}
