// DamagedArchive: copies of the archive with one entry broken, the two ways
// a real file breaks. Cut short: the entry's stream stops halfway and the
// rest of its block is zeros, so the archive reader notices. Damaged: a
// stretch of the content spoiled and packed again into a valid stream of
// exactly the block's size, so only the entry's own reader can notice.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "show/PackDirectory.h"
#include "support/FileBytes.h"

namespace testsupport {

enum class Breakage { CutShort, Damaged };

inline const char* breakageName(Breakage how) { return how == Breakage::CutShort ? "cut short" : "damaged"; }

// `archive` (laid out as `directory` says) with entry `row` broken `how`;
// empty when the entry cannot be read back or no damaged stream of its
// block's size exists.
Bytes brokenArchive(const Bytes& archive, const PackDirectoryTable& directory, int row, Breakage how);

// Entry names are compared in lower case (the archive's own lookup ignores
// case).
std::string lowerCase(std::string s);

// What a run on a broken copy said beyond what a run on the intact archive
// says (`intact`): whether a line names `entry` (in any case), and the lines
// that name nothing. The key/value texts' "Error: " lines speak of keys (the
// line naming the text follows), so they count as neither.
struct NewLines {
  bool named = false;
  std::vector<std::string> unnamed;
};
NewLines newLines(const std::vector<std::string>& lines, const std::set<std::string>& intact, const std::string& entry);

}  // namespace testsupport
