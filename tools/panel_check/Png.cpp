// PNG files through the Windows Imaging Component.
#include "PanelCheck.h"
// clang-format off
#include <objbase.h>  // after <windows.h>, which PanelCheck.h brings
#include <wincodec.h>
// clang-format on

namespace panel_check {

namespace {

// Holds a COM interface and releases it.
template <typename T>
class Com {
 public:
  Com() = default;
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  ~Com() {
    if (p_ != nullptr) p_->Release();
  }
  T** out() { return &p_; }
  T* get() const { return p_; }
  T* operator->() const { return p_; }

 private:
  T* p_ = nullptr;
};

}  // namespace

bool savePng(const host_client::Grab& grab, const std::string& path) {
  if (grab.pixels.empty()) return false;
  static const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  std::wstring widePath(path.size() + 1, L'\0');
  widePath.resize(
      static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &widePath[0],
                                                   static_cast<int>(widePath.size())) -
                               1));
  // Rows of blue, green and red bytes, each row padded to four bytes.
  const UINT stride = (static_cast<UINT>(grab.width) * 3 + 3) & ~3u;
  std::vector<BYTE> rows(static_cast<std::size_t>(stride) * grab.height);
  for (int y = 0; y < grab.height; ++y) {
    for (int x = 0; x < grab.width; ++x) {
      const std::uint32_t rgb = grab.at(x, y);
      BYTE* p = &rows[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 3];
      p[0] = static_cast<BYTE>(rgb);
      p[1] = static_cast<BYTE>(rgb >> 8);
      p[2] = static_cast<BYTE>(rgb >> 16);
    }
  }
  Com<IWICImagingFactory> factory;
  Com<IWICStream> stream;
  Com<IWICBitmapEncoder> encoder;
  Com<IWICBitmapFrameEncode> frame;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  return com &&
         SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(factory.out()))) &&
         SUCCEEDED(factory->CreateStream(stream.out())) &&
         SUCCEEDED(stream->InitializeFromFilename(widePath.c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out())) &&
         SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder->CreateNewFrame(frame.out(), nullptr)) &&
         SUCCEEDED(frame->Initialize(nullptr)) &&
         SUCCEEDED(frame->SetSize(static_cast<UINT>(grab.width), static_cast<UINT>(grab.height))) &&
         SUCCEEDED(frame->SetPixelFormat(&format)) &&
         IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) &&
         SUCCEEDED(frame->WritePixels(static_cast<UINT>(grab.height), stride,
                                      static_cast<UINT>(rows.size()), rows.data())) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace panel_check
