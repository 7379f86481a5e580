// Without a desktop palette the classic scheme answers; the version is a fixed NT 10.0.
#include "gdi/platform.hpp"

namespace gdi::detail {

COLORREF PlatformSysColor(int index) {
    return ClassicSysColors()[static_cast<std::size_t>(index)];
}

OSVERSIONINFO PlatformVersion() {
    OSVERSIONINFO info;
    info.dwPlatformId = VER_PLATFORM_WIN32_NT;
    info.dwMajorVersion = 10;
    return info;
}

}  // namespace gdi::detail
