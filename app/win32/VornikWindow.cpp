#include "app/win32/VornikWindow.hpp"

#include <commctrl.h>
#include <ole2.h>
#include <oleacc.h>
#include <uxtheme.h>

#include <algorithm>
#include <cmath>
#include <span>
#include <stdexcept>

#include "app/registry/Registry.hpp"
#include "app/win32/resource.h"
#include "host/win32/ButtonWindow.hpp"
#include "host/win32/WideText.hpp"
#include "host/win32/WindowDescription.hpp"

namespace vornik::win32 {

namespace {

using tarvex::LayoutControl;
using tarvex::LayoutError;
using tarvex::win32::Narrow;
using tarvex::win32::Widen;

constexpr UINT kSettleFocus = WM_APP + 1;
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED

struct NamedControl {
    const char* name;
    int id;
};

// The standard controls the resource script makes, by the names the stored layout gives them.
constexpr NamedControl kStandardControls[] = {
    {"Label1", IDC_LABEL1}, {"Label2", IDC_LABEL2}, {"Text1", IDC_TEXT1},   {"Check1", IDC_CHECK1},
    {"Check2", IDC_CHECK2}, {"Label3", IDC_LABEL3}, {"Check3", IDC_CHECK3}, {"Image1", IDC_IMAGE1},
};
constexpr NamedControl kButtons[] = {
    {"CmdBrowse", IDC_CMDBROWSE},
    {"TarvexButton1", IDC_TARVEXBUTTON1},
    {"CmdChange", IDC_CMDCHANGE},
};

// The layout travels inside the program, beside the dialog template.
tarvex::FormLayout ReadStoredLayout() {
    const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(IDR_LAYOUT), MAKEINTRESOURCEW(10));
    const HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) throw LayoutError("the window's stored layout is missing");
    const std::string_view text(static_cast<const char*>(bytes), SizeofResource(nullptr, found));
    return tarvex::ParseFormLayout(text, "frmVornik.layout.json", {});
}

const LayoutControl& Require(const tarvex::FormLayout& layout, const char* name,
                             const char* kind = nullptr) {
    const LayoutControl* stored = layout.Find(name);
    if (stored == nullptr || (kind && stored->kind != kind)) {
        throw LayoutError("the stored layout of the window has no " +
                          std::string(kind ? kind : "control") + " \"" + name + "\"");
    }
    return *stored;
}

// A font of the layout at the window's resolution (points to device pixels).
HFONT CreateLayoutFont(const tarvex::FontObject& stored, UINT dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -LONG(std::lround(stored.Size() * dpi / 72.0));
    lf.lfWeight = stored.Bold() ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = stored.Italic();
    lf.lfUnderline = stored.Underline();
    lf.lfStrikeOut = stored.Strikethrough();
    lf.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = Widen(stored.Name());
    face.copy(lf.lfFaceName, std::size(lf.lfFaceName) - 1);
    return CreateFontIndirectW(&lf);
}

// The outer size of a window whose client area is `client`, at `dpi`.
SIZE OuterSize(HWND window, SIZE client, UINT dpi) {
    RECT r{0, 0, client.cx, client.cy};
    const DWORD style = DWORD(GetWindowLongW(window, GWL_STYLE));
    const DWORD exStyle = DWORD(GetWindowLongW(window, GWL_EXSTYLE));
    using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = reinterpret_cast<AdjustForDpi>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    if (!adjustForDpi || !adjustForDpi(&r, style, FALSE, exStyle, dpi))
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return {r.right - r.left, r.bottom - r.top};
}

void CentreOnItsMonitor(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring WindowText(HWND control) {
    std::wstring text(std::size_t(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(control, text.data(), int(text.size()))));
    return text;
}

}  // namespace

VornikWindow::VornikWindow(registry::Registry& registry, WindowPrompts& prompts)
    : registry_(registry), prompts_(prompts) {
    const HWND created =
        CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_FRMVORNIK), nullptr,
                           DialogProc, reinterpret_cast<LPARAM>(this));
    if (created == nullptr || !failure_.empty()) {
        if (created) DestroyWindow(created);
        hwnd_ = nullptr;
        throw tarvex::HostError(failure_.empty() ? "the window cannot be created (error " +
                                                       std::to_string(GetLastError()) + ")"
                                                 : failure_);
    }
}

VornikWindow::~VornikWindow() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

tarvex::win32::ButtonWindow& VornikWindow::button(int id) const {
    tarvex::win32::ButtonWindow* window = tarvex::win32::ButtonWindow::FromHandle(control(id));
    if (window == nullptr)
        throw tarvex::HostError("no button with the number " + std::to_string(id));
    return *window;
}

int VornikWindow::RunMessageLoop() {
    MSG message;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) return int(message.wParam);
        if (got < 0) return 1;
        if (hwnd_ && IsDialogMessageW(hwnd_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

INT_PTR CALLBACK VornikWindow::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* window = reinterpret_cast<VornikWindow*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, LONG_PTR(window));
        window->hwnd_ = hwnd;
        try {
            window->Initialise();
        } catch (const std::exception& error) {
            window->failure_ = error.what();
        }
        return FALSE;  // the focus is set
    }
    auto* window = reinterpret_cast<VornikWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (window == nullptr) return FALSE;
    if (message == WM_NCDESTROY) {
        window->hwnd_ = nullptr;
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        return FALSE;
    }
    return window->Handle(message, wParam, lParam);
}

INT_PTR VornikWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                switch (LOWORD(wParam)) {
                    case IDC_CHECK1:
                        ApplyTabOptions(TabOption::kRemoveOverview);
                        return TRUE;
                    case IDC_CHECK2:
                        ApplyTabOptions(TabOption::kRemoveAddressBook);
                        return TRUE;
                    case IDC_CHECK3:
                        ApplyTabOptions(TabOption::kRestore);
                        return TRUE;
                    default:
                        break;
                }
            }
            // Enter and Escape are no commands of this window.
            return LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL;
        case WM_CLOSE:
            DestroyWindow(hwnd_);
            return TRUE;
        case WM_DESTROY:
            PostQuitMessage(0);
            return TRUE;
        case WM_ACTIVATE:
            // After the dialog manager has given the focus back to the control that had it.
            if (LOWORD(wParam) != WA_INACTIVE) PostMessageW(hwnd_, kSettleFocus, 0, 0);
            return FALSE;
        case kSettleFocus:
            tarvex::win32::SettleFocusAfterActivation(hwnd_);
            return TRUE;
        case WM_SYSCOLORCHANGE:
            tarvex::win32::BroadcastSystemColourChange(hwnd_);
            return TRUE;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case kDpiChanged:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return TRUE;
        default:
            return FALSE;
    }
}

// ---- Building the window from its layout ------------------------------------------------------

void VornikWindow::Initialise() {
    layout_ = ReadStoredLayout();
    tarvex::win32::SetControlName(hwnd_, layout_.name);
    SetWindowTextW(hwnd_, Widen(layout_.caption).c_str());
    const UINT dpi = tarvex::win32::WindowDpi(hwnd_);
    NameStandardControls();
    CreateButtons(dpi);
    Place(dpi);
    ApplyTabOrder();
    AddToolTips();
    DescribeForAssistiveTools();
    CentreOnItsMonitor(hwnd_);
    // The first control in tab order that takes the focus.
    SetFocus(control(IDC_TEXT1));
}

void VornikWindow::NameStandardControls() {
    for (const NamedControl& c : kStandardControls) {
        const LayoutControl& stored = Require(layout_, c.name);
        tarvex::win32::SetControlName(control(c.id), stored.name, stored.index);
    }
    const LayoutControl& check3 = Require(layout_, "Check3");
    if (check3.properties.Contains("forecolor")) {
        check3Colour_ = COLORREF(check3.properties.ReadInt32("forecolor", 0));
        // The themed check box draws its text in the theme's colour; this one keeps its own.
        SetWindowTheme(control(IDC_CHECK3), L"", L"");
    }
}

void VornikWindow::CreateButtons(UINT dpi) {
    for (const NamedControl& c : kButtons) {
        const LayoutControl& stored = Require(layout_, c.name, "TarvexButton");
        const RECT bounds = stored.position ? DeviceRect(*stored.position, dpi) : RECT{};
        const tarvex::win32::ButtonCreation creation{stored.name, stored.index, &stored.properties};
        tarvex::win32::CreateButtonWindow(hwnd_, c.id, creation, bounds);
        button(c.id).setEventSink(this);
    }
}

void VornikWindow::AddToolTips() {
    for (const LayoutControl& stored : layout_.controls) {
        if (stored.toolTipText.empty()) continue;
        const HWND target = ControlNamed(stored.name);
        if (!target) continue;
        if (!toolTip_) {
            toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                       WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
            if (!toolTip_) throw tarvex::HostError("the tool tip control cannot be created");
        }
        // A button reads its tool tip to screen readers too ("..." says nothing of itself).
        if (auto* b = tarvex::win32::ButtonWindow::FromHandle(target))
            b->setToolTip(stored.toolTipText);
        std::wstring text = Widen(stored.toolTipText);
        TTTOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = hwnd_;
        info.uId = reinterpret_cast<UINT_PTR>(target);
        info.lpszText = text.data();  // copied by the tool tip control
        SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

HWND VornikWindow::ControlNamed(const std::string& name) const {
    for (const std::span<const NamedControl> table :
         {std::span<const NamedControl>(kStandardControls),
          std::span<const NamedControl>(kButtons)}) {
        for (const NamedControl& c : table)
            if (name == c.name) return control(c.id);
    }
    return nullptr;
}

RECT VornikWindow::DeviceRect(const tarvex::LayoutRect& r, UINT dpi) const {
    using tarvex::win32::TwipsToDevicePixels;
    const int left = TwipsToDevicePixels(r.left, dpi);
    const int top = TwipsToDevicePixels(r.top, dpi);
    return {left, top, left + TwipsToDevicePixels(r.width, dpi),
            top + TwipsToDevicePixels(r.height, dpi)};
}

// Every control where the layout puts it, in device pixels of the window's resolution.
void VornikWindow::Place(UINT dpi) {
    using tarvex::win32::TwipsToDevicePixels;
    const SIZE client{TwipsToDevicePixels(layout_.width, dpi),
                      TwipsToDevicePixels(layout_.height, dpi)};
    SIZE outer = OuterSize(hwnd_, client, dpi);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame the system actually drew may differ from the one it predicted (a caption of
    // another resolution's size): the client area is what must match the layout.
    RECT actual{};
    GetClientRect(hwnd_, &actual);
    if (actual.right != client.cx || actual.bottom != client.cy) {
        outer.cx += client.cx - actual.right;
        outer.cy += client.cy - actual.bottom;
        SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    auto place = [&](const NamedControl& c) {
        const LayoutControl& stored = Require(layout_, c.name);
        if (!stored.position) return;
        const RECT r = DeviceRect(*stored.position, dpi);
        SetWindowPos(control(c.id), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    for (const NamedControl& c : kStandardControls) place(c);
    for (const NamedControl& c : kButtons) place(c);
    ApplyFonts(dpi);
}

// Controls with a font of their own in the layout get it at the window's resolution; the others
// keep the dialog's font.
void VornikWindow::ApplyFonts(UINT dpi) {
    std::vector<OwnedFont> fonts;
    for (const NamedControl& c : kStandardControls) {
        const tarvex::FontRef stored =
            Require(layout_, c.name).properties.ReadFont("font", nullptr);
        if (!stored) continue;
        OwnedFont font(CreateLayoutFont(*stored, dpi));
        if (!font)
            throw tarvex::HostError("the font of " + std::string(c.name) + " cannot be made");
        SendMessageW(control(c.id), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        fonts.push_back(std::move(font));
    }
    fonts_ = std::move(fonts);  // the old fonts go once no control uses them
}

// What the window says to screen readers beyond its controls' own texts: what it does and what
// its picture shows. The system's objects read the rest: the title, the text box's label (the
// static before it in tab order) and the controls in tab order.
void VornikWindow::DescribeForAssistiveTools() {
    using tarvex::win32::AssistiveDescription;
    tarvex::win32::DescribeForAssistiveTools(
        hwnd_, AssistiveDescription{{}, std::string(kWindowDescription), 0});
    tarvex::win32::DescribeForAssistiveTools(
        control(IDC_IMAGE1),
        AssistiveDescription{std::string(kPictureName), std::string(kPictureDescription),
                             ROLE_SYSTEM_GRAPHIC});
}

// The focus moves through the controls in the order of their stored tab indexes. A static that
// names the control after it stays just before it, where the dialog manager and the system's
// accessible objects look for a control's label.
void VornikWindow::ApplyTabOrder() {
    std::vector<const LayoutControl*> ordered;
    for (const LayoutControl& stored : layout_.controls)
        if (stored.tabIndex) ordered.push_back(&stored);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto* a, const auto* b) { return *a->tabIndex < *b->tabIndex; });
    HWND previous = HWND_TOP;
    for (const LayoutControl* stored : ordered) {
        const HWND target = ControlNamed(stored->name);
        if (!target) continue;
        SetWindowPos(target, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = target;
    }
}

void VornikWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    try {
        Place(dpi);
    } catch (const std::exception& error) {
        prompts_.Ask(hwnd_,
                     {error.what(), std::string(kAppTitle), BoxButtons::kOk, BoxIcon::kCritical});
    }
}

INT_PTR VornikWindow::OnControlColour(HDC dc, HWND target) {
    if (target != control(IDC_CHECK3) || !check3Colour_) return FALSE;
    SetTextColor(dc, *check3Colour_);
    SetBkColor(dc, ::GetSysColor(gdi::COLOR_BTNFACE));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(gdi::COLOR_BTNFACE));
}

// ---- Commands ---------------------------------------------------------------------------------

void VornikWindow::Click(tarvex::TarvexButton& clicked) {
    if (&clicked == &button(IDC_CMDCHANGE).button())
        CmdChange_Click();
    else if (&clicked == &button(IDC_CMDBROWSE).button())
        CmdBrowse_Click();
    else if (&clicked == &button(IDC_TARVEXBUTTON1).button())
        TarvexButton1_Click();
}

void VornikWindow::CmdChange_Click() {
    WindowChoices choices;
    choices.removeOverviewTab = IsDlgButtonChecked(hwnd_, IDC_CHECK1) == BST_CHECKED;
    choices.removeAddressBookTab = IsDlgButtonChecked(hwnd_, IDC_CHECK2) == BST_CHECKED;
    choices.restoreTabs = IsDlgButtonChecked(hwnd_, IDC_CHECK3) == BST_CHECKED;
    choices.imageLocation = Narrow(WindowText(control(IDC_TEXT1)));
    OwnedBoxes boxes(prompts_, hwnd_);
    RunChangeCommand(registry_, choices, boxes);
}

void VornikWindow::CmdBrowse_Click() {
    std::optional<std::wstring> chosen;
    try {
        chosen = prompts_.ChooseFileToOpen(hwnd_, kBrowseFilterText, dialogFileName_);
    } catch (const std::runtime_error& error) {
        prompts_.Ask(hwnd_,
                     {error.what(), std::string(kAppTitle), BoxButtons::kOk, BoxIcon::kCritical});
        return;
    }
    // A cancelled dialog leaves whatever the user typed.
    if (!chosen) return;
    dialogFileName_ = *chosen;
    SetWindowTextW(control(IDC_TEXT1), chosen->c_str());
}

void VornikWindow::TarvexButton1_Click() {
    prompts_.Ask(hwnd_,
                 {HelpMessage(), std::string(kHelpTitle), BoxButtons::kOk, BoxIcon::kInformation});
}

void VornikWindow::ApplyTabOptions(TabOption changed) {
    const auto checked = [&](int id) { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; };
    const TabOptions now =
        AfterUserChanged(changed, {checked(IDC_CHECK1), checked(IDC_CHECK2), checked(IDC_CHECK3)});
    CheckDlgButton(hwnd_, IDC_CHECK1, now.removeOverviewTab ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd_, IDC_CHECK2, now.removeAddressBookTab ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd_, IDC_CHECK3, now.restoreTabs ? BST_CHECKED : BST_UNCHECKED);
}

}  // namespace vornik::win32
