// vornik.exe: the Vornik window on Windows' own windowing and drawing.
#include "gdi/win32/windows.hpp"

#include <commctrl.h>
#include <objbase.h>

#include <exception>
#include <string>

#include "app/WindowCommands.hpp"
#include "app/registry/Registry.hpp"
#include "app/win32/Prompts.hpp"
#include "app/win32/VornikWindow.hpp"
#include "host/win32/ButtonWindow.hpp"
#include "host/win32/WideText.hpp"

namespace {

// The thread's single-threaded apartment: the buttons' accessible objects live in it and screen
// readers' calls reach them through its messages. Left after every window is gone.
class ComApartment {
  public:
    ComApartment() : joined_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (joined_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool joined_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    const ComApartment apartment;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    tarvex::win32::ApplySystemColours();
    tarvex::win32::SetApplicationTitle(std::string(vornik::kAppTitle));

    try {
        registry::Registry registry = registry::Registry::ForCurrentUser();
        vornik::win32::SystemPrompts prompts;
        vornik::win32::VornikWindow window(registry, prompts);
        ShowWindow(window.handle(), showCommand);
        UpdateWindow(window.handle());
        return window.RunMessageLoop();
    } catch (const std::exception& error) {
        const std::wstring text =
            L"The window could not be created: " + tarvex::win32::Widen(error.what());
        MessageBoxW(nullptr, text.c_str(), L"Vornik", MB_OK | MB_ICONERROR);
        return 1;
    }
}
