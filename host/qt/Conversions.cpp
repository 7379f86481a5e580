// Qt's keys, buttons, modifiers, fonts and colours as the classic values the control knows.
#include <cmath>

#include "host/qt/WidgetSupport.hpp"

namespace tarvex::qt::detail {

namespace {
constexpr std::int16_t kShiftBit = 1;
constexpr std::int16_t kCtrlBit = 2;
constexpr std::int16_t kAltBit = 4;
}  // namespace

std::int16_t ShiftState(Qt::KeyboardModifiers m) {
    std::int16_t s = 0;
    if (m & Qt::ShiftModifier) s |= kShiftBit;
    if (m & Qt::ControlModifier) s |= kCtrlBit;
    if (m & Qt::AltModifier) s |= kAltBit;
    return s;
}

std::int16_t ButtonCode(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

std::int16_t ButtonsHeld(Qt::MouseButtons held) {
    std::int16_t code = 0;
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
        if (held & b) code |= ButtonCode(b);
    return code;
}

// The classic virtual-key code of a Qt key; 0 for a key that has none.
std::int16_t VirtualKeyCode(const QKeyEvent& e) {
    const int k = e.key();
    const bool keypad = e.modifiers() & Qt::KeypadModifier;
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return std::int16_t((keypad ? 96 : 48) + (k - Qt::Key_0));
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return std::int16_t(k);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return std::int16_t(112 + (k - Qt::Key_F1));
    switch (k) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return 9;
        case Qt::Key_Clear:
            return 12;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        case Qt::Key_Pause:
            return 19;
        case Qt::Key_CapsLock:
            return 20;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Select:
            return 41;
        case Qt::Key_Print:
            return 44;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        case Qt::Key_Help:
            return 47;
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
            return 91;
        case Qt::Key_Super_R:
            return 92;
        case Qt::Key_Menu:
            return 93;
        // Shifted symbols report the key they are typed on (the common US layout), as the
        // digit and punctuation keys do unshifted.
        case Qt::Key_ParenRight:
            return 48;
        case Qt::Key_Exclam:
            return 49;
        case Qt::Key_At:
            return 50;
        case Qt::Key_NumberSign:
            return 51;
        case Qt::Key_Dollar:
            return 52;
        case Qt::Key_Percent:
            return 53;
        case Qt::Key_AsciiCircum:
            return 54;
        case Qt::Key_Ampersand:
            return 55;
        case Qt::Key_ParenLeft:
            return 57;
        case Qt::Key_Colon:
            return 186;
        case Qt::Key_Less:
            return 188;
        case Qt::Key_Underscore:
            return 189;
        case Qt::Key_Greater:
            return 190;
        case Qt::Key_Question:
            return 191;
        case Qt::Key_AsciiTilde:
            return 192;
        case Qt::Key_BraceLeft:
            return 219;
        case Qt::Key_Bar:
            return 220;
        case Qt::Key_BraceRight:
            return 221;
        case Qt::Key_QuoteDbl:
            return 222;
        case Qt::Key_Asterisk:
            return keypad ? 106 : 56;
        case Qt::Key_Plus:
            return keypad ? 107 : 187;
        case Qt::Key_Minus:
            return keypad ? 109 : 189;
        case Qt::Key_Period:
            return keypad ? 110 : 190;
        case Qt::Key_Slash:
            return keypad ? 111 : 191;
        case Qt::Key_NumLock:
            return 144;
        case Qt::Key_ScrollLock:
            return 145;
        case Qt::Key_Semicolon:
            return 186;
        case Qt::Key_Equal:
            return 187;
        case Qt::Key_Comma:
            return 188;
        case Qt::Key_QuoteLeft:
            return 192;
        case Qt::Key_BracketLeft:
            return 219;
        case Qt::Key_Backslash:
            return 220;
        case Qt::Key_BracketRight:
            return 221;
        case Qt::Key_Apostrophe:
            return 222;
        default:
            return 0;
    }
}

FontRef FontObjectFrom(const QFont& f) {
    const double points = f.pointSizeF() > 0 ? f.pointSizeF() : 8.25;
    FontRef font = FontObject::Create(f.family().toStdString(), std::llround(points * 10000.0));
    font->SetBold(f.bold());
    font->SetItalic(f.italic());
    font->SetUnderline(f.underline());
    font->SetStrikethrough(f.strikeOut());
    return font;
}

QFont ToQFont(const FontObject& f) {
    QFont font;
    font.setFamily(QString::fromStdString(f.Name()));
    font.setPointSizeF(f.Size());
    font.setBold(f.Bold());
    font.setItalic(f.Italic());
    font.setUnderline(f.Underline());
    font.setStrikeOut(f.Strikethrough());
    return font;
}

gdi::COLORREF ToColorRef(const QColor& c) {
    return gdi::RGB(std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue()));
}

}  // namespace tarvex::qt::detail
