// The system's own colours and version.
#include "gdi/platform.hpp"
#include "gdi/win32/windows.hpp"

namespace gdi::detail {

COLORREF PlatformSysColor(int index) {
    return ::GetSysColor(index);
}

OSVERSIONINFO PlatformVersion() {
    OSVERSIONINFOW system{};
    system.dwOSVersionInfoSize = sizeof(system);
    OSVERSIONINFO info;
    if (!GetVersionExW(&system)) return info;
    info.dwMajorVersion = system.dwMajorVersion;
    info.dwMinorVersion = system.dwMinorVersion;
    info.dwBuildNumber = system.dwBuildNumber;
    info.dwPlatformId = system.dwPlatformId;
    return info;
}

}  // namespace gdi::detail
