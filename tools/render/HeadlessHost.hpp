// A host for one TarvexButton without any toolkit: a fixed-size window that keeps the installed
// shape, a container in run or design mode, an empty form, and services that answer plainly.
// Used by tools that paint a button off-screen.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "button/HostServices.hpp"

namespace tarvex::headless {

class HeadlessHost : public ControlHost {
  public:
    HeadlessHost(std::int32_t width, std::int32_t height);

    std::int32_t width;
    std::int32_t height;
    bool userMode = true;
    std::string name = "TarvexButton1";
    std::string formName = "frmHeadless";
    gdi::COLORREF formBkColor = gdi::GetSysColor(gdi::COLOR_BTNFACE);
    gdi::COLORREF formTextColor = gdi::GetSysColor(gdi::COLOR_BTNTEXT);
    FontRef font = FontObject::Create("MS Sans Serif", 82500);
    std::optional<gdi::Region> windowRegion;  // the shape installed last
    int refreshCount = 0;
    std::vector<std::string> messages;  // message boxes are answered with OK and kept here
    double twipsPerPixelY = 15.0;       // 96 dpi; 7.5 at 192 dpi

    std::uintptr_t hWnd() const override { return 1; }
    std::int32_t ScaleWidth() const override { return width; }
    std::int32_t ScaleHeight() const override { return height; }
    void Refresh() override { ++refreshCount; }
    void SetWindowRgn(std::optional<gdi::Region> region, bool redraw) override;
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    FontRef Font() const override { return font; }
    void SetFont(FontRef f) override { font = std::move(f); }
    std::int16_t MousePointer() const override { return mousePointer_; }
    void SetMousePointer(std::int16_t pointer) override { mousePointer_ = pointer; }
    PictureRef MouseIcon() const override { return mouseIcon_; }
    void SetMouseIcon(PictureRef icon) override { mouseIcon_ = std::move(icon); }
    std::string Name() const override { return name; }

    bool UserMode() const override { return userMode; }
    std::string DisplayName() const override { return name; }
    FontRef AmbientFont() const override { return font; }
    void PropertyChanged(std::string_view) override {}

    std::string FormName() const override { return formName; }
    gdi::COLORREF FormBkColor() const override { return formBkColor; }
    gdi::COLORREF FormTextColor() const override { return formTextColor; }
    FontRef FormFont() const override { return font; }
    std::size_t ControlCount() const override { return 0; }
    std::optional<FormControl> ControlAt(std::size_t) const override { return std::nullopt; }
    FormControl FindControl(std::string_view controlName,
                            std::optional<std::int32_t> index) const override;

    void SetAccessKeys(std::string_view) override {}
    void SetHoverTimerInterval(std::int32_t) override {}
    void SetHoverTimerEnabled(bool enabled) override { hoverEnabled_ = enabled; }
    bool HoverTimerEnabled() const override { return hoverEnabled_; }
    std::uintptr_t WindowUnderCursor() const override { return 0; }
    std::int32_t TwipsPerPixelY() const override { return std::int32_t(twipsPerPixelY); }
    double ExactTwipsPerPixelY() const override { return twipsPerPixelY; }
    std::int32_t MsgBox(std::string_view text, std::int32_t style, std::string_view title) override;
    std::string AppTitle() const override { return "Vornik"; }
    void SendKeys(std::string_view) override {}
    double Timer() const override;

    ButtonEvents* Events() override { return nullptr; }

  private:
    bool enabled_ = true;
    std::int16_t mousePointer_ = 0;
    PictureRef mouseIcon_;
    bool hoverEnabled_ = false;
    mutable double clock_ = 0.0;
};

}  // namespace tarvex::headless
