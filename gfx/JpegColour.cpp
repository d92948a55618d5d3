// JpegColour: output layout, per-MCU-row transforms, and YCbCr to RGB with
// chroma replication (one chroma sample serves the luma samples it covers).
#include "gfx/JpegDecoder.h"
#include "gfx/JpegIdct.h"

namespace {

// Output layouts by the first component's sampling (the others are 1x1).
struct Layout {
  int h, v, mode;
};
const Layout kLayouts[] = {{1, 1, 1}, {2, 1, 2}, {1, 2, 3}, {2, 2, 4}};

inline uint8_t clampByte(int v) {
  if (v < 0) return 0;
  if (v > 255) return 255;
  return static_cast<uint8_t>(v);
}

// One output row of a colour layout; the shifts pick the chroma sample.
template <int kShiftX, int kShiftY>
void convertColourRow(const JpegDecoder& d, int row, uint8_t* out) {
  const uint8_t* y = d.comp[0].plane + row * d.comp[0].planeStride;
  const uint8_t* cb = d.comp[1].plane + (row >> kShiftY) * d.comp[1].planeStride;
  const uint8_t* cr = d.comp[2].plane + (row >> kShiftY) * d.comp[2].planeStride;
  for (int x = 0; x < d.width; ++x) {
    int luma = y[x];
    int blue = cb[x >> kShiftX];
    int red = cr[x >> kShiftX];
    out[0] = clampByte(luma + d.redFromCr[red]);
    out[1] = clampByte(luma + ((d.greenFromCr[red] + d.greenFromCb[blue]) >> 16));
    out[2] = clampByte(luma + d.blueFromCb[blue]);
    out[3] = 0;
    out += 4;
  }
}

}  // namespace

void JpegDecoder::buildColourTables() {
  for (int i = 0; i < 256; ++i) {
    int x = i - 128;
    // NOTE: 91882, not 91881: the red table is part of the show's look.
    redFromCr[i] = (91882 * x + 32768) >> 16;
    blueFromCb[i] = (116130 * x + 32768) >> 16;
    greenFromCr[i] = -46802 * x;
    greenFromCb[i] = -22554 * x + 32768;
  }
}

void JpegDecoder::chooseLayout() {
  if (components == 1) {
    // A lone component is never interleaved: its MCU is one block.
    comp[0].h = comp[0].v = 1;
    outputMode = 0;
    pixelStride = 1;
  } else if (components == 3) {
    if (comp[1].h != 1 || comp[1].v != 1 || comp[2].h != 1 || comp[2].v != 1) fail(kJpegBadSampling);
    outputMode = -1;
    for (const Layout& layout : kLayouts)
      if (comp[0].h == layout.h && comp[0].v == layout.v) outputMode = layout.mode;
    if (outputMode < 0) fail(kJpegBadSampling);
    pixelStride = 4;
  } else {
    fail(kJpegBadComponentCount);
  }
  maxH = comp[0].h;
  maxV = comp[0].v;
  mcuWidth = 8 * maxH;
  mcuHeight = 8 * maxV;
  mcusWide = (width + mcuWidth - 1) / mcuWidth;
  mcusHigh = (height + mcuHeight - 1) / mcuHeight;
  for (int i = 0; i < components; ++i) {
    JpegComponent& c = comp[i];
    c.blocksWide = mcusWide * c.h;
    c.blocksHigh = mcusHigh * c.v;
    int samplesWide = (width * c.h + maxH - 1) / maxH;
    int samplesHigh = (height * c.v + maxV - 1) / maxV;
    c.realBlocksWide = (samplesWide + 7) / 8;
    c.realBlocksHigh = (samplesHigh + 7) / 8;
    c.planeStride = c.blocksWide * 8;
    c.plane = static_cast<uint8_t*>(allocate(static_cast<size_t>(c.planeStride) * 8 * c.v));
    if (progressive)
      c.coefficients = static_cast<int16_t*>(
          allocate(static_cast<size_t>(c.blocksWide) * c.blocksHigh * 64 * sizeof(int16_t)));
  }
  size_t rowBytes = static_cast<size_t>((width + 15) & ~15) * pixelStride;
  rowBuffer = static_cast<uint8_t*>(allocate(rowBytes));
  secondRow = static_cast<uint8_t*>(allocate(rowBytes));
  blockScratch = static_cast<int16_t*>(allocate(64 * sizeof(int16_t)));
  mcuRow = 0;
  rowInMcu = mcuHeight;
  rowsOut = 0;
}

void JpegDecoder::transformBlock(JpegComponent& c, const int16_t* block, uint8_t* out, int stride) {
  if (!quantDefined[c.quantIndex]) fail(kJpegMissingTable);
  if (useSimdIdct) {
    jpegIdctFast(block, quantPacked[c.quantIndex], out, stride);
  } else {
    jpegIdctAccurate(block, quant[c.quantIndex], out, stride);
  }
}

void JpegDecoder::transformProgressiveMcuRow() {
  for (int i = 0; i < components; ++i) {
    JpegComponent& c = comp[i];
    for (int by = 0; by < c.v; ++by) {
      const int16_t* blocks = c.coefficients + ((mcuRow * c.v + by) * c.blocksWide) * 64;
      for (int bx = 0; bx < c.blocksWide; ++bx)
        transformBlock(c, blocks + bx * 64, c.plane + by * 8 * c.planeStride + bx * 8, c.planeStride);
    }
  }
}

void JpegDecoder::convertRow(int row, uint8_t* out) {
  switch (outputMode) {
    case 0: {
      const uint8_t* y = comp[0].plane + row * comp[0].planeStride;
      for (int x = 0; x < width; ++x) out[x] = y[x];
      break;
    }
    case 1:
      convertColourRow<0, 0>(*this, row, out);
      break;
    case 2:
      convertColourRow<1, 0>(*this, row, out);
      break;
    case 3:
      convertColourRow<0, 1>(*this, row, out);
      break;
    default:
      convertColourRow<1, 1>(*this, row, out);
      break;
  }
}
