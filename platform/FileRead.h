// FileRead: a whole file from disk in one piece.
//
// The archive, the music file, loose assets and movies opened by path all
// come through here, so there is one place that decides how a file is read.
#pragma once

#include <vector>

namespace platform {

// The whole file in binary. False when it cannot be opened or read whole;
// `bytes` is then empty.
bool readWholeFile(const char* path, std::vector<unsigned char>& bytes);

}  // namespace platform
