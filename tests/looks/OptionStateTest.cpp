// Every look paints a selected option button from its complemented state and must hand the state
// back unchanged, in every state, enabled or not, in the background pass or not.
#include <gtest/gtest.h>

#include <string>

#include "looks/LookFixture.hpp"

namespace tarvex::looks_test {
namespace {

struct Look {
    const char* name;
    std::int32_t buttonType;
    TarvexButton::Renderer renderer;
};

const Look kLooks[] = {
    {"framed double-bevel", 1, &TarvexButton::DrawFramedBevelButton},
    {"classic 3-D", 2, &TarvexButton::DrawClassicButton},
    {"shaded", 3, &TarvexButton::DrawShadedButton},
    {"etched flat", 4, &TarvexButton::DrawEtchedButton},
    {"light bevel", 5, &TarvexButton::DrawLightBevelButton},
};

using SelectedOptionButton = LookTest;

TEST_F(SelectedOptionButton, EveryLookHandsBackTheStateItWasGiven) {
    for (const Look& look : kLooks) {
        for (std::int32_t state : {0, 1, 2, 3, 4, 5}) {
            for (VBool enabled : {kTrue, kFalse}) {
                for (bool backgroundPass : {false, true}) {
                    TarvexButton& b = Make(look.buttonType, 3);
                    b.mOptionButton = kTrue;
                    b.mValue = kTrue;
                    b.mHasFocus = kTrue;
                    b.mEnabled = enabled;
                    b.mButtonState = state;
                    (b.*look.renderer)(backgroundPass);
                    EXPECT_EQ(b.mButtonState, state)
                        << look.name << " state " << state << " enabled " << enabled
                        << " background pass " << backgroundPass;
                }
            }
        }
    }
}

// An unselected option button paints from its plain state; selecting it changes the face.
TEST_F(SelectedOptionButton, OnlyTheSelectedOneGetsTheSelectedFace) {
    for (const Look& look : kLooks) {
        TarvexButton& b = Make(look.buttonType, 3);
        b.mOptionButton = kTrue;
        b.mValue = kFalse;
        b.DrawButton(false);
        const gdi::COLORREF unselected = Pixel(40, 12);
        b.mValue = kTrue;
        b.DrawButton(false);
        EXPECT_NE(Pixel(40, 12), unselected) << look.name;
        EXPECT_EQ(b.mButtonState, kStateNormal) << look.name;
    }
}

}  // namespace
}  // namespace tarvex::looks_test
