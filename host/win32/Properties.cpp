// The base control's properties: enabled state, font, name, mouse pointer and mouse icon.
#include <algorithm>
#include <memory>
#include <type_traits>

#include "host/win32/ButtonWindow.hpp"

namespace tarvex::win32 {

namespace {

constexpr std::int16_t kCustomPointer = 99;

bool IsKnownPointer(std::int16_t pointer) {
    return (pointer >= 0 && pointer <= 15) || pointer == kCustomPointer;
}

// The system cursor of a classic pointer number; null for the default (0) and custom (99).
LPCWSTR SystemCursorOf(std::int16_t pointer) {
    switch (pointer) {
        case 2:
            return IDC_CROSS;
        case 3:
            return IDC_IBEAM;
        case 5:
        case 15:
            return IDC_SIZEALL;
        case 6:
            return IDC_SIZENESW;
        case 7:
            return IDC_SIZENS;
        case 8:
            return IDC_SIZENWSE;
        case 9:
            return IDC_SIZEWE;
        case 10:
            return IDC_UPARROW;
        case 11:
            return IDC_WAIT;
        case 12:
            return IDC_NO;
        case 13:
            return IDC_APPSTARTING;
        case 14:
            return IDC_HELP;
        case 1:
        case 4:  // the "icon" pointer has no cursor of its own any more
            return IDC_ARROW;
        default:
            return nullptr;
    }
}

struct BitmapDeleter {
    void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
using OwnedBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

// A cursor from a picture's pixels (alpha kept), hot spot at the top left.
HCURSOR CursorFromPicture(const Picture& picture) {
    const gdi::Surface& pixels = picture.Pixels();
    if (pixels.empty()) return nullptr;
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof(header);
    header.bV5Width = pixels.width();
    header.bV5Height = -pixels.height();
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    OwnedBitmap colour(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header),
                                        DIB_RGB_COLORS, &bits, nullptr, 0));
    OwnedBitmap mask(CreateBitmap(pixels.width(), pixels.height(), 1, 1, nullptr));
    if (!colour || !mask || !bits) return nullptr;
    auto* out = static_cast<std::uint32_t*>(bits);
    for (std::int32_t y = 0; y < pixels.height(); ++y) {
        const std::uint32_t* row = pixels.row(y);
        std::copy(row, row + pixels.width(), out + std::ptrdiff_t(y) * pixels.width());
    }
    ICONINFO info{};
    info.fIcon = FALSE;
    info.hbmMask = mask.get();
    info.hbmColor = colour.get();
    return reinterpret_cast<HCURSOR>(CreateIconIndirect(&info));  // copies both bitmaps
}

}  // namespace

bool ButtonWindow::Enabled() const {
    return IsWindowEnabled(hwnd_) != FALSE;
}

void ButtonWindow::SetEnabled(bool enabled) {
    EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

FontRef ButtonWindow::Font() const {
    return baseFont_;
}

void ButtonWindow::SetFont(FontRef font) {
    baseFont_ = std::move(font);
}

std::int16_t ButtonWindow::MousePointer() const {
    return mousePointer_;
}

void ButtonWindow::SetMousePointer(std::int16_t pointer) {
    if (!IsKnownPointer(pointer))
        throw HostError("invalid mouse pointer " + std::to_string(pointer));
    mousePointer_ = pointer;
}

PictureRef ButtonWindow::MouseIcon() const {
    return mouseIcon_;
}

void ButtonWindow::SetMouseIcon(PictureRef icon) {
    HCURSOR cursor = nullptr;
    if (icon && icon->HasHandle()) {
        cursor = CursorFromPicture(*icon);
        if (!cursor) throw HostError("the mouse icon cannot be made into a cursor");
    }
    if (customCursor_) DestroyCursor(customCursor_);
    customCursor_ = cursor;
    mouseIcon_ = std::move(icon);
}

// Answers WM_SETCURSOR over the client area; false leaves the class cursor.
bool ButtonWindow::ApplyCursor() const {
    if (mousePointer_ == kCustomPointer) {
        if (!customCursor_) return false;
        SetCursor(customCursor_);
        return true;
    }
    const LPCWSTR shape = SystemCursorOf(mousePointer_);
    if (!shape) return false;
    SetCursor(LoadCursorW(nullptr, shape));
    return true;
}

}  // namespace tarvex::win32
