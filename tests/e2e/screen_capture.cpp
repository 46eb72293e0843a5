#include "screen_capture.h"

namespace fenlodar::e2e {

ScreenCapture ScreenCapture::Of(const RECT& rect) {
  ScreenCapture capture;
  capture.width_ = rect.right - rect.left;
  capture.height_ = rect.bottom - rect.top;
  capture.stride_ = (capture.width_ * 3 + 3) & ~3;
  capture.rows_.resize(static_cast<std::size_t>(capture.stride_) * capture.height_);

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, capture.width_, capture.height_);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, capture.width_, capture.height_, screen, rect.left, rect.top,
         SRCCOPY);
  SelectObject(memory, previous);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = capture.width_;
  info.bmiHeader.biHeight = capture.height_;  // bottom-up, as a .bmp stores it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  GetDIBits(memory, bitmap, 0, capture.height_, capture.rows_.data(), &info,
            DIB_RGB_COLORS);

  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return capture;
}

std::uint32_t ScreenCapture::At(int x, int y) const {
  const std::size_t at = static_cast<std::size_t>(height_ - 1 - y) * stride_ +
                         static_cast<std::size_t>(x) * 3;
  return (static_cast<std::uint32_t>(rows_[at + 2]) << 16) |
         (static_cast<std::uint32_t>(rows_[at + 1]) << 8) | rows_[at];
}

bool ScreenCapture::WriteBmp(const std::string& path) const {
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width_;
  info.biHeight = height_;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(rows_.size());
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;

  HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) &&
            WriteFile(out, &info, sizeof info, &written, nullptr) &&
            WriteFile(out, rows_.data(), info.biSizeImage, &written, nullptr);
  CloseHandle(out);
  return ok;
}

}  // namespace fenlodar::e2e
