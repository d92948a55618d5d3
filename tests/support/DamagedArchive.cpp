// DamagedArchive: the entry's content spoiled, then packed again to the
// block's size by trying levels, strategies and empty deflate blocks.
#include "support/DamagedArchive.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>

namespace testsupport {

namespace {

// A raw deflate of `content` with `emptyBlocks` empty fixed-code blocks in
// front, wrapped as a zlib stream.
Bytes zlibStream(const Bytes& content, int level, int memLevel, int strategy, int emptyBlocks) {
  z_stream z{};
  deflateInit2(&z, level, Z_DEFLATED, -15, memLevel, strategy);
  // NOTE: an empty block with fixed codes is ten bits (not final, type 1,
  // end-of-block code 0000000): the knob that sets the packed size.
  for (int i = 0; i < emptyBlocks; ++i) deflatePrime(&z, 10, 2);
  Bytes out(deflateBound(&z, content.size()) + 16 + emptyBlocks * 2);
  z.next_in = const_cast<Bytes::value_type*>(content.data());
  z.avail_in = static_cast<uInt>(content.size());
  z.next_out = out.data() + 2;
  z.avail_out = static_cast<uInt>(out.size() - 6);
  deflate(&z, Z_FINISH);
  out.resize(2 + z.total_out);
  deflateEnd(&z);
  out[0] = 0x78;
  out[1] = 0xDA;
  const uLong sum = adler32(adler32(0, nullptr, 0), content.data(), static_cast<uInt>(content.size()));
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(sum >> shift));
  return out;
}

// `content` packed into a zlib stream of exactly `size` bytes; empty when
// no level, strategy and padding give that size.
Bytes packExactly(const Bytes& content, size_t size) {
  for (int strategy : {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_RLE})
    for (int memLevel : {8, 9, 7})
      for (int level = 9; level >= 1; --level) {
        // Each empty block adds a byte and a quarter: start just short of it.
        const size_t bare = zlibStream(content, level, memLevel, strategy, 0).size();
        if (bare > size) continue;
        const int start = std::max(0, static_cast<int>((size - bare) * 8 / 10) - 3);
        for (int blocks = start; blocks < 16384; ++blocks) {
          Bytes stream = zlibStream(content, level, memLevel, strategy, blocks);
          if (stream.size() == size) return stream;
          if (stream.size() > size) break;
        }
      }
  return {};
}

// The entry's content with a stretch overwritten a fifth of the way in, a
// tenth of it long (at least 16 bytes): by a copy of the entry's first
// bytes (its header where it should not be), else by zeros; shortened
// until it packs to the entry's block size. A small, repetitive entry
// packs bigger after any such change; it gets everything from that point
// on zeroed instead, which always packs smaller.
Bytes damagedBlock(const Bytes& content, size_t blockSize) {
  const size_t from = content.size() / 5;
  for (size_t length = std::max<size_t>(16, content.size() / 10); length >= 4; length /= 2)
    for (bool zeros : {false, true}) {
      Bytes damaged = content;
      for (size_t i = from; i < std::min(content.size(), from + length); ++i)
        damaged[i] = zeros ? 0 : content[i - from];
      if (damaged == content) continue;
      Bytes stream = packExactly(damaged, blockSize);
      if (!stream.empty()) return stream;
    }
  Bytes damaged = content;
  std::fill(damaged.begin() + static_cast<long>(from), damaged.end(), 0);
  return packExactly(damaged, blockSize);
}

}  // namespace

Bytes brokenArchive(const Bytes& archive, const PackDirectoryTable& directory, int row, Breakage how) {
  const size_t offset = static_cast<size_t>(directory.offsets[row]);
  const size_t packed = static_cast<size_t>(directory.packedSizes[row]);
  if (offset + packed > archive.size()) return {};
  Bytes copy = archive;
  if (how == Breakage::CutShort) {
    std::fill(copy.begin() + static_cast<long>(offset + packed / 2),
              copy.begin() + static_cast<long>(offset + packed), 0);
    return copy;
  }
  Bytes content(static_cast<size_t>(directory.unpackedSizes[row]));
  uLongf length = content.size();
  if (uncompress(content.data(), &length, archive.data() + offset, packed) != Z_OK) return {};
  const Bytes block = damagedBlock(content, packed);
  if (block.size() != packed) return {};
  std::copy(block.begin(), block.end(), copy.begin() + static_cast<long>(offset));
  return copy;
}

std::string lowerCase(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

NewLines newLines(const std::vector<std::string>& lines, const std::set<std::string>& intact, const std::string& entry) {
  const std::string name = lowerCase(entry);
  NewLines said;
  for (const std::string& line : lines) {
    if (intact.count(line)) continue;
    if (lowerCase(line).find(name) != std::string::npos) said.named = true;
    else if (line.rfind("Error: ", 0) != 0) said.unnamed.push_back(line);
  }
  return said;
}

}  // namespace testsupport
