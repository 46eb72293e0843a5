// The IUnknown part of the COM objects that tests build by hand: one
// interface besides IUnknown, and a reference count that starts at one for
// whoever made the object and deletes it when the last reference goes.
//
// To use it: derive `class Mine : public ComObject<IDataObject,
// IID_IDataObject>`, implement the interface's own methods, and either make
// it with `new` and end with Release(), or keep it on the stack, holding the
// first reference for its whole life and never releasing it.
#pragma once

#include <unknwn.h>
#include <windows.h>

namespace fenlodar::testing {

template <class Interface, const IID& kInterfaceId>
class ComObject : public Interface {
 public:
  ComObject() = default;
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;
  virtual ~ComObject() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kInterfaceId)) {
      *object = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // The references held now, the maker's included.
  LONG References() const { return references_; }

 private:
  volatile LONG references_ = 1;
};

}  // namespace fenlodar::testing
