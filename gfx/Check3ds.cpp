// Check3ds: bounds and counts of a 3DS chunk tree.
#include "gfx/Check3ds.h"

#include <cstddef>
#include <map>
#include <vector>

namespace {

// Chunk ids lib3ds descends into or reads counted data from.
enum : uint16_t {
  kM3dMagic = 0x4D4D,
  kMlibMagic = 0x3DAA,
  kCMagic = 0xC23D,
  kMData = 0x3D3D,
  kNamedObject = 0x4000,
  kTriObject = 0x4100,
  kPointArray = 0x4110,
  kPointFlagArray = 0x4111,
  kFaceArray = 0x4120,
  kMeshMatGroup = 0x4130,
  kTexVerts = 0x4140,
  kSmoothGroup = 0x4150,
  kMeshMatrix = 0x4160,
  kDirectLight = 0x4600,
  kCamera = 0x4700,
  kBitMap = 0x1100,
  kMeshBoxMap = 0x4190,
  kSpotlight = 0x4610,
  kSpotProjector = 0x4653,
  kMatName = 0xA000,
  kMatMapName = 0xA300,
  kMatEntry = 0xAFFF,
  kKfData = 0xB000,
  kKfHeader = 0xB00A,
  kInstanceName = 0xB011,
  kFirstNodeTag = 0xB001,
  kLastNodeTag = 0xB007,
  kNodeHeader = 0xB010,
  kNodeId = 0xB030,
  kFirstTrack = 0xB020,
  kLastTrack = 0xB029,
};

// lib3ds's name limits, terminator included: 64 for most names, 13 for the
// keyframe header's, 11 for a morph key's. A longer or unterminated name
// makes it give up halfway through the file.
const uint32_t kNameLength = 64;
const uint32_t kKfHeaderNameLength = 13;
const uint32_t kMorphNameLength = 11;
const uint16_t kNoNode = 65535;   // lib3ds's "no id" and "no parent"

// A track's repeat flag, and the largest key frame a repeating track may
// have: exact as a float, with room to wrap.
const uint16_t kLoopingTrack = 0x0001;
const uint32_t kLargestLoopedFrame = 1u << 20;

class ChunkChecker {
 public:
  ChunkChecker(const unsigned char* data, uint32_t size) : data_(data), size_(size) {}

  bool checkFile() {
    if (size_ < 6) return false;
    uint16_t id = word(0);
    uint32_t length = dword(2);
    if (id != kM3dMagic && id != kMlibMagic && id != kCMagic && id != kMData) return false;
    if (length < 6 || length > size_) return false;
    return children(id, 6, length);
  }

 private:
  uint16_t word(uint32_t at) const { return uint16_t(data_[at] | data_[at + 1] << 8); }
  uint32_t dword(uint32_t at) const { return uint32_t(word(at)) | uint32_t(word(at + 2)) << 16; }

  // Offset just past a terminated name starting at `at`, or 0 when none ends
  // inside the chunk and lib3ds's buffer.
  uint32_t pastName(uint32_t at, uint32_t end, uint32_t limit = kNameLength) const {
    for (uint32_t i = at; i < end && i - at < limit; ++i)
      if (data_[i] == 0) return i + 1;
    return 0;
  }

  // The chunks laid end to end in [begin, end) of a parent.
  bool children(uint16_t parent, uint32_t begin, uint32_t end) {
    uint32_t at = begin;
    while (at < end) {
      if (end - at < 6) return false;
      uint32_t length = dword(at + 2);
      if (length < 6 || length > end - at) return false;
      if (!chunk(parent, word(at), at + 6, at + length)) return false;
      at += length;
    }
    return true;
  }

  // One chunk's payload [begin, end).
  bool chunk(uint16_t parent, uint16_t id, uint32_t begin, uint32_t end) {
    uint32_t payload = end - begin;
    switch (id) {
      case kM3dMagic:
      case kMlibMagic:
      case kCMagic:
      case kMData:
        return children(id, begin, end);
      case kKfData:
        // lib3ds reads keyframes only at the top; elsewhere it skips them.
        if (parent != kM3dMagic && parent != kMlibMagic && parent != kCMagic) return true;
        nodesInKfData_ = 0;
        return children(id, begin, end) && nodeTreeIsAForest();
      case kKfHeader: {  // revision, the scene's name, the frame count
        if (parent != kKfData) return true;
        uint32_t after = payload >= 2 ? pastName(begin + 2, end, kKfHeaderNameLength) : 0;
        return after && end - after >= 4;
      }
      case kMatEntry:
        return !isTopLevel(parent) || children(id, begin, end);
      case kMatName:
        return parent != kMatEntry || pastName(begin, end);
      case kMatMapName:
        return !isTextureMap(parent) || pastName(begin, end);
      case kBitMap:
        return parent != kMData || pastName(begin, end);
      case kMeshBoxMap: {  // six face names
        if (parent != kTriObject) return true;
        uint32_t at = begin;
        for (int face = 0; face < 6 && at; ++face) at = pastName(at, end);
        return at != 0;
      }
      case kSpotlight:  // target, hot spot, fall-off, then its chunks
        return parent != kDirectLight || (payload >= 20 && children(id, begin + 20, end));
      case kSpotProjector:
        return parent != kSpotlight || pastName(begin, end);
      case kInstanceName:
        return !isNode(parent) || pastName(begin, end);
      case kNamedObject: {
        uint32_t after = pastName(begin, end);
        return after && children(id, after, end);
      }
      case kTriObject:
        return parent != kNamedObject || triObject(begin, end);
      case kCamera:
        return payload >= 32 && children(id, begin + 32, end);
      case kDirectLight:
        return payload >= 12 && children(id, begin + 12, end);
      case kPointArray:
        if (parent == kTriObject && payload >= 2) points_ = word(begin);
        return parent != kTriObject || countedArray(id, begin, payload);
      case kPointFlagArray:
      case kTexVerts:
        return parent != kTriObject || countedArray(id, begin, payload);
      case kFaceArray: {
        if (parent != kTriObject) return true;
        if (payload < 2) return false;
        uint32_t faces = word(begin);
        if (uint64_t(faces) * 8 > payload - 2) return false;
        faces_ = faces;
        faceList_ = begin + 2;
        return children(id, begin + 2 + faces * 8, end);
      }
      case kMeshMatGroup:
        return parent != kFaceArray || materialGroup(begin, end);
      case kSmoothGroup:
        return parent != kFaceArray || uint64_t(faces_) * 4 <= payload;
      case kMeshMatrix:
        return parent != kTriObject || payload >= 48;
      case kNodeHeader: {
        if (!isNode(parent)) return true;
        uint32_t after = pastName(begin, end);
        if (!after || end - after < 6) return false;
        nodes_.back().parent = word(after + 4);
        return true;
      }
      case kNodeId:
        if (isNode(parent) && payload >= 2) nodes_.back().id = word(begin);
        return true;
      default:
        if (id >= kFirstNodeTag && id <= kLastNodeTag && parent == kKfData) {
          // lib3ds numbers the nodes of a keyframe section in order (a
          // node id chunk overrides it); a node without a header keeps
          // parent 0.
          nodes_.push_back(NodeLink{nodesInKfData_++, 0});
          return children(id, begin, end);
        }
        if (id >= kFirstTrack && id <= kLastTrack && isNode(parent)) return track(id, begin, end);
        if (isTextureMap(id) && parent == kMatEntry) return children(id, begin, end);
        return true;  // lib3ds reads fixed-size values or skips it
    }
  }

  static bool isNode(uint16_t id) { return id >= kFirstNodeTag && id <= kLastNodeTag; }
  static bool isTopLevel(uint16_t id) {
    return id == kM3dMagic || id == kMlibMagic || id == kCMagic || id == kMData;
  }
  // The chunks lib3ds reads as texture maps of a material.
  static bool isTextureMap(uint16_t id) {
    switch (id) {
      case 0xA200: case 0xA33E: case 0xA33A: case 0xA340: case 0xA210: case 0xA342:
      case 0xA230: case 0xA344: case 0xA204: case 0xA348: case 0xA33C: case 0xA346:
      case 0xA33D: case 0xA34A: case 0xA220: case 0xA34C:
        return true;
      default:
        return false;
    }
  }

  // A mesh: its chunks, then every face's corners inside the point list
  // (lib3ds computes face normals from them while it reads).
  bool triObject(uint32_t begin, uint32_t end) {
    points_ = faces_ = faceList_ = 0;
    if (!children(kTriObject, begin, end)) return false;
    for (uint32_t f = 0; f < faces_; ++f)
      for (uint32_t c = 0; c < 3; ++c)
        if (word(faceList_ + f * 8 + c * 2) >= points_) return false;
    return true;
  }

  // lib3ds re-links children under parents by id as it inserts nodes; a
  // chain of parent ids that comes back to where it started (a node its own
  // parent, included) sends it into endless recursion.
  bool nodeTreeIsAForest() const {
    std::map<uint16_t, std::vector<uint16_t>> parents;
    for (const NodeLink& n : nodes_)
      if (n.id != kNoNode && n.parent != kNoNode) parents[n.id].push_back(n.parent);
    // Depth-first search for a cycle; 1 = on the current path, 2 = done.
    std::map<uint16_t, int> state;
    for (const auto& start : parents) {
      if (state[start.first]) continue;
      std::vector<std::pair<uint16_t, std::size_t>> path{{start.first, 0}};
      state[start.first] = 1;
      while (!path.empty()) {
        auto& [id, next] = path.back();
        auto up = parents.find(id);
        if (up == parents.end() || next == up->second.size()) {
          state[id] = 2;
          path.pop_back();
          continue;
        }
        uint16_t parent = up->second[next++];
        if (state[parent] == 1) return false;
        if (state[parent] == 0) {
          state[parent] = 1;
          path.emplace_back(parent, 0);
        }
      }
    }
    return true;
  }

  bool countedArray(uint16_t id, uint32_t begin, uint32_t payload) const {
    if (payload < 2) return false;
    uint64_t n = word(begin);
    uint64_t each = id == kPointArray ? 12 : id == kTexVerts ? 8 : 2;
    return n * each <= payload - 2;
  }

  bool materialGroup(uint32_t begin, uint32_t end) const {
    uint32_t at = pastName(begin, end);
    if (!at || end - at < 2) return false;
    uint32_t count = word(at);
    at += 2;
    if (uint64_t(count) * 2 > end - at) return false;
    for (uint32_t i = 0; i < count; ++i)
      if (word(at + i * 2) >= faces_) return false;
    return true;
  }

  // Flags, two reserved words, the key count, then keys of a spline header
  // (frame, flags, one float per flag bit) and the track's value.
  bool track(uint16_t id, uint32_t begin, uint32_t end) const {
    if (end - begin < 14) return false;
    uint32_t keys = dword(begin + 10);
    if (keys > 0x7fffffffu) return true;  // lib3ds reads a negative count as none
    // A looping track is evaluated at its frame wrapped into the range of
    // its keys, and lib3ds trusts that wrap to land between two keys: with
    // keys out of order, or frames too large to wrap exactly as floats, it
    // reads past the last key.
    const bool loops = (word(begin) & kLoopingTrack) != 0;
    uint32_t lastFrame = 0;
    uint32_t at = begin + 14;
    for (uint32_t k = 0; k < keys; ++k) {
      if (end - at < 6) return false;
      const uint32_t frame = dword(at);
      if (loops && (frame > kLargestLoopedFrame || (k > 0 && frame <= lastFrame))) return false;
      lastFrame = frame;
      uint16_t flags = word(at + 4);
      at += 6;
      for (int bit = 0; bit < 5; ++bit)
        if (flags & (1 << bit)) {
          if (end - at < 4) return false;
          at += 4;
        }
      uint32_t value;
      switch (id) {
        case 0xB021: value = 16; break;  // rotation: angle and axis
        case 0xB026: {                   // morph: a name
          uint32_t after = pastName(at, end, kMorphNameLength);
          if (!after) return false;
          value = after - at;
          break;
        }
        case 0xB029: value = 0; break;  // hide: the key alone
        case 0xB023:
        case 0xB024:
        case 0xB027:
        case 0xB028: value = 4; break;  // fov, roll, hotspot, falloff
        default: value = 12; break;     // positions, scales, colours
      }
      if (end - at < value) return false;
      at += value;
    }
    return true;
  }

  struct NodeLink {
    uint16_t id;
    uint16_t parent;
  };

  const unsigned char* data_;
  uint32_t size_;
  // The mesh being checked: its point count, face count and face list.
  uint32_t points_ = 0;
  uint32_t faces_ = 0;
  uint32_t faceList_ = 0;
  std::vector<NodeLink> nodes_;  // keyframe nodes met so far
  uint16_t nodesInKfData_ = 0;   // nodes of the keyframe section being checked
};

}  // namespace

bool check3dsChunks(const unsigned char* data, int32_t size) {
  if (!data || size <= 0) return false;
  return ChunkChecker(data, static_cast<uint32_t>(size)).checkFile();
}
