// JpegDecoder: life cycle, error handling, allocation and byte input.
//
// Errors unwind with longjmp to the entry point that is running
// (constructor, start, readRow). Nothing between an entry point and a
// raise owns a destructor-bearing object: all working memory sits on the
// allocation list, which the raise frees.
#include "gfx/JpegDecoder.h"

#include <cstdlib>
#include <cstring>

#include "gfx/JpegIdct.h"
#include "gfx/JpegSource.h"

namespace {
const int kInputChunk = 4096;
}

JpegDecoder::JpegDecoder(JpegSource* src, int accel) : source(src) {
  acceleration = accel ? 1 : 0;
  // The packed-integer path is taken whenever acceleration is asked for;
  // processors without SSE2 run the same fast transform in plain C++.
  useSimdIdct = acceleration;
  if (setjmp(recovery)) return;
  if (!source) fail(kJpegSourceError);
  input = static_cast<uint8_t*>(allocate(kInputChunk));
  dcTables = static_cast<JpegHuffmanTable*>(allocate(sizeof(JpegHuffmanTable) * 4));
  acTables = static_cast<JpegHuffmanTable*>(allocate(sizeof(JpegHuffmanTable) * 4));
  buildColourTables();
  findStartOfImage();
  int marker = readHeadersToFrame();
  readFrameHeader(marker);
}

JpegDecoder::~JpegDecoder() { freeAll(); }

int JpegDecoder::start() {
  if (errorCode) return -1;
  if (started) return 0;
  if (setjmp(recovery)) return -1;
  chooseLayout();
  readToScan();
  if (progressive) decodeAllScans();
  started = 1;
  return 0;
}

int JpegDecoder::readRow(uint8_t** row, int* extra) {
  if (errorCode || !started) return -1;
  if (rowsOut >= height) return 1;
  if (setjmp(recovery)) return kJpegDecodeFailed;
  int rowBytes = width * pixelStride;
  if (secondRowReady) {
    secondRowReady = 0;
    memcpy(rowBuffer, secondRow, static_cast<size_t>(rowBytes));
  } else {
    if (rowInMcu >= mcuHeight) {
      if (progressive) {
        transformProgressiveMcuRow();
      } else {
        decodeSequentialMcuRow();
      }
      ++mcuRow;
      rowInMcu = 0;
    }
    convertRow(rowInMcu, rowBuffer);
    ++rowInMcu;
    // Vertically subsampled layouts convert two rows from one chroma row.
    if ((outputMode == 3 || outputMode == 4) && rowInMcu < mcuHeight && rowsOut + 1 < height) {
      convertRow(rowInMcu, secondRow);
      ++rowInMcu;
      secondRowReady = 1;
    }
  }
  ++rowsOut;
  if (rowsOut == height && !progressive) {
    // Read on to the marker that ends the scan; a missing end is harmless
    // once every row is out.
    if (!pendingMarker) {
      while (!inputEnded || inputPos < inputLen) {
        int b = nextByteOrEnd();
        if (b < 0) break;
        if (b == 0xFF) {
          int code = nextByteOrEnd();
          if (code > 0 && code != 0xFF) {
            pendingMarker = code;
            break;
          }
        }
      }
    }
  }
  *row = rowBuffer;
  if (extra) *extra = rowBytes;
  return 0;
}

void JpegDecoder::fail(int code) {
  if (!errorCode) errorCode = code;
  if (source) {
    source->release();
    source = nullptr;
  }
  freeAll();
  input = nullptr;
  dcTables = acTables = nullptr;
  rowBuffer = secondRow = nullptr;
  blockScratch = nullptr;
  for (auto& c : comp) {
    c.coefficients = nullptr;
    c.plane = nullptr;
  }
  std::longjmp(recovery, 1);
}

void* JpegDecoder::allocate(size_t bytes) {
  if (allocationCount >= kMaxAllocations) fail(kJpegOutOfMemory);
  void* block = calloc(1, bytes ? bytes : 1);
  if (!block) fail(kJpegOutOfMemory);
  allocations[allocationCount++] = block;
  return block;
}

void JpegDecoder::freeAll() {
  for (int i = 0; i < allocationCount; ++i) free(allocations[i]);
  allocationCount = 0;
}

int JpegDecoder::nextByteOrEnd() {
  if (inputPos >= inputLen) {
    if (inputEnded || !source) return -1;
    uint8_t endFlag = 0;
    int got = source->read(input, kInputChunk, &endFlag);
    if (got < 0) fail(kJpegSourceError);
    if (endFlag) inputEnded = 1;
    inputPos = 0;
    inputLen = got;
    if (got == 0) {
      // A source that delivers nothing and promises more would spin forever.
      inputEnded = 1;
      return -1;
    }
  }
  return input[inputPos++];
}

int JpegDecoder::nextByte() {
  int b = nextByteOrEnd();
  if (b < 0) fail(kJpegEndOfData);
  return b;
}

int JpegDecoder::nextWord() {
  int hi = nextByte();
  return (hi << 8) | nextByte();
}
