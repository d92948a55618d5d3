// PackDirectory: the archive's directory, built into the program.
//
// trov.qz5 has no header of its own; where each entry lies is known only
// from this table. The content pipeline's packer generates its definition
// (build/content/packer/PackDirectory.cpp) together with the archive, so
// the two always match. Names keep the letter case they were packed with;
// lookups ignore case.
#pragma once

#include <cstdint>

// Four parallel arrays and a count, one row per entry in archive order.
struct PackDirectoryTable {
  int count;
  const char* const* names;
  const int32_t* offsets;
  const int32_t* packedSizes;
  const int32_t* unpackedSizes;
};

// The directory of the trov.qz5 built alongside this program.
extern const PackDirectoryTable PackDirectory;
