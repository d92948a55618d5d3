// VideoEncoder: the codec table and the libav calls behind it.
#include "platform/VideoEncoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/SoundDecoder.h"

namespace platform {

namespace {

// How each choice is set up. `quality` is a fixed quantiser for the codecs
// that take one (lower is better), `crf` the constant-quality level of
// libx264; both chosen so thin bright lines on black stay crisp.
struct CodecSetup {
  VideoCodecInfo info;
  const char* encoder;
  AVPixelFormat pixelFormat;
  uint32_t fourcc;  // 0 keeps libavformat's own tag
  int quality;
  const char* crf;
  const char* preset;
};

constexpr uint32_t fourcc(char a, char b, char c, char d) {
  return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
         uint32_t(uint8_t(d)) << 24;
}

const CodecSetup kCodecs[] = {
    {{"mpeg4", "MPEG-4 part 2 (XVID), plays nearly everywhere; the default", false},
     "mpeg4", AV_PIX_FMT_YUV420P, fourcc('X', 'V', 'I', 'D'), 3, nullptr, nullptr},
    {{"h264", "H.264 (libx264), smallest files at high quality", false},
     "libx264", AV_PIX_FMT_YUV420P, fourcc('H', '2', '6', '4'), 0, "16", "veryfast"},
    {{"mjpeg", "Motion JPEG, every frame a key frame; easy to edit", false},
     "mjpeg", AV_PIX_FMT_YUVJ420P, fourcc('M', 'J', 'P', 'G'), 3, nullptr, nullptr},
    {{"ffv1", "FFV1, lossless RGB", true},
     "ffv1", AV_PIX_FMT_BGR0, 0, 0, nullptr, nullptr},
    {{"huffyuv", "HuffYUV, lossless RGB, fast", true},
     "huffyuv", AV_PIX_FMT_RGB24, 0, 0, nullptr, nullptr},
    {{"raw", "uncompressed 24-bit RGB, very large", true},
     "rawvideo", AV_PIX_FMT_BGR24, 0, 0, nullptr, nullptr},
};

const CodecSetup* findSetup(const char* name) {
  if (!name) return nullptr;
  for (const CodecSetup& setup : kCodecs)
    if (std::string(setup.info.name) == name) return &setup;
  return nullptr;
}

std::string avError(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

// The containers a recording's name can pick, by extension.
struct ContainerSetup {
  const char* name;       // what containerForFile returns
  const char* extension;  // lower case, with its dot
  const char* muxer;      // libavformat's name
};

const ContainerSetup kContainers[] = {
    {"avi", ".avi", "avi"},
    {"mkv", ".mkv", "matroska"},
    {"mp4", ".mp4", "mp4"},
};

const ContainerSetup& containerSetup(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of('/');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
    std::string extension = path.substr(dot);
    for (char& c : extension) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    for (const ContainerSetup& setup : kContainers)
      if (extension == setup.extension) return setup;
  }
  return kContainers[0];
}

// AAC in frames of the encoder's size, at this rate.
constexpr int64_t kAacBitRate = 192000;

}  // namespace

const char* containerForFile(const std::string& path) { return containerSetup(path).name; }

const std::vector<VideoCodecInfo>& videoCodecs() {
  static const std::vector<VideoCodecInfo> list = [] {
    std::vector<VideoCodecInfo> out;
    for (const CodecSetup& setup : kCodecs) out.push_back(setup.info);
    return out;
  }();
  return list;
}

bool videoCodecAvailable(const char* name) {
  const CodecSetup* setup = findSetup(name);
  return setup && avcodec_find_encoder_by_name(setup->encoder) != nullptr;
}

struct VideoEncoder::State {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVStream* stream = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  SwsContext* convert = nullptr;
  int width = 0, height = 0, fps = 0;
  bool opened = false;         // the file exists and takes frames
  bool headerWritten = false;  // written with the first frame, once every stream is known
  // The soundtrack, when one is added: decoded samples follow the frames.
  SoundDecoder sound;
  AVStream* audio = nullptr;
  int64_t firstFrame = -1;
  int64_t samplesWritten = 0;
  std::vector<int16_t> samples;
  // Where the container takes no PCM (MP4), the sound is encoded as AAC:
  // samples wait here until a whole encoder frame is ready.
  AVCodecContext* soundCodec = nullptr;
  AVFrame* soundFrame = nullptr;
  std::vector<int16_t> soundWaiting;
  int64_t soundPts = 0;
  bool mp4 = false;
  std::string path;
  std::string error;

  // Frees everything; the file (if created) is closed but left as it is.
  void release() {
    if (format && format->pb) avio_closep(&format->pb);
    avformat_free_context(format);
    format = nullptr;
    stream = nullptr;
    avcodec_free_context(&codec);
    avcodec_free_context(&soundCodec);
    av_frame_free(&soundFrame);
    soundWaiting.clear();
    soundPts = 0;
    av_frame_free(&frame);
    av_packet_free(&packet);
    sws_freeContext(convert);
    convert = nullptr;
    opened = headerWritten = false;
    audio = nullptr;
    firstFrame = -1;
    samplesWritten = 0;
  }

  bool writeHeader() {
    if (headerWritten) return true;
    AVDictionary* options = nullptr;
    // NOTE: the index at the front lets a browser play an MP4 while it loads.
    if (mp4) av_dict_set(&options, "movflags", "+faststart", 0);
    const int result = avformat_write_header(format, &options);
    av_dict_free(&options);
    if (result < 0) return fail("cannot write the header of " + path + ": " + avError(result));
    headerWritten = true;
    return true;
  }

  // Writes the soundtrack up to the end of frame `frameNumber`, so sound and
  // picture stay interleaved and the sound ends with the last frame.
  bool writeSoundUpTo(int64_t frameNumber) {
    if (audio == nullptr) return true;
    if (firstFrame < 0) firstFrame = frameNumber;
    const int64_t target = (frameNumber + 1 - firstFrame) * SoundDecoder::sampleRate / fps;
    const int64_t count = target - samplesWritten;
    if (count <= 0) return true;
    samples.clear();
    sound.read(count, samples);
    samplesWritten = target;
    if (soundCodec != nullptr) {
      soundWaiting.insert(soundWaiting.end(), samples.begin(), samples.end());
      return encodeWaitingSound(false);
    }
    const int bytes = static_cast<int>(samples.size() * sizeof(int16_t));
    if (av_new_packet(packet, bytes) < 0) return fail("out of memory");
    std::memcpy(packet->data, samples.data(), bytes);
    packet->pts = packet->dts = samplesWritten;
    packet->duration = count;
    packet->stream_index = audio->index;
    av_packet_rescale_ts(packet, AVRational{1, SoundDecoder::sampleRate}, audio->time_base);
    const int result = av_interleaved_write_frame(format, packet);
    if (result < 0) return fail("writing " + path + " failed: " + avError(result));
    return true;
  }

  // Encodes the waiting samples a whole encoder frame at a time; `last`
  // also sends the short rest and drains the encoder.
  bool encodeWaitingSound(bool last) {
    const int channels = SoundDecoder::channels;
    const size_t frameSamples = size_t(soundCodec->frame_size) * channels;
    size_t used = 0;
    while (soundWaiting.size() - used >= frameSamples ||
           (last && soundWaiting.size() > used)) {
      const size_t take = std::min(frameSamples, soundWaiting.size() - used);
      if (av_frame_make_writable(soundFrame) < 0) return fail("out of memory");
      soundFrame->nb_samples = int(take / channels);
      for (int c = 0; c < channels; ++c) {
        float* plane = reinterpret_cast<float*>(soundFrame->data[c]);
        for (int i = 0; i < soundFrame->nb_samples; ++i)
          plane[i] = soundWaiting[used + size_t(i) * channels + c] / 32768.0f;
      }
      soundFrame->pts = soundPts;
      soundPts += soundFrame->nb_samples;
      used += take;
      const int result = avcodec_send_frame(soundCodec, soundFrame);
      if (result < 0) return fail("encoding the sound failed: " + avError(result));
      if (!drainSoundPackets()) return false;
    }
    soundWaiting.erase(soundWaiting.begin(), soundWaiting.begin() + long(used));
    if (last) {
      const int result = avcodec_send_frame(soundCodec, nullptr);
      if (result < 0 && result != AVERROR_EOF)
        return fail("encoding the sound failed: " + avError(result));
      return drainSoundPackets();
    }
    return true;
  }

  bool drainSoundPackets() {
    for (;;) {
      int result = avcodec_receive_packet(soundCodec, packet);
      if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return true;
      if (result < 0) return fail("encoding the sound failed: " + avError(result));
      av_packet_rescale_ts(packet, soundCodec->time_base, audio->time_base);
      packet->stream_index = audio->index;
      result = av_interleaved_write_frame(format, packet);
      if (result < 0) return fail("writing " + path + " failed: " + avError(result));
    }
  }

  bool fail(const std::string& what) {
    error = what;
    return false;
  }

  // Moves every packet the encoder has ready into the file.
  bool drainPackets() {
    for (;;) {
      int result = avcodec_receive_packet(codec, packet);
      if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return true;
      if (result < 0) return fail("encoding failed: " + avError(result));
      av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
      packet->stream_index = stream->index;
      result = av_interleaved_write_frame(format, packet);
      if (result < 0) return fail("writing " + path + " failed: " + avError(result));
    }
  }
};

VideoEncoder::VideoEncoder() : state(new State) {}

VideoEncoder::~VideoEncoder() {
  close();
  delete state;
}

bool VideoEncoder::open(const std::string& path, const char* codecName, int fps, int width,
                        int height) {
  close();
  // libav's own chatter (encoder banners, statistics) would drown the
  // show's few diagnostic lines; real errors come back through lastError().
  av_log_set_level(AV_LOG_ERROR);
  State& s = *state;
  s.path = path;
  s.error.clear();
  const CodecSetup* setup = findSetup(codecName);
  if (!setup) return s.fail(std::string("unknown codec \"") + (codecName ? codecName : "") + "\"");
  if (fps <= 0 || width <= 0 || height <= 0)
    return s.fail("bad frame format " + std::to_string(width) + "x" + std::to_string(height) + " at " +
                  std::to_string(fps) + " frames/s");
  const AVCodec* encoder = avcodec_find_encoder_by_name(setup->encoder);
  if (!encoder) return s.fail(std::string("this build of libavcodec has no ") + setup->encoder + " encoder");

  const ContainerSetup& container = containerSetup(path);
  int result = avformat_alloc_output_context2(&s.format, nullptr, container.muxer, path.c_str());
  if (result < 0 || !s.format)
    return s.fail(std::string("cannot set up a ") + container.name + " file: " + avError(result));
  const bool avi = std::string(container.name) == "avi";
  if (!avi && avformat_query_codec(s.format->oformat, encoder->id, FF_COMPLIANCE_NORMAL) != 1) {
    s.release();
    return s.fail(std::string("a .") + container.name + " file cannot hold " + setup->info.name +
                  " video; name the recording .mkv or .avi");
  }
  s.mp4 = std::string(container.name) == "mp4";

  s.codec = avcodec_alloc_context3(encoder);
  s.codec->width = width;
  s.codec->height = height;
  s.codec->pix_fmt = setup->pixelFormat;
  s.codec->time_base = AVRational{1, fps};
  s.codec->framerate = AVRational{fps, 1};
  s.codec->gop_size = fps;  // a key frame every second keeps seeking quick
  s.codec->max_b_frames = 0;
  s.codec->thread_count = 0;
  if (setup->quality > 0) {
    s.codec->flags |= AV_CODEC_FLAG_QSCALE;
    s.codec->global_quality = FF_QP2LAMBDA * setup->quality;
    s.codec->qmin = s.codec->qmax = setup->quality;
  }
  // The four-character codes are the AVI's; the other containers tag their
  // streams themselves and want the codec's set-up data in their header.
  if (setup->fourcc && avi) s.codec->codec_tag = setup->fourcc;
  if (s.format->oformat->flags & AVFMT_GLOBALHEADER) s.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  AVDictionary* options = nullptr;
  if (setup->crf) av_dict_set(&options, "crf", setup->crf, 0);
  if (setup->preset) av_dict_set(&options, "preset", setup->preset, 0);
  result = avcodec_open2(s.codec, encoder, &options);
  av_dict_free(&options);
  if (result < 0) {
    s.release();
    return s.fail(std::string("cannot open the ") + setup->info.name + " encoder for " +
                  std::to_string(width) + "x" + std::to_string(height) + ": " + avError(result));
  }

  s.stream = avformat_new_stream(s.format, nullptr);
  s.stream->time_base = s.codec->time_base;
  s.stream->avg_frame_rate = s.codec->framerate;
  avcodec_parameters_from_context(s.stream->codecpar, s.codec);

  s.frame = av_frame_alloc();
  s.frame->format = setup->pixelFormat;
  s.frame->width = width;
  s.frame->height = height;
  s.packet = av_packet_alloc();
  s.convert = sws_getContext(width, height, AV_PIX_FMT_BGRA, width, height, setup->pixelFormat,
                             SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (av_frame_get_buffer(s.frame, 0) < 0 || !s.packet || !s.convert) {
    s.release();
    return s.fail("out of memory setting up the encoder");
  }

  result = avio_open(&s.format->pb, path.c_str(), AVIO_FLAG_WRITE);
  if (result < 0) {
    s.release();
    return s.fail("cannot create " + path + ": " + avError(result));
  }
  s.opened = true;
  s.width = width;
  s.height = height;
  s.fps = fps;
  return true;
}

bool VideoEncoder::addSoundtrack(const std::string& soundPath) {
  State& s = *state;
  if (!s.opened || s.headerWritten || s.audio != nullptr)
    return s.fail("the soundtrack must be added before the first frame");
  if (!s.sound.open(soundPath)) return s.fail(s.sound.lastError());
  if (s.mp4) return openAacSound();
  s.audio = avformat_new_stream(s.format, nullptr);
  if (s.audio == nullptr) return s.fail("out of memory");
  s.audio->time_base = AVRational{1, SoundDecoder::sampleRate};
  AVCodecParameters* par = s.audio->codecpar;
  par->codec_type = AVMEDIA_TYPE_AUDIO;
  par->codec_id = AV_CODEC_ID_PCM_S16LE;
  par->sample_rate = SoundDecoder::sampleRate;
  av_channel_layout_default(&par->ch_layout, SoundDecoder::channels);
  par->format = AV_SAMPLE_FMT_S16;
  par->bits_per_coded_sample = 16;
  par->block_align = 2 * SoundDecoder::channels;
  par->bit_rate = int64_t(SoundDecoder::sampleRate) * 16 * SoundDecoder::channels;
  return true;
}

bool VideoEncoder::openAacSound() {
  State& s = *state;
  const AVCodec* aac = avcodec_find_encoder(AV_CODEC_ID_AAC);
  if (aac != nullptr) s.soundCodec = avcodec_alloc_context3(aac);
  bool ok = s.soundCodec != nullptr;
  if (ok) {
    s.soundCodec->sample_fmt = AV_SAMPLE_FMT_FLTP;
    s.soundCodec->sample_rate = SoundDecoder::sampleRate;
    av_channel_layout_default(&s.soundCodec->ch_layout, SoundDecoder::channels);
    s.soundCodec->bit_rate = kAacBitRate;
    s.soundCodec->time_base = AVRational{1, SoundDecoder::sampleRate};
    if (s.format->oformat->flags & AVFMT_GLOBALHEADER)
      s.soundCodec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    ok = avcodec_open2(s.soundCodec, aac, nullptr) >= 0;
  }
  if (ok) {
    s.soundFrame = av_frame_alloc();
    ok = s.soundFrame != nullptr;
  }
  if (ok) {
    s.soundFrame->format = AV_SAMPLE_FMT_FLTP;
    s.soundFrame->sample_rate = SoundDecoder::sampleRate;
    av_channel_layout_default(&s.soundFrame->ch_layout, SoundDecoder::channels);
    s.soundFrame->nb_samples = s.soundCodec->frame_size;
    ok = av_frame_get_buffer(s.soundFrame, 0) >= 0;
  }
  // NOTE: the stream is made only once its encoder works: a stream cannot
  // be taken back out of the file, and a half-made one spoils the header.
  if (ok) {
    s.audio = avformat_new_stream(s.format, nullptr);
    ok = s.audio != nullptr && avcodec_parameters_from_context(s.audio->codecpar, s.soundCodec) >= 0;
  }
  if (!ok) {
    avcodec_free_context(&s.soundCodec);
    av_frame_free(&s.soundFrame);
    return s.fail("this build of libavcodec cannot encode AAC sound for an MP4 file");
  }
  s.audio->time_base = AVRational{1, SoundDecoder::sampleRate};
  return true;
}

bool VideoEncoder::skipSound(double seconds) {
  State& s = *state;
  if (!s.opened || s.headerWritten || s.audio == nullptr || !(seconds >= 0.0)) return false;
  int64_t left = static_cast<int64_t>(seconds * SoundDecoder::sampleRate + 0.5);
  while (left > 0) {
    const int64_t chunk = std::min<int64_t>(left, SoundDecoder::sampleRate);
    s.samples.clear();
    s.sound.read(chunk, s.samples);
    left -= chunk;
  }
  s.samples.clear();
  return true;
}

bool VideoEncoder::writeFrame(const unsigned char* pixels, int64_t frameNumber) {
  State& s = *state;
  if (!s.opened || !pixels) return false;
  if (!s.writeHeader()) {
    std::string error = s.error;
    close();
    s.error = error;
    return false;
  }
  if (av_frame_make_writable(s.frame) < 0) {
    s.fail("out of memory");
    close();
    return false;
  }
  // The read-back is bottom row first; a negative stride from the last row
  // turns it the right way up during the conversion.
  const int stride = s.width * 4;
  const uint8_t* source[1] = {pixels + size_t(stride) * size_t(s.height - 1)};
  const int sourceStride[1] = {-stride};
  sws_scale(s.convert, source, sourceStride, 0, s.height, s.frame->data, s.frame->linesize);
  s.frame->pts = frameNumber;
  int result = avcodec_send_frame(s.codec, s.frame);
  bool ok = result >= 0 ? s.drainPackets() : s.fail("encoding failed: " + avError(result));
  ok = ok && s.writeSoundUpTo(frameNumber);
  if (!ok) {
    std::string error = s.error;
    close();
    s.error = error;
  }
  return ok;
}

bool VideoEncoder::close() {
  State& s = *state;
  if (!s.format) return true;
  // A file closed before its first frame still gets a header: it is a valid,
  // empty AVI.
  bool ok = !s.opened || s.writeHeader();
  if (s.headerWritten) {
    int result = avcodec_send_frame(s.codec, nullptr);
    ok = (result >= 0 || result == AVERROR_EOF) && s.drainPackets();
    if (s.soundCodec != nullptr) ok = s.encodeWaitingSound(true) && ok;
    result = av_write_trailer(s.format);
    if (result < 0 && ok) ok = s.fail("finishing " + s.path + " failed: " + avError(result));
  }
  s.release();
  return ok;
}

bool VideoEncoder::isOpen() const { return state->opened; }

const std::string& VideoEncoder::lastError() const { return state->error; }

}  // namespace platform
