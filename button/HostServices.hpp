// What the control needs from the toolkit that hosts it. A host (the Qt widget in host/qt, the
// in-memory test host in tests/) implements these interfaces; the control never sees the toolkit.
// A host call that cannot be answered throws HostError; the control lets it reach its caller
// except where its own rules absorb it (the redraw pipeline, for example).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "button/Types.hpp"
#include "gdi/gdi.hpp"

namespace tarvex {

class TarvexButton;

/// Message box styles and results (the classic values).
enum : std::int32_t {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};
enum : std::int32_t { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

/// The base control: the child window with its size, presentation and base properties.
/// The control owns its back buffer; the host presents it on Refresh.
class UserControlSite {
  public:
    virtual ~UserControlSite() = default;
    virtual std::uintptr_t hWnd() const = 0;
    virtual std::int32_t ScaleWidth() const = 0;  // pixels
    virtual std::int32_t ScaleHeight() const = 0;
    /// Present the control's back buffer now (the control's image changed).
    virtual void Refresh() = 0;
    /// Install a window shape; std::nullopt removes it. The window owns what it is given.
    virtual void SetWindowRgn(std::optional<gdi::Region> region, bool redraw) = 0;
    /// The window's own enabled setting (what `Enabled` reads back).
    virtual bool Enabled() const = 0;
    /// Whether the window takes input: false also while a window around it is disabled, when the
    /// control draws its disabled look without its own setting changing.
    virtual bool EffectivelyEnabled() const { return Enabled(); }
    virtual void SetEnabled(bool enabled) = 0;
    virtual FontRef Font() const = 0;
    virtual void SetFont(FontRef font) = 0;
    virtual std::int16_t MousePointer() const = 0;
    virtual void SetMousePointer(std::int16_t pointer) = 0;
    virtual PictureRef MouseIcon() const = 0;
    virtual void SetMouseIcon(PictureRef icon) = 0;  // may throw HostError
    virtual std::string Name() const = 0;
};

/// The container that holds the control (a form, a frame): ambient properties and notifications.
class ContainerSite {
  public:
    virtual ~ContainerSite() = default;
    virtual bool UserMode() const = 0;  // false in a form designer
    /// The control's name as the container knows it: "Name", or "Name(3)" in a control array.
    virtual std::string DisplayName() const = 0;
    virtual FontRef AmbientFont() const = 0;
    /// Design mode only: the stored property with this key changed.
    virtual void PropertyChanged(std::string_view key) = 0;
};

/// One control of the parent form, as the option-group sweep and `Container` see it.
struct FormControl {
    std::string name;
    std::optional<std::int32_t> index;  // set for an element of a control array
    std::string containerName;          // the form's own name for a control placed on the form
    std::optional<std::int32_t> containerIndex;
    TarvexButton* button = nullptr;  // non-owning; set when the control is a TarvexButton
};

/// The parent form: its device-context colours, its font and its controls.
class ParentFormSite {
  public:
    virtual ~ParentFormSite() = default;
    virtual std::string FormName() const = 0;
    virtual gdi::COLORREF FormBkColor() const = 0;    // GetBkColor of the form's "hdc"
    virtual gdi::COLORREF FormTextColor() const = 0;  // GetTextColor of the form's "hdc"
    virtual FontRef FormFont() const = 0;
    /// The host's list of the form's controls, by position from 0. The list may change between
    /// calls; ControlAt returns std::nullopt past its end.
    virtual std::size_t ControlCount() const = 0;
    virtual std::optional<FormControl> ControlAt(std::size_t position) const = 0;
    /// The control with this name (and index, for an array element); throws HostError when absent.
    virtual FormControl FindControl(std::string_view name,
                                    std::optional<std::int32_t> index) const = 0;
};

/// Everything else the control takes from its host.
class ServiceSite {
  public:
    virtual ~ServiceSite() = default;
    /// Access keys: the characters whose Alt+key raises the control's access-key handler.
    virtual void SetAccessKeys(std::string_view keys) = 0;
    /// The hover timer (`TimerHover`); ticks reach TarvexButton::TimerHover_Timer.
    virtual void SetHoverTimerInterval(std::int32_t milliseconds) = 0;
    virtual void SetHoverTimerEnabled(bool enabled) = 0;
    virtual bool HoverTimerEnabled() const = 0;
    /// The window under the mouse cursor (GetCursorPos + WindowFromPoint); 0 when none.
    virtual std::uintptr_t WindowUnderCursor() const = 0;
    /// Twips per pixel of the drawing surface, vertically (15 at 96 dots per inch), truncated to
    /// a whole number as the classic screen object reports it.
    virtual std::int32_t TwipsPerPixelY() const = 0;
    /// The same without truncation, for the caption font's pixel height: at 192 dots per inch a
    /// pixel is 7.5 twips, and 7 would make every caption a tenth too tall.
    virtual double ExactTwipsPerPixelY() const { return TwipsPerPixelY(); }
    /// Modal message box; an empty title means the application's title. Returns vbOK etc.
    virtual std::int32_t MsgBox(std::string_view text, std::int32_t style,
                                std::string_view title) = 0;
    virtual std::string AppTitle() const = 0;
    /// Queue keystrokes for the focused window ("{Tab}", "+{Tab}").
    virtual void SendKeys(std::string_view keys) = 0;
    /// Seconds since midnight.
    virtual double Timer() const = 0;
};

/// The control's events, delivered synchronously to the container's handlers; arguments by
/// reference. Default handlers ignore the event.
class ButtonEvents {
  public:
    virtual ~ButtonEvents() = default;
    virtual void Click(TarvexButton&) {}
    virtual void MouseDown(TarvexButton&, std::int16_t& /*Button*/, std::int16_t& /*Shift*/,
                           float& /*X*/, float& /*Y*/) {}
    virtual void MouseMove(TarvexButton&, std::int16_t& /*Button*/, std::int16_t& /*Shift*/,
                           float& /*X*/, float& /*Y*/) {}
    virtual void MouseUp(TarvexButton&, std::int16_t& /*Button*/, std::int16_t& /*Shift*/,
                         float& /*X*/, float& /*Y*/) {}
    virtual void KeyPress(TarvexButton&, std::int16_t& /*KeyAscii*/) {}
    virtual void KeyDown(TarvexButton&, std::int16_t& /*KeyCode*/, std::int16_t& /*Shift*/) {}
    virtual void KeyUp(TarvexButton&, std::int16_t& /*KeyCode*/, std::int16_t& /*Shift*/) {}
    virtual void MouseOut(TarvexButton&) {}
};

/// The whole host of one control. A host object usually implements all of it.
class ControlHost : public UserControlSite,
                    public ContainerSite,
                    public ParentFormSite,
                    public ServiceSite {
  public:
    /// Where the control's events go; may be null (events are then dropped).
    virtual ButtonEvents* Events() = 0;
};

}  // namespace tarvex
