// libFuzzer target for the key/value texts: any bytes, terminated as the
// archive reader terminates them, are searched for the show's keys and for
// a key taken from the bytes themselves.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "show/KeyValue.h"

// Keeps the reads from being optimised away.
static volatile unsigned sink;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<char> text(data, data + size);
  text.push_back(0);
  text.push_back(0);
  // The first line of the input doubles as a key.
  std::string ownKey;
  for (size_t i = 0; i < size && data[i] && data[i] != '\n' && i < 16; ++i) ownKey += char(data[i]);
  const char* keys[] = {"mp3", "numBugs", "speed", "drawCount", "alpha", "", "#", "=", ownKey.c_str()};
  unsigned sum = 0;  // wraps, as a checksum may
  for (const char* key : keys) {
    sum += static_cast<unsigned>(findValue(text.data(), key));
    sum += static_cast<unsigned>(getInt(text.data(), key));
    sum += getFloat(text.data(), key) > 0.5f ? 1 : 0;
    char* value = getString(text.data(), key);
    if (value) sum += static_cast<unsigned char>(value[0]);
    delete[] value;
  }
  sink = sum;
  return 0;
}
