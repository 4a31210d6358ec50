#pragma once

#include <type_traits>
#include <utility>

namespace velkora {

// Owns one handle of an operating-system resource and closes it exactly
// once, so that every kind of handle gets its owner in one line:
//
//   using UniqueHkey = UniqueAny<HKEY, &::RegCloseKey>;
//   using UniqueFd = UniqueAny<int, &CloseFd, -1>;
//
// `Close` is called with the handle; its result is ignored (an owner being
// destroyed has nobody to tell). `Invalid` is the value that owns nothing:
// a constant, or a function returning it for handle types whose "none" is
// not a constant expression (INVALID_HANDLE_VALUE). An owner cannot be
// copied; moving hands the handle over and leaves the source empty.
template <typename Handle, auto Close, auto Invalid = Handle{}>
class UniqueAny {
 public:
  UniqueAny() = default;
  explicit UniqueAny(Handle handle) : handle_(handle) {}
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;
  UniqueAny(UniqueAny&& other) noexcept : handle_(other.release()) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueAny() { reset(); }

  static Handle InvalidValue() {
    if constexpr (std::is_invocable_v<decltype(Invalid)>) {
      return Invalid();
    } else {
      return Invalid;
    }
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != InvalidValue(); }

  // Takes ownership of `handle` and closes the old one. The owner lets go
  // of the old handle before closing it, so code that the close runs (a
  // window's destruction messages) already sees the owner's new state.
  void reset(Handle handle = InvalidValue()) {
    const Handle old = std::exchange(handle_, handle);
    if (old != InvalidValue()) Close(old);
  }
  // Gives up ownership without closing.
  [[nodiscard]] Handle release() { return std::exchange(handle_, InvalidValue()); }
  // The address to receive a handle from an out-parameter; closes the old one.
  Handle* put() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = InvalidValue();
};

// Makes one call when it goes, unless released: the owner of a state that
// has no handle (an initialised library). A default-made owner owes nothing.
template <auto Call>
class UniqueCall {
 public:
  UniqueCall() = default;
  // `owed` true: the call is made when the owner goes.
  explicit UniqueCall(bool owed) : armed_(owed) {}
  UniqueCall(const UniqueCall&) = delete;
  UniqueCall& operator=(const UniqueCall&) = delete;
  UniqueCall(UniqueCall&& other) noexcept : armed_(std::exchange(other.armed_, false)) {}
  UniqueCall& operator=(UniqueCall&& other) noexcept {
    if (this != &other) {
      reset();
      armed_ = std::exchange(other.armed_, false);
    }
    return *this;
  }
  ~UniqueCall() { reset(); }

  explicit operator bool() const { return armed_; }
  // Makes the call now, if it is still owed.
  void reset() {
    if (std::exchange(armed_, false)) Call();
  }
  // Forgets the call.
  void release() { armed_ = false; }

 private:
  bool armed_ = false;
};

}  // namespace velkora
