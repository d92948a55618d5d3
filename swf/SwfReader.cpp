// SwfReader: header, tag loop and the frame-filing tags (see the header).
// Definitions (shapes, fonts, texts) are in SwfDefinitions.cpp.
#include "swf/SwfReader.h"

#include <strings.h>

#include <cstdio>
#include <cstring>

#include "swf/SwfMovie.h"

namespace {

const unsigned kMinimumFileLength = 21;
const unsigned kHeaderFixedBytes = 8;  // signature, version, length

enum TagCode {
  kEnd = 0,
  kShowFrame = 1,
  kDefineShape = 2,
  kFreeCharacter = 3,
  kPlaceObjectTag = 4,
  kRemoveObjectTag = 5,
  kSetBackgroundColor = 9,
  kDefineFont = 10,
  kDefineText = 11,
  kDoAction = 12,
  kDefineFontInfo = 13,
  kDefineShape2 = 22,
  kPlaceObject2Tag = 26,
  kRemoveObject2 = 28,
  kDefineShape3 = 32,
  kDefineText2 = 33,
  kDefineEditText = 37,
  kDefineSprite = 39,
  kDefineMorphShape = 46,
  kDefineFont2 = 48,
};

enum ActionCode { kActionEnd = 0x00, kActionGetUrl = 0x83, kActionPush = 0x96 };
enum PlaceFlags { kHasCharacter = 0x02, kHasMatrix = 0x04, kHasColourTransform = 0x08,
                  kHasRatio = 0x10, kHasName = 0x20, kHasClipDepth = 0x40 };

}  // namespace

SwfReader::SwfReader(SwfMovie* movie, const char* name) : movie_(movie), name_(name) {}

void SwfReader::fail(const std::string& why) {
  if (error_.empty()) error_ = why;
}

bool SwfReader::load(const unsigned char* data, size_t size) {
  error_.clear();
  // A wrong signature (the compressed form included) or a length below the
  // smallest possible file fails quietly, as such files always have.
  // A named entry of the show's archive says so all the same.
  if (!data || size < kHeaderFixedBytes || std::memcmp(data, "FWS", 3) != 0) {
    error_ = "not an uncompressed movie";
    if (name_ && name_[0]) std::printf("Rejected movie file %s: %s\n", name_, error_.c_str());
    return false;
  }
  version_ = data[3];
  length_ = static_cast<unsigned>(data[4]) | static_cast<unsigned>(data[5]) << 8 |
            static_cast<unsigned>(data[6]) << 16 | static_cast<unsigned>(data[7]) << 24;
  if (length_ < kMinimumFileLength) {
    error_ = "file length below 21";
    if (name_ && name_[0]) std::printf("Rejected movie file %s: %s\n", name_, error_.c_str());
    return false;
  }
  bool ok = false;
  if (length_ > size) {
    fail("the header announces " + std::to_string(length_) + " bytes, only " +
         std::to_string(size) + " are there");
  } else {
    data_.assign(data, data + length_);
    in_ = SwfBitReader(data_.data(), length_);
    in_.seek(kHeaderFixedBytes);
    SwfRect stage = readRect(in_);
    movie_->stageWidth = static_cast<int>((static_cast<double>(stage.xMax) - stage.xMin) * 0.05);
    movie_->stageHeight = static_cast<int>((static_cast<double>(stage.yMax) - stage.yMin) * 0.05);
    in_.readU8();  // fractional part of the 8.8 frame rate
    movie_->frameRate = in_.readU8();
    movie_->frameCount = in_.readU16();
    tagStart_ = in_.position();
    if (in_.overrun)
      fail("the header runs past the file length");
    else
      ok = tagLoop(length_, 0);
  }
  if (!ok) {
    movie_->clearContent();
    if (name_ && name_[0])
      std::printf("Rejected movie file %s: %s\n", name_, error_.c_str());
    else if (name_)
      std::printf("Rejected movie file: %s\n", error_.c_str());
  }
  // The copy lives only as long as the load.
  data_.clear();
  data_.shrink_to_fit();
  in_ = SwfBitReader();
  return ok;
}

bool SwfReader::tagLoop(unsigned limit, int nesting) {
  if (nesting > kMaxSpriteNesting) {
    fail("sprites nested more than " + std::to_string(kMaxSpriteNesting) + " deep");
    return false;
  }
  if (nesting == 0) {
    in_.seek(tagStart_);
  } else {
    in_.skip(4);  // sprite id and frame count
  }
  movie_->appendFrame();
  int k = 0;
  for (;;) {
    // Every tag must fit inside the loop's span: the file, or the sprite.
    in_.setLimit(limit);
    in_.overrun = false;
    if (in_.position() > limit || limit - in_.position() < 2) {
      fail("no End tag before offset " + std::to_string(limit));
      return false;
    }
    tagHeaderStart_ = in_.position();
    unsigned header = in_.readU16();
    int code = static_cast<int>(header >> 6);
    unsigned bodyLength = header & 0x3F;
    if (bodyLength == 0x3F) {
      if (limit - in_.position() < 4) {
        fail("tag header at offset " + std::to_string(tagHeaderStart_) + " is cut off");
        return false;
      }
      bodyLength = in_.readU32();
    }
    tagBodyStart_ = in_.position();
    if (bodyLength > limit - tagBodyStart_) {
      fail("tag " + std::to_string(code) + " at offset " + std::to_string(tagHeaderStart_) +
           " runs past the end");
      return false;
    }
    tagLength_ = bodyLength;
    tagEnd_ = tagBodyStart_ + bodyLength;
    const unsigned tagEnd = tagEnd_;  // a nested loop moves tagEnd_
    // Handlers read only their own tag; reading on gives zeros.
    in_.setLimit(tagEnd);
    if (code == kEnd) {
      in_.seek(tagEnd);
      return true;
    }
    if (code == kShowFrame) {
      movie_->appendFrame();
      ++k;
    } else if (!handleTag(code, k, nesting)) {
      return false;
    }
    in_.setLimit(limit);
    in_.seek(tagEnd);
  }
}

bool SwfReader::handleTag(int code, int k, int nesting) {
  // Frame k always exists: the loop appended it before counting it.
  SwfFrame* frame = movie_->frame(k);
  switch (code) {
    case kDefineShape:
    case kDefineShape2:
      readDefineShape(false);
      break;
    case kDefineShape3:
      readDefineShape(true);
      break;
    case kPlaceObjectTag:
      readPlaceObject(frame);
      break;
    case kPlaceObject2Tag:
      readPlaceObject2(frame);
      break;
    case kRemoveObjectTag:
      readRemoveObject(frame, true);
      break;
    case kRemoveObject2:
      readRemoveObject(frame, false);
      break;
    case kDoAction:
      readDoAction(frame);
      break;
    case kDefineFont:
      readDefineFont();
      break;
    case kDefineFontInfo:
      readDefineFontInfo();
      break;
    case kDefineText:
      readDefineText();
      break;
    case kDefineSprite:
      return tagLoop(tagEnd_, nesting + 1);
    // Nothing of these is kept; the next tag is found by the length.
    case kFreeCharacter:
    case kSetBackgroundColor:
    case kDefineText2:
    case kDefineEditText:
    case kDefineMorphShape:
    case kDefineFont2:
    default:
      break;
  }
  return true;
}

void SwfReader::readPlaceObject(SwfFrame* frame) {
  DisplayCommand command;
  command.code = kPlaceObject;
  command.characterId = in_.readU16();
  command.depth = in_.readU16();
  command.matrix = readMatrix(in_);
  in_.alignToByte();
  if (in_.position() < tagEnd_)
    command.colourTransform = readColourTransform(in_, false);
  else
    command.colourTransform = plainColourTransform();
  if (frame) frame->addDisplayCommand(command);
}

void SwfReader::readPlaceObject2(SwfFrame* frame) {
  DisplayCommand command;
  command.code = kPlaceObject2;
  command.flags = in_.readU8();
  command.depth = in_.readU16();
  if (command.flags & kHasCharacter) command.characterId = in_.readU16();
  bool hasMatrix = (command.flags & kHasMatrix) != 0;
  bool hasColour = (command.flags & kHasColourTransform) != 0;
  if (hasMatrix) command.matrix = readMatrix(in_);
  command.colourTransform = hasColour ? readColourTransform(in_, true) : plainColourTransform();
  // Ratio, clip depth and name follow; nothing of them is kept.
  if (!hasMatrix && !hasColour) return;
  // A command that only recolours keeps the layer where it stands.
  command.hasMatrix = hasMatrix;
  if (frame) frame->addDisplayCommand(command);
}

void SwfReader::readRemoveObject(SwfFrame* frame, bool withId) {
  DisplayCommand command;
  command.code = kRemoveObject;  // both remove tags are filed as 5
  if (withId) command.characterId = in_.readU16();
  command.depth = in_.readU16();
  if (frame) frame->addDisplayCommand(command);
}

void SwfReader::readDoAction(SwfFrame* frame) {
  std::string lastPushed;
  bool isFsCommand = false;
  for (;;) {
    unsigned code = in_.readU8();
    if (code == kActionEnd) break;  // also where the tag runs out
    if (code < 0x80) continue;
    unsigned length = in_.readU16();
    unsigned next = in_.position() + length;
    if (code == kActionGetUrl) {
      in_.readString();  // URL, not looked at
      std::string target = in_.readString();
      if (frame) frame->addCommand(target);
    } else if (code == kActionPush) {
      // Only the first pushed value counts.
      if (in_.readU8() == 0) {
        std::string text = in_.readString();
        if (!text.empty()) {
          lastPushed = text;
          if (strcasecmp(text.c_str(), "fscommand:") == 0) isFsCommand = true;
        }
      }
    }
    // The next record starts where the length says, whatever was read.
    in_.seek(next);
    if (in_.position() >= tagEnd_) break;
  }
  if (isFsCommand && frame) frame->addCommand(lastPushed);
}
