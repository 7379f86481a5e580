// What the platform itself answers when nobody has replaced it; one source per platform.
#pragma once

#include "gdi/gdi.hpp"

namespace gdi::detail {

// The system colour of an index in 0..kSysColorCount-1.
COLORREF PlatformSysColor(int index);
OSVERSIONINFO PlatformVersion();

}  // namespace gdi::detail
