// RegistryRows: the make functions behind the registry's rows. Each builds
// a shared resource on its first request and adopts it under its name(s).
#pragma once

class ResourceRegistry;

// "Rhythm0": loads the four rhythm movies, wires their requests and their
// "white" command into the shared values and enters "Rhythm0".."Rhythm3",
// "white", "interp" and "verts".
void makeRhythmAnimations(ResourceRegistry& registry, const char* name);

// "Capture*": a screen texture of the output size under `name`.
void makeCaptureTexture(ResourceRegistry& registry, const char* name);
