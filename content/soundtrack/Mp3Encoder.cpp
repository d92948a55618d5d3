// Mp3Encoder: constant bit rate LAME encoding with the gapless tag patched
// into the first frame once the padding is known.
#include "Mp3Encoder.h"

#include <lame/lame.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace soundtrack {

namespace {

struct LameDeleter {
  void operator()(lame_global_flags* flags) const { lame_close(flags); }
};
struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};

}  // namespace

bool writeMp3(const Bus& bus, const std::string& path, int kilobitsPerSecond) {
  std::unique_ptr<lame_global_flags, LameDeleter> lame(lame_init());
  if (!lame) {
    std::fprintf(stderr, "soundtrack: lame_init failed\n");
    return false;
  }
  lame_set_in_samplerate(lame.get(), kSampleRate);
  lame_set_out_samplerate(lame.get(), kSampleRate);
  lame_set_num_channels(lame.get(), 2);
  lame_set_mode(lame.get(), JOINT_STEREO);
  lame_set_brate(lame.get(), kilobitsPerSecond);
  lame_set_VBR(lame.get(), vbr_off);
  // Quality 7 keeps the build fast; at 192 kbit/s the difference from the
  // slower searches is not audible in this material.
  lame_set_quality(lame.get(), 7);
  lame_set_bWriteVbrTag(lame.get(), 1);
  lame_set_write_id3tag_automatic(lame.get(), 0);
  if (lame_init_params(lame.get()) < 0) {
    std::fprintf(stderr, "soundtrack: lame_init_params failed\n");
    return false;
  }

  std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) {
    std::fprintf(stderr, "soundtrack: cannot create %s\n", path.c_str());
    return false;
  }

  constexpr int kBlock = 8192;
  std::vector<unsigned char> out(size_t(1.25 * kBlock) + 7200);
  bool ok = true;
  for (size_t at = 0; at < bus.frames() && ok; at += kBlock) {
    int count = int(std::min<size_t>(kBlock, bus.frames() - at));
    int bytes = lame_encode_buffer_ieee_float(lame.get(), &bus.left[at], &bus.right[at], count,
                                              out.data(), int(out.size()));
    ok = bytes >= 0 && std::fwrite(out.data(), 1, size_t(bytes), file.get()) == size_t(bytes);
  }
  if (ok) {
    int bytes = lame_encode_flush(lame.get(), out.data(), int(out.size()));
    ok = bytes >= 0 && std::fwrite(out.data(), 1, size_t(bytes), file.get()) == size_t(bytes);
  }
  // The tag frame was reserved at the start of the stream; fill it in now.
  if (ok) {
    unsigned char tag[2880];
    size_t tagSize = lame_get_lametag_frame(lame.get(), tag, sizeof tag);
    ok = tagSize > 0 && tagSize <= sizeof tag && std::fseek(file.get(), 0, SEEK_SET) == 0 &&
         std::fwrite(tag, 1, tagSize, file.get()) == tagSize;
  }
  if (ok) ok = std::fflush(file.get()) == 0;
  if (!ok) {
    std::fprintf(stderr, "soundtrack: encoding or writing %s failed\n", path.c_str());
    file.reset();
    std::remove(path.c_str());
  }
  return ok;
}

}  // namespace soundtrack
