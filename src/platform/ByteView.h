#pragma once

#include <QByteArrayView>
#include <cstdint>

// Bounds-checked reads of numbers from a block of bytes, with the byte order named at every
// call. A read that would run past the block yields 0 instead of touching memory beyond it, so a
// parser can check the length once and still never overrun on a short or hostile block.
namespace bytes {

inline bool Fits(QByteArrayView view, int64_t offset, int64_t count) {
  return offset >= 0 && count >= 0 && offset <= view.size() && count <= view.size() - offset;
}

inline uint8_t U8(QByteArrayView view, int64_t offset) {
  return Fits(view, offset, 1) ? static_cast<uint8_t>(view[offset]) : 0;
}

inline uint32_t BE(QByteArrayView view, int64_t offset, int width) {
  if (!Fits(view, offset, width))
    return 0;
  uint32_t value = 0;
  for (int i = 0; i < width; ++i)
    value = value << 8 | static_cast<uint8_t>(view[offset + i]);
  return value;
}

inline uint64_t LE(QByteArrayView view, int64_t offset, int width) {
  if (!Fits(view, offset, width))
    return 0;
  uint64_t value = 0;
  for (int i = width - 1; i >= 0; --i)
    value = value << 8 | static_cast<uint8_t>(view[offset + i]);
  return value;
}

inline uint16_t BE16(QByteArrayView view, int64_t offset) {
  return static_cast<uint16_t>(BE(view, offset, 2));
}
inline uint32_t BE24(QByteArrayView view, int64_t offset) {
  return BE(view, offset, 3);
}
inline uint32_t BE32(QByteArrayView view, int64_t offset) {
  return BE(view, offset, 4);
}
inline uint16_t LE16(QByteArrayView view, int64_t offset) {
  return static_cast<uint16_t>(LE(view, offset, 2));
}
inline uint32_t LE32(QByteArrayView view, int64_t offset) {
  return static_cast<uint32_t>(LE(view, offset, 4));
}
inline uint64_t LE64(QByteArrayView view, int64_t offset) {
  return LE(view, offset, 8);
}

// The bytes at offset equal the ASCII text (false when they would run past the block).
inline bool Matches(QByteArrayView view, int64_t offset, QByteArrayView text) {
  return Fits(view, offset, text.size()) && view.sliced(offset, text.size()) == text;
}

}  // namespace bytes
