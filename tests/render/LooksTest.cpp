// The flat, hover-edge and soft-frame looks on an 81 x 25 button, pixel by pixel.
#include <string>
#include <utility>
#include <vector>

#include "RenderFixture.hpp"

namespace tarvex::render_test {
namespace {

struct Expect {
    int x;
    int y;
    gdi::COLORREF colour;
};

class LooksTest : public RenderTest {
  protected:
    void ExpectPixels(const std::vector<Expect>& expected) {
        for (const Expect& e : expected) {
            EXPECT_EQ(Pixel(e.x, e.y), e.colour) << "pixel (" << e.x << "," << e.y << ")";
        }
    }
    static std::string Hex(gdi::COLORREF c) { return std::to_string(c); }
};

TEST_F(LooksTest, EveryTypeWithoutALookOfItsOwnPaintsFlat) {
    for (int type : {0, 6, 7, 9, 99, -1}) {
        EXPECT_EQ(TarvexButton::RendererFor(type), &TarvexButton::DrawFlatButton) << type;
    }
    EXPECT_EQ(TarvexButton::RendererFor(8), &TarvexButton::DrawSoftFrameButton);
    EXPECT_EQ(TarvexButton::RendererFor(1), &TarvexButton::DrawFramedBevelButton);
    EXPECT_EQ(TarvexButton::RendererFor(2), &TarvexButton::DrawClassicButton);
    EXPECT_EQ(TarvexButton::RendererFor(3), &TarvexButton::DrawShadedButton);
    EXPECT_EQ(TarvexButton::RendererFor(4), &TarvexButton::DrawEtchedButton);
    EXPECT_EQ(TarvexButton::RendererFor(5), &TarvexButton::DrawLightBevelButton);
}

TEST_F(LooksTest, HoverEdgeStaysEdgelessWhileTheMouseIsAway) {
    Make(7);
    button->DrawButton(false);
    ExpectPixels({{0, 0, kFace}, {80, 24, kFace}, {40, 0, kFace}, {40, 12, kFace}});
}

TEST_F(LooksTest, HoverEdgeShowsTheRaisedEdgeUnderTheMouse) {
    TarvexButton& b = Make(7);
    b.mButtonState = kStateHover;
    b.DrawButton(false);
    ExpectPixels({{0, 0, kHighlight},
                  {79, 0, kHighlight},
                  {0, 23, kHighlight},
                  {80, 0, kShadow},
                  {80, 23, kShadow},
                  {0, 24, kShadow},
                  {80, 24, kShadow},
                  {1, 1, kFace}});
    b.mButtonState = kStateNormal;
    b.mHovering = kTrue;  // still over it: the edge stays
    b.DrawButton(false);
    EXPECT_EQ(Pixel(0, 0), kHighlight);
}

TEST_F(LooksTest, DisabledHoverEdgeGetsAShadowFrameAndFlatBevelKeepsItsEdge) {
    TarvexButton& hoverEdge = Make(7);
    hoverEdge.mEnabled = kFalse;
    hoverEdge.DrawButton(false);
    ExpectPixels({{0, 0, kShadow}, {40, 0, kShadow}, {80, 24, kShadow}, {0, 24, kShadow}});

    TarvexButton& flat = Make(6);
    flat.mEnabled = kFalse;
    flat.DrawButton(false);
    ExpectPixels({{0, 0, kHighlight}, {80, 24, kShadow}});
}

TEST_F(LooksTest, PressedFlatButtonSinksAndAlwaysShowsTheFocusCue) {
    TarvexButton& b = Make(6);
    b.mShowFocus = kTrue;
    b.mButtonState = kStatePressed;
    b.DrawButton(false);
    // Focus rectangle [4,77) x [4,21): the top-right pixel (76,4) is a dot, inverted face.
    ExpectPixels({{0, 0, kShadow}, {80, 24, kHighlight}, {76, 4, 0x3F3F3F}, {75, 4, kFace}});
}

TEST_F(LooksTest, SelectedOptionButtonIsSunkenOnTheLightColourAndKeepsItsState) {
    TarvexButton& b = Make(6);
    b.mOptionButton = kTrue;
    b.mValue = kTrue;
    b.mButtonState = kStateHover;
    b.DrawButton(false);
    ExpectPixels({{40, 12, kLight}, {1, 1, kLight}, {0, 0, kShadow}, {80, 24, kHighlight}});
    EXPECT_EQ(b.mButtonState, kStateHover);
}

TEST_F(LooksTest, SoftFrameRestingCornersAndEdges) {
    Make(8);
    button->DrawButton(false);
    ExpectPixels({// frame and the dark corner pixels
                  {0, 0, kDarkShadow},
                  {40, 24, kDarkShadow},
                  {80, 12, kDarkShadow},
                  {1, 1, kDarkShadow},
                  {79, 1, kDarkShadow},
                  {1, 23, kDarkShadow},
                  {79, 23, kDarkShadow},
                  // softened top-left corner
                  {1, 2, kFace},
                  {2, 1, kFace},
                  {3, 3, kHighlight},
                  // highlight inside the top and left edges
                  {2, 2, kHighlight},
                  {3, 2, kHighlight},
                  {77, 2, kHighlight},
                  {2, 21, kHighlight},
                  // face lines inside the right and bottom edges, over the light pixels
                  {78, 1, kFace},
                  {78, 2, kFace},
                  {78, 21, kFace},
                  {1, 22, kFace},
                  {2, 22, kFace},
                  {77, 22, kFace},
                  {77, 21, kFace},
                  {79, 2, kFace},
                  {2, 23, kFace},
                  // shadow lines along the last inner column and row
                  {78, 22, kShadow},
                  {79, 3, kShadow},
                  {79, 22, kShadow},
                  {3, 23, kShadow},
                  {78, 23, kShadow},
                  {40, 12, kLight}});
}

TEST_F(LooksTest, SoftFramePressedFaceIsUniformAndCoversTheFocusCue) {
    TarvexButton& b = Make(8);
    b.mShowFocus = kTrue;
    b.mButtonState = kStatePressed;
    b.DrawButton(false);
    const gdi::COLORREF s16 = 0x707070;
    const gdi::COLORREF s32 = 0x606060;
    ExpectPixels({{40, 12, s16},
                  {1, 1, s16},
                  {4, 4, s16},
                  {76, 4, s16},
                  {78, 22, s16},
                  {0, 0, kDarkShadow},
                  {40, 24, kDarkShadow},
                  // only column 79 and row 23 show what the pressed detail left
                  {79, 1, kDarkShadow},
                  {79, 2, s32},
                  {79, 10, s16},
                  {79, 22, s16},
                  {79, 23, kDarkShadow},
                  {78, 23, s32},
                  {2, 23, s32},
                  {1, 23, kDarkShadow},
                  {3, 23, kFace},
                  {40, 23, kFace}});
}

TEST_F(LooksTest, SegmentedSoftFrameHasNoCornerDetail) {
    TarvexButton& b = Make(8);
    b.mButtonStyle = 1;
    b.DrawButton(false);
    ExpectPixels({{1, 1, kLight}, {2, 2, kLight}, {79, 23, kLight}, {79, 12, kLight}});

    b.mEnabled = kFalse;  // the disabled fill stops one pixel short
    b.DrawButton(false);
    ExpectPixels({{78, 12, kLight}, {79, 12, kFace}, {40, 23, kFace}});

    b.mEnabled = kTrue;
    b.mButtonState = kStatePressed;  // the lines of the pressed look, not its pixels
    b.DrawButton(false);
    ExpectPixels({{79, 2, kFace}, {79, 3, 0x707070}, {78, 23, kFace}});
}

TEST_F(LooksTest, SoftFrameDrawsNothingForUnknownStatesAndLeavesSelectedOptionsPressed) {
    TarvexButton& b = Make(8);
    b.mButtonState = 5;
    b.DrawButton(false);
    ExpectPixels({{0, 0, kFace}, {1, 1, kFace}, {40, 12, kFace}});

    b.mButtonState = kStateHover;
    b.mOptionButton = kTrue;
    b.mValue = kTrue;
    b.DrawButton(false);
    EXPECT_EQ(b.mButtonState, kStatePressed);
    EXPECT_EQ(Pixel(40, 12), 0x707070u);
}

}  // namespace
}  // namespace tarvex::render_test
