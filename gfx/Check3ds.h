// Check3ds: a structural check of 3DS bytes before lib3ds parses them.
//
// lib3ds 1.3 trusts the sizes and counts it reads: a truncated file makes it
// read past the end, a zero-sized chunk makes it loop for ever, a key count
// of two billion makes it allocate until memory runs out, a material group
// naming a face the mesh lacks makes it write out of bounds, and every
// failure inside it leaves its chunk-nesting record one level deeper (a
// fixed buffer that overflows after a few dozen failures). This walks the
// chunk tree along every path lib3ds follows into counted data and accepts
// only files whose sizes nest and whose counts fit their chunks, so lib3ds
// is handed nothing it can choke on.
#pragma once

#include <cstdint>

// True when `data` holds a well-formed 3DS chunk tree of exactly `size`
// bytes or fewer (trailing bytes after the top chunk are ignored).
bool check3dsChunks(const unsigned char* data, int32_t size);
