#include "platform/checksum.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace zorvane::platform {

namespace {

constexpr std::uint64_t kPrime1 = 0x9e3779b185ebca87ULL;
constexpr std::uint64_t kPrime2 = 0xc2b2ae3d27d4eb4fULL;
constexpr std::uint64_t kPrime3 = 0x165667b19e3779f9ULL;

constexpr std::uint64_t RotateLeft(std::uint64_t value, int bits) {
  return (value << bits) | (value >> (64 - bits));
}

// Eight bytes as a little-endian number, whatever the machine's order.
std::uint64_t Word(const std::uint8_t* bytes) {
  std::uint64_t value = 0;
  std::memcpy(&value, bytes, sizeof value);
  if constexpr (std::endian::native == std::endian::big) {
    std::uint64_t swapped = 0;
    for (int i = 0; i < 8; ++i) swapped = (swapped << 8) | ((value >> (8 * i)) & 0xff);
    value = swapped;
  }
  return value;
}

std::uint64_t Round(std::uint64_t lane, std::uint64_t word) {
  return RotateLeft(lane + word * kPrime2, 31) * kPrime1;
}

std::uint64_t Mix(std::uint64_t value) {
  value ^= value >> 33;
  value *= kPrime2;
  value ^= value >> 29;
  value *= kPrime3;
  return value ^ (value >> 32);
}

}  // namespace

void Checksum::AddBlock(const std::uint8_t* block) {
  for (std::size_t lane = 0; lane < lanes_.size(); ++lane) {
    lanes_[lane] = Round(lanes_[lane], Word(block + 8 * lane));
  }
}

void Checksum::Add(std::span<const std::uint8_t> bytes) {
  total_ += bytes.size();
  const std::uint8_t* next = bytes.data();
  std::size_t left = bytes.size();
  if (pendingLength_ > 0) {
    const std::size_t taken = std::min(left, pending_.size() - pendingLength_);
    std::memcpy(pending_.data() + pendingLength_, next, taken);
    pendingLength_ += taken;
    next += taken;
    left -= taken;
    if (pendingLength_ < pending_.size()) return;
    AddBlock(pending_.data());
    pendingLength_ = 0;
  }
  for (; left >= pending_.size(); next += pending_.size(), left -= pending_.size()) {
    AddBlock(next);
  }
  if (left > 0) std::memcpy(pending_.data(), next, left);
  pendingLength_ = left;
}

std::uint64_t Checksum::Value() const {
  std::uint64_t value = total_ * kPrime3;
  for (std::size_t lane = 0; lane < lanes_.size(); ++lane) {
    value = RotateLeft(value ^ Mix(lanes_[lane]), 27) * kPrime1 + kPrime2;
  }
  for (std::size_t i = 0; i < pendingLength_; ++i) {
    value = RotateLeft(value ^ (pending_[i] * kPrime3), 11) * kPrime1;
  }
  return Mix(value);
}

}  // namespace zorvane::platform
