// The Win32 host under the system's own window manager (Wine here): messages in, the control's
// events out, and what the window shows and how its shape takes the mouse.
#include "host/win32/ButtonWindow.hpp"
// Message crackers and the dialog manager, after the layer's Windows header.
#include <windowsx.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "button/PropertyBag.hpp"
#include "host/win32/ComSupport.hpp"
#include "host/win32/WideText.hpp"

namespace tarvex::win32 {
namespace {

constexpr COLORREF kFace = 0x00336699;  // 0x00BBGGRR

std::string Format(const char* event, int a, int b, float x, float y) {
    return std::string(event) + " " + std::to_string(a) + " " + std::to_string(b) + " " +
           std::to_string(int(x)) + " " + std::to_string(int(y));
}

// Every event of the buttons of a form, in order, as "Event arguments".
struct Recorder final : ButtonEvents {
    std::vector<std::string> events;
    std::function<void(TarvexButton&)> onClick;
    void Click(TarvexButton& b) override {
        events.push_back("Click " + b.Host().Name());
        if (onClick) onClick(b);
    }
    void MouseDown(TarvexButton&, std::int16_t& Button, std::int16_t& Shift, float& X,
                   float& Y) override {
        events.push_back(Format("MouseDown", Button, Shift, X, Y));
    }
    void MouseUp(TarvexButton&, std::int16_t& Button, std::int16_t& Shift, float& X,
                 float& Y) override {
        events.push_back(Format("MouseUp", Button, Shift, X, Y));
    }
    void KeyDown(TarvexButton&, std::int16_t& KeyCode, std::int16_t& Shift) override {
        events.push_back("KeyDown " + std::to_string(KeyCode) + " " + std::to_string(Shift));
    }
    void KeyUp(TarvexButton&, std::int16_t& KeyCode, std::int16_t& Shift) override {
        events.push_back("KeyUp " + std::to_string(KeyCode) + " " + std::to_string(Shift));
    }
    void KeyPress(TarvexButton&, std::int16_t& KeyAscii) override {
        events.push_back("KeyPress " + std::to_string(KeyAscii));
    }
    void MouseOut(TarvexButton&) override { events.push_back("MouseOut"); }
    std::vector<std::string> Take() { return std::exchange(events, {}); }
};

using Events = std::vector<std::string>;

PropertyBag Stored(const std::string& caption, std::int32_t type = 6, std::int32_t scheme = 2) {
    PropertyBag bag;
    bag.WriteInt32("BTYPE", type);
    bag.WriteString("TX", caption);
    bag.WriteInt32("COLTYPE", scheme);
    bag.WriteInt32("BCOL", std::int32_t(kFace));
    bag.WriteInt32("FCOL", 0);
    return bag;
}

// Holds a modifier down in the thread's keyboard state, as the system does while it is pressed.
class HeldKey {
  public:
    explicit HeldKey(BYTE key) : key_(key) { Set(0x80); }
    ~HeldKey() { Set(0); }

  private:
    void Set(BYTE value) {
        BYTE state[256];
        GetKeyboardState(state);
        state[key_] = value;
        SetKeyboardState(state);
    }
    BYTE key_;
};

// One form for the whole program (making and unmaking a top-level window costs Wine seconds
// without a window manager); each test starts with it empty.
class Win32Host : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        RegisterButtonClass();
        // An empty dialog template: the form is a real dialog, with the dialog manager's keys.
        struct alignas(4) {
            DLGTEMPLATE head{
                WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 0, 0, 0, 200, 150};
            WORD menu = 0, windowClass = 0, title = 0;
        } form;
        form_ = CreateDialogIndirectParamW(
            GetModuleHandleW(nullptr), &form.head, nullptr,
            [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
        if (!form_) return;
        SetWindowPos(form_, HWND_TOP, 40, 40, 400, 300, SWP_SHOWWINDOW);
        SetControlName(form_, "Form1");
    }
    static void TearDownTestSuite() {
        if (form_) DestroyWindow(form_);
        form_ = nullptr;
    }

    void SetUp() override {
        if (!form_) GTEST_SKIP() << "no window can be made here (no display for Wine?)";
        previousBoxes_ = SetMessageBoxService(boxes_);
        Pump(20);
    }
    void TearDown() override {
        if (form_) {
            while (const HWND child = GetWindow(form_, GW_CHILD)) DestroyWindow(child);
        }
        SetMessageBoxService(previousBoxes_);
    }

    ButtonWindow& Add(const std::string& name, const PropertyBag& stored, RECT bounds,
                      HWND parent = nullptr) {
        const ButtonCreation creation{name, std::nullopt, &stored};
        const HWND hwnd = CreateButtonWindow(parent ? parent : form_, 0, creation, bounds);
        ButtonWindow* window = ButtonWindow::FromHandle(hwnd);
        window->setEventSink(&recorder_);
        return *window;
    }

    // Runs the thread's messages through the form's dialog manager for a while.
    void Pump(int milliseconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        do {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (form_ && IsDialogMessageW(form_, &msg)) continue;
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            Sleep(5);
        } while (std::chrono::steady_clock::now() < end);
    }

    static void Send(ButtonWindow& w, UINT message, WPARAM flags, int x, int y) {
        SendMessageW(w.handle(), message, flags, MAKELPARAM(x, y));
    }

    POINT OnScreen(HWND window, int x, int y) {
        POINT p{x, y};
        ClientToScreen(window, &p);
        return p;
    }

    static inline HWND form_ = nullptr;
    Recorder recorder_;
    std::shared_ptr<RecordingMessageBoxService> boxes_ =
        std::make_shared<RecordingMessageBoxService>();
    std::shared_ptr<MessageBoxService> previousBoxes_;
};

TEST_F(Win32Host, MouseGesturesRaiseThePushButtonsEvents) {
    ButtonWindow& b = Add("Cmd", Stored("Go", 1), {20, 20, 120, 60});
    recorder_.Take();

    // A press takes the focus and the mouse; the release over the button clicks it.
    Send(b, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL, 10, 5);
    EXPECT_EQ(GetFocus(), b.handle());
    EXPECT_EQ(GetCapture(), b.handle());
    EXPECT_EQ(b.button().mButtonState, kStatePressed);
    Send(b, WM_LBUTTONUP, MK_SHIFT | MK_CONTROL, 10, 5);
    EXPECT_EQ(recorder_.Take(), (Events{"MouseDown 1 3 10 5", "MouseUp 1 3 10 5", "Click Cmd"}));
    EXPECT_EQ(GetCapture(), nullptr);

    // The second press of a double click is only a double click: no MouseDown, no second Click.
    Send(b, WM_LBUTTONDOWN, MK_LBUTTON, 10, 5);
    Send(b, WM_LBUTTONUP, 0, 10, 5);
    Send(b, WM_LBUTTONDBLCLK, MK_LBUTTON, 10, 5);
    Send(b, WM_LBUTTONUP, 0, 10, 5);
    EXPECT_EQ(recorder_.Take(),
              (Events{"MouseDown 1 0 10 5", "MouseUp 1 0 10 5", "Click Cmd", "MouseUp 1 0 10 5"}));

    // The right button never clicks; Alt comes from the keyboard.
    {
        HeldKey alt(VK_MENU);
        Send(b, WM_RBUTTONDOWN, MK_RBUTTON, 30, 6);
        Send(b, WM_RBUTTONUP, 0, 30, 6);
    }
    EXPECT_EQ(recorder_.Take(), (Events{"MouseDown 2 4 30 6", "MouseUp 2 4 30 6"}));

    // Dragged off while held: the rest look, and no click where the mouse is let go.
    Send(b, WM_LBUTTONDOWN, MK_LBUTTON, 10, 5);
    Send(b, WM_MOUSEMOVE, MK_LBUTTON, -5, -5);
    EXPECT_EQ(b.button().mButtonState, kStateFocused);
    Send(b, WM_LBUTTONUP, 0, -5, -5);
    // Nor on a corner the framed look cuts off the window's shape.
    Send(b, WM_LBUTTONDOWN, MK_LBUTTON, 0, 0);
    Send(b, WM_LBUTTONUP, 0, 0, 0);
    EXPECT_EQ(recorder_.Take(), (Events{"MouseDown 1 0 10 5", "MouseUp 1 0 -5 -5",
                                        "MouseDown 1 0 0 0", "MouseUp 1 0 0 0"}));
}

TEST_F(Win32Host, KeysReachTheButtonAndTabStaysTheDialogs) {
    ButtonWindow& b = Add("Cmd", Stored("Go"), {20, 20, 120, 60});
    SetFocus(b.handle());
    recorder_.Take();

    SendMessageW(b.handle(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(b.button().mButtonState, kStatePressed);
    SendMessageW(b.handle(), WM_CHAR, ' ', 0);
    SendMessageW(b.handle(), WM_KEYUP, VK_SPACE, 0);
    SendMessageW(b.handle(), WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(b.handle(), WM_KEYUP, VK_RETURN, 0);
    SendMessageW(b.handle(), WM_KEYDOWN, VK_VOLUME_UP, 0);  // no key of the classic keyboard
    EXPECT_EQ(recorder_.Take(), (Events{"KeyDown 32 0", "KeyPress 32", "KeyUp 32 0", "Click Cmd",
                                        "KeyDown 13 0", "KeyUp 13 0"}));

    MSG tab{b.handle(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    MSG enter{b.handle(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    const auto code = [&](MSG& m) {
        return SendMessageW(b.handle(), WM_GETDLGCODE, m.wParam, reinterpret_cast<LPARAM>(&m));
    };
    EXPECT_EQ(code(tab) & DLGC_WANTMESSAGE, 0);
    EXPECT_NE(code(enter) & DLGC_WANTMESSAGE, 0);
    EXPECT_NE(code(enter) & DLGC_BUTTON, 0);
}

TEST_F(Win32Host, ArrowKeysMoveTheFocusThroughTheSystemsInput) {
    ButtonWindow& first = Add("First", Stored("1"), {20, 20, 120, 60});
    ButtonWindow& second = Add("Second", Stored("2"), {20, 80, 120, 120});
    SetForegroundWindow(form_);
    SetFocus(first.handle());
    Pump(50);
    recorder_.Take();

    // Right arrow: "{Tab}" joins the input queue and the dialog manager moves the focus on.
    SendMessageW(first.handle(), WM_KEYDOWN, VK_RIGHT, 0);
    Pump(200);
    EXPECT_EQ(GetFocus(), second.handle());
    // Left arrow: "+{Tab}" moves it back. Neither arrow raises KeyDown (the keystrokes sent do,
    // as typed keys would: Shift and the Tab key's release reach whoever has the focus).
    SendMessageW(second.handle(), WM_KEYDOWN, VK_LEFT, 0);
    Pump(200);
    EXPECT_EQ(GetFocus(), first.handle());
    for (const std::string& event : recorder_.Take()) {
        EXPECT_NE(event, "KeyDown 39 0");
        EXPECT_NE(event, "KeyDown 37 0");
    }
}

TEST_F(Win32Host, AccessKeysAreTheDialogManagersMnemonics) {
    ButtonWindow& go = Add("Go", Stored("&Go"), {20, 20, 120, 60});
    ButtonWindow& other = Add("Other", Stored("Other"), {20, 80, 120, 120});
    wchar_t text[16] = {};
    GetWindowTextW(go.handle(), text, 16);
    EXPECT_STREQ(text, L"&Go");
    SetFocus(other.handle());
    recorder_.Take();

    HeldKey alt(VK_MENU);
    // Alt+G on another button is the access key of "&Go": no KeyDown for it.
    SendMessageW(other.handle(), WM_SYSKEYDOWN, 'G', 0x20000000);
    MSG sysChar{other.handle(), WM_SYSCHAR, 'g', 0x20000000, 0, {}};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(IsDialogMessageW(form_, &sysChar));
    const auto held = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(recorder_.Take(), (Events{"Click Go"}));
    EXPECT_GE(held, std::chrono::milliseconds(140));  // the pressed look was shown meanwhile

    // A disabled button keeps its access key to itself.
    EnableWindow(go.handle(), FALSE);
    MSG again{other.handle(), WM_SYSCHAR, 'g', 0x20000000, 0, {}};
    IsDialogMessageW(form_, &again);
    EXPECT_EQ(recorder_.Take(), Events{});
}

TEST_F(Win32Host, ShowsItsImageInItsShape) {
    ButtonWindow& b = Add("Cmd", Stored("", 1), {20, 20, 120, 60});
    Pump(100);
    EXPECT_EQ(b.ScaleWidth(), 100);
    EXPECT_EQ(b.ScaleHeight(), 40);
    EXPECT_EQ(b.TwipsPerPixelY(), std::int32_t(1440 / WindowDpi(b.handle())));

    // The face in the custom colour, through the window's own device context.
    const HDC dc = GetDC(b.handle());
    EXPECT_EQ(GetPixel(dc, 50, 20), kFace);
    ReleaseDC(b.handle(), dc);
    // The framed look cuts its corner pixels off the window: they belong to the form.
    EXPECT_EQ(WindowFromPoint(OnScreen(b.handle(), 0, 0)), form_);
    EXPECT_EQ(WindowFromPoint(OnScreen(b.handle(), 1, 0)), b.handle());
    const HDC formDc = GetDC(form_);
    EXPECT_EQ(GetPixel(formDc, 20, 20), ::GetSysColor(gdi::COLOR_BTNFACE));
    ReleaseDC(form_, formDc);
}

TEST_F(Win32Host, HoverEndsWhenThePointerLeaves) {
    ButtonWindow& b = Add("Cmd", Stored("Go"), {20, 20, 120, 60});
    const POINT over = OnScreen(b.handle(), 50, 20);
    SetCursorPos(over.x, over.y);
    Pump(50);
    recorder_.Take();
    Send(b, WM_MOUSEMOVE, 0, 50, 20);
    EXPECT_EQ(b.button().mButtonState, kStateHover);
    EXPECT_TRUE(b.HoverTimerEnabled());
    Pump(250);
    EXPECT_TRUE(b.HoverTimerEnabled()) << "still over the button";

    const POINT away = OnScreen(form_, 300, 250);
    SetCursorPos(away.x, away.y);
    Pump(300);
    EXPECT_EQ(recorder_.Take(), (Events{"MouseOut"}));
    EXPECT_FALSE(b.HoverTimerEnabled());
    EXPECT_EQ(b.button().mButtonState, kStateNormal);
}

TEST_F(Win32Host, OptionGroupsAreTheGroupBoxesAroundTheButtons) {
    const HWND frame = CreateGroupBox(form_, 0, "Frame1", L"Choices", {10, 10, 200, 150});
    PropertyBag option = Stored("A");
    option.WriteBoolean("OPTMOD", kTrue);
    ButtonWindow& a = Add("A", option, {10, 20, 90, 50}, frame);
    ButtonWindow& b = Add("B", option, {10, 60, 90, 90}, frame);
    ButtonWindow& c = Add("C", option, {250, 20, 330, 50});
    EXPECT_EQ(a.button().Container(), "Frame1");
    EXPECT_EQ(c.button().Container(), "Form1");
    EXPECT_EQ(a.ControlCount(), 4u);  // the frame and the three buttons

    c.button().SetValue(kTrue);
    a.button().SetValue(kTrue);
    b.button().SetValue(kTrue);
    EXPECT_EQ(a.button().Value(), kFalse);
    EXPECT_EQ(b.button().Value(), kTrue);
    EXPECT_EQ(c.button().Value(), kTrue) << "another container, another group";

    // A press on the button inside the frame reaches it through the frame.
    const POINT onA = OnScreen(a.handle(), 40, 15);
    EXPECT_EQ(WindowFromPoint(onA), a.handle());
}

TEST_F(Win32Host, AFailureInAnEventIsReportedAndTheButtonGoesOn) {
    ButtonWindow& b = Add("Cmd", Stored("Go"), {20, 20, 120, 60});
    recorder_.onClick = [](TarvexButton&) { throw std::runtime_error("the disk is on fire"); };
    Send(b, WM_LBUTTONDOWN, MK_LBUTTON, 10, 5);
    Send(b, WM_LBUTTONUP, 0, 10, 5);
    ASSERT_EQ(boxes_->shown.size(), 1u);
    EXPECT_EQ(boxes_->shown[0].text, L"the disk is on fire");
    EXPECT_EQ(boxes_->shown[0].title, L"Vornik");
    EXPECT_EQ(boxes_->shown[0].style, vbCritical | vbOKOnly);

    recorder_.onClick = nullptr;
    recorder_.Take();
    Send(b, WM_LBUTTONDOWN, MK_LBUTTON, 10, 5);
    Send(b, WM_LBUTTONUP, 0, 10, 5);
    EXPECT_EQ(recorder_.Take(), (Events{"MouseDown 1 0 10 5", "MouseUp 1 0 10 5", "Click Cmd"}));
}

// In the program's own thread, as an in-process tool (or the system's bridge) reads it.
TEST_F(Win32Host, AnAssistiveToolReadsTheButtonAsItChangesAndNotOnceItIsGone) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ButtonWindow& b = Add("CmdGo", Stored("&Go", 1), {20, 20, 120, 60});
    b.setToolTip("Starts it");
    const HWND hwnd = b.handle();
    recorder_.Take();
    ComRef<IAccessible> object;
    ASSERT_EQ(AccessibleObjectFromWindow(hwnd, DWORD(OBJID_CLIENT), kIidAccessible,
                                         reinterpret_cast<void**>(object.Receive())),
              S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const auto text = [&](HRESULT (IAccessible::*get)(VARIANT, BSTR*)) {
        BSTR value = nullptr;
        (object.get()->*get)(self, &value);
        std::string out = value ? Narrow(value) : "";
        SysFreeString(value);
        return out;
    };
    const auto state = [&] {
        VARIANT v{};
        object->get_accState(self, &v);
        return v.lVal;
    };
    EXPECT_EQ(text(&IAccessible::get_accName), "Go");
    EXPECT_EQ(text(&IAccessible::get_accDescription), "Starts it");
    EXPECT_EQ(text(&IAccessible::get_accKeyboardShortcut), "Alt+G");
    VARIANT other = self;
    other.lVal = 1;
    BSTR none = nullptr;
    EXPECT_EQ(object->get_accName(other, &none), E_INVALIDARG);  // no children

    // Held down by the mouse it reads as pressed and focused.
    Send(b, WM_LBUTTONDOWN, MK_LBUTTON, 10, 5);
    EXPECT_EQ(state(), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_PRESSED);
    Send(b, WM_LBUTTONUP, 0, 10, 5);
    EXPECT_EQ(state(), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
    recorder_.Take();

    // The shape decides what a hit is: the framed look cuts the corner off.
    VARIANT hit{};
    const POINT middle = OnScreen(hwnd, 50, 20), corner = OnScreen(hwnd, 0, 0);
    EXPECT_EQ(object->accHitTest(middle.x, middle.y, &hit), S_OK);
    EXPECT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(object->accHitTest(corner.x, corner.y, &hit), S_FALSE);

    // The press runs after the call has returned; a press the button can no longer take when its
    // turn comes (disabled meanwhile) is dropped.
    EXPECT_EQ(object->accDoDefaultAction(self), S_OK);
    EXPECT_TRUE(recorder_.Take().empty());
    Pump(50);
    EXPECT_EQ(recorder_.Take(), Events{"Click CmdGo"});
    EXPECT_EQ(object->accDoDefaultAction(self), S_OK);
    b.button().SetEnabled(kFalse);
    Pump(50);
    EXPECT_TRUE(recorder_.Take().empty());
    EXPECT_EQ(state(), STATE_SYSTEM_UNAVAILABLE);
    b.button().SetEnabled(kTrue);

    // A modal box disables the form, not the button: behind it no press is offered or taken.
    const HWND form = GetParent(hwnd);
    ASSERT_NE(form, nullptr);
    EnableWindow(form, FALSE);
    EXPECT_EQ(text(&IAccessible::get_accDefaultAction), "");
    EXPECT_EQ(object->accDoDefaultAction(self), DISP_E_MEMBERNOTFOUND);
    Pump(50);
    EXPECT_TRUE(recorder_.Take().empty());
    EnableWindow(form, TRUE);

    ShowWindow(hwnd, SW_HIDE);
    EXPECT_EQ(state(), STATE_SYSTEM_INVISIBLE);
    EXPECT_EQ(text(&IAccessible::get_accDefaultAction), "");
    EXPECT_EQ(object->accDoDefaultAction(self), DISP_E_MEMBERNOTFOUND);

    DestroyWindow(hwnd);
    BSTR name = nullptr;
    EXPECT_EQ(object->get_accName(self, &name), CO_E_OBJNOTCONNECTED);
    long x = 0, y = 0, w = 0, h = 0;
    EXPECT_EQ(object->accLocation(&x, &y, &w, &h, self), CO_E_OBJNOTCONNECTED);
    HWND found = nullptr;
    EXPECT_NE(WindowFromAccessibleObject(object.get(), &found), S_OK);
    object = {};
    CoUninitialize();
}

std::vector<std::pair<DWORD, HWND>> heardEvents;

void CALLBACK HearEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                        DWORD) {
    if (object == OBJID_CLIENT && child == CHILDID_SELF) heardEvents.emplace_back(event, window);
}

// A listening screen reader hears of the changes it did not make, through the system's hook.
TEST_F(Win32Host, AListeningToolHearsOfFocusNameStateAndTheOptionGroupsSelection) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ButtonWindow& target = Add("CmdTarget", Stored("&Target", 1), {20, 20, 120, 50});
    PropertyBag option = Stored("&Small", 1);
    option.WriteBoolean("OPTMOD", kTrue);
    option.WriteBoolean("OPTVAL", kTrue);
    ButtonWindow& small = Add("OptSmall", option, {20, 60, 120, 90});
    option.WriteString("TX", "&Large");
    option.WriteBoolean("OPTVAL", kFalse);
    ButtonWindow& large = Add("OptLarge", option, {20, 100, 120, 130});
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, HearEvent,
                                               GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    const auto heard = [](DWORD event, const ButtonWindow& w) {
        return std::count(heardEvents.begin(), heardEvents.end(), std::pair(event, w.handle()));
    };
    const auto state = [](const ButtonWindow& w) {
        ComRef<IAccessible> object;
        AccessibleObjectFromWindow(w.handle(), DWORD(OBJID_CLIENT), kIidAccessible,
                                   reinterpret_cast<void**>(object.Receive()));
        VARIANT self{}, v{};
        self.vt = VT_I4;
        if (object) object->get_accState(self, &v);
        return v.lVal;
    };
    EXPECT_EQ(small.AccessibleRole(), ROLE_SYSTEM_RADIOBUTTON);
    EXPECT_EQ(state(small), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_CHECKED);
    Pump(50);
    heardEvents.clear();

    SetFocus(target.handle());
    target.button().SetEnabled(kFalse);
    target.button().SetCaption("&Target off");
    target.setToolTip("Gone for now");
    Pump(100);
    EXPECT_GE(heard(EVENT_OBJECT_FOCUS, target), 1);
    EXPECT_GE(heard(EVENT_OBJECT_STATECHANGE, target), 1);
    EXPECT_EQ(heard(EVENT_OBJECT_NAMECHANGE, target), 1);
    EXPECT_EQ(heard(EVENT_OBJECT_DESCRIPTIONCHANGE, target), 1);
    EXPECT_EQ(state(target), STATE_SYSTEM_UNAVAILABLE);
    EXPECT_EQ(target.SpokenName(), "Target off");

    // Selecting one member of the option group deselects the other: both tell.
    heardEvents.clear();
    large.button().SetValue(kTrue);
    Pump(100);
    EXPECT_GE(heard(EVENT_OBJECT_STATECHANGE, large), 1);
    EXPECT_GE(heard(EVENT_OBJECT_STATECHANGE, small), 1);
    EXPECT_EQ(heard(EVENT_OBJECT_NAMECHANGE, large), 0);  // nothing else changed
    EXPECT_EQ(state(large), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_CHECKED);
    EXPECT_EQ(state(small), STATE_SYSTEM_FOCUSABLE);
    UnhookWinEvent(hook);
    CoUninitialize();
}

TEST_F(Win32Host, SystemColoursAreTakenLive) {
    ButtonWindow& b = Add("Cmd", Stored("", 6, 1), {20, 20, 120, 60});
    Pump(50);
    const COLORREF before = ::GetSysColor(gdi::COLOR_BTNFACE);
    const auto facePixel = [&] {
        const HDC dc = GetDC(b.handle());
        const COLORREF pixel = GetPixel(dc, 50, 20);
        ReleaseDC(b.handle(), dc);
        return pixel;
    };
    EXPECT_EQ(facePixel(), before);

    const INT element = gdi::COLOR_BTNFACE;
    const COLORREF changed = 0x00203040;
    ASSERT_TRUE(SetSysColors(1, &element, &changed));
    BroadcastSystemColourChange(form_);
    Pump(50);
    const COLORREF shown = facePixel();
    SetSysColors(1, &element, &before);
    BroadcastSystemColourChange(form_);
    EXPECT_EQ(shown, changed);
}

}  // namespace
}  // namespace tarvex::win32
