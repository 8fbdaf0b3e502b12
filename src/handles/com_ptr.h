// COM interface pointers that release themselves, and COM initialised for
// the lifetime of a scope.
//
// https://learn.microsoft.com/windows/win32/learnwin32/managing-the-lifetime-of-an-object
#pragma once

#include <objbase.h>
#include <oleauto.h>

#include "handles/owned_handle.h"

// A text that a COM call allocated for the caller (IAccessible's names).
using ComText = OwnedHandle<BSTR, &::SysFreeString>;

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  Interface* operator->() const { return pointer_; }
  Interface* Get() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // The out parameter of a call that hands over a new reference
  // (CoCreateInstance, QueryInterface).
  void** Receive() {
    Reset();
    return reinterpret_cast<void**>(&pointer_);
  }
  void Reset() {
    if (pointer_ != nullptr) pointer_->Release();
    pointer_ = nullptr;
  }

 private:
  Interface* pointer_ = nullptr;
};

// COM on the calling thread from construction to destruction. A thread that
// has COM already keeps it; every successful CoInitialize is balanced.
class ComScope {
 public:
  ComScope() : result_(CoInitialize(nullptr)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};
