// PackFile: reads entries of the pack archive and loose text files.
//
// Each archive entry is one zlib stream; its place and both sizes come from
// a directory table (normally the built-in PackDirectory). Every read opens
// the archive, reads the entry's block, closes it again and inflates into a
// buffer of exactly the unpacked size plus two zero bytes, so text entries
// are terminated strings. Errors are shown as message boxes and give null.
#pragma once

#include <cstdint>

#include "show/PackDirectory.h"

// Row of the first entry whose whole name equals `name` ignoring case; -1
// when there is none.
int findPackEntry(const PackDirectoryTable& directory, const char* name);

// The unpacked entry followed by two zero bytes, owned by the caller
// (delete[]); null after a message box when the name is not in the
// directory, the archive cannot be opened or read, or the entry does not
// inflate to exactly its unpacked size. A missing or unreadable archive
// gets its box once; later reads that fail on it say so in a line on
// standard output, until a read opens it again.
unsigned char* readPackEntry(const PackDirectoryTable& directory, const char* packPath,
                             const char* name);

// The archive the show reads, looked up as show/DataFolders.h says.
const char* const kShowPackFile = "trov.qz5";
// The caption of the box for an archive that is missing or cannot be read.
const char* const kNoPackFileCaption = "Cannot Find Packfile";

// True when the archive opens and holds at least a byte; otherwise false
// after the same report a failed read gives (see below).
bool packFileReadable(const char* packPath);

// A loose file read as text: "\r\n" arrives as "\n", followed by two zero
// bytes; owned by the caller (delete[]). Null after a line on standard
// output when the file cannot be read.
unsigned char* readLooseText(const char* path);
