// A few archive entries broken through the whole program (every entry is
// broken in one process by zolt_sweep, which also plays damaged content
// through): the message boxes on standard error, the recording and the exit
// status as a user meets them. Two cut short (the screen mask every run
// reads, a scene's model) and two damaged inside a valid stream (the show's
// settings text, the vertex program the swarm loads on this driver). Each
// copy runs headless past every scene's end (/t300: loading and a frame a
// scene): it must end by itself with status 0, with no sanitizer or runtime
// report, and every line it prints that a run on the intact archive does not
// print must name the broken entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

#include "ShowRun.h"
#include "show/PackDirectory.h"
#include "show/PackFile.h"
#include "support/DamagedArchive.h"

namespace fs = std::filesystem;
using namespace showrun;
using testsupport::Breakage;

namespace {

const char* const kSwitches = "/w /m /t300";

// The lines that say something about the run's content (progress lines
// carry timings that differ run to run).
std::vector<std::string> messageLines(const std::string& output) {
  std::vector<std::string> lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line.rfind("AVI: ", 0) != 0 && line != "AVI ended") lines.push_back(line);
  return lines;
}

// The entries broken, and how.
const struct {
  const char* entry;
  Breakage how;
} kBroken[] = {
    {"tvmask2.jpg", Breakage::CutShort},
    {"tunnel.3DS", Breakage::CutShort},
    {"demo.cfg", Breakage::Damaged},
    {"bugati.vpc", Breakage::Damaged},
};

struct Variant {
  std::string entry;
  std::string kind;
  Bytes archive;
};

class CorruptEntrySweep : public ::testing::Test {
 protected:
  void SetUp() override {
    archive = readBytes(std::string(ZOLT_OUTPUT_DIR) + "/trov.qz5");
    ASSERT_FALSE(archive.empty());
  }
  Bytes archive;
};

}  // namespace

TEST_F(CorruptEntrySweep, AFewBrokenEntriesAreSurvivedAndNamedByTheWholeProgram) {
  const PackDirectoryTable& dir = PackDirectory;
  std::vector<Variant> variants;
  for (const auto& broken : kBroken) {
    const int row = findPackEntry(dir, broken.entry);
    ASSERT_GE(row, 0) << broken.entry;
    Variant v{dir.names[row], testsupport::breakageName(broken.how),
              testsupport::brokenArchive(archive, dir, row, broken.how)};
    ASSERT_EQ(v.archive.size(), archive.size()) << "no broken copy of " << v.entry;
    variants.push_back(std::move(v));
  }

  // The intact archive's lines are the baseline.
  const std::string cleanFolder = freshFolder("sweep-intact");
  linkArchive(cleanFolder);
  linkMusic(cleanFolder);
  std::set<std::string> baseline;
  const Result clean = run(cleanFolder, kSwitches, "", 600);
  ASSERT_EQ(clean.status, 0) << clean.output;
  for (const std::string& line : messageLines(clean.output)) baseline.insert(line);
  fs::remove_all(cleanFolder);

  std::mutex lock;
  std::vector<std::string> failures;
  int noticed = 0;
  std::atomic<size_t> next{0};
  auto worker = [&] {
    for (size_t i = next++; i < variants.size(); i = next++) {
      const Variant& v = variants[i];
      std::string tag = v.entry + "-" + std::to_string(i);
      std::replace(tag.begin(), tag.end(), ' ', '_');
      const std::string folder = freshFolder("sweep-" + tag);
      writeBytes(folder + "/trov.qz5", v.archive);
      linkMusic(folder);
      const Result r = run(folder, kSwitches, "", 600);
      std::string problem;
      if (r.status != 0) problem = "status " + std::to_string(r.status);
      if (problem.empty()) problem = firstFault(r.output);
      const testsupport::NewLines said = testsupport::newLines(messageLines(r.output), baseline, v.entry);
      if (problem.empty() && !said.unnamed.empty()) problem = "a line without the entry's name: " + said.unnamed[0];
      std::lock_guard<std::mutex> hold(lock);
      noticed += said.named;
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
