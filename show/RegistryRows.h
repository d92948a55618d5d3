// RegistryRows: the make functions behind the registry's rows. Each builds
// a shared resource on its first request and adopts it under its name(s).
#pragma once

class ResourceRegistry;

// "PBuffer512x512": the 512 x 512 pixel buffer, sharing lists with the
// current context, switched to and back once.
void makePixelBuffer(ResourceRegistry& registry, const char* name);

// "CopyScreen512x512", "CopyScreen640x480", "CopyScreen640x480b": a screen
// texture each; the 640x480 pair has the output size, whatever it is.
void makeCopyScreen(ResourceRegistry& registry, const char* name);

// "SimpleDSDT" and "MessDSDT": the screen distortion of the output size and
// its 128 x 128 offset map, made together whichever is asked for first.
void makeScreenDistortion(ResourceRegistry& registry, const char* name);

// "Rhythm0": loads the four rhythm movies, wires their requests and their
// "white" command into the shared values and enters "Rhythm0".."Rhythm3",
// "white", "interp" and "verts".
void makeRhythmAnimations(ResourceRegistry& registry, const char* name);

// "ShadowLight": the shadow-map light, its depth map 512 x 512 with
// "Good" on and 256 x 256 without.
void makeShadowLight(ResourceRegistry& registry, const char* name);

// "Capture*": a screen texture of the output size under `name`.
void makeCaptureTexture(ResourceRegistry& registry, const char* name);

// "CircleMask": the 512 x 512 disc picture in a 2D texture handle.
void makeCircleMask(ResourceRegistry& registry, const char* name);

// "LineCube": the line cube is a scene effect, a floor above this one, so
// the registry makes it through the maker the scenes install on it
// (ResourceRegistry::lineCubeMaker); without one nothing is made.
void makeLineCube(ResourceRegistry& registry, const char* name);
