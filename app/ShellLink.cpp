#include "app/ShellLink.h"

namespace orv {

HRESULT ShellLink::Create() {
  Release();
  HRESULT hr =
      CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                       IID_IUnknown, reinterpret_cast<void**>(&unknown_));
  if (SUCCEEDED(hr))
    hr = unknown_->QueryInterface(IID_IShellLinkA, reinterpret_cast<void**>(&link_));
  if (SUCCEEDED(hr))
    hr = unknown_->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file_));
  if (FAILED(hr)) Release();
  return hr;
}

void ShellLink::Release() noexcept {
  if (file_) file_->Release();
  if (link_) link_->Release();
  if (unknown_) unknown_->Release();
  file_ = nullptr;
  link_ = nullptr;
  unknown_ = nullptr;
}

}  // namespace orv
