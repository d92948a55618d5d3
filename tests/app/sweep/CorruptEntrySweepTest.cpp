// Every entry of the archive broken in turn, cut short and damaged (see
// support/DamagedArchive.h), and the show loaded from each copy in this
// process, through the registry's archive reading as the program loads it.
// Only the scenes that ask for the entry are built; an entry the show asks
// for itself (its settings, the screen mask, the loading picture) gets the
// whole show. Each copy is played as the program would play it: cut short,
// past every scene's end, a frame each on what they lack; damaged, the
// scenes through at a frame a second, since spoiled content may pass its
// decoder. The show must end by itself, and every line it prints or box it
// shows that the intact archive does not give must name the broken entry.
//
// One test an entry, so ctest can run the sweep in shards side by side
// (GTEST_TOTAL_SHARDS); each shard learns from the intact archive first. A
// crash, or a sanitizer report in the sanitized build of this binary, ends
// the process; the last "breaking" line on standard error names the copy.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "gfx/GlExtensions.h"
#include "scenes/ShowOrder.h"
#include "show/Demo.h"
#include "show/LoadingScreen.h"
#include "show/ResourceRegistry.h"
#include "support/DamagedArchive.h"
#include "support/GlTestContext.h"
#include "support/MessageLog.h"

using testsupport::Breakage;
using testsupport::Bytes;

namespace {

constexpr unsigned kEveryScene = 0xFFu;
// Frames before a show that has not ended counts as hung: the whole show at
// a frame a second is about 260.
constexpr int kFrameLimit = 600;

// What `body` prints on standard output, caught in a temporary file.
std::string printedDuring(const std::function<void()>& body) {
  std::fflush(stdout);
  FILE* sink = std::tmpfile();
  const int saved = dup(1);
  dup2(fileno(sink), 1);
  body();
  std::fflush(stdout);
  dup2(saved, 1);
  close(saved);
  std::string text;
  std::rewind(sink);
  for (int c = std::fgetc(sink); c != EOF; c = std::fgetc(sink)) text.push_back(static_cast<char>(c));
  std::fclose(sink);
  return text;
}

struct Played {
  bool ended = false;
  std::set<std::string> asked;     // entry names, lower case
  std::vector<std::string> lines;  // printed lines, then one per box line
};

// The show's order with only the scenes of `slots` (bit k: slot k).
ShowOrder onlySlots(unsigned slots) {
  ShowOrder order = showOrder;
  for (int slot = 0; slot < 8; ++slot)
    if (!(slots & (1u << slot))) order.slot[slot] = nullptr;
  return order;
}

// Loads the scenes of `slots` from `archive` and plays them on the capture
// clock as the program records: past their ends (cut short) or at a frame a
// second (damaged).
Played play(const std::string& archive, unsigned slots, Breakage how) {
  Played played;
  testsupport::MessageLog boxes;
  std::vector<std::string> asked;
  const std::string printed = printedDuring([&] {
    glViewport(0, 0, 640, 480);
    auto* registry = new ResourceRegistry();
    registry->usePack = true;
    registry->packName = archive;
    registry->good = 1;
    registry->entriesAsked = &asked;
    Demo demo(registry, onlySlots(slots));
    demo.useCaptureClock();
    const float fps = how == Breakage::CutShort ? 30.0f : 1.0f;
    if (how == Breakage::CutShort) demo.timeOffset = 300.0f;
    runLoadingSequence(demo, 0, 0);
    for (int frame = 0; frame < kFrameLimit && !played.ended; ++frame)
      played.ended = demo.render(static_cast<float>(frame) / fps) == 1;
    glFinish();
  });
  for (const std::string& name : asked) played.asked.insert(testsupport::lowerCase(name));
  std::istringstream out(printed);
  for (std::string line; std::getline(out, line);)
    if (!line.empty()) played.lines.push_back(line);
  for (const platform::MessageRecord& box : boxes.boxes) {
    std::istringstream text(box.text);
    for (std::string line; std::getline(text, line);)
      if (!line.empty()) played.lines.push_back("[" + box.caption + "] " + line);
  }
  return played;
}

// What the intact archive gives: which scene asks for which entry, what the
// show asks for with no scene at all, and every line either prints.
struct Intact {
  std::map<std::string, unsigned> askedBy;
  std::set<std::string> showOwn;
  std::set<std::string> lines;
  std::vector<int> scenesNeverEnding;  // slots (-1: none) whose show hung
};

class CorruptEntrySweep : public ::testing::TestWithParam<int> {
 public:
  static void SetUpTestSuite() {
    if (!testsupport::ensureGlContext()) return;
    archive = testsupport::readBytes(intactPath());
    if (archive.empty()) return;
    intact = new Intact();
    for (Breakage how : {Breakage::CutShort, Breakage::Damaged}) {
      for (int slot = -1; slot < 8; ++slot) {
        const Played p = play(intactPath(), slot < 0 ? 0u : 1u << slot, how);
        if (!p.ended) intact->scenesNeverEnding.push_back(slot);
        intact->lines.insert(p.lines.begin(), p.lines.end());
        for (const std::string& name : p.asked) {
          if (slot < 0) intact->showOwn.insert(name);
          else intact->askedBy[name] |= 1u << slot;
        }
      }
      const Played whole = play(intactPath(), kEveryScene, how);
      intact->lines.insert(whole.lines.begin(), whole.lines.end());
      // Read only when the scenes play together: the whole show for it.
      for (const std::string& name : whole.asked)
        if (!intact->showOwn.count(name) && !intact->askedBy[name]) intact->askedBy[name] = kEveryScene;
    }
  }
  static void TearDownTestSuite() {
    if (copies > 0) std::printf("%d of %d broken copies were noticed and named\n", noticed, copies);
    delete intact;
    intact = nullptr;
  }

 protected:
  void SetUp() override {
    ASSERT_NE(intact, nullptr) << "no GL context or no archive at " << intactPath();
    ASSERT_TRUE(intact->scenesNeverEnding.empty()) << "a scene on the intact archive never ended";
  }

  static std::string intactPath() { return std::string(ZOLT_OUTPUT_DIR) + "/trov.qz5"; }

  static inline Bytes archive;
  static inline Intact* intact = nullptr;
  static inline int copies = 0;
  static inline int noticed = 0;
};

}  // namespace

// Each scene of the show asks for something of its own, so the map of who
// reads what is not empty by mistake.
TEST_F(CorruptEntrySweep, EverySceneAsksForAnEntryOfItsOwn) {
  for (int slot = 0; slot < 8; ++slot) {
    bool own = false;
    for (const auto& [name, slots] : intact->askedBy) own |= (slots & (1u << slot)) && !intact->showOwn.count(name);
    EXPECT_TRUE(own) << "slot " << slot << " asked for no entry";
  }
}

TEST_P(CorruptEntrySweep, CutShortOrDamagedIsSurvivedAndNamed) {
  const PackDirectoryTable& dir = PackDirectory;
  const int row = GetParam();
  const std::string entry = testsupport::lowerCase(dir.names[row]);
  // An entry no scene asks for, or one the show asks for itself, gets the
  // whole show. One the intact show never read in either pace (a vertex
  // program for other drivers) cannot change what is drawn, so its copy is
  // only loaded and run a frame a scene.
  unsigned slots = intact->showOwn.count(entry) ? kEveryScene : intact->askedBy[entry];
  const bool neverRead = slots == 0;
  if (neverRead) slots = kEveryScene;
  const std::string broken = testing::TempDir() + "zolt-sweep-" + std::to_string(getpid()) + ".qz5";
  for (Breakage how : {Breakage::CutShort, Breakage::Damaged}) {
    if (neverRead && how == Breakage::Damaged) continue;
    const std::string what = std::string(dir.names[row]) + " " + testsupport::breakageName(how);
    const Bytes copy = testsupport::brokenArchive(archive, dir, row, how);
    ASSERT_EQ(copy.size(), archive.size()) << "no broken copy: " << what;
    testsupport::writeBytes(broken, copy);
    std::fprintf(stderr, "breaking %s (scenes 0x%02x)\n", what.c_str(), slots);
    const Played p = play(broken, slots, how);
    ++copies;
    EXPECT_TRUE(p.ended) << what << ": the show did not end";
    const testsupport::NewLines said = testsupport::newLines(p.lines, intact->lines, entry);
    for (const std::string& line : said.unnamed) ADD_FAILURE() << what << ": a line without the entry's name: " << line;
    noticed += said.named;
  }
  std::remove(broken.c_str());
}

// One test an entry, named after it ("tunnel_3DS").
INSTANTIATE_TEST_SUITE_P(Entries, CorruptEntrySweep, ::testing::Range(0, PackDirectory.count),
                         [](const ::testing::TestParamInfo<int>& info) {
                           std::string name = PackDirectory.names[info.param];
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });
