// The Win32 host of the TarvexButton control: a registered child-window class whose windows each
// own one control and answer every host service it asks for. Each concern lives in its own
// source: the window procedure (ButtonWindow.cpp), input (Input.cpp), the hover timer
// (HoverTimer.cpp), presentation and shape (Presentation.cpp), base properties and the cursor
// (Properties.cpp), the form's controls and containers (FormControls.cpp), the desktop's
// services: boxes, keystrokes, time, resolution and colours (DesktopServices.cpp), and what
// screen readers learn of the button (Accessible.cpp).
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "button/HostServices.hpp"
#include "button/TarvexButton.hpp"
#include "gdi/win32/windows.hpp"

namespace tarvex {
class PropertyBag;
}

namespace tarvex::win32 {

inline constexpr wchar_t kButtonClassName[] = L"TarvexButton";

// Registers the window class once per process; later calls do nothing. Throws HostError when
// the system refuses it.
void RegisterButtonClass();

// How a button window starts: its name on the form, its index in a control array, and the
// stored property set it reads (none: the new-instance defaults).
struct ButtonCreation {
    std::string name;
    std::optional<std::int32_t> index;
    const PropertyBag* stored = nullptr;
};

// Creates a visible button window as a child of `parent` (a form or a container), in device
// pixels of the parent's client area. Throws HostError when the window cannot be made, and
// whatever reading the stored set throws.
HWND CreateButtonWindow(HWND parent, int id, const ButtonCreation& creation, const RECT& bounds);

// ---- Message boxes ----------------------------------------------------------------------------

// Shows the control's modal boxes. `style` is the classic value (buttons plus icon, the same
// numbers as MessageBoxW's flags) and the answer is vbOK, vbYes, ... A test installs its own
// service so that boxes are answered at once.
class MessageBoxService {
  public:
    virtual ~MessageBoxService() = default;
    virtual int Show(HWND owner, const std::wstring& text, int style,
                     const std::wstring& title) = 0;
};

// Remembers every box and answers from a queue; with the queue empty it answers the first
// button of the box.
class RecordingMessageBoxService final : public MessageBoxService {
  public:
    struct Box {
        std::wstring text;
        int style = 0;
        std::wstring title;
    };
    int Show(HWND owner, const std::wstring& text, int style, const std::wstring& title) override;
    std::vector<Box> shown;
    std::deque<int> answers;
};

// Installing null restores MessageBoxW. Returns the service installed before.
std::shared_ptr<MessageBoxService> SetMessageBoxService(std::shared_ptr<MessageBoxService> service);
MessageBoxService& CurrentMessageBoxService();

// The title of boxes that name none of their own ("Vornik" unless changed). UTF-8.
void SetApplicationTitle(std::string title);
std::string ApplicationTitle();

// ---- Desktop --------------------------------------------------------------------------------

// Copies the desktop's colours (GetSysColor) into the table the drawing layer answers from.
void ApplySystemColours();

// Device pixels of `twips` at the window's resolution (96 dots per inch: 15 twips a pixel).
int TwipsToDevicePixels(int twips, UINT dpi);
UINT WindowDpi(HWND window);

// ---- The form's controls ----------------------------------------------------------------------

// Names a window of the form as the option-group sweep and `Container` see it.
void SetControlName(HWND control, const std::string& name,
                    std::optional<std::int32_t> index = std::nullopt);
std::string ControlName(HWND control);
std::optional<std::int32_t> ControlIndex(HWND control);
// Marks a window that is not a group box as a container of its own (buttons inside it then form
// their own option group).
void MarkAsContainer(HWND window);
// A group box, or a window marked as a container.
bool IsContainer(HWND window);
// A group box that holds controls as its children (tab and arrow keys reach into it).
HWND CreateGroupBox(HWND parent, int id, const std::string& name, const std::wstring& caption,
                    const RECT& bounds);

// After the form is activated again: a button whose focus went to another control of the form
// while the window was inactive shows that it has lost it.
void SettleFocusAfterActivation(HWND form);
// A system colour change: forwarded to every button of the form.
void BroadcastSystemColourChange(HWND form);

// ---- One button window ------------------------------------------------------------------------

class ButtonAccessible;

class ButtonWindow final : public ControlHost, private ButtonEvents {
  public:
    // The button window behind a handle; nullptr for any other window.
    static ButtonWindow* FromHandle(HWND window);

    HWND handle() const { return hwnd_; }
    bool hasButton() const { return button_ != nullptr; }
    TarvexButton& button() { return *button_; }
    std::optional<std::int32_t> index() const { return index_; }
    // Whether `key` (lower case) is the character whose Alt+key raises the access-key handler.
    bool AccessKeyIs(char32_t key) const;

    // Where the control's events go (may be null); the sink must outlive the window or be reset.
    void setEventSink(ButtonEvents* sink) { sink_ = sink; }
    // False puts the control in design mode. Default true: the running program.
    void setUserMode(bool userMode) { userMode_ = userMode; }
    // The form's font object, answered as the ambient font; the control hears of it as an
    // ambient "Font" change.
    void setAmbientFont(FontRef font);

    // ---- Assistive tools (Accessible.cpp) ----
    // The tool tip the form shows for the button (UTF-8): its description, and its name when the
    // caption says nothing ("...", an icon alone).
    void setToolTip(std::string text);
    const std::string& toolTip() const { return toolTip_; }
    std::string SpokenName() const;
    std::string SpokenDescription() const;
    LONG AccessibleRole() const;   // ROLE_SYSTEM_...
    LONG AccessibleState() const;  // STATE_SYSTEM_... bits
    std::string KeyboardShortcut() const;
    // Enabled, shown and whole: a press or the focus may be given to it.
    bool TakesPresses() const;
    bool IsOnScreenPoint(POINT screen) const;
    // Presses the button through its own handlers once the thread's messages are next run.
    // False when the request cannot be queued.
    bool PressSoon();

    // ---- UserControlSite ----
    std::uintptr_t hWnd() const override;
    std::int32_t ScaleWidth() const override;
    std::int32_t ScaleHeight() const override;
    void Refresh() override;
    void SetWindowRgn(std::optional<gdi::Region> region, bool redraw) override;
    bool Enabled() const override;
    void SetEnabled(bool enabled) override;
    FontRef Font() const override;
    void SetFont(FontRef font) override;
    std::int16_t MousePointer() const override;
    void SetMousePointer(std::int16_t pointer) override;
    PictureRef MouseIcon() const override;
    void SetMouseIcon(PictureRef icon) override;
    std::string Name() const override;
    // ---- ContainerSite ----
    bool UserMode() const override;
    std::string DisplayName() const override;
    FontRef AmbientFont() const override;
    void PropertyChanged(std::string_view key) override;
    // ---- ParentFormSite ----
    std::string FormName() const override;
    gdi::COLORREF FormBkColor() const override;
    gdi::COLORREF FormTextColor() const override;
    FontRef FormFont() const override;
    std::size_t ControlCount() const override;
    std::optional<FormControl> ControlAt(std::size_t position) const override;
    FormControl FindControl(std::string_view name,
                            std::optional<std::int32_t> index) const override;
    // ---- ServiceSite ----
    void SetAccessKeys(std::string_view keys) override;
    void SetHoverTimerInterval(std::int32_t milliseconds) override;
    void SetHoverTimerEnabled(bool enabled) override;
    bool HoverTimerEnabled() const override;
    std::uintptr_t WindowUnderCursor() const override;
    std::int32_t TwipsPerPixelY() const override;
    double ExactTwipsPerPixelY() const override;
    std::int32_t MsgBox(std::string_view text, std::int32_t style, std::string_view title) override;
    std::string AppTitle() const override;
    void SendKeys(std::string_view keys) override;
    double Timer() const override;
    // ---- ControlHost ----
    ButtonEvents* Events() override;

  private:
    // An assistive tool's press, run from the thread's messages after its call returned.
    static constexpr UINT kAccessiblePress = WM_USER + 0x50;

    friend LRESULT CALLBACK ButtonWindowProc(HWND, UINT, WPARAM, LPARAM);
    ButtonWindow(HWND hwnd, const ButtonCreation& creation);
    ~ButtonWindow() override;
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs a step of the control; a failure is reported in a box and the program goes on (no
    // failure may cross the window procedure: the system's frames cannot carry one).
    template <typename Step>
    void Reporting(Step step) {
        try {
            step();
        } catch (const std::exception& error) {
            ReportFailure(error.what());
        } catch (...) {
            ReportFailure("A button's event handler failed.");
        }
    }
    void ReportFailure(const std::string& failure);

    // Input.cpp
    bool OnMouseButton(UINT message, WPARAM wParam, LPARAM lParam);
    void OnMouseDown(std::int16_t code, WPARAM wParam, LPARAM lParam);
    void OnDoubleClick(std::int16_t code);
    void OnMouseUp(std::int16_t code, WPARAM wParam, LPARAM lParam);
    void OnMouseMove(WPARAM wParam, LPARAM lParam);
    void OnCaptureLost();
    void OnKeyDown(WPARAM key, bool systemKey);
    void OnKeyUp(WPARAM key);
    void OnChar(WPARAM character);
    void OnFocusIn();
    void OnFocusOut(HWND gaining);
    void OnAccessKey();
    LRESULT DialogCode(const MSG* message) const;
    void SettleFocus();
    void UpdateMnemonicText();
    bool IsOnShape(POINT at) const;
    // HoverTimer.cpp
    void OnHoverTick();
    // Accessible.cpp
    struct Heard {
        std::string name;
        std::string description;
        LONG state = 0;
    };
    LRESULT AnswerAccessibleRequest(WPARAM wParam, LPARAM lParam);
    void OnAccessiblePress();
    Heard Hear() const;
    void StartReportingAccessibleChanges();
    void ReportAccessibleChanges();
    void ReportFocus();
    // Presentation.cpp
    void Paint();
    void PresentTo(HDC dc) const;
    void OnSize();
    void OnShown();
    // Properties.cpp
    bool ApplyCursor() const;
    // DesktopServices.cpp
    void OnSystemColoursChanged();

    // ButtonEvents: forwards to the sink.
    void Click(TarvexButton&) override;
    void MouseDown(TarvexButton&, std::int16_t& Button, std::int16_t& Shift, float& X,
                   float& Y) override;
    void MouseMove(TarvexButton&, std::int16_t& Button, std::int16_t& Shift, float& X,
                   float& Y) override;
    void MouseUp(TarvexButton&, std::int16_t& Button, std::int16_t& Shift, float& X,
                 float& Y) override;
    void KeyPress(TarvexButton&, std::int16_t& KeyAscii) override;
    void KeyDown(TarvexButton&, std::int16_t& KeyCode, std::int16_t& Shift) override;
    void KeyUp(TarvexButton&, std::int16_t& KeyCode, std::int16_t& Shift) override;
    void MouseOut(TarvexButton&) override;

    friend void SettleFocusAfterActivation(HWND form);
    friend void BroadcastSystemColourChange(HWND form);

    HWND hwnd_;
    std::string name_;
    std::optional<std::int32_t> index_;
    bool userMode_ = true;
    ButtonEvents* sink_ = nullptr;
    FontRef baseFont_;
    FontRef ambientFont_;
    PictureRef mouseIcon_;
    std::int16_t mousePointer_ = 0;
    HCURSOR customCursor_ = nullptr;
    std::u32string accessKey_;  // the character whose Alt+key raises the access-key handler
    // The window's shape as installed, to tell whether a release is over the button.
    std::optional<gdi::Region> shape_;
    // Hover timer.
    UINT hoverInterval_ = 100;
    bool hoverRunning_ = false;
    // Assistive tools: the tool tip, what listeners last heard, and the object handed to them
    // (disconnected when the window goes, however long a tool holds it).
    std::string toolTip_;
    Heard heard_;
    bool reporting_ = false;
    struct AccessibleRelease {
        void operator()(ButtonAccessible* object) const;
    };
    std::unique_ptr<ButtonAccessible, AccessibleRelease> accessible_;
    // The gesture that makes a click: the button whose press began on the control (0: none).
    std::int16_t gestureButton_ = 0;
    // Deferred destruction: a window destroyed inside one of its own handlers is freed when the
    // outermost handler returns.
    int depth_ = 0;
    bool destroyed_ = false;
    // Last: created after everything the control may ask its host for, destroyed first.
    std::unique_ptr<TarvexButton> button_;
};

}  // namespace tarvex::win32
