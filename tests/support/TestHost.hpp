// An in-memory host for one TarvexButton: every service answers from plain fields that a test
// sets, and everything the control asks of it is recorded in order.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "button/HostServices.hpp"
#include "button/Types.hpp"
#include "gdi/gdi.hpp"

namespace tarvex::testing {

// One raised event: its name and its arguments in declaration order (Button, Shift, X, Y;
// KeyAscii; KeyCode, Shift), as the handler saw them.
struct RaisedEvent {
    std::string name;
    std::vector<double> args;
    TarvexButton* source = nullptr;
};

// Records every event; optional handlers may change by-reference arguments as a container's
// handler would.
class RecordingEvents : public ButtonEvents {
  public:
    std::vector<RaisedEvent> raised;
    std::function<void(TarvexButton&)> onClick;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> onMouseDown;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> onMouseMove;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> onMouseUp;
    std::function<void(std::int16_t& KeyAscii)> onKeyPress;
    std::function<void(std::int16_t& KeyCode, std::int16_t& Shift)> onKeyDown;
    std::function<void(std::int16_t& KeyCode, std::int16_t& Shift)> onKeyUp;
    std::function<void(TarvexButton&)> onMouseOut;

    std::vector<std::string> Names() const {
        std::vector<std::string> n;
        for (const auto& e : raised) n.push_back(e.name);
        return n;
    }

    void Click(TarvexButton& b) override {
        raised.push_back({"Click", {}, &b});
        if (onClick) onClick(b);
    }
    void MouseDown(TarvexButton& b, std::int16_t& Button, std::int16_t& Shift, float& X,
                   float& Y) override {
        raised.push_back({"MouseDown", {double(Button), double(Shift), X, Y}, &b});
        if (onMouseDown) onMouseDown(Button, Shift, X, Y);
    }
    void MouseMove(TarvexButton& b, std::int16_t& Button, std::int16_t& Shift, float& X,
                   float& Y) override {
        raised.push_back({"MouseMove", {double(Button), double(Shift), X, Y}, &b});
        if (onMouseMove) onMouseMove(Button, Shift, X, Y);
    }
    void MouseUp(TarvexButton& b, std::int16_t& Button, std::int16_t& Shift, float& X,
                 float& Y) override {
        raised.push_back({"MouseUp", {double(Button), double(Shift), X, Y}, &b});
        if (onMouseUp) onMouseUp(Button, Shift, X, Y);
    }
    void KeyPress(TarvexButton& b, std::int16_t& KeyAscii) override {
        raised.push_back({"KeyPress", {double(KeyAscii)}, &b});
        if (onKeyPress) onKeyPress(KeyAscii);
    }
    void KeyDown(TarvexButton& b, std::int16_t& KeyCode, std::int16_t& Shift) override {
        raised.push_back({"KeyDown", {double(KeyCode), double(Shift)}, &b});
        if (onKeyDown) onKeyDown(KeyCode, Shift);
    }
    void KeyUp(TarvexButton& b, std::int16_t& KeyCode, std::int16_t& Shift) override {
        raised.push_back({"KeyUp", {double(KeyCode), double(Shift)}, &b});
        if (onKeyUp) onKeyUp(KeyCode, Shift);
    }
    void MouseOut(TarvexButton& b) override {
        raised.push_back({"MouseOut", {}, &b});
        if (onMouseOut) onMouseOut(b);
    }
};

struct ShownMessage {
    std::string text;
    std::int32_t style = 0;
    std::string title;
};

class TestHost : public ControlHost {
  public:
    // ---- Base control ------------------------------------------------------------------------
    std::uintptr_t windowHandle = 0x1234;
    std::int32_t scaleWidth = 81;  // CmdChange: 1215 x 375 twips
    std::int32_t scaleHeight = 25;
    std::string name = "TarvexButton1";
    bool enabled = true;
    FontRef font = FontObject::Create("MS Sans Serif", 82500);
    std::int16_t mousePointer = 0;
    PictureRef mouseIcon;
    bool mouseIconThrows = false;     // SetMouseIcon reports a failure
    bool mousePointerThrows = false;  // SetMousePointer reports a failure
    int refreshCount = 0;
    bool refreshThrows = false;  // Refresh reports a failure (after counting the call)
    std::vector<std::optional<gdi::Region>> regionsInstalled;  // every SetWindowRgn, in order
    std::optional<gdi::Region> windowRegion;                   // the shape now installed

    // ---- Container ---------------------------------------------------------------------------
    bool userMode = true;
    std::string displayName = "TarvexButton1";
    FontRef ambientFont = FontObject::Create("MS Sans Serif", 82500);
    std::vector<std::string> propertyChanges;  // keys, in order
    int propertyChangedFailures = 0;           // the next n notifications fail (not recorded)

    // ---- Parent form -------------------------------------------------------------------------
    std::string formName = "frmVornik";
    gdi::COLORREF formBkColor = 0x00C8D0D4;
    gdi::COLORREF formTextColor = 0x00000000;
    FontRef formFont = FontObject::Create("MS Sans Serif", 82500);
    // Shared so that the hosts of several buttons on one form can see one list.
    std::shared_ptr<std::vector<FormControl>> controls =
        std::make_shared<std::vector<FormControl>>();

    // ---- Services ----------------------------------------------------------------------------
    std::vector<std::string> accessKeys;  // every SetAccessKeys, in order
    std::int32_t hoverInterval = 0;
    bool hoverEnabled = false;
    std::vector<bool> hoverEnabledHistory;
    std::uintptr_t windowUnderCursor = 0;
    std::int32_t twipsPerPixelY = 15;
    std::string appTitle = "Vornik";
    std::vector<ShownMessage> messages;
    std::deque<std::int32_t> messageAnswers;  // answers in order; vbOK once they run out
    std::vector<std::string> keysSent;
    // Seconds since midnight; each query advances it by timerStep so busy waits end.
    mutable double timerSeconds = 36000.0;
    double timerStep = 0.01;

    // ---- Events ------------------------------------------------------------------------------
    RecordingEvents events;
    bool deliverEvents = true;

    // ---- Helpers for tests -------------------------------------------------------------------
    void ClearRecords() {
        propertyChanges.clear();
        messages.clear();
        keysSent.clear();
        accessKeys.clear();
        regionsInstalled.clear();
        events.raised.clear();
        hoverEnabledHistory.clear();
        refreshCount = 0;
    }
    // Places a control on the form's list (a TarvexButton when `button` is given).
    void AddControl(std::string controlName, std::optional<std::int32_t> index = std::nullopt,
                    std::string containerName = {},
                    std::optional<std::int32_t> containerIndex = std::nullopt,
                    TarvexButton* button = nullptr) {
        controls->push_back(FormControl{std::move(controlName), index,
                                        containerName.empty() ? formName : containerName,
                                        containerIndex, button});
    }

    // ---- UserControlSite ---------------------------------------------------------------------
    std::uintptr_t hWnd() const override { return windowHandle; }
    std::int32_t ScaleWidth() const override { return scaleWidth; }
    std::int32_t ScaleHeight() const override { return scaleHeight; }
    void Refresh() override {
        ++refreshCount;
        if (refreshThrows) throw HostError("the window cannot be presented");
    }
    void SetWindowRgn(std::optional<gdi::Region> region, bool /*redraw*/) override {
        regionsInstalled.push_back(region);
        windowRegion = std::move(region);
    }
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool e) override { enabled = e; }
    FontRef Font() const override { return font; }
    void SetFont(FontRef f) override { font = std::move(f); }
    std::int16_t MousePointer() const override { return mousePointer; }
    void SetMousePointer(std::int16_t pointer) override {
        if (mousePointerThrows) throw HostError("the base control refuses the mouse pointer");
        mousePointer = pointer;
    }
    PictureRef MouseIcon() const override { return mouseIcon; }
    void SetMouseIcon(PictureRef icon) override {
        if (mouseIconThrows) throw HostError("the base control refuses the mouse icon");
        mouseIcon = std::move(icon);
    }
    std::string Name() const override { return name; }

    // ---- ContainerSite -----------------------------------------------------------------------
    bool UserMode() const override { return userMode; }
    std::string DisplayName() const override { return displayName; }
    FontRef AmbientFont() const override { return ambientFont; }
    void PropertyChanged(std::string_view key) override {
        if (propertyChangedFailures > 0) {
            --propertyChangedFailures;
            throw HostError("the designer cannot take the change");
        }
        propertyChanges.emplace_back(key);
    }

    // ---- ParentFormSite ----------------------------------------------------------------------
    std::string FormName() const override { return formName; }
    gdi::COLORREF FormBkColor() const override { return formBkColor; }
    gdi::COLORREF FormTextColor() const override { return formTextColor; }
    FontRef FormFont() const override { return formFont; }
    std::size_t ControlCount() const override { return controls->size(); }
    std::optional<FormControl> ControlAt(std::size_t position) const override {
        if (position >= controls->size()) return std::nullopt;
        return (*controls)[position];
    }
    FormControl FindControl(std::string_view controlName,
                            std::optional<std::int32_t> index) const override {
        for (const auto& c : *controls)
            if (SameName(c.name, controlName) && c.index == index) return c;
        throw HostError("control \"" + std::string(controlName) + "\" not found on the form");
    }

    // ---- ServiceSite -------------------------------------------------------------------------
    void SetAccessKeys(std::string_view keys) override { accessKeys.emplace_back(keys); }
    void SetHoverTimerInterval(std::int32_t ms) override { hoverInterval = ms; }
    void SetHoverTimerEnabled(bool e) override {
        hoverEnabled = e;
        hoverEnabledHistory.push_back(e);
    }
    bool HoverTimerEnabled() const override { return hoverEnabled; }
    std::uintptr_t WindowUnderCursor() const override { return windowUnderCursor; }
    std::int32_t TwipsPerPixelY() const override { return twipsPerPixelY; }
    std::int32_t MsgBox(std::string_view text, std::int32_t style,
                        std::string_view title) override {
        messages.push_back({std::string(text), style, std::string(title)});
        if (messageAnswers.empty()) return vbOK;
        const std::int32_t answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    std::string AppTitle() const override { return appTitle; }
    void SendKeys(std::string_view keys) override { keysSent.emplace_back(keys); }
    double Timer() const override {
        const double now = timerSeconds;
        timerSeconds += timerStep;
        return now;
    }

    // ---- ControlHost -------------------------------------------------------------------------
    ButtonEvents* Events() override { return deliverEvents ? &events : nullptr; }

  private:
    static bool SameName(std::string_view a, std::string_view b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) ==
                   std::tolower(static_cast<unsigned char>(y));
        });
    }
};

}  // namespace tarvex::testing
