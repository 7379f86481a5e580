// What assistive tools (screen readers, switch access, test robots) learn of a TarvexButton, the
// same on every host: the name a person would give it, its description, the states a listener
// hears, the access key as a tool spells it, and the press a tool asks for. Text is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace tarvex {

class TarvexButton;

// The caption as it reads aloud: the access-key marker dropped, "&&" read as "&", every line
// break (CR LF, CR or LF) read as one space.
std::string SpokenCaption(std::string_view caption);

// Whether a text has a letter or a digit of any script. A caption that has none ("...", "?",
// "<<", an arrow, an icon font's private character) says nothing to a listener.
bool SaysSomething(std::string_view text);

// Where a button's name can come from, in the order they are tried.
struct NameSources {
    std::string_view givenName;    // set by the program for assistive tools (may be empty)
    std::string_view caption;      // the control's caption, access-key marker and all
    std::string_view toolTip;      // the host's tool tip of the control
    std::string_view controlName;  // the control's name on its form
};

// The name a person would give the button: the one the program set, else the caption as it
// reads aloud, else (for "...", an icon alone, nothing) the tool tip, else the control's name.
std::string AccessibleName(const NameSources& sources);

// The description: the one the program set, else the tool tip.
std::string AccessibleDescription(std::string_view givenDescription, std::string_view toolTip);

// The control's own states as a listener hears them (the host adds focus, enabling and
// visibility, which are its window's).
struct ButtonStates {
    bool pressed = false;     // held down (by the mouse, a key, or its access key's pause)
    bool hotTracked = false;  // the mouse is over it
    bool checkable = false;   // an option button
    bool checked = false;     // an option button that is selected
    friend bool operator==(const ButtonStates&, const ButtonStates&) = default;
};
ButtonStates StatesOf(const TarvexButton& button);

// The access key as assistive tools spell the keystroke: "Alt+C" for "c"; empty for none. Only
// the first key counts, as only it raises the access-key handler.
std::string AccessKeyShortcut(std::u32string_view accessKeys);

// A press and release through the control's own handlers, as a click of the mouse makes them:
// the pressed look, the option-group selection (which raises Click on the press), then the click
// that raises Click on a command button. Stops at once when a handler destroyed the control. Run
// it once the tool's request has been answered: a Click handler may open a modal box.
void PressForAssistiveTool(TarvexButton& button);

}  // namespace tarvex
