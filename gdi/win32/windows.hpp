// <windows.h> for the layer's own Windows sources. The layer's API mirrors the Windows names, and
// <windows.h> defines many of them as macros (DrawText, TRANSPARENT, COLOR_BTNFACE...); those
// macros are removed here so that the layer's names mean the layer's declarations. The values
// of the layer's constants are the Windows values, so they are passed to GDI as they are; the
// Windows structures are named with a leading :: (::RECT, ::POINT).
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

// Structures and functions with an A/W pair.
#undef LOGFONT
#undef TEXTMETRIC
#undef OSVERSIONINFO
#undef GetTextMetrics
#undef DrawText
#undef TextOut
#undef GetVersionEx
#undef DrawState
#undef GetTextFace
// Colour helpers.
#undef RGB
#undef GetRValue
#undef GetGValue
#undef GetBValue
#undef CLR_INVALID
// Constants.
#undef TRANSPARENT
#undef OPAQUE
#undef ALTERNATE
#undef WINDING
#undef RGN_AND
#undef RGN_OR
#undef RGN_XOR
#undef RGN_DIFF
#undef RGN_COPY
#undef RGN_ERROR
#undef NULLREGION
#undef SIMPLEREGION
#undef COMPLEXREGION
#undef DST_ICON
#undef DST_BITMAP
#undef DSS_NORMAL
#undef DSS_DISABLED
#undef DT_LEFT
#undef DT_TOP
#undef DT_SINGLELINE
#undef DT_CALCRECT
#undef DT_NOPREFIX
#undef GM_COMPATIBLE
#undef GM_ADVANCED
#undef LF_FACESIZE
#undef DEFAULT_QUALITY
#undef DRAFT_QUALITY
#undef PROOF_QUALITY
#undef NONANTIALIASED_QUALITY
#undef ANTIALIASED_QUALITY
#undef TMPF_FIXED_PITCH
#undef TMPF_VECTOR
#undef TMPF_TRUETYPE
#undef TMPF_DEVICE
#undef FF_ROMAN
#undef FF_SWISS
#undef FF_MODERN
#undef FF_SCRIPT
#undef FF_DECORATIVE
#undef GRADIENT_FILL_RECT_H
#undef GRADIENT_FILL_RECT_V
#undef VER_PLATFORM_WIN32s
#undef VER_PLATFORM_WIN32_WINDOWS
#undef VER_PLATFORM_WIN32_NT
#undef COLOR_SCROLLBAR
#undef COLOR_WINDOW
#undef COLOR_WINDOWTEXT
#undef COLOR_BTNFACE
#undef COLOR_BTNSHADOW
#undef COLOR_GRAYTEXT
#undef COLOR_BTNTEXT
#undef COLOR_BTNHIGHLIGHT
#undef COLOR_3DDKSHADOW
#undef COLOR_3DLIGHT
#undef COLOR_INFOTEXT
#undef COLOR_INFOBK
