// UTF-8 (the control's text) to UTF-16 (the Windows API's) and back.
#pragma once

#include <string>
#include <string_view>

namespace tarvex::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace tarvex::win32
