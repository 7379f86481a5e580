// The Vornik window on Win32: a dialog from the resource script, placed and completed from the
// window's stored layout, running the same commands as the Qt window.
#pragma once

#include "gdi/win32/windows.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/WindowCommands.hpp"
#include "app/win32/Prompts.hpp"
#include "button/FormLayout.hpp"
#include "button/HostServices.hpp"

namespace registry {
class Registry;
}
namespace tarvex::win32 {
class ButtonWindow;
}

namespace vornik::win32 {

class VornikWindow final : private tarvex::ButtonEvents {
  public:
    // Creates the window, hidden. It writes through `registry` and asks the user through
    // `prompts`; both must outlive it. Throws tarvex::LayoutError when the stored layout does not
    // read or lacks a control, tarvex::HostError when a control cannot be made.
    VornikWindow(registry::Registry& registry, WindowPrompts& prompts);
    ~VornikWindow() override;
    VornikWindow(const VornikWindow&) = delete;
    VornikWindow& operator=(const VornikWindow&) = delete;

    HWND handle() const { return hwnd_; }
    HWND control(int id) const { return GetDlgItem(hwnd_, id); }
    tarvex::win32::ButtonWindow& button(int id) const;

    // Runs the thread's messages through the window's dialog manager until the window is
    // closed. Returns the program's exit status.
    int RunMessageLoop();

  private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void Initialise();
    void NameStandardControls();
    void CreateButtons(UINT dpi);
    void AddToolTips();
    void Place(UINT dpi);
    void ApplyFonts(UINT dpi);
    void ApplyTabOrder();
    void DescribeForAssistiveTools();
    HWND ControlNamed(const std::string& name) const;
    RECT DeviceRect(const tarvex::LayoutRect& twips, UINT dpi) const;
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    INT_PTR OnControlColour(HDC dc, HWND control);

    void Click(tarvex::TarvexButton& button) override;
    void CmdChange_Click();
    void CmdBrowse_Click();
    void TarvexButton1_Click();
    void ApplyTabOptions(TabOption changed);

    struct FontDeleter {
        void operator()(HFONT font) const { DeleteObject(font); }
    };
    using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

    registry::Registry& registry_;
    WindowPrompts& prompts_;
    HWND hwnd_ = nullptr;
    HWND toolTip_ = nullptr;
    tarvex::FormLayout layout_;
    std::vector<OwnedFont> fonts_;
    std::optional<COLORREF> check3Colour_;
    // The open-file dialog's file name, kept from one use to the next.
    std::wstring dialogFileName_;
    // Why the window could not be made, found inside its creation.
    std::string failure_;
};

}  // namespace vornik::win32
