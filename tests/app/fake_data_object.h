// Dragged data built by hand: offers one clipboard format on an HGLOBAL,
// the way a file manager (CF_HDROP) or an editor (CF_TEXT) offers it.
#pragma once

#include <ole2.h>
#include <windows.h>

#include <string>
#include <vector>

#include "com_object.h"

namespace fenlodar::testing {

// Lives on the test's stack; the test holds its first reference throughout.
class FakeDataObject : public ComObject<IDataObject, IID_IDataObject> {
 public:
  FakeDataObject(CLIPFORMAT format, std::string bytes);
  // Whoever it was handed to must have given back every reference it took.
  ~FakeDataObject() override;

  // A platform file list (DROPFILES, ANSI names) holding `names`.
  static FakeDataObject FileList(const std::vector<std::string>& names);
  static FakeDataObject Text(const std::string& text);

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out) out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }

 private:
  CLIPFORMAT format_;
  std::string bytes_;
};

}  // namespace fenlodar::testing
