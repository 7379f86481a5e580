#include "button/Accessible.hpp"

#include <memory>

#include "button/TarvexButton.hpp"
#include "gdi/gdi.hpp"

namespace tarvex {

namespace {

// The control's own handlers take Button -1 as a press that no mouse made.
constexpr std::int16_t kInternalButton = -1;

struct Range {
    char32_t first;
    char32_t last;
};

// Blocks of punctuation, symbols, spaces, marks and private characters: none of their
// characters is a letter or a digit. Outside ASCII every other character counts as saying
// something, so a caption of any script is read rather than replaced by a tool tip.
constexpr Range kSilent[] = {
    {0x0080, 0x00A9},    {0x00AB, 0x00B1}, {0x00B4, 0x00B4}, {0x00B6, 0x00B8},
    {0x00BB, 0x00BB},    {0x00BF, 0x00BF}, {0x00D7, 0x00D7}, {0x00F7, 0x00F7},
    {0x02C2, 0x02C5},    {0x02D2, 0x02DF}, {0x0300, 0x036F},  // modifier symbols, combining marks
    {0x2000, 0x206F},                                         // general punctuation and spaces
    {0x20A0, 0x20FF},                                         // currency, combining marks
    {0x2190, 0x23FF},                                         // arrows, operators, technical
    {0x2400, 0x245F},    {0x2500, 0x27BF}, {0x27C0, 0x2BFF},  // boxes, shapes, dingbats, arrows
    {0x2E00, 0x2E7F},    {0x3000, 0x3004}, {0x3008, 0x3020},  // punctuation, CJK punctuation
    {0xE000, 0xF8FF},                                         // private use (icon fonts)
    {0xFE10, 0xFE1F},    {0xFE30, 0xFE6F}, {0xFF01, 0xFF0F},  // forms, full-width punctuation
    {0xFF1A, 0xFF20},    {0xFF3B, 0xFF40}, {0xFF5B, 0xFF65}, {0xFFF0, 0xFFFF},
    {0x1F000, 0x1FAFF},   // specials, emoji and pictographs
    {0xF0000, 0x10FFFF},  // private use planes
};

bool IsLetterOrDigit(char32_t c) {
    if (c < 0x80)
        return (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
    for (const Range& r : kSilent)
        if (c >= r.first && c <= r.last) return false;
    return true;
}

}  // namespace

std::string SpokenCaption(std::string_view caption) {
    std::string spoken;
    spoken.reserve(caption.size());
    bool markerDropped = false;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const char ch = caption[i];
        const bool hasNext = i + 1 < caption.size();
        if (ch == '&' && hasNext && caption[i + 1] == '&') {
            spoken += '&';
            ++i;
        } else if (ch == '&' && !markerDropped) {
            markerDropped = true;
        } else if (ch == '\r' || ch == '\n') {
            if (ch == '\r' && hasNext && caption[i + 1] == '\n') ++i;
            spoken += ' ';
        } else {
            spoken += ch;  // UTF-8 continuation bytes never equal '&', CR or LF
        }
    }
    return spoken;
}

bool SaysSomething(std::string_view text) {
    for (const char32_t c : gdi::Utf8ToUtf32(text))
        if (IsLetterOrDigit(c)) return true;
    return false;
}

std::string AccessibleName(const NameSources& sources) {
    if (!sources.givenName.empty()) return std::string(sources.givenName);
    std::string spoken = SpokenCaption(sources.caption);
    if (SaysSomething(spoken)) return spoken;
    if (!sources.toolTip.empty()) return std::string(sources.toolTip);
    return std::string(sources.controlName);
}

std::string AccessibleDescription(std::string_view givenDescription, std::string_view toolTip) {
    return std::string(givenDescription.empty() ? toolTip : givenDescription);
}

ButtonStates StatesOf(const TarvexButton& b) {
    ButtonStates s;
    s.pressed = b.mButtonState == kStatePressed;
    s.hotTracked = b.mHovering == kTrue;
    if (b.mOptionButton == kTrue) {
        s.checkable = true;
        s.checked = b.mValue == kTrue;
    }
    return s;
}

std::string AccessKeyShortcut(std::u32string_view accessKeys) {
    if (accessKeys.empty()) return {};
    char32_t key = accessKeys.front();
    if (key >= U'a' && key <= U'z') key -= U'a' - U'A';
    return "Alt+" + gdi::Utf32ToUtf8(std::u32string_view(&key, 1));
}

void PressForAssistiveTool(TarvexButton& b) {
    const std::weak_ptr<const void> life = b.LifeToken();
    b.MouseDownHandler(kInternalButton, 0, 0.0f, 0.0f);
    if (life.expired()) return;
    b.MouseUpHandler(kInternalButton, 0, 0.0f, 0.0f);
    if (life.expired()) return;
    b.ClickHandler();
}

}  // namespace tarvex
