// JpegMarkers: start-of-image search, the marker reader and the header
// segments (frame, scan, quantisation, Huffman, restart interval).
#include <cstring>

#include "gfx/JpegDecoder.h"
#include "gfx/JpegIdct.h"

// Natural index of each zigzag position; the tail absorbs runs that
// overshoot the last coefficient in corrupt data.
const uint8_t kJpegZigzag[64 + 16] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33,
    40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36,
    29, 22, 15, 23, 30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54,
    47, 55, 62, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63};

namespace {

const int kSoiSearchLimit = 512;
const int kMaxDimension = 16384;
const int64_t kMaxPixels = int64_t(1) << 26;
const int kFastBits = 9;

bool isStartOfFrame(int marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

}  // namespace

void JpegDecoder::findStartOfImage() {
  int previous = nextByteOrEnd();
  int current = nextByteOrEnd();
  for (int scanned = 0; !(previous == 0xFF && current == 0xD8); ++scanned) {
    if (current < 0 || scanned >= kSoiSearchLimit) fail(kJpegNoStartOfImage);
    previous = current;
    current = nextByteOrEnd();
  }
}

int JpegDecoder::nextMarker() {
  for (;;) {
    int marker;
    if (pendingMarker) {
      marker = pendingMarker;
      pendingMarker = 0;
    } else {
      int b = nextByte();
      while (b != 0xFF) b = nextByte();
      do {
        b = nextByte();
      } while (b == 0xFF);
      if (b == 0) continue;  // a stuffed byte, not a marker
      marker = b;
    }
    if (isStartOfFrame(marker) || marker == 0xD8 || marker == 0xD9 || marker == 0xDA) return marker;
    switch (marker) {
      case 0xC4:
        readHuffmanTables();
        break;
      case 0xDB:
        readQuantTables();
        break;
      case 0xDD:
        readRestartInterval();
        break;
      case 0xCC:
        fail(kJpegArithmetic);
      case 0x01:
      case 0xC8:
      case 0xD0: case 0xD1: case 0xD2: case 0xD3:
      case 0xD4: case 0xD5: case 0xD6: case 0xD7:
        fail(kJpegUnexpectedMarker);
      default:
        skipSegment();
        break;
    }
  }
}

int JpegDecoder::readHeadersToFrame() { return nextMarker(); }

void JpegDecoder::readFrameHeader(int marker) {
  switch (marker) {
    case 0xC0:
    case 0xC1:
      break;
    case 0xC2:
      progressive = 1;
      break;
    case 0xC9:
      fail(kJpegArithmetic);
    default:
      fail(kJpegUnsupportedFrame);
  }
  int length = nextWord();
  int precision = nextByte();
  height = nextWord();
  width = nextWord();
  int count = nextByte();
  if (precision != 8 || width <= 0 || height <= 0) fail(kJpegBadFrameHeader);
  if (count < 1 || count > 4) fail(kJpegBadComponentCount);
  if (length != 8 + 3 * count) fail(kJpegBadFrameHeader);
  if (width > kMaxDimension || height > kMaxDimension || int64_t(width) * height > kMaxPixels)
    fail(kJpegTooLarge);
  components = count;
  for (int i = 0; i < count; ++i) {
    JpegComponent& c = comp[i];
    c.id = nextByte();
    int sampling = nextByte();
    c.h = sampling >> 4;
    c.v = sampling & 15;
    c.quantIndex = nextByte();
    if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4 || c.quantIndex > 3) fail(kJpegBadFrameHeader);
  }
}

void JpegDecoder::readToScan() {
  int marker = nextMarker();
  if (marker != 0xDA) fail(marker == 0xD9 ? kJpegBadScanHeader : kJpegUnexpectedMarker);
  readScanHeader();
}

void JpegDecoder::readScanHeader() {
  int length = nextWord();
  int count = nextByte();
  if (count < 1 || count > components || length != 6 + 2 * count) fail(kJpegBadScanHeader);
  scanCount = count;
  for (int i = 0; i < count; ++i) {
    int id = nextByte();
    int tables = nextByte();
    int found = -1;
    for (int k = 0; k < components; ++k)
      if (comp[k].id == id) found = k;
    if (found < 0) fail(kJpegBadScanHeader);
    for (int k = 0; k < i; ++k)
      if (scanComp[k] == found) fail(kJpegBadScanHeader);
    scanComp[i] = found;
    comp[found].dcTable = tables >> 4;
    comp[found].acTable = tables & 15;
    if (comp[found].dcTable > 3 || comp[found].acTable > 3) fail(kJpegBadScanHeader);
  }
  spectralStart = nextByte();
  spectralEnd = nextByte();
  int approx = nextByte();
  approxHigh = approx >> 4;
  approxLow = approx & 15;
  if (progressive) {
    bool dcScan = spectralStart == 0;
    if ((dcScan && spectralEnd != 0) || (!dcScan && (spectralEnd < spectralStart || spectralEnd > 63)) ||
        (!dcScan && count != 1) || approxHigh > 13 || approxLow > 13)
      fail(kJpegBadProgression);
  } else if (count != components) {
    // Sequential frames are decoded a whole MCU row at a time, which needs
    // every component in the one scan.
    fail(kJpegUnsupportedScan);
  }
}

void JpegDecoder::readQuantTables() {
  int remaining = nextWord() - 2;
  if (remaining < 0) fail(kJpegBadMarkerLength);
  while (remaining > 0) {
    int info = nextByte();
    int sixteenBit = info >> 4;
    int index = info & 15;
    if (sixteenBit > 1 || index > 3) fail(kJpegBadQuantTable);
    int needed = 1 + 64 * (sixteenBit ? 2 : 1);
    if (needed > remaining) fail(kJpegBadQuantTable);
    int32_t raw[64];
    for (int k = 0; k < 64; ++k) raw[kJpegZigzag[k]] = sixteenBit ? nextWord() : nextByte();
    if (useSimdIdct) {
      jpegPrescaleQuant(raw, quant[index]);
    } else {
      memcpy(quant[index], raw, sizeof(raw));
    }
    for (int k = 0; k < 64; ++k)
      quantPacked[index][k] = static_cast<int16_t>(quant[index][k] > 32767 ? 32767 : quant[index][k]);
    quantDefined[index] = 1;
    remaining -= needed;
  }
}

void JpegDecoder::readHuffmanTables() {
  int remaining = nextWord() - 2;
  if (remaining < 0) fail(kJpegBadMarkerLength);
  while (remaining > 0) {
    int info = nextByte();
    int tableClass = info >> 4;
    int index = info & 15;
    if (tableClass > 1 || index > 3 || remaining < 17) fail(kJpegBadHuffmanTable);
    int counts[17] = {};
    int total = 0;
    for (int len = 1; len <= 16; ++len) {
      counts[len] = nextByte();
      total += counts[len];
    }
    if (total > 256 || 17 + total > remaining) fail(kJpegBadHuffmanTable);
    JpegHuffmanTable& t = tableClass ? acTables[index] : dcTables[index];
    memset(&t, 0, sizeof(t));
    for (int i = 0; i < total; ++i) t.values[i] = static_cast<uint8_t>(nextByte());
    int code = 0;
    int k = 0;
    for (int len = 1; len <= 16; ++len) {
      t.valueOffset[len] = k - code;
      for (int i = 0; i < counts[len]; ++i, ++code, ++k) {
        if (code >= (1 << len)) fail(kJpegBadHuffmanTable);
        if (len <= kFastBits) {
          int first = code << (kFastBits - len);
          for (int f = 0; f < (1 << (kFastBits - len)); ++f) {
            t.fastLength[first + f] = static_cast<uint8_t>(len);
            t.fastSymbol[first + f] = t.values[k];
          }
        }
      }
      t.maxCode[len] = counts[len] ? code - 1 : -1;
      code <<= 1;
    }
    t.maxCode[17] = 0x7FFFFFFF;
    if (tableClass) {
      for (int peek = 0; peek < (1 << kFastBits); ++peek) {
        int length = t.fastLength[peek];
        int run = t.fastSymbol[peek] >> 4, size = t.fastSymbol[peek] & 15;
        if (!length || !size || length + size > kFastBits) continue;
        int value = (peek >> (kFastBits - length - size)) & ((1 << size) - 1);
        if (value < (1 << (size - 1))) value -= (1 << size) - 1;
        if (value >= -128 && value <= 127)
          t.fastAc[peek] = static_cast<int16_t>(value * 256 + run * 16 + length + size);
      }
    }
    t.defined = 1;
    remaining -= 17 + total;
  }
}

void JpegDecoder::readRestartInterval() {
  if (nextWord() != 4) fail(kJpegBadRestartLength);
  restartInterval = nextWord();
}

void JpegDecoder::skipSegment() {
  int length = nextWord();
  if (length < 2) fail(kJpegBadMarkerLength);
  for (int i = 2; i < length; ++i) nextByte();
}
