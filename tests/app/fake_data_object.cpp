#include "fake_data_object.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>

namespace fenlodar::testing {

FakeDataObject::FakeDataObject(CLIPFORMAT format, std::string bytes)
    : format_(format), bytes_(std::move(bytes)) {}

FakeDataObject::~FakeDataObject() {
  EXPECT_EQ(References(), 1) << "references to the dragged data kept or released twice";
}

FakeDataObject FakeDataObject::FileList(const std::vector<std::string>& names) {
  DROPFILES header{};
  header.pFiles = sizeof(header);
  header.fWide = FALSE;
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof(header));
  for (const std::string& name : names) bytes += name + '\0';
  bytes += '\0';
  return FakeDataObject(CF_HDROP, bytes);
}

FakeDataObject FakeDataObject::Text(const std::string& text) {
  return FakeDataObject(CF_TEXT, text + '\0');
}

HRESULT FakeDataObject::QueryGetData(FORMATETC* format) {
  if (format->cfFormat != format_) return DV_E_FORMATETC;
  if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
  return S_OK;
}

HRESULT FakeDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
  const HRESULT offered = QueryGetData(format);
  if (offered != S_OK) return offered;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes_.size());
  std::memcpy(GlobalLock(memory), bytes_.data(), bytes_.size());
  GlobalUnlock(memory);
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = memory;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

}  // namespace fenlodar::testing
