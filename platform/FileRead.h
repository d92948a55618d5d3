// FileRead: a whole file from disk in one piece.
//
// The archive, the music file, loose assets and movies opened by path all
// come through here, so there is one place that decides how a file is read.
// Only regular files are read: a folder, a device or a pipe in a file's
// place is refused before anything is allocated or read (a pipe would block
// the show, a device never ends).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

// The largest file read whole unless the caller sets its own bound.
constexpr size_t kWholeFileLimit = size_t(256) << 20;
// The largest sound file taken for the soundtrack, played or recorded (the
// show's own is 5 MB; an hour of compressed music is about 60 MB).
constexpr size_t kSoundFileLimit = size_t(64) << 20;

// Empty when `path` is a regular file of at most `limit` bytes (its size in
// `size` when given); otherwise why not, in words ("is a folder", ...).
std::string regularFileProblem(const char* path, size_t limit, size_t* size = nullptr);

// True when anything at all stands at `path`.
bool pathExists(const char* path);

// The whole file in binary. False when it cannot be opened or read whole,
// or is not a regular file of at most `limit` bytes; `bytes` is then empty
// and `why` (when given) says which. Running out of memory is no reason
// given here: std::bad_alloc goes to the caller like anywhere else.
bool readWholeFile(const char* path, std::vector<unsigned char>& bytes,
                   size_t limit = kWholeFileLimit, std::string* why = nullptr);

}  // namespace platform
