// DisplayList: small owning handle of one GL display list.
//
// The name is made on the first compile; calling a list that was never
// compiled draws nothing. Needs a current GL context.
#pragma once

#include "gfx/GlExtensions.h"

class DisplayList {
 public:
  DisplayList() = default;
  ~DisplayList() { destroy(); }
  DisplayList(const DisplayList&) = delete;
  DisplayList& operator=(const DisplayList&) = delete;

  // Starts compiling (glNewList); the caller's drawing calls follow, then end().
  void begin() {
    if (!created) {
      list = glGenLists(1);
      created = true;
    }
    glNewList(list, GL_COMPILE);
  }
  void end() { glEndList(); }
  void draw() const {
    if (created) glCallList(list);
  }
  void destroy() {
    if (created) glDeleteLists(list, 1);
    created = false;
  }

  bool created = false;
  GLuint list = 0;
};
