// Presentation and shape: the control's back buffer shown with SetDIBitsToDevice, its window
// region installed with SetWindowRgn, and the size and show notifications that rebuild both.
#include <cstddef>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

#include "host/win32/ButtonWindow.hpp"

namespace tarvex::win32 {

namespace {

struct RegionDeleter {
    void operator()(HRGN region) const { DeleteObject(region); }
};
using OwnedRegion = std::unique_ptr<std::remove_pointer_t<HRGN>, RegionDeleter>;

// The drawing layer's region as a system region, one rectangle per run of pixels (exact).
OwnedRegion ToSystemRegion(const gdi::Region& region) {
    const std::vector<gdi::RowSpan> spans = region.Spans();
    std::vector<RECT> rects;
    rects.reserve(spans.size());
    for (const gdi::RowSpan& s : spans) {
        if (s.x1 > s.x0) rects.push_back(RECT{s.x0, s.y, s.x1, s.y + 1});
    }
    if (rects.empty()) return OwnedRegion(CreateRectRgn(0, 0, 0, 0));
    const gdi::RECT box = region.Box();
    std::vector<std::byte> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = DWORD(rects.size());
    data->rdh.nRgnSize = DWORD(rects.size() * sizeof(RECT));
    data->rdh.rcBound = RECT{box.left, box.top, box.right, box.bottom};
    std::memcpy(data->Buffer, rects.data(), rects.size() * sizeof(RECT));
    return OwnedRegion(ExtCreateRegion(nullptr, DWORD(buffer.size()), data));
}

}  // namespace

std::int32_t ButtonWindow::ScaleWidth() const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    return client.right - client.left;
}

std::int32_t ButtonWindow::ScaleHeight() const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    return client.bottom - client.top;
}

void ButtonWindow::Paint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd_, &ps);
    if (dc) PresentTo(dc);
    EndPaint(hwnd_, &ps);
}

// The back buffer is shown where it lies: its rows are a top-down 32-bit DIB already.
void ButtonWindow::PresentTo(HDC dc) const {
    if (!button_) return;
    GdiFlush();  // drawing into the buffer must be finished before its bits are read
    const gdi::Surface& image = button_->BackBuffer();
    if (image.empty()) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.stride();
    info.bmiHeader.biHeight = -image.height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, DWORD(image.width()), DWORD(image.height()), 0, 0, 0,
                      UINT(image.height()), image.bits(), &info, DIB_RGB_COLORS);
}

// Presents at once when shown, so that the access key's pressed look appears before its pause.
void ButtonWindow::Refresh() {
    InvalidateRect(hwnd_, nullptr, FALSE);
    if (IsWindowVisible(hwnd_)) UpdateWindow(hwnd_);
    // Every change of the control's state ends in a refresh: the moment to tell listening tools.
    ReportAccessibleChanges();
}

void ButtonWindow::SetWindowRgn(std::optional<gdi::Region> region, bool redraw) {
    if (!region) {
        ::SetWindowRgn(hwnd_, nullptr, redraw);
        shape_.reset();
        return;
    }
    OwnedRegion system = ToSystemRegion(*region);
    if (!system) throw HostError("the button's shape cannot be made");
    if (!::SetWindowRgn(hwnd_, system.get(), redraw))
        throw HostError("the button's shape cannot be installed");
    system.release();  // the window owns it now
    shape_ = std::move(region);
}

void ButtonWindow::OnSize() {
    if (button_) button_->Resize();
}

void ButtonWindow::OnShown() {
    if (!button_) return;
    UpdateMnemonicText();
    button_->Show();
}

}  // namespace tarvex::win32
