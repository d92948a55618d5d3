// GlExtensions: OpenGL entry points beyond 1.1, fetched from the driver.
//
// Include this instead of <GL/gl.h>. Every entry point the show calls is one
// line of ZOLT_GL_ENTRY_POINTS (pointer type, name); that list expands into
// the process-wide pointers and the code that fetches them. Calls are
// written with the entry point's own name: a macro maps it to the pointer,
// so no name is spelled twice and the system header's prototypes never
// shadow the fetched address.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#define ZOLT_GL_ENTRY_POINTS(X)                                  \
  X(PFNGLACTIVETEXTUREARBPROC, glActiveTextureARB)               \
  X(PFNGLCLIENTACTIVETEXTUREARBPROC, glClientActiveTextureARB)   \
  X(PFNGLMULTITEXCOORD2FARBPROC, glMultiTexCoord2fARB)           \
  X(PFNGLMULTITEXCOORD4FARBPROC, glMultiTexCoord4fARB)           \
  X(PFNGLCOMPRESSEDTEXIMAGE2DARBPROC, glCompressedTexImage2DARB) \
  X(PFNGLSECONDARYCOLOR3FEXTPROC, glSecondaryColor3fEXT)         \
  X(PFNGLSECONDARYCOLORPOINTEREXTPROC, glSecondaryColorPointerEXT)   \
  X(PFNGLGENQUERIESPROC, glGenQueries)                             \
  X(PFNGLDELETEQUERIESPROC, glDeleteQueries)                       \
  X(PFNGLBEGINQUERYPROC, glBeginQuery)                             \
  X(PFNGLENDQUERYPROC, glEndQuery)                                 \
  X(PFNGLGETQUERYOBJECTUIVPROC, glGetQueryObjectuiv)

#define ZOLT_GL_DECLARE(type, name) extern type zolt_##name;
ZOLT_GL_ENTRY_POINTS(ZOLT_GL_DECLARE)
#undef ZOLT_GL_DECLARE

#define glActiveTextureARB zolt_glActiveTextureARB
#define glClientActiveTextureARB zolt_glClientActiveTextureARB
#define glMultiTexCoord2fARB zolt_glMultiTexCoord2fARB
#define glMultiTexCoord4fARB zolt_glMultiTexCoord4fARB
#define glCompressedTexImage2DARB zolt_glCompressedTexImage2DARB
#define glSecondaryColor3fEXT zolt_glSecondaryColor3fEXT
#define glSecondaryColorPointerEXT zolt_glSecondaryColorPointerEXT
#define glGenQueries zolt_glGenQueries
#define glDeleteQueries zolt_glDeleteQueries
#define glBeginQuery zolt_glBeginQuery
#define glEndQuery zolt_glEndQuery
#define glGetQueryObjectuiv zolt_glGetQueryObjectuiv

// Fetches every entry point of the list for the current context; returns
// how many came back null.
int loadGlEntryPoints();
