// A screen reader's view of the running Vornik window, asked as screen readers ask: Active
// Accessibility from another process (AccessibleObjectFromWindow, AccessibleChildren, the
// objects' own methods).
//   accessibility_client.exe session DPI
//       Every control's role, name and state, then a patch through the objects' default
//       actions; the box that answers is read and closed.
//   accessibility_client.exe close
//       Closes the Vornik window.
// Prints "FAILED: ..." for every check that does not hold; exits 1 if any failed.
#include "gdi/win32/windows.hpp"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/WindowCommands.hpp"
#include "host/win32/ComSupport.hpp"
#include "host/win32/WideText.hpp"

namespace {

using tarvex::win32::ComRef;
using tarvex::win32::kIidAccessible;
using tarvex::win32::Narrow;

int failures = 0;

void Fail(const std::string& what) {
    std::printf("FAILED: %s\n", what.c_str());
    std::fflush(stdout);
    ++failures;
}

void Note(const std::string& what) {
    std::printf("note: %s\n", what.c_str());
    std::fflush(stdout);
}

std::string Hex(long value) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lX", static_cast<unsigned long>(value));
    return text;
}

void Expect(bool holds, const std::string& what) {
    if (!holds) Fail(what);
}

template <typename T>
void ExpectEqual(const T& actual, const T& expected, const std::string& what) {
    if (!(actual == expected)) Fail(what);
}

// Runs this thread's messages (the hook's events and COM's calls arrive through them) for
// `milliseconds`, or until `done` holds.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done && done()) return true;
        if (GetTickCount() - start >= milliseconds) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

VARIANT Self() {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

// One object as the screen reader reads it.
struct Read {
    std::string name;
    std::string description;
    std::string shortcut;
    std::string defaultAction;
    std::string value;
    long role = 0;
    long state = 0;
};

std::string TextOf(HRESULT (IAccessible::*get)(VARIANT, BSTR*), IAccessible& object) {
    BSTR text = nullptr;
    (object.*get)(Self(), &text);
    std::string out = text ? Narrow(std::wstring_view(text, SysStringLen(text))) : "";
    SysFreeString(text);
    return out;
}

long NumberOf(HRESULT (IAccessible::*get)(VARIANT, VARIANT*), IAccessible& object) {
    VARIANT v;
    VariantInit(&v);
    if (FAILED((object.*get)(Self(), &v)) || v.vt != VT_I4) return -1;
    return v.lVal;
}

Read ReadObject(IAccessible& object) {
    Read r;
    r.name = TextOf(&IAccessible::get_accName, object);
    r.description = TextOf(&IAccessible::get_accDescription, object);
    r.shortcut = TextOf(&IAccessible::get_accKeyboardShortcut, object);
    r.defaultAction = TextOf(&IAccessible::get_accDefaultAction, object);
    r.value = TextOf(&IAccessible::get_accValue, object);
    r.role = NumberOf(&IAccessible::get_accRole, object);
    r.state = NumberOf(&IAccessible::get_accState, object);
    return r;
}

ComRef<IAccessible> ClientObject(HWND window) {
    ComRef<IAccessible> object;
    const HRESULT hr = AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), kIidAccessible,
                                                  reinterpret_cast<void**>(object.Receive()));
    if (FAILED(hr)) Fail("AccessibleObjectFromWindow answered " + Hex(hr));
    return object;
}

// The children of a window's client object, each as the window behind it and that window's
// own client object (what a screen reader asks next).
struct Child {
    HWND window = nullptr;
    ComRef<IAccessible> object;
};

std::vector<Child> ChildrenOf(IAccessible& parent) {
    long count = 0;
    if (FAILED(parent.get_accChildCount(&count)) || count <= 0) return {};
    std::vector<VARIANT> listed{std::size_t(count)};
    long obtained = 0;
    const HRESULT hr = AccessibleChildren(&parent, 0, count, listed.data(), &obtained);
    if (FAILED(hr)) Fail("AccessibleChildren answered " + Hex(hr));
    std::vector<Child> children;
    for (long i = 0; i < obtained; ++i) {
        VARIANT& v = listed[std::size_t(i)];
        Child child;
        if (v.vt == VT_DISPATCH && v.pdispVal) {
            ComRef<IAccessible> listedObject;
            v.pdispVal->QueryInterface(kIidAccessible,
                                       reinterpret_cast<void**>(listedObject.Receive()));
            if (listedObject) WindowFromAccessibleObject(listedObject.get(), &child.window);
            if (child.window) child.object = ClientObject(child.window);
        }
        VariantClear(&v);
        if (!child.object) Fail("child " + std::to_string(i) + " is no window's object");
        children.push_back(std::move(child));
    }
    return children;
}

// Waits up to 30 s for a shown top-level window of `title` (and class, when given).
HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD processId = 0) {
    HWND found = nullptr;
    PumpUntil(
        [&] {
            found = nullptr;
            for (HWND w = FindWindowExW(nullptr, nullptr, className, title); w;
                 w = FindWindowExW(nullptr, w, className, title)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (IsWindowVisible(w) && (processId == 0 || owner == processId)) {
                    found = w;
                    return true;
                }
            }
            return false;
        },
        30000);
    return found;
}

// A press through the object's default action; returns how long the call took.
DWORD DoDefaultAction(IAccessible& object, const std::string& what) {
    const DWORD start = GetTickCount();
    const HRESULT hr = object.accDoDefaultAction(Self());
    const DWORD took = GetTickCount() - start;
    if (FAILED(hr)) Fail(what + ": accDoDefaultAction answered " + Hex(hr));
    return took;
}

// A system control's default action (a check box's "Check", a box's "OK"). Wine's objects for
// the system's BUTTON class implement none and answer E_NOTIMPL (Windows' press the control):
// then the control is pressed as the system's object does it, with BM_CLICK, and the test says
// so. Any other failure is one.
void PressSystemControl(IAccessible& object, HWND control, const std::string& what) {
    const HRESULT hr = object.accDoDefaultAction(Self());
    if (hr == E_NOTIMPL) {
        Note(what +
             ": this system's object for a BUTTON has no default action (Wine); pressed "
             "with BM_CLICK, as Windows' object does it");
        PostMessageW(control, BM_CLICK, 0, 0);
    } else if (FAILED(hr)) {
        Fail(what + ": accDoDefaultAction answered " + Hex(hr));
    }
}

RECT ScreenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// ---- The Vornik window ----------------------------------------------------------------------

struct ExpectedControl {
    const char* name;
    long role;  // 0: the system's object, whose role this system chooses
    const char* description;
    RECT twips;  // left, top, width, height in the stored layout (buttons only)
};

constexpr long kButtonStates = STATE_SYSTEM_FOCUSABLE;

int Session(int dpi) {
    const HWND dialog = WaitForWindow(L"#32770", L"Vornik 1.2");
    if (!dialog) {
        Fail("the Vornik window did not open");
        return 1;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(dialog, &processId);
    // Nothing hovered: the pointer away from the window.
    SetCursorPos(0, 0);
    PumpUntil({}, 500);

    ComRef<IAccessible> window = ClientObject(dialog);
    if (!window) return 1;
    const Read top = ReadObject(*window);
    ExpectEqual(top.name, std::string("Vornik 1.2"), "the window's name is \"" + top.name + "\"");
    ExpectEqual(top.description, std::string(vornik::kWindowDescription),
                "the window's description is \"" + top.description + "\"");

    // Tab order, then the picture, which takes no focus.
    const ExpectedControl expected[] = {
        {"Vornik 1.2", 0, nullptr, {}},
        {"Image Location:", 0, nullptr, {}},
        {"Image Location:", ROLE_SYSTEM_TEXT, nullptr, {}},
        {"Browse for image", ROLE_SYSTEM_PUSHBUTTON, "Browse for image", {3360, 1080, 375, 255}},
        {"Help / About", ROLE_SYSTEM_PUSHBUTTON, "", {2400, 3000, 1335, 375}},
        {"Remove Overview Tab", 0, nullptr, {}},
        {"Remove Address book Tab", 0, nullptr, {}},
        {"Restricted Tab Remover", 0, nullptr, {}},
        {"Change", ROLE_SYSTEM_PUSHBUTTON, "", {120, 3000, 1215, 375}},
        {"Restore Tabs", 0, nullptr, {}},
        {"Vornik logo", ROLE_SYSTEM_GRAPHIC, vornik::kPictureDescription.data(), {}},
    };
    const std::vector<Child> children = ChildrenOf(*window);
    ExpectEqual(children.size(), std::size(expected),
                "the window has " + std::to_string(children.size()) + " children");
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    const auto pixels = [&](long twips) { return (twips * dpi + 720) / 1440; };
    HWND text = nullptr, check1 = nullptr, change = nullptr;
    ComRef<IAccessible> check1Object, changeObject, browseObject;
    for (std::size_t i = 0; i < children.size() && i < std::size(expected); ++i) {
        const ExpectedControl& e = expected[i];
        if (!children[i].object) continue;
        IAccessible& object = *children[i].object;
        const Read r = ReadObject(object);
        const std::string at = "child " + std::to_string(i) + " (" + e.name + ")";
        ExpectEqual(r.name, std::string(e.name), at + ": named \"" + r.name + "\"");
        if (e.role) ExpectEqual(r.role, e.role, at + ": role " + std::to_string(r.role));
        if (e.description)
            ExpectEqual(r.description, std::string(e.description),
                        at + ": described \"" + r.description + "\"");
        if (e.role == ROLE_SYSTEM_PUSHBUTTON) {
            ExpectEqual(r.state, kButtonStates, at + ": state " + Hex(r.state));
            ExpectEqual(r.defaultAction, std::string("Press"),
                        at + ": default action \"" + r.defaultAction + "\"");
            ExpectEqual(r.shortcut, std::string(), at + ": shortcut \"" + r.shortcut + "\"");
            long x = 0, y = 0, w = 0, h = 0;
            const HRESULT hr = object.accLocation(&x, &y, &w, &h, Self());
            const RECT real = ScreenRect(children[i].window);
            Expect(SUCCEEDED(hr) && x == real.left && y == real.top &&
                       w == real.right - real.left && h == real.bottom - real.top,
                   at + ": placed at " + std::to_string(x) + "," + std::to_string(y) + " " +
                       std::to_string(w) + "x" + std::to_string(h) + ", its window elsewhere");
            Expect(x == origin.x + pixels(e.twips.left) && y == origin.y + pixels(e.twips.top) &&
                       w == pixels(e.twips.right) && h == pixels(e.twips.bottom),
                   at + ": placed at " + std::to_string(x - origin.x) + "," +
                       std::to_string(y - origin.y) + " " + std::to_string(w) + "x" +
                       std::to_string(h) + " in the window at " + std::to_string(dpi) +
                       " dots per inch");
            ComRef<IDispatch> parent;
            object.get_accParent(parent.Receive());
            ComRef<IAccessible> parentObject;
            if (parent)
                parent->QueryInterface(kIidAccessible,
                                       reinterpret_cast<void**>(parentObject.Receive()));
            HWND parentWindow = nullptr;
            if (parentObject) WindowFromAccessibleObject(parentObject.get(), &parentWindow);
            Expect(parentObject && parentWindow == dialog &&
                       ReadObject(*parentObject).name == "Vornik 1.2",
                   at + ": its parent is not the window");
        }
        if (i == 2) {
            text = children[i].window;
            ExpectEqual(r.state & STATE_SYSTEM_FOCUSED, long(STATE_SYSTEM_FOCUSED),
                        "the text box does not have the focus at first");
        }
        if (i == 3) browseObject = children[i].object;
        if (i == 5) {
            check1 = children[i].window;
            check1Object = children[i].object;
        }
        if (i == 8) {
            change = children[i].window;
            changeObject = children[i].object;
        }
    }
    if (!text || !check1 || !change || !changeObject || !browseObject) return 1;

    // Type the path, tick the first box, press "Change".
    const std::wstring picture = L"\\\\server\\pictures\\no banner.gif";
    SendMessageW(text, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(picture.c_str()));
    ComRef<IAccessible> textObject = ClientObject(text);
    if (textObject)
        ExpectEqual(ReadObject(*textObject).value, Narrow(picture), "the text box's value");
    PressSystemControl(*check1Object, check1, "Remove Overview Tab");
    Expect(PumpUntil([&] { return SendMessageW(check1, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5000),
           "\"Remove Overview Tab\" is not ticked");
    const DWORD took = DoDefaultAction(*changeObject, "Change");
    // The box it opens is modal: a press that ran inside the call would have kept it until the
    // box closed, which nothing here does (a busy machine gets ample time all the same).
    Expect(took < 10000, "the press of \"Change\" kept the caller " + std::to_string(took) + " ms");

    const HWND box = WaitForWindow(L"#32770", L"Vornik", processId);
    if (!box) {
        Fail("no box answered \"Change\"");
        return 1;
    }
    ComRef<IAccessible> boxObject = ClientObject(box);
    bool saysComplete = false;
    HWND ok = nullptr;
    ComRef<IAccessible> okObject;
    if (boxObject) {
        for (const Child& c : ChildrenOf(*boxObject)) {
            if (!c.object) continue;
            const std::string name = ReadObject(*c.object).name;
            if (name == vornik::kPatchComplete) saysComplete = true;
            if (name == "OK") {
                ok = c.window;
                okObject = c.object;
            }
        }
    }
    Expect(saysComplete, "the box does not read \"Patch Complete!\"");
    if (okObject) {
        PressSystemControl(*okObject, ok, "the box's OK");
    } else {
        Fail("the box has no OK button");
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    Expect(PumpUntil([&] { return !IsWindow(box); }, 10000), "the box did not close");
    // The window is whole and answers again once the box has gone.
    ExpectEqual(ReadObject(*changeObject).name, std::string("Change"), "\"Change\" after the box");
    return failures ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    int status = 2;
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"session" && argc > 2)
        status = Session(_wtoi(argv[2]));
    else if (mode == L"close") {
        const HWND dialog = FindWindowW(L"#32770", L"Vornik 1.2");
        status = dialog && PostMessageW(dialog, WM_CLOSE, 0, 0) ? 0 : 1;
    } else
        std::printf("usage: accessibility_client.exe session DPI | close\n");
    CoUninitialize();
    if (status == 0 && mode != L"close") std::printf("Every check held\n");
    return status;
}
