// Archive reading: the built trov.qz5 against its sources, lookups, and
// every way a broken archive or entry must end in a message and null.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "show/KeyValue.h"
#include "show/PackFile.h"
#include "show/ResourceRegistry.h"
#include "support/MessageLog.h"

namespace fs = std::filesystem;

namespace {

// The show's directory order, names and case as it carries them.
const char* const kShowOrder[] = {
    "bar0.swf",       "bar1.swf",     "bar2.swf",     "bar3.swf",       "bug.3ds",
    "bug.cfg",        "bug.swf",      "bug.vpc",      "bugati.vpc",     "qz5.3ds",
    "demo.cfg",       "end.swf",      "greets.jpg",   "gz.jpg",         "t-rov.3ds",
    "zolt.3ds",       "zolt1.png",    "zolt2.png",    "zoltbugs.png",   "zoltcredits.png",
    "zoltend.png",    "zoltload.png", "zoltsquare.png", "lastEffect.jpg", "linecube.3ds",
    "linecube.swf",   "names.jpg",    "plane.3DS",    "plane.swf",      "rhythm0.swf",
    "rhythm1.swf",    "rhythm2.swf",  "rhythm3.swf",  "scroller.jpg",   "tentacle.3DS",
    "tentacle.swf",   "tentacle.vpc", "tentacleati.vpc", "tentacle2.3DS", "titlescene.swf",
    "tunnel.3DS",     "tvmask2.jpg",  "vs.3ds",       "VS.swf",
};

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string deflated(const std::string& text) {
  uLongf length = compressBound(static_cast<uLong>(text.size()));
  std::string packed(length, '\0');
  compress(reinterpret_cast<Bytef*>(&packed[0]), &length,
           reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()));
  packed.resize(length);
  return packed;
}

using testsupport::MessageLog;

// A small archive of our own with a directory the test controls.
class BrokenArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::path(::testing::TempDir()) / ("zolt_pack_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    first = "# first entry\nkey = 1\n";
    second = std::string(3000, 'z') + "second entry";
    packedFirst = deflated(first);
    packedSecond = deflated(second);
    archive = dir / "test.qz5";
    writeBytes(archive, packedFirst + packedSecond);
    offsets = {0, static_cast<int32_t>(packedFirst.size())};
    packedSizes = {static_cast<int32_t>(packedFirst.size()),
                   static_cast<int32_t>(packedSecond.size())};
    unpackedSizes = {static_cast<int32_t>(first.size()), static_cast<int32_t>(second.size())};
  }
  void TearDown() override { fs::remove_all(dir); }

  PackDirectoryTable table() const {
    return PackDirectoryTable{2, names, offsets.data(), packedSizes.data(), unpackedSizes.data()};
  }
  unsigned char* read(const char* name) {
    return readPackEntry(table(), archive.string().c_str(), name);
  }
  void expectOneBox(const MessageLog& log, const std::string& text, const std::string& caption) {
    ASSERT_EQ(log.boxes.size(), 1u);
    EXPECT_EQ(log.boxes[0].text, text);
    EXPECT_EQ(log.boxes[0].caption, caption);
    EXPECT_EQ(log.boxes[0].icon, platform::MessageIcon::None);
    EXPECT_EQ(log.boxes[0].buttons, platform::MessageButtons::Ok);
  }

  const char* const names[2] = {"First.CFG", "second.txt"};
  fs::path dir, archive;
  std::string first, second, packedFirst, packedSecond;
  std::vector<int32_t> offsets, packedSizes, unpackedSizes;
};

}  // namespace

TEST(BuiltArchive, EveryEntryReadsBackAsItsSourceInTheShowsOrder) {
  // The manifest the packer worked from: one "name<TAB>file" line per entry.
  std::ifstream manifest(std::string(ZOLT_CONTENT_DIR) + "/../pack.manifest");
  ASSERT_TRUE(manifest) << "build the zolt_content target first";
  std::vector<std::pair<std::string, std::string>> entries;
  for (std::string line; std::getline(manifest, line);) {
    const size_t tab = line.find('\t');
    entries.emplace_back(line.substr(0, tab), line.substr(tab + 1));
  }
  ASSERT_GE(entries.size(), 2u);  // at least the settings texts
  ASSERT_EQ(PackDirectory.count, static_cast<int>(entries.size()));

  ResourceRegistry registry;
  registry.usePack = true;
  registry.packName = std::string(ZOLT_OUTPUT_DIR) + "/trov.qz5";
  MessageLog log;
  const char* const* showRow = std::begin(kShowOrder);
  int32_t expectedOffset = 0;
  for (int row = 0; row < PackDirectory.count; ++row) {
    const std::string name = PackDirectory.names[row];
    SCOPED_TRACE(name);
    EXPECT_EQ(name, entries[row].first);
    // Rows follow the show's order, spelled exactly as the show spells them.
    showRow = std::find(showRow, std::end(kShowOrder), name);
    ASSERT_NE(showRow, std::end(kShowOrder)) << "out of order or not a show name";
    // Entries lie end to end from byte 0.
    EXPECT_EQ(PackDirectory.offsets[row], expectedOffset);
    expectedOffset += PackDirectory.packedSizes[row];

    const std::string source = readBytes(entries[row].second);
    EXPECT_EQ(registry.entrySize(name.c_str()), static_cast<int>(source.size()));
    unsigned char* buffer = registry.readFile(name.c_str());
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), source.size()), source);
    EXPECT_EQ(buffer[source.size()], 0);
    EXPECT_EQ(buffer[source.size() + 1], 0);
    delete[] buffer;
  }
  EXPECT_TRUE(log.boxes.empty());
  EXPECT_EQ(fs::file_size(registry.packName), static_cast<uintmax_t>(expectedOffset));
}

TEST(BuiltArchive, SettingsTextsHoldTheirKeys) {
  ResourceRegistry registry;
  registry.usePack = true;
  registry.packName = std::string(ZOLT_OUTPUT_DIR) + "/trov.qz5";
  MessageLog log;
  testing::internal::CaptureStdout();
  char* demo = reinterpret_cast<char*>(registry.readFile("DEMO.cfg"));
  char* bugs = reinterpret_cast<char*>(registry.readFile("bug.cfg"));
  ASSERT_NE(demo, nullptr);
  ASSERT_NE(bugs, nullptr);
  char* music = getString(demo, "mp3");
  ASSERT_NE(music, nullptr);
  EXPECT_STREQ(music, "zolt.mp3");
  EXPECT_GE(getInt(bugs, "numBugs"), 1);
  EXPECT_GE(getInt(bugs, "speed"), 1);
  EXPECT_GE(getInt(bugs, "drawCount"), 1);
  const float alpha = getFloat(bugs, "alpha");
  EXPECT_GT(alpha, 0.0f);
  EXPECT_LE(alpha, 1.0f);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");  // every key found
  delete[] music;
  delete[] demo;
  delete[] bugs;
  EXPECT_TRUE(log.boxes.empty());
}

TEST(PackLookup, WholeNameIgnoringCaseFirstRowWins) {
  const char* const names[] = {"bar0.swf", "tunnel.3DS", "TUNNEL.3ds", "VS.swf"};
  const int32_t zeros[] = {0, 0, 0, 0};
  const PackDirectoryTable table{4, names, zeros, zeros, zeros};
  EXPECT_EQ(findPackEntry(table, "tunnel.3ds"), 1);
  EXPECT_EQ(findPackEntry(table, "TUNNEL.3DS"), 1);
  EXPECT_EQ(findPackEntry(table, "vs.SWF"), 3);
  EXPECT_EQ(findPackEntry(table, "bar"), -1);        // a prefix is not the name
  EXPECT_EQ(findPackEntry(table, "bar0.swf2"), -1);  // nor is a longer name
  EXPECT_EQ(findPackEntry(table, ""), -1);
  EXPECT_EQ(findPackEntry(table, nullptr), -1);
}

TEST_F(BrokenArchiveTest, IntactEntriesReadWithTwoZeroBytes) {
  MessageLog log;
  unsigned char* buffer = read("second.TXT");
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer)), second);
  EXPECT_EQ(buffer[second.size() + 1], 0);
  delete[] buffer;
  EXPECT_TRUE(log.boxes.empty());
}

TEST_F(BrokenArchiveTest, UnknownNameShowsPackFileNotFound) {
  MessageLog log;
  EXPECT_EQ(read("first"), nullptr);
  expectOneBox(log, "first", "Pack file not found");
}

TEST_F(BrokenArchiveTest, MissingArchiveShowsCannotFindPackfile) {
  MessageLog log;
  const std::string missing = (dir / "absent.qz5").string();
  EXPECT_EQ(readPackEntry(table(), missing.c_str(), "first.cfg"), nullptr);
  expectOneBox(log, missing, "Cannot Find Packfile");
}

TEST_F(BrokenArchiveTest, TruncatedArchiveShowsErrorUnpacking) {
  // Cut inside the second entry, then cut before it starts at all.
  const std::string whole = packedFirst + packedSecond;
  for (size_t cut : {whole.size() - 5, packedFirst.size() - 1, size_t{0}}) {
    SCOPED_TRACE(cut);
    writeBytes(archive, whole.substr(0, cut));
    MessageLog log;
    EXPECT_EQ(read("second.txt"), nullptr);
    expectOneBox(log, "second.txt", "Error Unpacking");
  }
}

TEST_F(BrokenArchiveTest, CorruptEntryShowsErrorUnpacking) {
  std::string corrupt = packedFirst + packedSecond;
  // Inside the deflate data, then in the Adler-32 trailer.
  for (size_t at : {packedFirst.size() + 4, corrupt.size() - 1}) {
    SCOPED_TRACE(at);
    std::string damaged = corrupt;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x5a);
    writeBytes(archive, damaged);
    MessageLog log;
    EXPECT_EQ(read("second.txt"), nullptr);
    expectOneBox(log, "second.txt", "Error Unpacking");
  }
}

TEST_F(BrokenArchiveTest, EntryInflatingToMoreOrLessShowsErrorUnpacking) {
  for (int32_t wrongSize : {unpackedSizes[1] - 1, unpackedSizes[1] + 1, 0}) {
    SCOPED_TRACE(wrongSize);
    unpackedSizes[1] = wrongSize;
    MessageLog log;
    EXPECT_EQ(read("second.txt"), nullptr);
    expectOneBox(log, "second.txt", "Error Unpacking");
  }
}

TEST_F(BrokenArchiveTest, DirectoryThatDoesNotFitTheArchiveShowsErrorUnpacking) {
  // A block that holds more than the entry's stream, an offset into the
  // middle of an entry, and sizes no archive can have.
  struct Case { int32_t offset, packed, unpacked; };
  const Case cases[] = {
      {0, packedSizes[0] + 3, unpackedSizes[0]},
      {offsets[1] + 2, packedSizes[1] - 2, unpackedSizes[1]},
      {-1, packedSizes[1], unpackedSizes[1]},
      {offsets[1], -7, unpackedSizes[1]},
      {offsets[1], packedSizes[1], -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    offsets[1] = c.offset;
    packedSizes[1] = c.packed;
    unpackedSizes[1] = c.unpacked;
    MessageLog log;
    EXPECT_EQ(read("second.txt"), nullptr);
    expectOneBox(log, "second.txt", "Error Unpacking");
  }
}

TEST_F(BrokenArchiveTest, RegistryReportsTheArchiveNameItWasGiven) {
  ResourceRegistry registry;
  registry.usePack = true;
  registry.packName = (dir / "nowhere.qz5").string();
  MessageLog log;
  EXPECT_EQ(registry.readFile("demo.cfg"), nullptr);
  expectOneBox(log, registry.packName, "Cannot Find Packfile");
}

// A missing archive is told once (fifteen boxes in a row would have to be
// clicked away one by one); the reads after it fail with a line each, and
// an archive that comes back is read, and told about again when it goes.
TEST_F(BrokenArchiveTest, MissingOrUnreadableArchiveIsToldOnce) {
  const std::string missing = (dir / "gone.qz5").string();
  MessageLog log;
  testing::internal::CaptureStdout();
  for (int i = 0; i < 15; ++i) EXPECT_EQ(readPackEntry(table(), missing.c_str(), "second.txt"), nullptr);
  EXPECT_FALSE(packFileReadable(missing.c_str()));
  std::string lines = testing::internal::GetCapturedStdout();
  expectOneBox(log, missing, "Cannot Find Packfile");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 15) << lines;
  EXPECT_NE(lines.find("Cannot Find Packfile " + missing + ": second.txt not read"), std::string::npos) << lines;

  fs::copy_file(archive, missing);
  EXPECT_TRUE(packFileReadable(missing.c_str()));
  unsigned char* entry = readPackEntry(table(), missing.c_str(), "second.txt");
  EXPECT_NE(entry, nullptr);
  delete[] entry;
  fs::remove(missing);
  // A folder in the archive's place opens but cannot be read.
  fs::create_directory(missing);
  MessageLog again;
  testing::internal::CaptureStdout();
  EXPECT_FALSE(packFileReadable(missing.c_str()));
  EXPECT_EQ(readPackEntry(table(), missing.c_str(), "first.cfg"), nullptr);
  lines = testing::internal::GetCapturedStdout();
  expectOneBox(again, missing, "Cannot Find Packfile");
  EXPECT_NE(lines.find("first.cfg not read"), std::string::npos) << lines;
  fs::remove(missing);
  // A pipe would block the show at its first read, a device never ends:
  // both are refused before they are opened.
  ASSERT_EQ(mkfifo(missing.c_str(), 0600), 0);
  EXPECT_FALSE(packFileReadable(missing.c_str()));
  fs::remove(missing);
  fs::create_symlink("/dev/zero", missing);
  EXPECT_FALSE(packFileReadable(missing.c_str()));
  fs::remove(missing);
}

TEST(LooseFiles, ReadAsTerminatedTextUnderTheRoot) {
  const fs::path root =
      fs::path(::testing::TempDir()) / ("zolt_loose_" + std::to_string(::getpid()));
  fs::create_directories(root);
  writeBytes(root / "set.cfg", "a = 1\r\nb = \"x\"\r\nlast\r");

  ResourceRegistry registry;  // archive mode off
  registry.rootPath = root.string() + "/";
  unsigned char* text = registry.readFile("set.cfg");
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(reinterpret_cast<char*>(text), "a = 1\nb = \"x\"\nlast\r");
  delete[] text;
  // Outside archive mode no entry has a size.
  EXPECT_EQ(registry.entrySize("demo.cfg"), 0);

  testing::internal::CaptureStdout();
  EXPECT_EQ(registry.readFile("missing.cfg"), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "File not found: " + registry.rootPath + "missing.cfg\n");

  // A name longer than any fixed path buffer is still read, not cut short.
  const std::string longName = std::string(150, 'n') + ".cfg";
  writeBytes(root / longName, "long");
  text = registry.readFile(longName.c_str());
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(reinterpret_cast<char*>(text), "long");
  delete[] text;
  fs::remove_all(root);
}

TEST(EntrySize, ArchiveModeGivesUnpackedSizeOrZero) {
  ResourceRegistry registry;
  registry.usePack = true;
  const int row = findPackEntry(PackDirectory, "bug.cfg");
  ASSERT_GE(row, 0);
  EXPECT_EQ(registry.entrySize("BUG.CFG"), PackDirectory.unpackedSizes[row]);
  EXPECT_EQ(registry.entrySize("bug"), 0);
  EXPECT_EQ(registry.entrySize("no such entry"), 0);
}
