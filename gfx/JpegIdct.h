// JpegIdct: the two inverse transforms of the JPEG decoder.
//
// The fast one is the scaled integer (AAN) transform on 16-bit arithmetic;
// its quantisation tables are premultiplied by the transform's scale
// factors once, when they are read. It runs on SSE2 where the processor
// has it and in plain C++ otherwise. The accurate one is the integer
// transform with 13 fractional bits on unscaled tables. Both add the level
// shift of 128 and clamp to 0..255.
#pragma once

#include <cstdint>

// Premultiplies a natural-order quantisation table for the fast transform.
void jpegPrescaleQuant(const int32_t* raw, int32_t* scaled);

// coefficients: natural order, still quantised. out: 8 rows of 8 samples.
void jpegIdctFast(const int16_t* coefficients, const int16_t* quant, uint8_t* out, int stride);
void jpegIdctFastScalar(const int16_t* coefficients, const int16_t* quant, uint8_t* out, int stride);
void jpegIdctAccurate(const int16_t* coefficients, const int32_t* quant, uint8_t* out, int stride);

// True when jpegIdctFast runs on packed-integer instructions.
bool jpegHasSimdIdct();
