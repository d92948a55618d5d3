// DamagedArchive: copies of the archive with one entry broken, the two ways
// a real file breaks. Cut short: the entry's stream stops halfway and the
// rest of its block is zeros, so the archive reader notices. Damaged: a
// stretch of the content spoiled and packed again into a valid stream of
// exactly the block's size, so only the entry's own reader can notice.
#pragma once

#include <string>
#include <vector>

#include "show/PackDirectory.h"

namespace testsupport {

using Bytes = std::vector<unsigned char>;

enum class Breakage { CutShort, Damaged };

inline const char* breakageName(Breakage how) { return how == Breakage::CutShort ? "cut short" : "damaged"; }

// `archive` (laid out as `directory` says) with entry `row` broken `how`;
// empty when the entry cannot be read back or no damaged stream of its
// block's size exists.
Bytes brokenArchive(const Bytes& archive, const PackDirectoryTable& directory, int row, Breakage how);

}  // namespace testsupport
