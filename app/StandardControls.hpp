// The window's standard controls (labels, text box, check boxes, picture), created from the
// window's stored layout. The Vornik window adds its three TarvexButtons to these; the start-up
// benchmark builds the same controls alone as its baseline.
#pragma once

#include <QRect>
#include <vector>

#include "button/FormLayout.hpp"

class QCheckBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace vornik {

inline constexpr int kTwipsPerPixel = 15;

constexpr QRect TwipsToPixels(const tarvex::LayoutRect& r) {
    return QRect(r.left / kTwipsPerPixel, r.top / kTwipsPerPixel, r.width / kTwipsPerPixel,
                 r.height / kTwipsPerPixel);
}

// The window's layout as it travels inside the program. Throws tarvex::LayoutError when it does
// not read.
tarvex::FormLayout ReadStoredLayout();

// Children of the form; the form owns them.
struct StandardControls {
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QLabel* Label3 = nullptr;
    QCheckBox* Check3 = nullptr;
    QLabel* Image1 = nullptr;
};

// Gives the form its fixed client size, caption and icon and creates every standard control of
// the layout on it. Throws tarvex::LayoutError when one of the window's controls is missing.
StandardControls CreateStandardControls(QWidget& form, const tarvex::FormLayout& layout);

// Chains the focus through `controls` by their stored tab index; controls that never take the
// focus (labels, pictures) are passed over.
void ApplyTabOrder(QWidget& form, const tarvex::FormLayout& layout);

}  // namespace vornik
