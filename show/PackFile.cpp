// PackFile: archive entries through zlib, loose files as text.
#include "show/PackFile.h"

#include <zlib.h>

#include <cstdio>
#include <memory>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "platform/FileRead.h"
#include "platform/MessageBox.h"

namespace {

const char* const kNotInDirectory = "Pack file not found";
const char* const kNoArchive = kNoPackFileCaption;
const char* const kBadEntry = "Error Unpacking";

void reportPackError(const char* text, const char* caption) {
  platform::messageBox(text, caption, platform::MessageIcon::None, platform::MessageButtons::Ok);
}

// Archives found missing or unreadable: each is reported in a box once, and
// while it stays so later reads say so in a line; a read that opens it again
// clears it.
std::set<std::string>& unreadableArchives() {
  static std::set<std::string> paths;
  return paths;
}

void reportUnreadableArchive(const char* packPath, const char* name) {
  if (unreadableArchives().insert(packPath).second) {
    reportPackError(packPath, kNoArchive);
  } else {
    std::printf("%s %s: %s not read\n", kNoArchive, packPath, name);
    std::fflush(stdout);
  }
}

bool equalIgnoringCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char ca = static_cast<unsigned char>(*a);
    unsigned char cb = static_cast<unsigned char>(*b);
    if (ca >= 'A' && ca <= 'Z') ca = ca - 'A' + 'a';
    if (cb >= 'A' && cb <= 'Z') cb = cb - 'A' + 'a';
    if (ca != cb) return false;
    if (ca == 0) return true;
  }
}

enum class BlockRead { Ok, Short, Unreadable };

// The directory's offsets and sizes are 32-bit: no entry lies beyond this.
constexpr size_t kArchiveLimit = 0x7fffffff;

// Reads `size` bytes at `offset` of the archive into `block`: Short when the
// archive ends first, Unreadable when it cannot be opened or read at all (a
// folder, a device or a pipe in its place: a pipe would block the show, a
// device never ends; a read error).
BlockRead readBlock(const char* packPath, long offset, unsigned char* block, size_t size) {
  if (!platform::regularFileProblem(packPath, kArchiveLimit).empty()) return BlockRead::Unreadable;
  std::FILE* file = std::fopen(packPath, "rb");
  if (!file) return BlockRead::Unreadable;
  BlockRead result = BlockRead::Ok;
  if (std::fseek(file, offset, SEEK_SET) != 0 || std::fread(block, 1, size, file) != size)
    result = std::ferror(file) ? BlockRead::Unreadable : BlockRead::Short;
  std::fclose(file);
  if (result != BlockRead::Unreadable) unreadableArchives().erase(packPath);
  return result;
}

}  // namespace

int findPackEntry(const PackDirectoryTable& directory, const char* name) {
  if (!name) return -1;
  for (int row = 0; row < directory.count; ++row) {
    if (equalIgnoringCase(directory.names[row], name)) return row;
  }
  return -1;
}

unsigned char* readPackEntry(const PackDirectoryTable& directory, const char* packPath,
                             const char* name) {
  const int row = findPackEntry(directory, name);
  if (row < 0) {
    reportPackError(name ? name : "", kNotInDirectory);
    return nullptr;
  }
  const int32_t offset = directory.offsets[row];
  const int32_t packedSize = directory.packedSizes[row];
  const int32_t unpackedSize = directory.unpackedSizes[row];
  // NOTE: a directory that does not fit its archive must not turn into a
  // huge or negative allocation; treat it like any other broken entry.
  if (offset < 0 || packedSize <= 0 || unpackedSize < 0) {
    reportPackError(name, kBadEntry);
    return nullptr;
  }

  std::unique_ptr<unsigned char[]> packed(new (std::nothrow) unsigned char[packedSize]);
  if (!packed) {
    reportPackError(name, kBadEntry);
    return nullptr;
  }
  const BlockRead read = readBlock(packPath, offset, packed.get(), static_cast<size_t>(packedSize));
  if (read == BlockRead::Unreadable) {
    reportUnreadableArchive(packPath, name);
    return nullptr;
  }
  if (read == BlockRead::Short) {
    // A truncated archive cannot hold the entry: it cannot be unpacked.
    reportPackError(name, kBadEntry);
    return nullptr;
  }

  const size_t capacity = static_cast<size_t>(unpackedSize);
  unsigned char* buffer = new (std::nothrow) unsigned char[capacity + 2]();
  if (!buffer) {
    reportPackError(name, kBadEntry);
    return nullptr;
  }
  uLongf destLength = capacity;
  uLong sourceLength = static_cast<uLong>(packedSize);
  const int result = uncompress2(buffer, &destLength, packed.get(), &sourceLength);
  // NOTE: an entry that inflates to fewer bytes than the directory says is
  // as broken as one that inflates to more: the caller trusts entrySize.
  // So is one whose stream ends before its packed block does.
  if (result != Z_OK || destLength != capacity || sourceLength != static_cast<uLong>(packedSize)) {
    delete[] buffer;
    reportPackError(name, kBadEntry);
    return nullptr;
  }
  return buffer;
}

bool packFileReadable(const char* packPath) {
  unsigned char first = 0;
  if (readBlock(packPath, 0, &first, 1) == BlockRead::Ok) return true;
  reportUnreadableArchive(packPath, "the first byte");
  return false;
}

unsigned char* readLooseText(const char* path) {
  std::vector<unsigned char> text;
  if (!platform::readWholeFile(path, text)) {
    std::printf("File not found: %s\n", path);
    return nullptr;
  }
  unsigned char* buffer = new (std::nothrow) unsigned char[text.size() + 2]();
  if (!buffer) {
    std::printf("Could not allocate memory for text file %s\n", path);
    return nullptr;
  }
  // Text mode: line ends arrive as single newlines.
  size_t length = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    buffer[length++] = text[i];
  }
  return buffer;
}
