// SoundDecoder: demux, decode and turn into interleaved 16-bit stereo.
#include "platform/SoundDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
}

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "platform/FileRead.h"

namespace platform {

namespace {

// Full scale is 32768, rounded to nearest and clipped, as libav converts.
int16_t toSample(float v) {
  const long scaled = std::lrintf(v * 32768.0f);
  return static_cast<int16_t>(std::max(-32768L, std::min(32767L, scaled)));
}

// Sample s of channel c of a decoded frame, as a float in -1..1.
float sampleOf(const AVFrame* frame, int c, int s) {
  const int frameChannels = frame->ch_layout.nb_channels;
  switch (frame->format) {
    case AV_SAMPLE_FMT_FLTP:
      return reinterpret_cast<const float*>(frame->extended_data[c])[s];
    case AV_SAMPLE_FMT_FLT:
      return reinterpret_cast<const float*>(frame->extended_data[0])[s * frameChannels + c];
    case AV_SAMPLE_FMT_S16P:
      return reinterpret_cast<const int16_t*>(frame->extended_data[c])[s] / 32768.0f;
    case AV_SAMPLE_FMT_S16:
      return reinterpret_cast<const int16_t*>(frame->extended_data[0])[s * frameChannels + c] /
             32768.0f;
    case AV_SAMPLE_FMT_S32P:
      return reinterpret_cast<const int32_t*>(frame->extended_data[c])[s] / 2147483648.0f;
    default:
      return 0.0f;
  }
}

// NOTE: a damaged or foreign file makes libav complain once a frame (a
// random file, hundreds of lines). While a sound file is read only its
// first complaint is kept: it joins the error when the file does not open,
// or becomes one line naming the file when it does; the rest is dropped.
// Other libav users keep the default output.
const std::string* soundBeingRead = nullptr;
bool soundComplained = false;
bool soundOpening = false;
std::string firstComplaint;

void printComplaint() {
  std::printf("Sound file %s is damaged (%s); later complaints about it are not shown\n",
              soundBeingRead->c_str(), firstComplaint.c_str());
  std::fflush(stdout);
}

void logOnce(void* context, int level, const char* format, va_list arguments) {
  if (!soundBeingRead) {
    av_log_default_callback(context, level, format, arguments);
    return;
  }
  if (level > AV_LOG_ERROR || soundComplained) return;
  soundComplained = true;
  char text[256];
  std::vsnprintf(text, sizeof text, format, arguments);
  firstComplaint = text;
  while (!firstComplaint.empty() && (firstComplaint.back() == '\n' || firstComplaint.back() == ' '))
    firstComplaint.pop_back();
  if (!soundOpening) printComplaint();
}

// Routes libav's log to logOnce while it reads `path`.
class ReadingSound {
 public:
  ReadingSound(const std::string& path, bool opening) {
    av_log_set_callback(logOnce);
    soundBeingRead = &path;
    soundOpening = opening;
  }
  ~ReadingSound() {
    soundBeingRead = nullptr;
    soundOpening = false;
  }
  ReadingSound(const ReadingSound&) = delete;
  ReadingSound& operator=(const ReadingSound&) = delete;
};

// Bounds on finding the file's streams.
const char* const kProbeBytes = "1000000";
const char* const kProbeMicroseconds = "2000000";
constexpr std::chrono::seconds kOpeningLimit(10);

int openingTooLong(void* deadline) {
  return std::chrono::steady_clock::now() > *static_cast<std::chrono::steady_clock::time_point*>(deadline);
}

bool formatSupported(int format) {
  return format == AV_SAMPLE_FMT_FLTP || format == AV_SAMPLE_FMT_FLT ||
         format == AV_SAMPLE_FMT_S16P || format == AV_SAMPLE_FMT_S16 ||
         format == AV_SAMPLE_FMT_S32P;
}

}  // namespace

struct SoundDecoder::State {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  int streamIndex = -1;
  bool ended = false;
  std::vector<int16_t> pending;  // decoded, not yet handed out
  size_t pendingStart = 0;
  std::string error;
  std::string path;
  std::chrono::steady_clock::time_point openDeadline;

  void release() {
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    av_packet_free(&packet);
    av_frame_free(&frame);
    pending.clear();
    pendingStart = 0;
    ended = false;
  }

  // Opens the file's sound stream and its decoder; false after fail().
  bool openStreams();

  bool fail(const std::string& what) {
    error = what;
    release();
    return false;
  }

  // Moves every decoded frame into `pending`.
  void takeFrames() {
    while (avcodec_receive_frame(codec, frame) >= 0) {
      const int frameChannels = frame->ch_layout.nb_channels;
      if (formatSupported(frame->format) && frameChannels > 0) {
        for (int s = 0; s < frame->nb_samples; ++s) {
          const float left = sampleOf(frame, 0, s);
          const float right = frameChannels > 1 ? sampleOf(frame, 1, s) : left;
          pending.push_back(toSample(left));
          pending.push_back(toSample(right));
        }
      }
      av_frame_unref(frame);
    }
  }

  // Decodes until more samples are pending or the file has ended.
  void decodeMore() {
    while (!ended) {
      const int result = av_read_frame(format, packet);
      if (result < 0) {
        avcodec_send_packet(codec, nullptr);
        takeFrames();
        ended = true;
        return;
      }
      if (packet->stream_index == streamIndex && avcodec_send_packet(codec, packet) >= 0) {
        av_packet_unref(packet);
        const size_t before = pending.size();
        takeFrames();
        if (pending.size() > before) return;
      } else {
        av_packet_unref(packet);
      }
    }
  }
};

SoundDecoder::SoundDecoder() : state(new State) {}

SoundDecoder::~SoundDecoder() {
  state->release();
  delete state;
}

bool SoundDecoder::open(const std::string& path) {
  State& s = *state;
  s.release();
  s.error.clear();
  s.path = path;
  soundComplained = false;
  firstComplaint.clear();
  ReadingSound quietly(s.path, true);
  if (!s.openStreams()) {
    if (!firstComplaint.empty()) s.error += " (" + firstComplaint + ")";
    return false;
  }
  if (soundComplained) printComplaint();
  return true;
}

bool SoundDecoder::State::openStreams() {
  State& s = *this;
  // Only a regular file of sane size is handed to the demuxer: on a device
  // or a pipe its probing never ends.
  const std::string problem = regularFileProblem(path.c_str(), kSoundFileLimit);
  if (!problem.empty()) return s.fail(path + " " + problem);
  // NOTE: the probing reads are bounded in bytes and in stream time, and the
  // whole opening in wall-clock time, so no file can hold the start-up.
  s.format = avformat_alloc_context();
  if (s.format == nullptr) return s.fail("out of memory");
  s.format->interrupt_callback = AVIOInterruptCB{openingTooLong, &s.openDeadline};
  s.openDeadline = std::chrono::steady_clock::now() + kOpeningLimit;
  AVDictionary* options = nullptr;
  av_dict_set(&options, "probesize", kProbeBytes, 0);
  av_dict_set(&options, "formatprobesize", kProbeBytes, 0);
  av_dict_set(&options, "analyzeduration", kProbeMicroseconds, 0);
  const int opened = avformat_open_input(&s.format, path.c_str(), nullptr, &options);
  av_dict_free(&options);
  if (opened < 0) return s.fail("cannot open " + path);
  const int found = avformat_find_stream_info(s.format, nullptr);
  // Decoding the file later is bounded by the recording's length instead.
  // NOTE: the file's reader keeps its own copy of the callback, so the
  // deadline itself is lifted; clearing the callback would leave the reader
  // cutting the sound short once the recording outlasts the opening limit.
  s.openDeadline = std::chrono::steady_clock::time_point::max();
  if (found < 0) return s.fail(path + " holds no sound");
  const AVCodec* decoder = nullptr;
  s.streamIndex = av_find_best_stream(s.format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
  if (s.streamIndex < 0 || decoder == nullptr) return s.fail(path + " holds no sound");
  s.codec = avcodec_alloc_context3(decoder);
  if (s.codec == nullptr ||
      avcodec_parameters_to_context(s.codec, s.format->streams[s.streamIndex]->codecpar) < 0 ||
      avcodec_open2(s.codec, decoder, nullptr) < 0)
    return s.fail("cannot decode " + path);
  if (s.codec->sample_rate != sampleRate)
    return s.fail(path + " is not at " + std::to_string(sampleRate) + " Hz");
  s.packet = av_packet_alloc();
  s.frame = av_frame_alloc();
  if (s.packet == nullptr || s.frame == nullptr) return s.fail("out of memory");
  return true;
}

void SoundDecoder::read(int64_t frames, std::vector<int16_t>& out) {
  State& s = *state;
  size_t wanted = static_cast<size_t>(std::max<int64_t>(frames, 0)) * channels;
  while (wanted > 0) {
    if (s.pendingStart >= s.pending.size()) {
      s.pending.clear();
      s.pendingStart = 0;
      if (s.codec != nullptr) {
        ReadingSound quietly(s.path, false);
        s.decodeMore();
      }
      if (s.pending.empty()) break;
    }
    const size_t take = std::min(wanted, s.pending.size() - s.pendingStart);
    out.insert(out.end(), s.pending.begin() + s.pendingStart,
               s.pending.begin() + s.pendingStart + take);
    s.pendingStart += take;
    wanted -= take;
  }
  out.insert(out.end(), wanted, 0);
}

bool SoundDecoder::isOpen() const { return state->codec != nullptr; }

const std::string& SoundDecoder::lastError() const { return state->error; }

}  // namespace platform
