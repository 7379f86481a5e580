// Gradient face on an 81 x 25 surface, red (0x0000FF) to blue (0xFF0000). A channel at offset p of
// a span n is ((C0 (n - p) + C1 p) / n) / 256: the far edge is one step short of its colour, so
// column 80 is (3, 0, 251) and row 24 is (10, 0, 244).
#include <gtest/gtest.h>

#include "looks/LookFixture.hpp"

namespace tarvex::looks_test {
namespace {

constexpr std::int32_t kLightBevel = 5;
constexpr std::int32_t kGradient = 5;
constexpr OleColor kRed = 0x0000FF;
constexpr OleColor kBlue = 0xFF0000;

class GradientFace : public LookTest {
  protected:
    void Fill(std::int32_t orientation, OleColor start = kRed, OleColor stop = kBlue) {
        TarvexButton& b = Make(kLightBevel, kGradient, 0x808080);
        b.mGradientStart = start;
        b.mGradientStop = stop;
        b.mGradientOrientation = orientation;
        b.DrawGradient();
    }
};

TEST_F(GradientFace, LeftToRightStartsRedAtTheLeftEdge) {
    Fill(0);
    EXPECT_EQ(Pixel(0, 0), gdi::RGB(255, 0, 0));
    EXPECT_EQ(Pixel(0, 24), gdi::RGB(255, 0, 0));
    EXPECT_EQ(Pixel(80, 0), gdi::RGB(3, 0, 251));
    EXPECT_EQ(Pixel(80, 24), gdi::RGB(3, 0, 251));
}

TEST_F(GradientFace, TopToBottomStartsRedAtTheTop) {
    Fill(1);
    EXPECT_EQ(Pixel(0, 0), gdi::RGB(255, 0, 0));
    EXPECT_EQ(Pixel(80, 0), gdi::RGB(255, 0, 0));
    EXPECT_EQ(Pixel(0, 24), gdi::RGB(10, 0, 244));
    EXPECT_EQ(Pixel(80, 24), gdi::RGB(10, 0, 244));
}

TEST_F(GradientFace, RightToLeftMirrorsLeftToRight) {
    Fill(2);
    EXPECT_EQ(Pixel(0, 0), gdi::RGB(0, 0, 255));
    EXPECT_EQ(Pixel(0, 24), gdi::RGB(0, 0, 255));
    EXPECT_EQ(Pixel(80, 0), gdi::RGB(251, 0, 3));
    EXPECT_EQ(Pixel(80, 24), gdi::RGB(251, 0, 3));
}

TEST_F(GradientFace, BottomToTopMirrorsTopToBottom) {
    Fill(3);
    EXPECT_EQ(Pixel(0, 0), gdi::RGB(0, 0, 255));
    EXPECT_EQ(Pixel(80, 0), gdi::RGB(0, 0, 255));
    EXPECT_EQ(Pixel(0, 24), gdi::RGB(244, 0, 10));
    EXPECT_EQ(Pixel(80, 24), gdi::RGB(244, 0, 10));
}

TEST_F(GradientFace, EqualStartAndStopGiveAUniformFace) {
    for (std::int32_t orientation : {0, 1, 2, 3}) {
        Fill(orientation, 0x808080, 0x808080);
        EXPECT_EQ(Pixel(0, 0), gdi::COLORREF(0x808080)) << orientation;
        EXPECT_EQ(Pixel(40, 12), gdi::COLORREF(0x808080)) << orientation;
        EXPECT_EQ(Pixel(80, 24), gdi::COLORREF(0x808080)) << orientation;
    }
}

TEST_F(GradientFace, OrientationOutsideTheFourLeavesTheFaceAsItWas) {
    for (std::int32_t orientation : {4, -1}) {
        TarvexButton& b = Make(kLightBevel, kGradient, 0x808080);
        b.hDC().FillRect({0, 0, 81, 25}, gdi::Brush::Solid(0x123456));
        b.mGradientStart = kRed;
        b.mGradientStop = kBlue;
        b.mGradientOrientation = orientation;
        b.DrawGradient();
        EXPECT_EQ(Pixel(0, 0), gdi::COLORREF(0x123456)) << orientation;
        EXPECT_EQ(Pixel(80, 24), gdi::COLORREF(0x123456)) << orientation;
    }
}

}  // namespace
}  // namespace tarvex::looks_test
