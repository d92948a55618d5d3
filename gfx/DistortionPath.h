// DistortionPath: how the offset distortion reaches the driver. NVIDIA
// boards run the "!!TS1.0" texture shaders; drivers with
// GL_ARB_fragment_program (and float textures for the offsets) run the
// same program translated to an ARB fragment program, one quad per use;
// every other driver draws the strip grid, one quad per map texel.
//
// ZOLT_DISTORTION=arb or =grid in the environment forces the fragment
// program (where the driver has it) or the grid, so the paths can be
// compared on one machine; any other value is ignored.
#pragma once

enum class DistortionPath { TextureShaders, FragmentProgram, Grid };

// The choice for a driver: NVIDIA with texture shaders, then the fragment
// program, then the grid; `forced` is the environment's value or null.
DistortionPath chooseDistortionPath(bool nvidia, bool fragmentProgram, const char* forced);

// The choice for the current context, read from its strings once per call.
DistortionPath distortionPath();

// "texture shaders", "fragment program", "strip grid".
const char* distortionPathName(DistortionPath path);
