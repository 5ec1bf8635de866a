#pragma once

#include <cstdint>
#include <vector>

// Numbers of the binary formats: little-endian, explicit widths, read and written byte by
// byte so that no layout of a struct is ever assumed.
namespace zorvane::platform {

inline std::uint16_t ReadUint16(const std::uint8_t* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

inline std::int16_t ReadInt16(const std::uint8_t* bytes) {
  return static_cast<std::int16_t>(ReadUint16(bytes));
}

inline std::uint32_t ReadUint32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
         (static_cast<std::uint32_t>(bytes[2]) << 16) |
         (static_cast<std::uint32_t>(bytes[3]) << 24);
}

inline std::int32_t ReadInt32(const std::uint8_t* bytes) {
  return static_cast<std::int32_t>(ReadUint32(bytes));
}

inline void WriteUint32(std::uint8_t* out, std::uint32_t value) {
  out[0] = static_cast<std::uint8_t>(value);
  out[1] = static_cast<std::uint8_t>(value >> 8);
  out[2] = static_cast<std::uint8_t>(value >> 16);
  out[3] = static_cast<std::uint8_t>(value >> 24);
}

inline void WriteInt32(std::uint8_t* out, std::int32_t value) {
  WriteUint32(out, static_cast<std::uint32_t>(value));
}

inline void WriteUint16(std::uint8_t* out, std::uint16_t value) {
  out[0] = static_cast<std::uint8_t>(value);
  out[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void WriteInt16(std::uint8_t* out, std::int16_t value) {
  WriteUint16(out, static_cast<std::uint16_t>(value));
}

inline void AppendUint16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.resize(out.size() + 2);
  WriteUint16(out.data() + out.size() - 2, value);
}

inline void AppendInt16(std::vector<std::uint8_t>& out, std::int16_t value) {
  AppendUint16(out, static_cast<std::uint16_t>(value));
}

inline void AppendInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
  out.resize(out.size() + 4);
  WriteInt32(out.data() + out.size() - 4, value);
}

inline void AppendUint32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.resize(out.size() + 4);
  WriteUint32(out.data() + out.size() - 4, value);
}

}  // namespace zorvane::platform
