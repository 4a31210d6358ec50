#pragma once

// Owners of COM interface pointers, BSTRs, VARIANTs and the attribute
// blocks type information lends out.

#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>

#include <utility>

#include "base/unique_any.h"

namespace velkora::win32 {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds (a new object, which
  // starts at one reference; an out-parameter filled by the callee).
  static ComPtr Attach(T* pointer) {
    ComPtr result;
    result.pointer_ = pointer;
    return result;
  }
  // Takes a reference of its own on a pointer the caller only borrows (an
  // argument, a value inside a VARIANT).
  static ComPtr Copy(T* pointer) {
    if (pointer) pointer->AddRef();
    return Attach(pointer);
  }
  ComPtr(const ComPtr& other) : pointer_(other.pointer_) {
    if (pointer_) pointer_->AddRef();
  }
  ComPtr& operator=(const ComPtr& other) {
    ComPtr(other).swap(*this);
    return *this;
  }
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    ComPtr(std::move(other)).swap(*this);
    return *this;
  }
  ~ComPtr() { reset(); }

  void reset() {
    if (T* old = std::exchange(pointer_, nullptr)) old->Release();
  }
  void swap(ComPtr& other) noexcept { std::swap(pointer_, other.pointer_); }
  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // The address for an out-parameter; drops the current reference first.
  T** put() {
    reset();
    return &pointer_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  // Gives up the reference without releasing it, for an out-parameter.
  [[nodiscard]] T* Detach() { return std::exchange(pointer_, nullptr); }
  // Hands a new reference to an out-parameter of the caller.
  void CopyTo(T** out) const {
    *out = pointer_;
    if (pointer_) pointer_->AddRef();
  }

 private:
  T* pointer_ = nullptr;
};

using UniqueBstr = UniqueAny<BSTR, &::SysFreeString>;
// The thread's COM initialisation: CoUninitialize when it goes.
using UniqueCoInitialize = UniqueCall<&::CoUninitialize>;
// A registered class object, by its cookie: CoRevokeClassObject when it goes.
using UniqueClassObject = UniqueAny<DWORD, &::CoRevokeClassObject, DWORD{0}>;

inline void RevokeMessageFilter() { CoRegisterMessageFilter(nullptr, nullptr); }
// The apartment's message filter: taken away when the owner goes.
using UniqueMessageFilter = UniqueCall<&RevokeMessageFilter>;

// A VARIANT that is cleared (VariantClear) when the owner goes, whatever it
// holds by then.
class UniqueVariant {
 public:
  UniqueVariant() { VariantInit(&value_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  ~UniqueVariant() { VariantClear(&value_); }

  const VARIANT& get() const { return value_; }
  // The address for an out-parameter; clears the old value first.
  VARIANT* put() {
    VariantClear(&value_);
    return &value_;
  }

 private:
  VARIANT value_;
};

// An attribute block that `Owner` lends out (GetTypeAttr, GetLibAttr) and
// takes back with `Return` (ReleaseTypeAttr, ReleaseTLibAttr).
template <typename Owner, typename Attr, void (STDMETHODCALLTYPE Owner::*Return)(Attr*)>
class UniqueLent {
 public:
  explicit UniqueLent(Owner* owner) : owner_(owner) {}
  UniqueLent(const UniqueLent&) = delete;
  UniqueLent& operator=(const UniqueLent&) = delete;
  ~UniqueLent() {
    if (attr_ != nullptr) (owner_->*Return)(attr_);
  }

  const Attr* operator->() const { return attr_; }
  Attr** put() { return &attr_; }

 private:
  Owner* owner_;
  Attr* attr_ = nullptr;
};

using UniqueTypeAttr = UniqueLent<ITypeInfo, TYPEATTR, &ITypeInfo::ReleaseTypeAttr>;
using UniqueTLibAttr = UniqueLent<ITypeLib, TLIBATTR, &ITypeLib::ReleaseTLibAttr>;

}  // namespace velkora::win32
