#include "file_drop_target.h"

#include <utility>
#include <vector>

#include "drop_effect.h"
#include "system_library.h"
#include "task_selection.h"

namespace fenlodar {

namespace {

FORMATETC FileListFormat() {
  return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

std::vector<std::string> NamesOf(decltype(&DragQueryFileA) query, HDROP drop) {
  std::vector<std::string> names;
  const UINT count = query(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::string name(query(drop, i, nullptr, 0), '\0');
    query(drop, i, name.data(), static_cast<UINT>(name.size() + 1));
    names.push_back(std::move(name));
  }
  return names;
}

}  // namespace

bool OffersFileList(IDataObject* data) {
  if (data == nullptr) return false;
  FORMATETC format = FileListFormat();
  return data->QueryGetData(&format) == S_OK;
}

FileDropTarget::FileDropTarget(DroppedNames on_dropped)
    : on_dropped_(std::move(on_dropped)) {}

bool FileDropTarget::Register(HWND window) {
  if (window_ != nullptr) return false;
  window_ = window;
  registered_ = SUCCEEDED(RegisterDragDrop(window, this));
  return registered_;
}

void FileDropTarget::Revoke() {
  if (registered_) RevokeDragDrop(window_);
  registered_ = false;
}

HRESULT FileDropTarget::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG FileDropTarget::AddRef() { return ++references_; }

ULONG FileDropTarget::Release() { return references_ > 0 ? --references_ : 0; }

HRESULT FileDropTarget::DragEnter(IDataObject* data, DWORD key_state, POINTL,
                                  DWORD* effect) {
  // The names can only be read with the shell library: without it the
  // cursor says at once that nothing can be dropped here.
  drag_acceptable_ = OffersFileList(data) && DragQueryFileCall() != nullptr;
  return DragOver(key_state, {}, effect);
}

HRESULT FileDropTarget::DragOver(DWORD key_state, POINTL, DWORD* effect) {
  if (effect == nullptr) return E_INVALIDARG;
  *effect = drag_acceptable_ ? DropEffectFor(key_state, *effect) : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT FileDropTarget::DragLeave() {
  drag_acceptable_ = false;
  return S_OK;
}

HRESULT FileDropTarget::Drop(IDataObject* data, DWORD key_state, POINTL, DWORD* effect) {
  drag_acceptable_ = false;
  if (effect == nullptr) return E_INVALIDARG;
  const bool deliver =
      OffersFileList(data) && DropEffectFor(key_state, *effect) != DROPEFFECT_NONE;
  // Never performed: the source must not move or delete what was dragged.
  *effect = DROPEFFECT_NONE;
  if (!deliver) return S_OK;
  const auto query = DragQueryFileCall();
  if (query == nullptr) return S_OK;

  FORMATETC format = FileListFormat();
  STGMEDIUM medium{};
  if (data->GetData(&format, &medium) != S_OK) return S_OK;
  if (medium.tymed != TYMED_HGLOBAL || medium.hGlobal == nullptr) {
    ReleaseStgMedium(&medium);
    return S_OK;
  }
  const std::string names =
      JoinDroppedNames(NamesOf(query, static_cast<HDROP>(medium.hGlobal)));
  ReleaseStgMedium(&medium);
  if (on_dropped_) on_dropped_(names);
  return S_OK;
}

}  // namespace fenlodar
