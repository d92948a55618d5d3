// SwfBitReader: bounded byte and bit-field reading (see the header).
#include "swf/SwfBitReader.h"

SwfBitReader::SwfBitReader(const unsigned char* data, unsigned length)
    : data_(data), length_(data ? length : 0), limit_(data ? length : 0) {}

uint8_t SwfBitReader::nextByte() {
  if (position_ >= limit_) {
    overrun = true;
    // Keep counting so a caller can tell how far past the end it tried to go.
    if (position_ < 0xFFFFFFFFu) ++position_;
    return 0;
  }
  return data_[position_++];
}

uint32_t SwfBitReader::readUBits(int n) {
  uint32_t value = 0;
  while (n > 0) {
    if (bitsLeft == 0) {
      bitBuffer = nextByte();
      bitsLeft = 8;
    }
    int take = n < bitsLeft ? n : bitsLeft;
    int shift = bitsLeft - take;
    uint32_t bits = (static_cast<uint32_t>(bitBuffer) >> shift) & ((1u << take) - 1u);
    value = (value << take) | bits;
    bitsLeft -= take;
    bitBuffer &= (1 << bitsLeft) - 1;
    n -= take;
  }
  return value;
}

int32_t SwfBitReader::readSBits(int n) {
  uint32_t value = readUBits(n);
  if (n > 0 && n < 32 && (value & (1u << (n - 1)))) value |= ~((1u << n) - 1u);
  return static_cast<int32_t>(value);
}

uint8_t SwfBitReader::readU8() {
  alignToByte();
  return nextByte();
}

uint16_t SwfBitReader::readU16() {
  alignToByte();
  uint16_t low = nextByte();
  return static_cast<uint16_t>(low | (nextByte() << 8));
}

uint32_t SwfBitReader::readU32() {
  alignToByte();
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(nextByte()) << (8 * i);
  return value;
}

std::string SwfBitReader::readString() {
  alignToByte();
  std::string text;
  while (position_ < limit_) {
    char c = static_cast<char>(data_[position_++]);
    if (c == '\0') return text;
    text.push_back(c);
  }
  overrun = true;
  return text;
}

void SwfBitReader::skip(unsigned count) {
  alignToByte();
  if (count > limit_ - (position_ < limit_ ? position_ : limit_)) overrun = true;
  unsigned target = position_ + count;
  if (target < position_) target = 0xFFFFFFFFu;  // wrapped: stay past the end
  position_ = target;
}

void SwfBitReader::seek(unsigned offset) {
  alignToByte();
  position_ = offset > length_ ? length_ : offset;
}

void SwfBitReader::setLimit(unsigned offset) { limit_ = offset > length_ ? length_ : offset; }
