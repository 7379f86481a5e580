// Redraw pipeline: RefreshButton, DrawButton, the look dispatch table, Show, Resize, Terminate.
#include "button/TarvexButton.hpp"

namespace tarvex {

void TarvexButton::RefreshButton() {}
void TarvexButton::DrawButton(bool) {}
TarvexButton::Renderer TarvexButton::RendererFor(std::int32_t) {
    return &TarvexButton::DrawFlatButton;
}
void TarvexButton::Show() {}
void TarvexButton::Resize() {}
void TarvexButton::Terminate() {}
gdi::DeviceContext& TarvexButton::hDC() {
    if (!dc_) dc_ = std::make_unique<gdi::DeviceContext>(backBuffer_);
    return *dc_;
}
void TarvexButton::SyncBackBufferSize() {}

}  // namespace tarvex
