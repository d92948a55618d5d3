// Bad 3DS input as a viewer meets it: a truncated or corrupt model gives
// the "3DS Load error" box and a null file, never a crash, a hang or a
// leak. Also built with AddressSanitizer (models_asan.cmake).
#include <gtest/gtest.h>

#include <lib3ds/file.h>
#include <lib3ds/io.h>
#include <lib3ds/mesh.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "gfx/Scene3ds.h"
#include "platform/MessageBox.h"
#include "show/ResourceRegistry.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void putWord(Bytes* b, unsigned v) {
  b->push_back(v & 0xff);
  b->push_back((v >> 8) & 0xff);
}

void putDword(Bytes* b, unsigned v) {
  putWord(b, v & 0xffff);
  putWord(b, v >> 16);
}

// A 3DS chunk: id, size including the six header bytes, payload.
Bytes chunk(unsigned id, const Bytes& payload) {
  Bytes b;
  putWord(&b, id);
  putDword(&b, static_cast<unsigned>(payload.size() + 6));
  b.insert(b.end(), payload.begin(), payload.end());
  return b;
}

Bytes join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

class Scene3dsCorrupt : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::setMessageObserver([this](const platform::MessageRecord& r) {
      boxes.push_back(r);
      return platform::MessageAnswer::Ok;
    });
    model = readBytes(std::string(ZOLT_CONTENT_DIR) + "/zolt.3ds");
    ASSERT_GT(model.size(), 1000u);
  }
  void TearDown() override { platform::setMessageObserver(nullptr); }

  // Loads `bytes` and expects exactly one load-error box naming `name`.
  void expectRejected(const Bytes& bytes, const char* name) {
    boxes.clear();
    Lib3dsFile* file =
        read3dsFromMemory(bytes.data(), static_cast<int32_t>(bytes.size()), name);
    EXPECT_EQ(file, nullptr) << name << " of " << bytes.size() << " bytes";
    if (file) lib3ds_file_free(file);
    ASSERT_EQ(boxes.size(), 1u) << name;
    EXPECT_EQ(boxes[0].caption, "3DS Load error");
    EXPECT_EQ(boxes[0].text, name);
    EXPECT_EQ(boxes[0].buttons, platform::MessageButtons::Ok);
  }

  Bytes model;
  std::vector<platform::MessageRecord> boxes;
};

}  // namespace

TEST_F(Scene3dsCorrupt, IntactModelLoadsWithoutABox) {
  Lib3dsFile* file = read3dsFromMemory(model.data(), static_cast<int32_t>(model.size()), "zolt.3ds");
  ASSERT_NE(file, nullptr);
  EXPECT_NE(lib3ds_file_mesh_by_name(file, "Text01"), nullptr);
  lib3ds_file_free(file);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(Scene3dsCorrupt, EveryTruncationIsRejected) {
  std::vector<size_t> lengths = {0, 1, 2, 5, 6, 7, 12, 16, 17, model.size() - 1, model.size() - 4};
  for (size_t n = 23; n < model.size(); n += 97) lengths.push_back(n);
  for (size_t n : lengths) {
    Bytes cut(model.begin(), model.begin() + n);
    expectRejected(cut, "zolt.3ds");
  }
  expectRejected(Bytes(), "empty.3ds");
  boxes.clear();
  EXPECT_EQ(read3dsFromMemory(nullptr, 100, "null.3ds"), nullptr);
  EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(Scene3dsCorrupt, CorruptHeadersAndChunksAreRejected) {
  Bytes wrongMagic = model;
  wrongMagic[0] = 0x12;
  wrongMagic[1] = 0x34;
  expectRejected(wrongMagic, "magic.3ds");

  // The top chunk claims more than the entry holds.
  Bytes tooLong = model;
  tooLong[4] = 0x7f;
  expectRejected(tooLong, "long.3ds");

  // A zero-sized chunk would have the parser re-read it for ever.
  Bytes stuck = join({chunk(0x4D4D, join({chunk(0x0002, {3, 0, 0, 0}), chunk(0x1234, {})}))});
  stuck[6 + 10 + 2] = 0;  // size of the second inner chunk
  expectRejected(stuck, "stuck.3ds");

  // A keyframe track announcing two billion keys, then the entry ends.
  Bytes header = {'N', 'o', 'd', 'e', 0};
  putWord(&header, 0);
  putWord(&header, 0);
  putWord(&header, 0xffff);
  Bytes track;
  putWord(&track, 0);
  putDword(&track, 0);
  putDword(&track, 0);
  putDword(&track, 0x7fffffff);
  Bytes keys = chunk(0x4D4D, chunk(0xB000, chunk(0xB002, join({chunk(0xB010, header),
                                                                chunk(0xB020, track)}))));
  expectRejected(keys, "keys.3ds");

  // Random garbage after a valid magic.
  Bytes noise = chunk(0x4D4D, Bytes(200, 0xA5));
  expectRejected(noise, "noise.3ds");
}

TEST_F(Scene3dsCorrupt, FlippedBytesNeverCrashTheLoader) {
  // Every mutant either loads whole, with faces inside their point lists,
  // or is refused with the box.
  std::minstd_rand bits(7);
  int refused = 0;
  for (int round = 0; round < 400; ++round) {
    Bytes mutant = model;
    int flips = 1 + static_cast<int>(bits() % 4);
    for (int i = 0; i < flips; ++i) mutant[bits() % mutant.size()] ^= 1u << (bits() % 8);
    boxes.clear();
    Lib3dsFile* file = read3dsFromMemory(mutant.data(), static_cast<int32_t>(mutant.size()), "m");
    if (file) {
      for (Lib3dsMesh* mesh = file->meshes; mesh; mesh = mesh->next)
        for (Lib3dsDword f = 0; f < mesh->faces; ++f)
          for (int c = 0; c < 3; ++c) ASSERT_LT(mesh->faceL[f].points[c], mesh->points);
      lib3ds_file_eval(file, 10.0f);
      lib3ds_file_free(file);
      EXPECT_TRUE(boxes.empty());
    } else {
      ++refused;
      EXPECT_EQ(boxes.size(), 1u);
    }
  }
  EXPECT_GT(refused, 0);
}

TEST_F(Scene3dsCorrupt, MemoryStreamSeeksWithinTheEntry) {
  const unsigned char data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  MemoryStream3ds stream;
  stream.data = data;
  stream.size = 8;
  Lib3dsIo* io = newMemoryIo3ds(&stream);
  ASSERT_NE(io, nullptr);
  lib3ds_io_seek(io, 0, LIB3DS_SEEK_END);
  EXPECT_EQ(lib3ds_io_tell(io), 8);
  lib3ds_io_seek(io, 3, LIB3DS_SEEK_SET);
  lib3ds_io_seek(io, 2, LIB3DS_SEEK_CUR);
  EXPECT_EQ(lib3ds_io_tell(io), 5);
  EXPECT_EQ(lib3ds_io_read_byte(io), 6);
  EXPECT_FALSE(lib3ds_io_error(io));
  // Reading past the end gives zeros for the missing bytes and flags it.
  unsigned char buffer[4] = {9, 9, 9, 9};
  EXPECT_EQ(lib3ds_io_read(io, buffer, 4), 2u);
  EXPECT_EQ(buffer[0], 7);
  EXPECT_EQ(buffer[1], 8);
  EXPECT_EQ(buffer[2], 0);
  EXPECT_EQ(buffer[3], 0);
  EXPECT_TRUE(lib3ds_io_error(io));
  EXPECT_EQ(lib3ds_io_write(io, buffer, 4), 0u);
  lib3ds_io_free(io);

  // Re-reading the same bytes over and over (a chunk loop that never
  // advances) runs out of its read allowance.
  MemoryStream3ds looping;
  looping.data = data;
  looping.size = 8;
  io = newMemoryIo3ds(&looping);
  for (int i = 0; i < 10000 && !lib3ds_io_error(io); ++i) {
    lib3ds_io_seek(io, 0, LIB3DS_SEEK_SET);
    lib3ds_io_read(io, buffer, 4);
  }
  EXPECT_TRUE(lib3ds_io_error(io));
  lib3ds_io_free(io);

  MemoryStream3ds before;
  before.data = data;
  before.size = 8;
  io = newMemoryIo3ds(&before);
  lib3ds_io_seek(io, -1, LIB3DS_SEEK_SET);
  EXPECT_TRUE(lib3ds_io_error(io));
  lib3ds_io_free(io);
}

TEST_F(Scene3dsCorrupt, RegistryReportsBadEntriesAndBadLooseFiles) {
  // An archive entry that is not a model at all.
  ResourceRegistry packed;
  packed.usePack = true;
  packed.packName = std::string(ZOLT_OUTPUT_DIR) + "/trov.qz5";
  boxes.clear();
  EXPECT_EQ(packed.load3ds("demo.cfg"), nullptr);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "3DS Load error");
  EXPECT_EQ(boxes[0].text, "demo.cfg");

  // A loose model cut short.
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "zolt_corrupt3ds";
  std::filesystem::create_directories(dir);
  {
    std::ofstream out(dir / "cut.3ds", std::ios::binary);
    out.write(reinterpret_cast<const char*>(model.data()), model.size() / 2);
  }
  ResourceRegistry loose;
  loose.rootPath = dir.string() + "/";
  boxes.clear();
  Scene3ds scene("cut.3ds", &loose);
  EXPECT_EQ(scene.file, nullptr);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "cut.3ds");
  std::filesystem::remove_all(dir);
}

namespace {

Bytes text(const std::string& s, bool terminated = true) {
  Bytes b(s.begin(), s.end());
  if (terminated) b.push_back(0);
  return b;
}

Bytes floats(int n) { return Bytes(static_cast<size_t>(n) * 4, 0); }

// A file with one named object, wrapped as lib3ds expects, plus `extra`
// chunks in the editor data and `keyframes` in the keyframe data.
// "Text01", a mesh with no points and no faces, for keyframe nodes to name.
Bytes emptyMesh() {
  return chunk(0x4000, join({text("Text01"), chunk(0x4100, join({chunk(0x4110, {0, 0}), chunk(0x4120, {0, 0})}))}));
}

Bytes fileWith(const Bytes& extra, const Bytes& keyframes) {
  Bytes mdata = join({chunk(0x3D3E, {3, 0, 0, 0}), extra});
  return chunk(0x4D4D, join({chunk(0x0002, {3, 0, 0, 0}), chunk(0x3D3D, mdata),
                             chunk(0xB000, keyframes)}));
}

Bytes keyframeHeader(const Bytes& name) { return chunk(0xB00A, join({{5, 0}, name, {100, 0, 0, 0}})); }

}  // namespace

// Every chunk whose name lib3ds copies into a fixed buffer: a name that does
// not end inside its chunk, or is longer than lib3ds allows there, is
// refused before lib3ds sees the file (it would give up halfway through).
TEST_F(Scene3dsCorrupt, NamesThatDoNotFitAreRefused) {
  const std::string longName(64, 'n');
  const Bytes mesh = chunk(0x4100, join({chunk(0x4110, {0, 0}), chunk(0x4120, {0, 0})}));
  // The well-formed versions load: the checks refuse only what lib3ds would.
  const Bytes goodKf = keyframeHeader(text("twelve chars"));
  Lib3dsFile* file = read3dsFromMemory(fileWith({}, goodKf).data(),
                                       static_cast<int32_t>(fileWith({}, goodKf).size()), "kfhdr.3ds");
  ASSERT_NE(file, nullptr);
  lib3ds_file_free(file);
  const Bytes goodMaterial =
      chunk(0xAFFF, join({chunk(0xA000, text("steel")), chunk(0xA200, chunk(0xA300, text("steel.jpg")))}));
  file = read3dsFromMemory(fileWith(goodMaterial, {}).data(),
                           static_cast<int32_t>(fileWith(goodMaterial, {}).size()), "material.3ds");
  ASSERT_NE(file, nullptr);
  lib3ds_file_free(file);

  struct Case {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"keyframe header name unterminated", fileWith({}, chunk(0xB00A, join({{5, 0}, text("abc", false)})))},
      {"keyframe header name of 13", fileWith({}, keyframeHeader(text("thirteen char")))},
      {"keyframe header without frames", fileWith({}, chunk(0xB00A, join({{5, 0}, text("a")})))},
      {"material name", fileWith(chunk(0xAFFF, chunk(0xA000, text(longName))), {})},
      {"texture map name", fileWith(chunk(0xAFFF, chunk(0xA200, chunk(0xA300, text("x", false)))), {})},
      {"background picture", fileWith(chunk(0x1100, text("sky", false)), {})},
      {"box map names",
       fileWith(chunk(0x4000, join({text("Box"), chunk(0x4100, join({chunk(0x4110, {0, 0}), chunk(0x4120, {0, 0}),
                                                                     chunk(0x4190, join({text("a"), text("b")}))}))})),
                {})},
      {"spot projector",
       fileWith(chunk(0x4000, join({text("Spot"),
                                    chunk(0x4600, join({floats(3), chunk(0x4610, join({floats(5), chunk(0x4653, text(longName))}))}))})),
                {})},
      {"instance name",
       fileWith(chunk(0x4000, join({text("Text01"), mesh})),
                chunk(0xB002, join({chunk(0xB010, join({text("Text01"), {0, 0, 0, 0, 0xff, 0xff}})),
                                    chunk(0xB011, text(longName))})))},
  };
  for (const Case& c : cases) expectRejected(c.bytes, c.what);
  EXPECT_EQ(lib3dsChunkNesting(), 0);
}

// lib3ds keeps a process-wide record of the chunks it has open, one level
// deeper for every read that gives up; left alone, a few dozen failures
// overflow it and abort the process. The same bad file a hundred times
// fails cleanly every time, and the record is back at zero after each.
TEST_F(Scene3dsCorrupt, HundredFailedLoadsLeaveLib3dsAsTheyFoundIt) {
  ASSERT_EQ(lib3dsChunkNesting(), 0);
  const Bytes bad = fileWith({}, chunk(0xB00A, join({{5, 0}, text(std::string(40, 'k'))})));
  for (int i = 0; i < 100; ++i) {
    expectRejected(bad, "kfhdr.3ds");
    ASSERT_EQ(lib3dsChunkNesting(), 0) << "load " << i;
  }
  // Straight into lib3ds, past the checks: the loader's own clean-up (the
  // same as read3dsFromMemory's) takes the record back to zero each time.
  for (int i = 0; i < 100; ++i) {
    MemoryStream3ds stream;
    stream.data = bad.data();
    stream.size = static_cast<int32_t>(bad.size());
    Lib3dsIo* io = newMemoryIo3ds(&stream);
    Lib3dsFile* file = lib3ds_file_new();
    EXPECT_FALSE(lib3ds_file_read(file, io));
    EXPECT_GT(lib3dsChunkNesting(), 0);
    closeLib3dsChunks(io);
    ASSERT_EQ(lib3dsChunkNesting(), 0) << "read " << i;
    lib3ds_file_free(file);
    lib3ds_io_free(io);
  }
  Lib3dsFile* file = read3dsFromMemory(model.data(), static_cast<int32_t>(model.size()), "zolt.3ds");
  EXPECT_NE(file, nullptr);
  if (file) lib3ds_file_free(file);
}

// lib3ds numbers the nodes of a keyframe section in order when no id chunk
// gives one; a node whose header names that number as its parent is its own
// parent, and lib3ds would recurse until the stack runs out. (Found by the
// 3DS fuzzer: the check had taken such a node's id to be 0.)
TEST_F(Scene3dsCorrupt, NodeThatIsItsOwnParentByNumberIsRefused) {
  auto node = [](const char* name, unsigned parent) {
    return chunk(0xB002, chunk(0xB010, join({text(name), {0, 0, 0, 0}, {static_cast<unsigned char>(parent),
                                                                      static_cast<unsigned char>(parent >> 8)}})));
  };
  const Bytes mesh = emptyMesh();
  // Node 0 at the top, node 1 under node 0: loads.
  Bytes good = fileWith(mesh, join({node("Text01", 0xFFFF), node("Text01", 0)}));
  Lib3dsFile* file = read3dsFromMemory(good.data(), static_cast<int32_t>(good.size()), "nodes.3ds");
  ASSERT_NE(file, nullptr);
  lib3ds_file_free(file);
  // Node 1 under node 1.
  expectRejected(fileWith(mesh, join({node("Text01", 0xFFFF), node("Text01", 1)})), "nodes.3ds");
  EXPECT_EQ(lib3dsChunkNesting(), 0);
}

// A repeating track is wrapped into its keys' frame range before lib3ds
// looks for the two keys around the frame; keys out of order left it
// reading past the last one. (Found by the 3DS fuzzer.)
TEST_F(Scene3dsCorrupt, RepeatingTrackWithKeysOutOfOrderIsRefused) {
  auto node = [](unsigned trackFlags, unsigned first, unsigned second) {
    Bytes track;
    putWord(&track, trackFlags);
    track.insert(track.end(), 8, 0);
    putDword(&track, 2);
    for (unsigned frame : {first, second}) {
      putDword(&track, frame);
      putWord(&track, 0);
      track.insert(track.end(), 12, 0);
    }
    return chunk(0xB002, join({chunk(0xB010, join({text("Text01"), {0, 0, 0, 0, 0xFF, 0xFF}})), chunk(0xB020, track)}));
  };
  const Bytes mesh = emptyMesh();
  for (unsigned flags : {0u, 1u}) {
    Bytes ordered = fileWith(mesh, node(flags, 0, 10));
    Lib3dsFile* file = read3dsFromMemory(ordered.data(), static_cast<int32_t>(ordered.size()), "track.3ds");
    ASSERT_NE(file, nullptr) << flags;
    lib3ds_file_eval(file, 25.0f);
    lib3ds_file_free(file);
  }
  expectRejected(fileWith(mesh, node(1, 10, 0)), "track.3ds");
  expectRejected(fileWith(mesh, node(1, 0, 1u << 30)), "track.3ds");
}
