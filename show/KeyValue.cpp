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

ValueLookup lookUpValue(const char* text, const char* key, int* at) {
  *at = -1;
  if (!text || !key) return ValueLookup::NoText;
  const int line = findKeyLine(text, key);
  if (line < 0) return ValueLookup::NoKey;
  // The "=" may stand on a later line.
  int i = line + static_cast<int>(std::strlen(key));
  while (text[i] && text[i] != '=') ++i;
  if (!text[i]) return ValueLookup::NoValue;
  ++i;
  while (isBlank(text[i])) ++i;
  // A value that begins a line belongs to no key.
  if (!text[i] || text[i - 1] == '\n') return ValueLookup::NoValue;
  *at = i;
  return ValueLookup::Found;
}

int findValue(const char* text, const char* key) {
  int at = -1;
  switch (lookUpValue(text, key, &at)) {
    case ValueLookup::Found:
      break;
    case ValueLookup::NoText:
      std::printf(text ? "Invalid ID\n" : "Invalid text file\n");
      break;
    case ValueLookup::NoKey:
      std::printf("Error: \"%s\" not found\n", key);
      break;
    case ValueLookup::NoValue:
      std::printf("Error: key not found in \"%s\"\n", key);
      break;
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
  while (*end && *end != '"' && *end != '\n' && *end != '\r') {
    end += (end[0] == '\\' && end[1] == '"') ? 2 : 1;
  }
  if (*end != '"') std::printf("Error: no closing quote for \"%s\"\n", key);
  const size_t length = static_cast<size_t>(end - start);
  char* value = new (std::nothrow) char[length + 1];
  if (!value) return nullptr;
  std::memcpy(value, start, length);
  value[length] = 0;
  return value;
}
