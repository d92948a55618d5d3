// JpegDecoder: the show's own baseline and progressive JPEG decoder.
//
// Reads an ITU T.81 stream from a JpegSource and hands out decoded rows
// top first. Covers what the show's pictures need: Huffman-coded sequential
// (SOF0/SOF1) and progressive (SOF2) frames, one or three components, and
// five output layouts (grey, and colour sampled 1x1, 2x1, 1x2, 2x2 in the
// first component). Errors are negative codes; the first one raised sticks
// and leaves the decoder dead. Internals are split by concern across
// JpegMarkers.cpp, JpegHuffman.cpp, JpegIdct.cpp and JpegColour.cpp.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdint>

class JpegSource;

// Error codes callers may name. The others in -200..-233 mark
// malformed segments and bad table references.
enum JpegError {
  kJpegBadMarkerLength = -210,
  kJpegBadRestartLength = -211,
  kJpegBadQuantTable = -212,
  kJpegBadHuffmanTable = -213,
  kJpegBadFrameHeader = -214,
  kJpegArithmetic = -215,
  kJpegUnexpectedMarker = -216,
  kJpegNoStartOfImage = -217,
  kJpegUnsupportedFrame = -218,
  kJpegEndOfData = -219,
  kJpegBadHuffmanCode = -220,
  kJpegBadScanHeader = -221,
  kJpegMissingTable = -222,
  kJpegBadRestart = -223,
  kJpegOutOfMemory = -224,
  kJpegBadComponentCount = -225,
  kJpegBadSampling = -226,
  kJpegDecodeFailed = -227,
  kJpegTooLarge = -228,
  kJpegSourceError = -229,
  kJpegUnsupportedScan = -230,
  kJpegBadProgression = -231,
};

struct JpegHuffmanTable {
  uint8_t defined;
  // Codes of up to kJpegFastBits bits resolve in one look-up.
  uint8_t fastLength[512];
  uint8_t fastSymbol[512];
  // AC tables: codes whose run, size and value fit the look-up resolve
  // whole: value << 8 | run << 4 | bits used; 0 when they do not.
  int16_t fastAc[512];
  int32_t maxCode[18];      // largest code of each length, -1 when none
  int32_t valueOffset[17];  // index into values minus the first code
  uint8_t values[256];
};

struct JpegComponent {
  int id;
  int h, v;  // sampling factors
  int quantIndex;
  int dcTable, acTable;
  int blocksWide, blocksHigh;          // blocks covering whole MCUs
  int realBlocksWide, realBlocksHigh;  // blocks holding image data
  int dcPredictor;
  int16_t* coefficients;  // progressive frames: every block, natural order
  uint8_t* plane;         // samples of the current MCU row
  int planeStride;
};

class JpegDecoder {
 public:
  // Reads the headers up to the frame header; check errorCode afterwards.
  JpegDecoder(JpegSource* source, int acceleration);
  ~JpegDecoder();
  JpegDecoder(const JpegDecoder&) = delete;
  JpegDecoder& operator=(const JpegDecoder&) = delete;

  // Prepares the output; a progressive frame is decoded whole here.
  // 0 on success and on repeated calls, -1 once an error has been raised.
  int start();
  // 0 with *row pointing at the next row (valid until the next call) and
  // *extra holding its length in bytes; 1 when no rows remain; -1 if not
  // started or dead; -227 when decoding this row raised an error.
  int readRow(uint8_t** row, int* extra);

  int32_t width = 0;
  int32_t height = 0;
  JpegSource* source = nullptr;
  uint8_t progressive = 0;
  int32_t components = 0;
  int32_t outputMode = 0;
  int32_t pixelStride = 1;
  int32_t errorCode = 0;
  uint8_t started = 0;
  uint8_t acceleration = 0;
  uint8_t useSimdIdct = 0;

  // Everything below is the decoder's working state.
  JpegComponent comp[4] = {};
  // Natural order. With useSimdIdct the tables are prescaled for the fast
  // transform at DQT time (and kept as 16-bit lanes), otherwise raw.
  int32_t quant[4][64] = {};
  int16_t quantPacked[4][64] = {};
  uint8_t quantDefined[4] = {};
  JpegHuffmanTable* dcTables = nullptr;  // 4 each, from the allocation list
  JpegHuffmanTable* acTables = nullptr;
  int restartInterval = 0;
  int restartsToGo = 0;
  uint32_t bitBuffer = 0;
  int bitCount = 0;
  int eobRun = 0;
  int pendingMarker = 0;  // marker met inside entropy data, not yet handled

  // Current scan.
  int scanCount = 0;
  int scanComp[4] = {};
  int spectralStart = 0, spectralEnd = 63, approxHigh = 0, approxLow = 0;

  // Frame geometry.
  int maxH = 1, maxV = 1;
  int mcuWidth = 8, mcuHeight = 8;
  int mcusWide = 0, mcusHigh = 0;
  int mcuRow = 0;       // next MCU row to produce
  int rowInMcu = 0;     // next row inside the produced MCU row
  int rowsOut = 0;
  uint8_t secondRowReady = 0;
  uint8_t* rowBuffer = nullptr;
  uint8_t* secondRow = nullptr;
  int16_t* blockScratch = nullptr;  // one block of coefficients

  // Colour tables, built once per decoder.
  int32_t redFromCr[256] = {};
  int32_t blueFromCb[256] = {};
  int32_t greenFromCr[256] = {};
  int32_t greenFromCb[256] = {};

  // Input buffering.
  uint8_t* input = nullptr;
  int inputPos = 0, inputLen = 0;
  uint8_t inputEnded = 0;

  // Blocks this decoder allocated; all freed on error and on destruction.
  static const int kMaxAllocations = 100;
  void* allocations[kMaxAllocations] = {};
  int allocationCount = 0;
  std::jmp_buf recovery;

  // --- internals (JpegDecoder.cpp) ---
  [[noreturn]] void fail(int code);
  void* allocate(size_t bytes);
  void freeAll();
  int nextByteOrEnd();  // -1 at end of data
  int nextByte();       // raises kJpegEndOfData at end
  int nextWord();
  // --- markers (JpegMarkers.cpp) ---
  void findStartOfImage();
  int nextMarker();
  void readFrameHeader(int marker);
  void readScanHeader();
  void readQuantTables();
  void readHuffmanTables();
  void readRestartInterval();
  void skipSegment();
  int readHeadersToFrame();
  void readToScan();
  // --- entropy decoding (JpegHuffman.cpp) ---
  void resetEntropy();
  void fillBits() {
    if (bitCount < 16) refillBits();
  }
  void refillBits();
  int decodeSymbol(const JpegHuffmanTable& table);
  int receiveBits(int count);
  int receiveExtend(int count);
  void processRestart();
  void decodeSequentialBlock(JpegComponent& c, int16_t* block);
  void decodeSequentialMcuRow();
  void decodeProgressiveScan();
  void decodeDcFirst(JpegComponent& c, int16_t* block);
  void decodeDcRefine(int16_t* block);
  void decodeAcFirst(JpegComponent& c, int16_t* block);
  void decodeAcRefine(JpegComponent& c, int16_t* block);
  void decodeAllScans();
  // --- output (JpegColour.cpp) ---
  void buildColourTables();
  void chooseLayout();
  void transformProgressiveMcuRow();
  void convertRow(int rowInBlockRow, uint8_t* out);
  void transformBlock(JpegComponent& c, const int16_t* block, uint8_t* out, int stride);
};

// The jpeg zigzag order: natural index of the k-th coded coefficient.
extern const uint8_t kJpegZigzag[64 + 16];
