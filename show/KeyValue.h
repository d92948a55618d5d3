// KeyValue: looks settings up in the small texts of the archive.
//
// The text is the terminated buffer readFile returns; nothing is parsed in
// advance or cached. A line starting with "#" is a comment. A setting is a
// line that starts with the key (so the key only has to be a prefix of the
// line's first word; the first such line wins), followed somewhere by "=",
// optional white space and the value. Problems are reported on standard
// output; the functions never stop the show.
#pragma once

// What a lookup found, for callers that tell the problem in their own words.
enum class ValueLookup { Found, NoText, NoKey, NoValue };
// Index of the value's first character in `at` (-1 unless Found); prints
// nothing.
ValueLookup lookUpValue(const char* text, const char* key, int* at);

// Index in `text` of the value's first character, or -1.
int findValue(const char* text, const char* key);
// atoi of the value; -1 when not found.
int getInt(const char* text, const char* key);
// atof of the value; -1.0 when not found.
float getFloat(const char* text, const char* key);
// The double-quoted value without its quotes (a backslash-quote pair is kept
// as the two characters), owned by the caller (delete[]); null when not
// found. A value with no closing quote runs to the end of its line, with a
// message: a name never takes in the line after it.
char* getString(const char* text, const char* key);

// The same functions under the name of the set they form.
namespace KeyValueFile {
using ::findValue;
using ::getFloat;
using ::getInt;
using ::getString;
}  // namespace KeyValueFile
