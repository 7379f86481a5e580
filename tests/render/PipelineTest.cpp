// The redraw pipeline: readiness, the background pass, absorbed failures, the design-mode reset,
// the back buffer across resizes, and buttons of no size at all.
#include <memory>

#include "RenderFixture.hpp"

namespace tarvex::render_test {
namespace {

// A host whose window stops answering its size once armed, so any step that asks fails.
class FailingHost : public tarvex::testing::TestHost {
  public:
    bool failSize = false;
    std::int32_t ScaleWidth() const override {
        if (failSize) throw HostError("the window is gone");
        return scaleWidth;
    }
};

class PipelineTest : public RenderTest {
  protected:
    TarvexButton& MakeOnFailingHost(std::int32_t type) {
        failing.scaleWidth = 81;
        failing.scaleHeight = 25;
        onFailing = std::make_unique<TarvexButton>(failing);
        onFailing->mButtonType = type;
        onFailing->mEnabled = kTrue;
        onFailing->mCaption = "Change";
        onFailing->SyncBackBufferSize();
        return *onFailing;
    }
    FailingHost failing;
    std::unique_ptr<TarvexButton> onFailing;
};

TEST_F(PipelineTest, ResizeBeforeTheFirstShowBuildsNothing) {
    host.scaleWidth = 81;
    host.scaleHeight = 25;
    TarvexButton b(host);
    b.mButtonType = 8;
    b.mCaption = "Change";
    b.Resize();
    EXPECT_TRUE(host.regionsInstalled.empty());
    EXPECT_FALSE(b.mRegion);
    EXPECT_TRUE(b.mCaptionLines.empty());
    EXPECT_EQ(host.refreshCount, 0);

    b.Show();
    EXPECT_EQ(b.mRedrawFlag, kTrue);
    ASSERT_EQ(host.regionsInstalled.size(), 1u);
    ASSERT_TRUE(host.windowRegion);
    EXPECT_FALSE(host.windowRegion->PtInRegion(0, 0));
    ASSERT_EQ(b.mCaptionLines.size(), 1u);
    EXPECT_EQ(b.mCaptionLines[0].Text, U"Change");
    EXPECT_GE(host.refreshCount, 1);
    EXPECT_EQ(b.BackBuffer().width(), 81);
}

TEST_F(PipelineTest, BackgroundPassRestoresStateEvenWhenTheRendererFails) {
    TarvexButton& b = MakeOnFailingHost(8);
    b.mButtonState = kStateFocused;
    failing.failSize = true;
    b.DrawButton(true);
    EXPECT_EQ(b.mButtonState, kStateFocused);
    EXPECT_EQ(b.mEnabled, kTrue);
    EXPECT_EQ(failing.refreshCount, 1);  // the image is presented all the same
}

TEST_F(PipelineTest, BackgroundPassPaintsTheDisabledFaceWithoutCaption) {
    TarvexButton& b = Make(6);
    SetCaption("Change");
    b.LayoutCaption();
    b.mButtonState = kStatePressed;
    b.DrawButton(true);
    EXPECT_EQ(Pixel(0, 0), kHighlight);  // the disabled flat bevel keeps its raised edge
    EXPECT_EQ(Pixel(80, 24), kShadow);
    for (int y = 2; y < 23; ++y) {
        for (int x = 2; x < 79; ++x) ASSERT_EQ(Pixel(x, y), kFace) << x << "," << y;
    }
    EXPECT_EQ(b.mButtonState, kStatePressed);
    EXPECT_EQ(b.mEnabled, kTrue);
}

TEST_F(PipelineTest, CaptionFontIsReleasedWhenPaintingFailsHalfWay) {
    TarvexButton& b = MakeOnFailingHost(8);
    b.mFontDirty = kTrue;
    b.DrawButton(false);  // warms every cache the redraw uses
    const std::int64_t fonts = gdi::Font::LiveCount();
    failing.failSize = true;  // the layout fails with the new caption font selected
    for (int i = 0; i < 5; ++i) b.DrawButton(false);
    EXPECT_FALSE(b.mCaptionFont);
    EXPECT_EQ(gdi::Font::LiveCount(), fonts);
}

TEST_F(PipelineTest, DesignModeResetsTheStateAfterEveryRedraw) {
    TarvexButton& b = Make(8);
    b.mButtonState = kStatePressed;
    b.DrawButton(false);
    EXPECT_EQ(b.mButtonState, kStatePressed);

    host.userMode = false;
    b.DrawButton(false);
    EXPECT_EQ(b.mButtonState, kStateNormal);
    EXPECT_EQ(Pixel(40, 12), 0x707070u);  // but that redraw showed the pressed look
}

TEST_F(PipelineTest, HoverEdgeOnContainerColoursShowsTheContainerUntilHovered) {
    TarvexButton& b = Make(7);
    b.mColorScheme = 2;
    host.formBkColor = 0x123456;
    b.DrawButton(false);
    EXPECT_EQ(Pixel(40, 12), 0x123456u);
    b.mButtonState = kStateHover;
    b.DrawButton(false);
    EXPECT_EQ(Pixel(40, 12), kFace);
}

TEST_F(PipelineTest, RefreshPresentsAndMarksTheControlReady) {
    TarvexButton& b = Make(8);
    host.refreshCount = 0;
    b.RefreshButton();
    EXPECT_EQ(b.mRedrawFlag, kTrue);
    EXPECT_GE(host.refreshCount, 1);
}

TEST_F(PipelineTest, BackBufferKeepsWhatOverlapsAcrossResizes) {
    TarvexButton& b = Make(8);
    b.SetPixelColor(5, 5, 0x0000FF);
    b.SetPixelColor(80, 24, 0x00FF00);
    host.scaleWidth = 100;
    host.scaleHeight = 40;
    b.SyncBackBufferSize();
    EXPECT_EQ(b.BackBuffer().width(), 100);
    EXPECT_EQ(b.BackBuffer().height(), 40);
    EXPECT_EQ(Pixel(5, 5), 0x0000FFu);
    EXPECT_EQ(Pixel(80, 24), 0x00FF00u);
    b.SetPixelColor(99, 39, 0xFF0000);  // the context draws into the new pixels
    EXPECT_EQ(Pixel(99, 39), 0xFF0000u);

    host.scaleWidth = 10;
    host.scaleHeight = 10;
    b.SyncBackBufferSize();
    EXPECT_EQ(Pixel(5, 5), 0x0000FFu);
    EXPECT_EQ(b.BackBuffer().width(), 10);
}

TEST_F(PipelineTest, ButtonsWithoutAreaPaintWithoutFaults) {
    for (auto [w, h] : {std::pair{0, 0}, std::pair{0, 25}, std::pair{81, 0}, std::pair{1, 1},
                        std::pair{2, 3}, std::pair{-5, -5}}) {
        for (int type : {0, 6, 7, 8}) {
            host.scaleWidth = w;
            host.scaleHeight = h;
            TarvexButton b(host);
            b.mButtonType = type;
            b.mEnabled = kTrue;
            b.mShowFocus = kTrue;
            b.mHasFocus = kTrue;
            b.mCaption = "&Change it";
            b.mFontDirty = kTrue;
            b.FindAccessKey();
            b.Show();
            for (int state : {0, 2, 3, 4}) {
                b.mButtonState = state;
                b.RefreshButton();
            }
            EXPECT_EQ(b.BackBuffer().width(), std::max(w, 0));
            EXPECT_EQ(b.BackBuffer().height(), std::max(h, 0));
        }
    }
}

TEST_F(PipelineTest, TerminateReleasesShapeFontAndIcon) {
    TarvexButton& b = Make(8);
    b.mCaption = "Change";
    b.Show();
    b.mIcon = std::make_shared<Picture>();
    b.CreateCaptionFont(kFalse);
    b.Terminate();
    EXPECT_FALSE(b.mRegion);
    EXPECT_FALSE(b.mCaptionFont);
    EXPECT_FALSE(b.TextFont);
    EXPECT_FALSE(b.mIcon);
    ASSERT_TRUE(host.windowRegion);  // the window keeps the shape it was given
    EXPECT_FALSE(host.windowRegion->PtInRegion(0, 0));
}

}  // namespace
}  // namespace tarvex::render_test
