#include "ole_drag.h"

#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <memory>
#include <thread>

#include "com_object.h"

namespace fenlodar::e2e {

namespace {

// One format, on an HGLOBAL made fresh for every request.
class DataObject : public testing::ComObject<IDataObject, IID_IDataObject> {
 public:
  DataObject(CLIPFORMAT format, std::string payload)
      : format_(format), payload_(std::move(payload)) {}

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* wanted, STGMEDIUM* medium) override {
    if (QueryGetData(wanted) != S_OK) return DV_E_FORMATETC;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, payload_.size());
    if (!memory) return E_OUTOFMEMORY;
    std::memcpy(GlobalLock(memory), payload_.data(), payload_.size());
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* wanted) override {
    if (wanted->cfFormat != format_) return DV_E_FORMATETC;
    if (!(wanted->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
    if (wanted->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction,
                                          IEnumFORMATETC** out) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    FORMATETC offered = {format_, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return SHCreateStdEnumFmtEtc(1, &offered, out);
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
  std::string payload_;
};

// Holds the "button" for a few polls so the target sees the drag enter and
// move over it, then lets go.
class DropSource : public testing::ComObject<IDropSource, IID_IDropSource> {
 public:
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override {
    return ++polls_ < 4 ? S_OK : DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override {
    return DRAGDROP_S_USEDEFAULTCURSORS;
  }

 private:
  int polls_ = 0;
};

// DROPFILES followed by the names, each ending in a zero, and one more zero.
std::string FileListOf(const std::vector<std::string>& names) {
  DROPFILES header{};
  header.pFiles = sizeof header;
  header.fWide = FALSE;
  std::string list(reinterpret_cast<const char*>(&header), sizeof header);
  for (const std::string& name : names) list += name + '\0';
  list += '\0';
  return list;
}

}  // namespace

std::future<DragOutcome> StartDrag(HWND target, std::vector<std::string> names,
                                   bool as_text) {
  auto outcome = std::make_shared<std::promise<DragOutcome>>();
  std::future<DragOutcome> done = outcome->get_future();
  std::thread([=] {
    OleInitialize(nullptr);
    RECT rect{};
    GetWindowRect(target, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    auto* data = as_text ? new DataObject(CF_TEXT, names.front() + '\0')
                         : new DataObject(CF_HDROP, FileListOf(names));
    auto* source = new DropSource;
    DragOutcome result;
    result.result =
        DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                   &result.effect);
    source->Release();
    data->Release();
    OleUninitialize();
    outcome->set_value(result);
  }).detach();
  return done;
}

}  // namespace fenlodar::e2e
