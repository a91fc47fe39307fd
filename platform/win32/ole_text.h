// Texts across the COM boundary: the plug-in's texts are single-byte strings
// in the ANSI code page, COM's are UTF-16 BSTRs. Both directions go by
// explicit lengths, so embedded zero bytes and empty texts survive.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <memory>
#include <new>
#include <string>
#include <string_view>

namespace orva::platform {

struct BstrRelease {
  void operator()(BSTR text) const { SysFreeString(text); }
};
using OwnedBstr = std::unique_ptr<OLECHAR, BstrRelease>;

// A new BSTR holding the ANSI text converted to UTF-16.
inline OwnedBstr NewBstr(std::string_view ansi) {
  const int ansiLength = static_cast<int>(ansi.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansiLength, nullptr, 0);
  OwnedBstr text(SysAllocStringLen(nullptr, static_cast<UINT>(length)));
  if (!text) {
    throw std::bad_alloc();
  }
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansiLength, text.get(), length);
  return text;
}

// The UTF-16 text in the ANSI code page; characters it lacks become its
// default character. A null BSTR is the empty text, as COM defines it.
inline std::string AnsiText(BSTR text) {
  const int length = static_cast<int>(SysStringLen(text));
  if (length == 0) {
    return {};
  }
  const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, length, ansi.data(), size, nullptr, nullptr);
  return ansi;
}

}  // namespace orva::platform
