#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace zorvane::platform {

// A 64-bit checksum of a stream of bytes, fed in pieces of any size; the same bytes give the
// same value however they were cut. Four independent lanes over 32-byte blocks keep it at
// several gigabytes a second, so that checking a rewritten archive of hundreds of megabytes
// costs little next to writing it.
class Checksum {
 public:
  void Add(std::span<const std::uint8_t> bytes);
  std::uint64_t Value() const;

 private:
  void AddBlock(const std::uint8_t* block);
  std::array<std::uint64_t, 4> lanes_{0x60ea27eeadc0b5d6ULL, 0xc2b2ae3d27d4eb4fULL, 0,
                                      0x61c8864e7a143579ULL};
  std::array<std::uint8_t, 32> pending_{};
  std::size_t pendingLength_ = 0;
  std::uint64_t total_ = 0;
};

}  // namespace zorvane::platform
