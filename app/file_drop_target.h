// The window's drop target: accepts dragged files only and turns one drop
// into one text of names for its callback.
//
// To use it:
//  1. Construct it with the routine that takes the dropped names.
//  2. Call Register() once with the top-level window, after OleInitialize.
//  3. Call Revoke() before that window is gone.
// The object is owned by whoever holds it; the platform's references
// (AddRef/Release) never delete it.
#pragma once

#include <ole2.h>
#include <windows.h>

#include <functional>
#include <string>

namespace fenlodar {

class FileDropTarget : public IDropTarget {
 public:
  using DroppedNames = std::function<void(const std::string& names)>;

  explicit FileDropTarget(DroppedNames on_dropped);
  FileDropTarget(const FileDropTarget&) = delete;
  FileDropTarget& operator=(const FileDropTarget&) = delete;

  // False when a window was already kept (even one whose registration
  // failed) or when the platform refuses; the handle is kept either way.
  bool Register(HWND window);
  void Revoke();

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDropTarget
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD key_state, POINTL point,
                                      DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD key_state, POINTL point,
                                     DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD key_state, POINTL point,
                                 DWORD* effect) override;

 private:
  DroppedNames on_dropped_;
  HWND window_ = nullptr;
  bool registered_ = false;
  bool drag_acceptable_ = false;
  ULONG references_ = 0;
};

// True when the data offers the platform's file list (CF_HDROP).
bool OffersFileList(IDataObject* data);

}  // namespace fenlodar
