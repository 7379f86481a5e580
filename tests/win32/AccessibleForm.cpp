// A form of TarvexButtons for the event test of the accessibility client: buttons whose clicks
// change other buttons (disable and rename one, move an option group's selection, destroy one),
// so that a listening screen reader hears of changes it did not make itself.
#include <objbase.h>
#include "gdi/win32/windows.hpp"

#include <string>

#include "button/PropertyBag.hpp"
#include "host/win32/ButtonWindow.hpp"

namespace {

using namespace tarvex;
using namespace tarvex::win32;

tarvex::PropertyBag Stored(const std::string& caption, bool option = false, bool value = false) {
    tarvex::PropertyBag bag;
    bag.WriteString("TX", caption);
    bag.WriteBoolean("OPTMOD", option ? kTrue : kFalse);
    bag.WriteBoolean("OPTVAL", value ? kTrue : kFalse);
    return bag;
}

class Form final : public ButtonEvents {
  public:
    void Click(TarvexButton& b) override {
        const std::string name = b.Host().Name();
        if (name == "CmdDisable" && target_) {
            ButtonWindow* t = ButtonWindow::FromHandle(target_);
            t->button().SetEnabled(kFalse);
            t->button().SetCaption("&Target off");
        } else if (name == "CmdSelect") {
            ButtonWindow::FromHandle(large_)->button().SetValue(kTrue);
        } else if (name == "CmdRemove" && target_) {
            DestroyWindow(target_);
            target_ = nullptr;
        }
    }

    HWND Add(HWND form, const char* name, const std::string& caption, int row, bool option = false,
             bool value = false) {
        const PropertyBag stored = Stored(caption, option, value);
        const ButtonCreation creation{name, std::nullopt, &stored};
        const HWND hwnd = CreateButtonWindow(form, 100 + row, creation,
                                             RECT{10, 10 + 34 * row, 130, 38 + 34 * row});
        ButtonWindow::FromHandle(hwnd)->setEventSink(this);
        return hwnd;
    }

    HWND target_ = nullptr;
    HWND large_ = nullptr;
};

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        DestroyWindow(hwnd);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    int status = 1;
    try {
        ApplySystemColours();
        WNDCLASSW wc{};
        wc.lpfnWndProc = FormProc;
        wc.hInstance = instance;
        wc.hbrBackground = GetSysColorBrush(gdi::COLOR_BTNFACE);
        wc.lpszClassName = L"AccessibleFormClass";
        RegisterClassW(&wc);
        const HWND form = CreateWindowExW(WS_EX_CONTROLPARENT, wc.lpszClassName, L"Accessible form",
                                          WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 60, 60, 200, 280,
                                          nullptr, nullptr, instance, nullptr);
        if (!form) return 1;
        SetControlName(form, "frmForm");
        Form handlers;
        handlers.target_ = handlers.Add(form, "CmdTarget", "&Target", 0);
        handlers.Add(form, "CmdDisable", "&Disable", 1);
        handlers.Add(form, "OptSmall", "&Small", 2, true, true);
        handlers.large_ = handlers.Add(form, "OptLarge", "&Large", 3, true);
        handlers.Add(form, "CmdSelect", "Select l&arge", 4);
        handlers.Add(form, "CmdRemove", "&Remove", 5);
        ShowWindow(form, SW_SHOW);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (IsDialogMessageW(form, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        status = 0;
    } catch (const std::exception&) {
        status = 1;
    }
    CoUninitialize();
    return status;
}
