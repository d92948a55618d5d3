// SwfBitReader: byte and bit-field reading over a movie's bytes.
//
// Bit fields are read most significant bit first; every byte-level read
// first drops the rest of a partly read bit-field byte, so records that
// follow one another start on byte boundaries. Reading stops at a movable
// limit (the end of the current tag): bytes beyond it read as zero and set
// `overrun`, so a malformed tag can never make the reader leave its buffer.
#pragma once

#include <cstdint>
#include <string>

class SwfBitReader {
 public:
  SwfBitReader() = default;
  SwfBitReader(const unsigned char* data, unsigned length);

  // n unsigned bits (any n; the low 32 bits of the value are kept).
  uint32_t readUBits(int n);
  // n bits, sign-extended from bit n - 1 (n up to 32).
  int32_t readSBits(int n);

  uint8_t readU8();
  uint16_t readU16();
  uint32_t readU32();
  // A NUL-terminated string; a string cut off by the limit ends there.
  std::string readString();
  void skip(unsigned count);

  // Drops the unread bits of the current bit-field byte.
  void alignToByte() { bitsLeft = 0; bitBuffer = 0; }
  // Moves to an absolute offset (clamped to the data) and drops the bit state.
  void seek(unsigned offset);

  unsigned position() const { return position_; }
  unsigned limit() const { return limit_; }
  unsigned length() const { return length_; }
  // Reads end at offset (clamped to the data length).
  void setLimit(unsigned offset);
  bool atLimit() const { return position_ >= limit_; }

  bool overrun = false;  // something was read beyond the limit
  int bitsLeft = 0;      // 0..8 unread bits of the current byte
  int bitBuffer = 0;     // those bits, in the low bits

 private:
  uint8_t nextByte();

  const unsigned char* data_ = nullptr;
  unsigned length_ = 0;
  unsigned limit_ = 0;
  unsigned position_ = 0;
};
