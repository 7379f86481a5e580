// The form's controls as the option-group sweep and `Container` see them: every named window
// inside the form, each with its name, array index and the container (group box) around it.
#include <vector>

#include "host/win32/ButtonWindow.hpp"
#include "host/win32/WideText.hpp"

namespace tarvex::win32 {

namespace {

constexpr wchar_t kNameProperty[] = L"TarvexControlName";    // a local atom
constexpr wchar_t kIndexProperty[] = L"TarvexControlIndex";  // index + 1
constexpr wchar_t kContainerProperty[] = L"TarvexContainer";

HWND FormOf(HWND window) {
    return GetAncestor(window, GA_ROOT);
}

// The named windows of a form in a fixed order: depth first, in the order the form keeps them.
std::vector<HWND> FormControls(HWND form) {
    std::vector<HWND> controls;
    EnumChildWindows(
        form,
        [](HWND child, LPARAM param) -> BOOL {
            if (GetPropW(child, kNameProperty))
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&controls));
    return controls;
}

std::string FormNameOf(HWND form) {
    const std::string name = ControlName(form);
    return name.empty() ? "Form" : name;
}

FormControl DescribeControl(HWND control) {
    FormControl c;
    c.name = ControlName(control);
    c.index = ControlIndex(control);
    const HWND form = FormOf(control);
    c.containerName = FormNameOf(form);
    for (HWND p = GetParent(control); p && p != form; p = GetParent(p)) {
        if (IsContainer(p)) {
            c.containerName = ControlName(p);
            c.containerIndex = ControlIndex(p);
            break;
        }
    }
    if (ButtonWindow* window = ButtonWindow::FromHandle(control); window && window->hasButton())
        c.button = &window->button();
    return c;
}

bool SameName(const std::string& a, std::string_view b) {
    return CompareStringOrdinal(Widen(a).c_str(), -1, Widen(b).c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

void SetControlName(HWND control, const std::string& name, std::optional<std::int32_t> index) {
    if (const auto old = reinterpret_cast<UINT_PTR>(RemovePropW(control, kNameProperty)))
        DeleteAtom(ATOM(old));
    RemovePropW(control, kIndexProperty);
    if (name.empty()) return;
    const ATOM atom = AddAtomW(Widen(name).c_str());
    if (atom == 0) throw HostError("the control name \"" + name + "\" cannot be kept");
    SetPropW(control, kNameProperty, reinterpret_cast<HANDLE>(UINT_PTR(atom)));
    if (index) SetPropW(control, kIndexProperty, reinterpret_cast<HANDLE>(INT_PTR(*index) + 1));
}

std::string ControlName(HWND control) {
    const auto atom = ATOM(reinterpret_cast<UINT_PTR>(GetPropW(control, kNameProperty)));
    if (atom == 0) return {};
    wchar_t name[256] = {};
    const UINT length = GetAtomNameW(atom, name, 256);
    return Narrow(std::wstring_view(name, length));
}

std::optional<std::int32_t> ControlIndex(HWND control) {
    const HANDLE stored = GetPropW(control, kIndexProperty);
    if (!stored) return std::nullopt;
    return std::int32_t(reinterpret_cast<INT_PTR>(stored) - 1);
}

void MarkAsContainer(HWND window) {
    SetPropW(window, kContainerProperty, reinterpret_cast<HANDLE>(1));
}

bool IsContainer(HWND window) {
    if (GetPropW(window, kContainerProperty)) return true;
    wchar_t className[16] = {};
    if (!GetClassNameW(window, className, 16) || lstrcmpiW(className, L"Button") != 0) return false;
    return (GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

HWND CreateGroupBox(HWND parent, int id, const std::string& name, const std::wstring& caption,
                    const RECT& bounds) {
    // The dialog manager walks into it with Tab and the arrow keys, and it leaves its children's
    // pixels alone.
    const HWND box = CreateWindowExW(
        WS_EX_CONTROLPARENT, L"BUTTON", caption.c_str(),
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | BS_GROUPBOX, bounds.left, bounds.top,
        bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!box) throw HostError("the group box \"" + name + "\" cannot be created");
    SetControlName(box, name);
    return box;
}

std::string ButtonWindow::FormName() const {
    return FormNameOf(FormOf(hwnd_));
}

std::size_t ButtonWindow::ControlCount() const {
    return FormControls(FormOf(hwnd_)).size();
}

std::optional<FormControl> ButtonWindow::ControlAt(std::size_t position) const {
    const std::vector<HWND> controls = FormControls(FormOf(hwnd_));
    if (position >= controls.size()) return std::nullopt;
    return DescribeControl(controls[position]);
}

FormControl ButtonWindow::FindControl(std::string_view name,
                                      std::optional<std::int32_t> index) const {
    for (HWND control : FormControls(FormOf(hwnd_))) {
        if (SameName(ControlName(control), name) && ControlIndex(control) == index)
            return DescribeControl(control);
    }
    std::string what(name);
    if (index) what += "(" + std::to_string(*index) + ")";
    throw HostError("control \"" + what + "\" not found on the form");
}

}  // namespace tarvex::win32
