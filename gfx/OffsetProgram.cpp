// OffsetProgram: load and use of a translated offset program.
#include "gfx/OffsetProgram.h"

#include <cstdio>

#include "shaderparse/FragmentTranslation.h"

OffsetProgram::~OffsetProgram() {
  if (id != 0 && glDeleteProgramsARB != nullptr) glDeleteProgramsARB(1, &id);
}

bool OffsetProgram::load(const char* text) {
  ready = false;
  shaderparse::ParseErrors errors;
  if (!shaderparse::translateTextureShaderText(text, arbText, errors)) {
    for (const std::string& e : errors.list()) std::printf("offset program: %s\n", e.c_str());
    return false;
  }
  if (glGenProgramsARB == nullptr || glProgramStringARB == nullptr || glProgramLocalParameter4fARB == nullptr) {
    std::printf("offset program: GL_ARB_fragment_program is missing\n");
    return false;
  }
  if (id == 0) glGenProgramsARB(1, &id);
  glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, id);
  while (glGetError() != GL_NO_ERROR) {
  }
  glProgramStringARB(GL_FRAGMENT_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB, GLsizei(arbText.size()), arbText.data());
  if (glGetError() != GL_NO_ERROR) {
    const GLubyte* why = glGetString(GL_PROGRAM_ERROR_STRING_ARB);
    std::printf("offset program: the driver rejected the translated program: %s\n",
                why ? reinterpret_cast<const char*>(why) : "");
    return false;
  }
  ready = true;
  return true;
}

void OffsetProgram::begin(const float matrix[4]) const {
  glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, id);
  glProgramLocalParameter4fARB(GL_FRAGMENT_PROGRAM_ARB, 1, matrix[0], matrix[1], matrix[2], matrix[3]);
  glEnable(GL_FRAGMENT_PROGRAM_ARB);
}

void OffsetProgram::end() const { glDisable(GL_FRAGMENT_PROGRAM_ARB); }
