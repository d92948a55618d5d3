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
  X(PFNGLMULTITEXCOORD3FVARBPROC, glMultiTexCoord3fvARB)         \
  X(PFNGLMULTITEXCOORD4FARBPROC, glMultiTexCoord4fARB)           \
  X(PFNGLCOMPRESSEDTEXIMAGE2DARBPROC, glCompressedTexImage2DARB) \
  X(PFNGLSECONDARYCOLOR3FEXTPROC, glSecondaryColor3fEXT)         \
  X(PFNGLSECONDARYCOLORPOINTEREXTPROC, glSecondaryColorPointerEXT)   \
  X(PFNGLGENQUERIESPROC, glGenQueries)                             \
  X(PFNGLDELETEQUERIESPROC, glDeleteQueries)                       \
  X(PFNGLBEGINQUERYPROC, glBeginQuery)                             \
  X(PFNGLENDQUERYPROC, glEndQuery)                                 \
  X(PFNGLGETQUERYOBJECTUIVPROC, glGetQueryObjectuiv)                 \
  X(PFNGLVERTEXATTRIB4FVARBPROC, glVertexAttrib4fvARB)           \
  X(PFNGLGENPROGRAMSARBPROC, glGenProgramsARB)                   \
  X(PFNGLDELETEPROGRAMSARBPROC, glDeleteProgramsARB)             \
  X(PFNGLBINDPROGRAMARBPROC, glBindProgramARB)                   \
  X(PFNGLPROGRAMSTRINGARBPROC, glProgramStringARB)               \
  X(PFNGLPROGRAMENVPARAMETER4FARBPROC, glProgramEnvParameter4fARB) \
  X(PFNGLPROGRAMLOCALPARAMETER4FARBPROC, glProgramLocalParameter4fARB) \
  X(PFNGLGENPROGRAMSNVPROC, glGenProgramsNV)                     \
  X(PFNGLDELETEPROGRAMSNVPROC, glDeleteProgramsNV)               \
  X(PFNGLBINDPROGRAMNVPROC, glBindProgramNV)                     \
  X(PFNGLLOADPROGRAMNVPROC, glLoadProgramNV)                     \
  X(PFNGLTRACKMATRIXNVPROC, glTrackMatrixNV)                     \
  X(PFNGLPROGRAMPARAMETER4FNVPROC, glProgramParameter4fNV)       \
  X(PFNGLVERTEXATTRIB4FVNVPROC, glVertexAttrib4fvNV)             \
  X(PFNGLCOMBINERPARAMETERINVPROC, glCombinerParameteriNV)       \
  X(PFNGLCOMBINERPARAMETERFVNVPROC, glCombinerParameterfvNV)     \
  X(PFNGLCOMBINERSTAGEPARAMETERFVNVPROC, glCombinerStageParameterfvNV) \
  X(PFNGLCOMBINERINPUTNVPROC, glCombinerInputNV)                 \
  X(PFNGLCOMBINEROUTPUTNVPROC, glCombinerOutputNV)               \
  X(PFNGLFINALCOMBINERINPUTNVPROC, glFinalCombinerInputNV)       \
  X(PFNGLGENFRAMEBUFFERSPROC, glGenFramebuffers)                 \
  X(PFNGLDELETEFRAMEBUFFERSPROC, glDeleteFramebuffers)           \
  X(PFNGLBINDFRAMEBUFFERPROC, glBindFramebuffer)                 \
  X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, glFramebufferRenderbuffer) \
  X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, glCheckFramebufferStatus)   \
  X(PFNGLGENRENDERBUFFERSPROC, glGenRenderbuffers)               \
  X(PFNGLDELETERENDERBUFFERSPROC, glDeleteRenderbuffers)         \
  X(PFNGLBINDRENDERBUFFERPROC, glBindRenderbuffer)               \
  X(PFNGLRENDERBUFFERSTORAGEPROC, glRenderbufferStorage)         \
  X(PFNGLGETRENDERBUFFERPARAMETERIVPROC, glGetRenderbufferParameteriv) \
  X(PFNGLISRENDERBUFFERPROC, glIsRenderbuffer)                   \
  X(PFNGLBLITFRAMEBUFFERPROC, glBlitFramebuffer)                 \
  X(PFNGLGENBUFFERSPROC, glGenBuffers)                           \
  X(PFNGLDELETEBUFFERSPROC, glDeleteBuffers)                     \
  X(PFNGLBINDBUFFERPROC, glBindBuffer)                           \
  X(PFNGLBUFFERDATAPROC, glBufferData)                           \
  X(PFNGLMAPBUFFERPROC, glMapBuffer)                             \
  X(PFNGLUNMAPBUFFERPROC, glUnmapBuffer)

#define ZOLT_GL_DECLARE(type, name) extern type zolt_##name;
ZOLT_GL_ENTRY_POINTS(ZOLT_GL_DECLARE)
#undef ZOLT_GL_DECLARE

#define glActiveTextureARB zolt_glActiveTextureARB
#define glClientActiveTextureARB zolt_glClientActiveTextureARB
#define glMultiTexCoord2fARB zolt_glMultiTexCoord2fARB
#define glMultiTexCoord3fvARB zolt_glMultiTexCoord3fvARB
#define glMultiTexCoord4fARB zolt_glMultiTexCoord4fARB
#define glCompressedTexImage2DARB zolt_glCompressedTexImage2DARB
#define glSecondaryColor3fEXT zolt_glSecondaryColor3fEXT
#define glSecondaryColorPointerEXT zolt_glSecondaryColorPointerEXT
#define glGenQueries zolt_glGenQueries
#define glDeleteQueries zolt_glDeleteQueries
#define glBeginQuery zolt_glBeginQuery
#define glEndQuery zolt_glEndQuery
#define glGetQueryObjectuiv zolt_glGetQueryObjectuiv
#define glVertexAttrib4fvARB zolt_glVertexAttrib4fvARB
#define glGenProgramsARB zolt_glGenProgramsARB
#define glDeleteProgramsARB zolt_glDeleteProgramsARB
#define glBindProgramARB zolt_glBindProgramARB
#define glProgramStringARB zolt_glProgramStringARB
#define glProgramEnvParameter4fARB zolt_glProgramEnvParameter4fARB
#define glProgramLocalParameter4fARB zolt_glProgramLocalParameter4fARB
#define glGenProgramsNV zolt_glGenProgramsNV
#define glDeleteProgramsNV zolt_glDeleteProgramsNV
#define glBindProgramNV zolt_glBindProgramNV
#define glLoadProgramNV zolt_glLoadProgramNV
#define glTrackMatrixNV zolt_glTrackMatrixNV
#define glProgramParameter4fNV zolt_glProgramParameter4fNV
#define glVertexAttrib4fvNV zolt_glVertexAttrib4fvNV
#define glCombinerParameteriNV zolt_glCombinerParameteriNV
#define glCombinerParameterfvNV zolt_glCombinerParameterfvNV
#define glCombinerStageParameterfvNV zolt_glCombinerStageParameterfvNV
#define glCombinerInputNV zolt_glCombinerInputNV
#define glCombinerOutputNV zolt_glCombinerOutputNV
#define glFinalCombinerInputNV zolt_glFinalCombinerInputNV
#define glGenFramebuffers zolt_glGenFramebuffers
#define glDeleteFramebuffers zolt_glDeleteFramebuffers
#define glBindFramebuffer zolt_glBindFramebuffer
#define glFramebufferRenderbuffer zolt_glFramebufferRenderbuffer
#define glCheckFramebufferStatus zolt_glCheckFramebufferStatus
#define glGenRenderbuffers zolt_glGenRenderbuffers
#define glDeleteRenderbuffers zolt_glDeleteRenderbuffers
#define glBindRenderbuffer zolt_glBindRenderbuffer
#define glRenderbufferStorage zolt_glRenderbufferStorage
#define glGetRenderbufferParameteriv zolt_glGetRenderbufferParameteriv
#define glIsRenderbuffer zolt_glIsRenderbuffer
#define glBlitFramebuffer zolt_glBlitFramebuffer
#define glGenBuffers zolt_glGenBuffers
#define glDeleteBuffers zolt_glDeleteBuffers
#define glBindBuffer zolt_glBindBuffer
#define glBufferData zolt_glBufferData
#define glMapBuffer zolt_glMapBuffer
#define glUnmapBuffer zolt_glUnmapBuffer

// Fetches every entry point of the list that the extension set-up has not
// fetched already, for the current context; returns how many are null.
// Some loaders hand out stubs for entry points the driver lacks, so
// extension checks read the extension string, not these pointers.
int loadGlEntryPoints();
