#pragma once

// Owning wrappers for Win32 handles, one line per handle type: a traits type
// names the handle type, its invalid value and its close function.

#include <windows.h>

#include <utility>

namespace velkora::win32 {

template <typename Traits>
class UniqueAny {
 public:
  using Handle = typename Traits::Handle;

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

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }

  // Takes ownership of a new handle, closing the old one.
  void reset(Handle handle = Traits::Invalid()) {
    if (handle_ != Traits::Invalid()) Traits::Close(handle_);
    handle_ = handle;
  }
  // Gives up ownership without closing.
  Handle release() { return std::exchange(handle_, Traits::Invalid()); }
  // The address to receive a handle from an out-parameter; closes the old one.
  Handle* put() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

template <typename H, auto CloseFn, H (*InvalidFn)()>
struct HandleTraits {
  using Handle = H;
  static Handle Invalid() { return InvalidFn(); }
  static void Close(Handle handle) { CloseFn(handle); }
};

inline HANDLE NullHandle() { return nullptr; }
inline HANDLE InvalidHandleValue() { return INVALID_HANDLE_VALUE; }
inline HKEY NullKey() { return nullptr; }

// Kernel objects (mutex, process, thread); invalid is null.
using UniqueHandle = UniqueAny<HandleTraits<HANDLE, &::CloseHandle, &NullHandle>>;
// Files from CreateFile; invalid is INVALID_HANDLE_VALUE.
using UniqueFile = UniqueAny<HandleTraits<HANDLE, &::CloseHandle, &InvalidHandleValue>>;
// Directory searches from FindFirstFile.
using UniqueFind = UniqueAny<HandleTraits<HANDLE, &::FindClose, &InvalidHandleValue>>;
// Registry keys.
using UniqueHkey = UniqueAny<HandleTraits<HKEY, &::RegCloseKey, &NullKey>>;

}  // namespace velkora::win32
