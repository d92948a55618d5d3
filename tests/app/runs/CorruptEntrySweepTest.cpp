// Every entry of the archive broken in turn, two ways: cut short (its
// stream stops halfway, the rest of its block zeros) and damaged inside a
// valid stream (a stretch of its content zeroed, packed again to exactly
// its block's size, so only the entry's reader can notice). The whole show
// runs headless on each copy: it must end by itself with status 0, with no
// sanitizer or runtime report, and every line it prints that a run on the
// intact archive does not print must name the broken entry.
//
// Two runs an entry, several side by side (a run mostly waits: the
// three-second pause after loading). The entries are dealt into shards, one
// test each, so ctest runs the shards side by side and none runs long.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cctype>
#include <filesystem>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

#include "ShowRun.h"
#include "show/PackDirectory.h"

namespace fs = std::filesystem;
using namespace showrun;

namespace {

// An entry cut short is noticed by the archive reader while loading: the
// scenes then run a frame each on what they lack (/t300 puts every scene
// past its end). Damaged content may pass its decoder: the whole show
// plays it, at one frame a second.
const char* const kCutShortSwitches = "/w /m /t300";
const char* const kDamagedSwitches = "/w /m /f1";

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The lines that say something about the run's content (progress lines
// carry timings that differ run to run).
std::vector<std::string> messageLines(const std::string& output) {
  std::vector<std::string> lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line.rfind("AVI: ", 0) != 0 && line != "AVI ended") lines.push_back(line);
  return lines;
}

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

struct Variant {
  std::string entry;
  std::string kind;
  Bytes archive;
};

constexpr int kSweepShards = 6;

class CorruptEntrySweep : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    archive = readBytes(std::string(ZOLT_OUTPUT_DIR) + "/trov.qz5");
    ASSERT_FALSE(archive.empty());
  }
  Bytes archive;
};

}  // namespace

TEST_P(CorruptEntrySweep, EveryEntryCutShortOrDamagedIsSurvivedAndNamed) {
  const PackDirectoryTable& dir = PackDirectory;
  std::vector<Variant> variants;
  for (int row = GetParam(); row < dir.count; row += kSweepShards) {
    const size_t offset = static_cast<size_t>(dir.offsets[row]);
    const size_t packed = static_cast<size_t>(dir.packedSizes[row]);
    ASSERT_LE(offset + packed, archive.size());
    Variant cut{dir.names[row], "cut short", archive};
    std::fill(cut.archive.begin() + static_cast<long>(offset + packed / 2),
              cut.archive.begin() + static_cast<long>(offset + packed), 0);
    variants.push_back(std::move(cut));

    Bytes content(static_cast<size_t>(dir.unpackedSizes[row]));
    uLongf length = content.size();
    ASSERT_EQ(uncompress(content.data(), &length, archive.data() + offset, packed), Z_OK) << dir.names[row];
    Bytes block = damagedBlock(content, packed);
    ASSERT_EQ(block.size(), packed) << "no damaged stream of the block's size for " << dir.names[row];
    Variant damaged{dir.names[row], "damaged", archive};
    std::copy(block.begin(), block.end(), damaged.archive.begin() + static_cast<long>(offset));
    variants.push_back(std::move(damaged));
  }

  // The intact archive's lines are the baseline.
  const std::string cleanFolder = freshFolder("sweep-intact-" + std::to_string(GetParam()));
  linkArchive(cleanFolder);
  linkMusic(cleanFolder);
  std::set<std::string> baseline;
  for (const char* switches : {kCutShortSwitches, kDamagedSwitches}) {
    const Result clean = run(cleanFolder, switches, "", 600);
    ASSERT_EQ(clean.status, 0) << clean.output;
    for (const std::string& line : messageLines(clean.output)) baseline.insert(line);
  }
  fs::remove_all(cleanFolder);

  std::mutex lock;
  std::vector<std::string> failures;
  int noticed = 0;
  std::atomic<size_t> next{0};
  auto worker = [&] {
    for (size_t i = next++; i < variants.size(); i = next++) {
      const Variant& v = variants[i];
      std::string tag = v.entry + "-" + std::to_string(GetParam()) + "-" + std::to_string(i);
      std::replace(tag.begin(), tag.end(), ' ', '_');
      const std::string folder = freshFolder("sweep-" + tag);
      writeBytes(folder + "/trov.qz5", v.archive);
      linkMusic(folder);
      const Result r = run(folder, v.kind == "damaged" ? kDamagedSwitches : kCutShortSwitches, "", 600);
      std::string problem;
      if (r.status != 0) problem = "status " + std::to_string(r.status);
      if (problem.empty()) problem = firstFault(r.output);
      bool named = false;
      for (const std::string& line : messageLines(r.output)) {
        if (baseline.count(line)) continue;
        if (lower(line).find(lower(v.entry)) != std::string::npos) {
          named = true;
          continue;
        }
        // The key/value texts speak of keys; the line naming the text follows.
        if (line.rfind("Error: ", 0) == 0) continue;
        if (problem.empty()) problem = "a line without the entry's name: " + line;
      }
      std::lock_guard<std::mutex> hold(lock);
      noticed += named;
      if (!problem.empty()) failures.push_back(v.entry + " " + v.kind + ": " + problem + "\n" + r.output);
      if (problem.empty()) fs::remove_all(folder);
    }
  };
  const unsigned workers = std::clamp(std::thread::hardware_concurrency() * 2, 2u, 8u);
  std::vector<std::thread> threads;
  for (unsigned w = 0; w < workers; ++w) threads.emplace_back(worker);
  for (std::thread& t : threads) t.join();

  for (const std::string& failure : failures) ADD_FAILURE() << failure;
  std::printf("%d of %zu broken copies were noticed and named\n", noticed, variants.size());
}

INSTANTIATE_TEST_SUITE_P(Shards, CorruptEntrySweep, ::testing::Range(0, kSweepShards));
