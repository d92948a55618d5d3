// JpegHuffman: the bit reader, restart handling and the Huffman decoding of
// sequential MCU rows and of every progressive scan kind (DC first and
// refinement, AC first and refinement with end-of-band runs).
#include <cstring>

#include "gfx/JpegDecoder.h"

namespace {
const int kFastBits = 9;
}

void JpegDecoder::resetEntropy() {
  bitBuffer = 0;
  bitCount = 0;
  eobRun = 0;
  for (auto& c : comp) c.dcPredictor = 0;
  restartsToGo = restartInterval;
}

// Tops the bit buffer up to at least 16 bits, 16 at a time. Past a marker
// the data is padded with zeros; the end of the source is an error.
void JpegDecoder::refillBits() {
  // Fast path: two plain data bytes already in the input buffer.
  if (!pendingMarker && inputPos + 1 < inputLen && input[inputPos] != 0xFF && input[inputPos + 1] != 0xFF) {
    bitBuffer = (bitBuffer << 16) | (uint32_t(input[inputPos]) << 8) | input[inputPos + 1];
    inputPos += 2;
    bitCount += 16;
    return;
  }
  uint32_t word = 0;
  for (int i = 0; i < 2; ++i) {
    int b = 0;
    if (!pendingMarker) {
      b = nextByteOrEnd();
      if (b < 0) fail(kJpegEndOfData);
      if (b == 0xFF) {
        int code;
        do {
          code = nextByteOrEnd();
        } while (code == 0xFF);
        if (code < 0) fail(kJpegEndOfData);
        if (code != 0) {
          pendingMarker = code;
          b = 0;
        }
      }
    }
    word = (word << 8) | static_cast<uint32_t>(b);
  }
  bitBuffer = (bitBuffer << 16) | word;
  bitCount += 16;
}

int JpegDecoder::decodeSymbol(const JpegHuffmanTable& table) {
  if (!table.defined) fail(kJpegMissingTable);
  fillBits();
  int peek = static_cast<int>((bitBuffer >> (bitCount - kFastBits)) & ((1u << kFastBits) - 1));
  int length = table.fastLength[peek];
  if (length) {
    bitCount -= length;
    return table.fastSymbol[peek];
  }
  for (length = kFastBits + 1; length <= 16; ++length) {
    int code = static_cast<int>((bitBuffer >> (bitCount - length)) & ((1u << length) - 1));
    if (code <= table.maxCode[length]) {
      int index = code + table.valueOffset[length];
      if (index < 0 || index > 255) fail(kJpegBadHuffmanCode);
      bitCount -= length;
      return table.values[index];
    }
  }
  fail(kJpegBadHuffmanCode);
}

int JpegDecoder::receiveBits(int count) {
  if (count == 0) return 0;
  if (count > 16) fail(kJpegBadHuffmanCode);
  fillBits();
  int value = static_cast<int>((bitBuffer >> (bitCount - count)) & ((1u << count) - 1));
  bitCount -= count;
  return value;
}

int JpegDecoder::receiveExtend(int count) {
  int value = receiveBits(count);
  if (count && value < (1 << (count - 1))) value += static_cast<int>(~0u << count) + 1;
  return value;
}

void JpegDecoder::processRestart() {
  bitBuffer = 0;
  bitCount = 0;
  int marker = pendingMarker;
  pendingMarker = 0;
  if (!marker) {
    // Look for the marker the encoder put after the interval.
    for (;;) {
      int b = nextByte();
      if (b != 0xFF) continue;
      do {
        b = nextByte();
      } while (b == 0xFF);
      if (b != 0) {
        marker = b;
        break;
      }
    }
  }
  if (marker < 0xD0 || marker > 0xD7) fail(kJpegBadRestart);
  for (auto& c : comp) c.dcPredictor = 0;
  eobRun = 0;
  restartsToGo = restartInterval;
}

void JpegDecoder::decodeSequentialBlock(JpegComponent& c, int16_t* block) {
  memset(block, 0, 64 * sizeof(int16_t));
  int category = decodeSymbol(dcTables[c.dcTable]);
  if (category > 16) fail(kJpegBadHuffmanCode);
  c.dcPredictor += receiveExtend(category);
  block[0] = static_cast<int16_t>(c.dcPredictor);
  const JpegHuffmanTable& ac = acTables[c.acTable];
  if (!ac.defined) fail(kJpegMissingTable);
  for (int k = 1; k < 64; ++k) {
    fillBits();
    int fast = ac.fastAc[(bitBuffer >> (bitCount - kFastBits)) & ((1u << kFastBits) - 1)];
    if (fast) {
      k += (fast >> 4) & 15;
      bitCount -= fast & 15;
      block[kJpegZigzag[k]] = static_cast<int16_t>(fast >> 8);
      continue;
    }
    int rs = decodeSymbol(ac);
    int run = rs >> 4;
    int size = rs & 15;
    if (size) {
      k += run;
      block[kJpegZigzag[k]] = static_cast<int16_t>(receiveExtend(size));
    } else if (run == 15) {
      k += 15;
    } else {
      break;
    }
  }
}

void JpegDecoder::decodeSequentialMcuRow() {
  if (mcuRow == 0) resetEntropy();
  for (int mx = 0; mx < mcusWide; ++mx) {
    if (restartInterval) {
      if (restartsToGo == 0) processRestart();
      --restartsToGo;
    }
    for (int s = 0; s < scanCount; ++s) {
      JpegComponent& c = comp[scanComp[s]];
      for (int by = 0; by < c.v; ++by) {
        for (int bx = 0; bx < c.h; ++bx) {
          decodeSequentialBlock(c, blockScratch);
          transformBlock(c, blockScratch, c.plane + by * 8 * c.planeStride + (mx * c.h + bx) * 8,
                         c.planeStride);
        }
      }
    }
  }
}

void JpegDecoder::decodeDcFirst(JpegComponent& c, int16_t* block) {
  int category = decodeSymbol(dcTables[c.dcTable]);
  if (category > 16) fail(kJpegBadHuffmanCode);
  c.dcPredictor += receiveExtend(category);
  block[0] = static_cast<int16_t>(c.dcPredictor * (1 << approxLow));
}

void JpegDecoder::decodeDcRefine(int16_t* block) {
  if (receiveBits(1)) block[0] = static_cast<int16_t>(block[0] | (1 << approxLow));
}

void JpegDecoder::decodeAcFirst(JpegComponent& c, int16_t* block) {
  if (eobRun > 0) {
    --eobRun;
    return;
  }
  const JpegHuffmanTable& ac = acTables[c.acTable];
  for (int k = spectralStart; k <= spectralEnd; ++k) {
    int rs = decodeSymbol(ac);
    int run = rs >> 4;
    int size = rs & 15;
    if (size) {
      k += run;
      if (k > 63) k = 63;
      block[kJpegZigzag[k]] = static_cast<int16_t>(receiveExtend(size) * (1 << approxLow));
    } else if (run < 15) {
      eobRun = (1 << run) - 1;
      if (run) eobRun += receiveBits(run);
      break;
    } else {
      k += 15;
    }
  }
}

void JpegDecoder::decodeAcRefine(JpegComponent& c, int16_t* block) {
  const int positive = 1 << approxLow;
  const int negative = -positive;
  const JpegHuffmanTable& ac = acTables[c.acTable];
  int k = spectralStart;
  auto refine = [&](int16_t& coefficient) {
    if (receiveBits(1) && (coefficient & positive) == 0)
      coefficient = static_cast<int16_t>(coefficient + (coefficient >= 0 ? positive : negative));
  };
  if (eobRun == 0) {
    for (; k <= spectralEnd; ++k) {
      int rs = decodeSymbol(ac);
      int run = rs >> 4;
      int size = rs & 15;
      int value = 0;
      if (size) {
        if (size != 1) fail(kJpegBadHuffmanCode);
        value = receiveBits(1) ? positive : negative;
      } else if (run != 15) {
        eobRun = 1 << run;
        if (run) eobRun += receiveBits(run);
        break;
      }
      // Skip `run` zero coefficients, refining the non-zero ones passed.
      while (k <= spectralEnd) {
        int16_t& coefficient = block[kJpegZigzag[k]];
        if (coefficient != 0) {
          refine(coefficient);
        } else {
          if (--run < 0) break;
        }
        ++k;
      }
      if (value) block[kJpegZigzag[k]] = static_cast<int16_t>(value);
    }
  }
  if (eobRun > 0) {
    for (; k <= spectralEnd; ++k) {
      int16_t& coefficient = block[kJpegZigzag[k]];
      if (coefficient != 0) refine(coefficient);
    }
    --eobRun;
  }
}

void JpegDecoder::decodeProgressiveScan() {
  resetEntropy();
  bool dcScan = spectralStart == 0;
  bool refine = approxHigh != 0;
  auto decodeBlock = [&](JpegComponent& c, int16_t* block) {
    if (dcScan) {
      if (refine) {
        decodeDcRefine(block);
      } else {
        decodeDcFirst(c, block);
      }
    } else if (refine) {
      decodeAcRefine(c, block);
    } else {
      decodeAcFirst(c, block);
    }
  };
  if (scanCount == 1) {
    // One component: its blocks are the MCUs, covering only image data.
    JpegComponent& c = comp[scanComp[0]];
    for (int by = 0; by < c.realBlocksHigh; ++by) {
      for (int bx = 0; bx < c.realBlocksWide; ++bx) {
        if (restartInterval) {
          if (restartsToGo == 0) processRestart();
          --restartsToGo;
        }
        decodeBlock(c, c.coefficients + (by * c.blocksWide + bx) * 64);
      }
    }
    return;
  }
  for (int my = 0; my < mcusHigh; ++my) {
    for (int mx = 0; mx < mcusWide; ++mx) {
      if (restartInterval) {
        if (restartsToGo == 0) processRestart();
        --restartsToGo;
      }
      for (int s = 0; s < scanCount; ++s) {
        JpegComponent& c = comp[scanComp[s]];
        for (int by = 0; by < c.v; ++by)
          for (int bx = 0; bx < c.h; ++bx)
            decodeBlock(c, c.coefficients + ((my * c.v + by) * c.blocksWide + mx * c.h + bx) * 64);
      }
    }
  }
}

void JpegDecoder::decodeAllScans() {
  for (;;) {
    decodeProgressiveScan();
    int marker = nextMarker();
    if (marker == 0xD9) break;
    if (marker != 0xDA) fail(kJpegUnexpectedMarker);
    readScanHeader();
  }
}
