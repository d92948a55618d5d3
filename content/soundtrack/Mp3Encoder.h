// Mp3Encoder: stereo float samples to an MP3 file through libmp3lame.
//
// The file starts with a LAME/Info tag carrying the encoder delay and the
// padding, so decoders that honour it (gapless playback) return exactly the
// samples that went in: sample 0 of the input is sample 0 of the output.
// No ID3 tag and no timestamps: the same samples give the same bytes.
#pragma once

#include <string>

#include "Voices.h"

namespace soundtrack {

// Writes `bus` to `path`; false (with a message on stderr) on failure.
bool writeMp3(const Bus& bus, const std::string& path, int kilobitsPerSecond);

}  // namespace soundtrack
