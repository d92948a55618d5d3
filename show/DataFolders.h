// DataFolders: where the show looks for the files it reads from disk (the
// archive, the soundtrack), so an installed program finds its data from
// any folder.
//
// In order: the current folder, so a folder with its own archive or music
// wins; the executable's folder (a build); then ../share/zolt beside the
// executable (an install under any prefix). Recordings and screen copies
// are not looked up: they go to the current folder.
#pragma once

#include <string>
#include <vector>

// The folders searched, in order, as absolute paths without repeats.
std::vector<std::string> dataFolders();

// Where `name` is found: the name itself when it is absolute or the
// current folder holds it, else its path in the first folder that holds
// it; empty when none does. Anything under the name counts as found, so a
// broken file is reported rather than passed over.
std::string findDataFile(const std::string& name);

// The folders searched, for a message: "a, b, c".
std::string dataFoldersText();
