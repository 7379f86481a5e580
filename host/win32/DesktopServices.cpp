// What the desktop gives every button: modal boxes, keystrokes, the clock, the resolution, the
// system colours and the form's colours and font.
#include <cmath>
#include <utility>

#include "host/win32/ButtonWindow.hpp"
#include "host/win32/WideText.hpp"

namespace tarvex::win32 {

namespace {

constexpr std::int32_t kButtonsMask = 0x0F;

std::shared_ptr<MessageBoxService>& InstalledService() {
    static std::shared_ptr<MessageBoxService> service;
    return service;
}

std::string& TitleStore() {
    static std::string title = "Vornik";
    return title;
}

// The system's boxes take the classic style numbers as their flags and answer with the classic
// numbers.
class SystemMessageBoxService final : public MessageBoxService {
  public:
    int Show(HWND owner, const std::wstring& text, int style, const std::wstring& title) override {
        const int answer = MessageBoxW(owner, text.c_str(), title.c_str(), UINT(style));
        if (answer == 0)
            throw HostError("a message box cannot be shown (error " +
                            std::to_string(GetLastError()) + ")");
        return answer;
    }
};

int FirstButtonOf(int style) {
    switch (style & kButtonsMask) {
        case 2:  // Abort, Retry, Ignore
            return 3;
        case 3:  // Yes, No, Cancel
        case vbYesNo:
            return vbYes;
        case 5:  // Retry, Cancel
            return 4;
        default:
            return vbOK;
    }
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

FontRef FontObjectFrom(HFONT font, UINT dpi) {
    LOGFONTW lf{};
    if (!font || !GetObjectW(font, sizeof(lf), &lf)) return FontObject::Create();
    FontRef object = FontObject::Create(Narrow(lf.lfFaceName));
    object->SetSize(std::abs(lf.lfHeight) * 72.0 / double(dpi ? dpi : USER_DEFAULT_SCREEN_DPI));
    object->SetBold(lf.lfWeight >= FW_BOLD);
    object->SetItalic(lf.lfItalic != 0);
    object->SetUnderline(lf.lfUnderline != 0);
    object->SetStrikethrough(lf.lfStrikeOut != 0);
    return object;
}

}  // namespace

// ---- Boxes
// ----------------------------------------------------------------------------------------

int RecordingMessageBoxService::Show(HWND, const std::wstring& text, int style,
                                     const std::wstring& title) {
    shown.push_back({text, style, title});
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return FirstButtonOf(style);
}

std::shared_ptr<MessageBoxService> SetMessageBoxService(
    std::shared_ptr<MessageBoxService> service) {
    return std::exchange(InstalledService(), std::move(service));
}

MessageBoxService& CurrentMessageBoxService() {
    if (InstalledService()) return *InstalledService();
    static SystemMessageBoxService system;
    return system;
}

void SetApplicationTitle(std::string title) {
    TitleStore() = std::move(title);
}

std::string ApplicationTitle() {
    return TitleStore();
}

std::int32_t ButtonWindow::MsgBox(std::string_view text, std::int32_t style,
                                  std::string_view title) {
    const std::string shownTitle = title.empty() ? ApplicationTitle() : std::string(title);
    return CurrentMessageBoxService().Show(GetAncestor(hwnd_, GA_ROOT), Widen(text), style,
                                           Widen(shownTitle));
}

std::string ButtonWindow::AppTitle() const {
    return ApplicationTitle();
}

// ---- Keystrokes and time ------------------------------------------------------------------------

// Keystrokes join the system's input queue and reach the focused window as typed keys would.
void ButtonWindow::SendKeys(std::string_view keys) {
    std::vector<INPUT> inputs;
    if (keys == "{Tab}") {
        inputs = {KeyInput(VK_TAB, false), KeyInput(VK_TAB, true)};
    } else if (keys == "+{Tab}") {
        inputs = {KeyInput(VK_SHIFT, false), KeyInput(VK_TAB, false), KeyInput(VK_TAB, true),
                  KeyInput(VK_SHIFT, true)};
    } else {
        throw HostError("keystrokes \"" + std::string(keys) + "\" are not supported");
    }
    if (SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        throw HostError("the keystrokes \"" + std::string(keys) + "\" cannot be sent (error " +
                        std::to_string(GetLastError()) + ")");
}

double ButtonWindow::Timer() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0;
}

// ---- Resolution -------------------------------------------------------------------------------

// The window's own resolution where the system tells it per window (Windows 10 and later), the
// screen's elsewhere.
UINT WindowDpi(HWND window) {
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow =
        reinterpret_cast<GetDpiForWindowCall>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (window && getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window)) return dpi;
    }
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? UINT(dpi) : USER_DEFAULT_SCREEN_DPI;
}

int TwipsToDevicePixels(int twips, UINT dpi) {
    return MulDiv(twips, int(dpi), 1440);
}

// Everything inside the button is in device pixels, so a twip is as many of them as the
// window's resolution says.
std::int32_t ButtonWindow::TwipsPerPixelY() const {
    return std::int32_t(1440 / WindowDpi(hwnd_));
}

double ButtonWindow::ExactTwipsPerPixelY() const {
    return 1440.0 / WindowDpi(hwnd_);
}

// ---- Colours and the form's font ----------------------------------------------------------------

void ApplySystemColours() {
    gdi::SysColorTable table{};
    for (int index = 0; index < gdi::kSysColorCount; ++index)
        table[std::size_t(index)] = gdi::COLORREF(::GetSysColor(index));
    gdi::SetSysColorTable(table);
}

// A dialog's face is the button face colour, its text the button text colour.
gdi::COLORREF ButtonWindow::FormBkColor() const {
    return gdi::COLORREF(::GetSysColor(gdi::COLOR_BTNFACE));
}

gdi::COLORREF ButtonWindow::FormTextColor() const {
    return gdi::COLORREF(::GetSysColor(gdi::COLOR_BTNTEXT));
}

FontRef ButtonWindow::FormFont() const {
    const HWND container = GetParent(hwnd_);
    const auto font =
        reinterpret_cast<HFONT>(SendMessageW(container ? container : hwnd_, WM_GETFONT, 0, 0));
    return FontObjectFrom(font, WindowDpi(hwnd_));
}

// The colours of the system scheme and of the container's scheme come from the desktop and are
// taken afresh.
void ButtonWindow::OnSystemColoursChanged() {
    ApplySystemColours();
    if (!button_) return;
    if (button_->mColorScheme == 1 || button_->mColorScheme == 4) {
        button_->BuildPalette(false);
        button_->RefreshButton();
    }
}

void BroadcastSystemColourChange(HWND form) {
    ApplySystemColours();
    EnumChildWindows(
        form,
        [](HWND child, LPARAM) -> BOOL {
            SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
            return TRUE;
        },
        0);
}

}  // namespace tarvex::win32
