// SwfReader: turns the bytes of one uncompressed movie file into a
// SwfMovie — its dictionary of shapes and texts, its fonts and its frames of
// display and text commands. Everything else in the file is stepped over.
//
// A temporary object: the movie builds one, loads through it and drops it.
// The reader copies exactly the bytes the header announces and reads only
// that copy. Files it cannot read safely (a length beyond the bytes given,
// a tag running past the end, no End tag, sprites nested too deeply) are
// rejected as a whole: the movie is left empty and a line names the fault.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "swf/SwfBitReader.h"
#include "swf/SwfRecords.h"

class SwfMovie;
struct SwfFrame;

class SwfReader {
 public:
  static const int kFontTableSize = 265;  // font ids 0..264
  static const int kMaxSpriteNesting = 8;

  // `name` goes into the line that reports a rejected file ("" for none;
  // null keeps the rejection quiet).
  explicit SwfReader(SwfMovie* movie, const char* name = "");
  // Reads size bytes at data into the movie. False when the file is
  // rejected; the movie then holds nothing from it.
  bool load(const unsigned char* data, size_t size);
  // Why the last load failed ("" when it did not).
  const std::string& error() const { return error_; }

  // The extent walk over shape records, shared by shapes and glyphs:
  // pen starts at the origin, which always lies inside the extent.
  struct Extent {
    long long minX = 0, minY = 0, maxX = 0, maxY = 0;
  };
  static Extent walkShapeRecords(SwfBitReader& in, int fillBits, int lineBits, bool withAlpha);

 private:
  bool readHeader(size_t size);
  bool tagLoop(unsigned limit, int nesting);
  bool handleTag(int code, int frameIndex, int nesting);
  void fail(const std::string& why);

  // Tag handlers (frameIndex: the loop's own frame counter).
  void readPlaceObject(SwfFrame* frame);
  void readPlaceObject2(SwfFrame* frame);
  void readRemoveObject(SwfFrame* frame, bool withId);
  void readDoAction(SwfFrame* frame);
  void readDefineShape(bool withAlpha);
  void readDefineFont();
  void readDefineFontInfo();
  void readDefineText();

  SwfMovie* movie_;
  const char* name_;
  std::vector<unsigned char> data_;
  SwfBitReader in_;
  unsigned length_ = 0;
  unsigned tagStart_ = 0;
  int version_ = 0;
  unsigned tagHeaderStart_ = 0, tagBodyStart_ = 0, tagEnd_ = 0, tagLength_ = 0;
  int numFillBits_ = 0, numLineBits_ = 0;
  int glyphCounts_[kFontTableSize] = {};
  std::string error_;
};
