// KeyValue: key lookup and value conversion straight on the text.
#include "show/KeyValue.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Start of the first non-comment line that begins with the key, or -1.
int findKeyLine(const char* text, const char* key) {
  const size_t keyLength = std::strlen(key);
  int line = 0;
  for (;;) {
    if (text[line] != '#' && std::strncmp(text + line, key, keyLength) == 0) return line;
    const char* newline = std::strchr(text + line, '\n');
    if (!newline) return -1;
    line = static_cast<int>(newline - text) + 1;
  }
}

}  // namespace

int findValue(const char* text, const char* key) {
  if (!text) {
    std::printf("Invalid text file\n");
    return -1;
  }
  if (!key) {
    std::printf("Invalid ID\n");
    return -1;
  }
  const int line = findKeyLine(text, key);
  if (line < 0) {
    std::printf("Error: \"%s\" not found\n", key);
    return -1;
  }
  // The "=" may stand on a later line.
  int at = line + static_cast<int>(std::strlen(key));
  while (text[at] && text[at] != '=') ++at;
  if (!text[at]) {
    std::printf("Error: key not found in \"%s\"\n", key);
    return -1;
  }
  ++at;
  while (isBlank(text[at])) ++at;
  // A value that begins a line belongs to no key.
  if (!text[at] || text[at - 1] == '\n') {
    std::printf("Error: key not found in \"%s\"\n", key);
    return -1;
  }
  return at;
}

int getInt(const char* text, const char* key) {
  const int at = findValue(text, key);
  return at < 0 ? -1 : std::atoi(text + at);
}

float getFloat(const char* text, const char* key) {
  const int at = findValue(text, key);
  return at < 0 ? -1.0f : static_cast<float>(std::atof(text + at));
}

char* getString(const char* text, const char* key) {
  const int at = findValue(text, key);
  if (at < 0) return nullptr;
  // The value's first character is the opening quote.
  const char* start = text + at + 1;
  const char* end = start;
  while (*end && *end != '"') {
    end += (end[0] == '\\' && end[1] == '"') ? 2 : 1;
  }
  const size_t length = static_cast<size_t>(end - start);
  char* value = new (std::nothrow) char[length + 1];
  if (!value) return nullptr;
  std::memcpy(value, start, length);
  value[length] = 0;
  return value;
}
