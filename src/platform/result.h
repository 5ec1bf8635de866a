#pragma once

#include <optional>
#include <string>
#include <utility>

namespace zorvane::platform {

// The outcome of an operation that returns nothing: success, or a failure with a reason
// that can be shown to the user ("Permission denied", "No space left on device").
class [[nodiscard]] Status {
 public:
  static Status Success() { return Status(); }
  static Status Failure(std::string reason) { return Status(std::move(reason)); }

  bool Ok() const { return !reason_.has_value(); }
  explicit operator bool() const { return Ok(); }
  const std::string& Reason() const { return *reason_; }

 private:
  Status() = default;
  explicit Status(std::string reason) : reason_(std::move(reason)) {}
  std::optional<std::string> reason_;
};

// A value, or the reason why there is none.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}          // NOLINT: implicit on purpose
  Result(Status failure) : reason_(failure.Reason()) {}  // NOLINT: from Status::Failure

  bool Ok() const { return value_.has_value(); }
  explicit operator bool() const { return Ok(); }
  const T& Value() const& { return *value_; }
  T& Value() & { return *value_; }
  T&& Value() && { return std::move(*value_); }
  const std::string& Reason() const { return reason_; }

 private:
  std::optional<T> value_;
  std::string reason_;
};

}  // namespace zorvane::platform
