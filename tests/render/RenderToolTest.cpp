// The off-screen render used by tarvex-render: property arguments, the window shape as
// transparency, and the PNG it writes.
#include <unistd.h>
#include <filesystem>
#include <stdexcept>
#include <tuple>

#include "RenderFixture.hpp"
#include "tools/render/ButtonRender.hpp"

namespace tarvex::render_test {
namespace {

using headless::PropertiesFromAssignments;
using headless::RenderButton;
using headless::RenderRequest;
using headless::VisualState;

class RenderToolTest : public RenderTest {
  protected:
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("render-tool-" + std::to_string(::getpid()));
    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }
};

TEST_F(RenderToolTest, AssignmentsBecomeTypedProperties) {
    const PropertyBag bag = PropertiesFromAssignments(
        {"BTYPE=8", "ENAB=false", "TX=Save && Exit", "BCOL=0xFF", "FONT=Arial:12:bold"});
    EXPECT_EQ(bag.ReadInt32("btype", 0), 8);
    EXPECT_EQ(bag.ReadBoolean("ENAB", kTrue), kFalse);
    EXPECT_EQ(bag.ReadString("TX", ""), "Save && Exit");
    EXPECT_EQ(bag.ReadInt32("BCOL", 0), 0xFF);
    const FontRef font = bag.ReadFont("FONT", nullptr);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->Name(), "Arial");
    EXPECT_EQ(font->SizeTenThousandths(), 120000);
    EXPECT_TRUE(font->Bold());
    EXPECT_THROW(PropertiesFromAssignments({"BTYPE"}), std::invalid_argument);
    EXPECT_THROW(PropertiesFromAssignments({"FONT=Arial:9:wide"}), std::invalid_argument);
}

TEST_F(RenderToolTest, SoftFrameCornersAreTransparent) {
    RenderRequest request;
    request.properties = PropertiesFromAssignments({"BTYPE=8", "TX=Change"});
    const headless::RgbaImage image = RenderButton(request);
    ASSERT_EQ(image.width, 81);
    ASSERT_EQ(image.height, 25);
    for (auto [x, y] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{0, 1}, std::pair{80, 24},
                        std::pair{79, 24}, std::pair{80, 23}}) {
        EXPECT_EQ(image.At(x, y) & 0xFF, 0u) << x << "," << y;
    }
    // Inside the shape, the classic scheme's dark shadow (black) frames the face.
    EXPECT_EQ(image.At(2, 0), 0x000000FFu);
    EXPECT_EQ(image.At(1, 1), 0x000000FFu);
}

// At 144 and 192 dpi the button is drawn in that screen's pixels: larger, with the same one-pixel
// frame and three-pixel corner cuts, not the 96-dpi image enlarged.
TEST_F(RenderToolTest, HigherResolutionDrawsInThatScreensPixels) {
    RenderRequest request;
    request.properties = PropertiesFromAssignments({"BTYPE=8", "TX="});
    for (auto [dpi, width, height] : {std::tuple{144, 122, 38}, std::tuple{192, 162, 50}}) {
        request.dpi = dpi;
        const headless::RgbaImage image = RenderButton(request);
        ASSERT_EQ(image.width, width) << dpi;
        ASSERT_EQ(image.height, height) << dpi;
        EXPECT_EQ(image.At(1, 0) & 0xFF, 0u) << dpi;
        EXPECT_EQ(image.At(2, 0), 0x000000FFu) << dpi;
        EXPECT_EQ(image.At(width / 2, 0), 0x000000FFu) << dpi;
        EXPECT_EQ(image.At(width / 2, 1), 0xC0C0C0FFu) << dpi;  // light, inside the frame
        EXPECT_EQ(image.At(width - 1, height / 2), 0x000000FFu) << dpi;
        EXPECT_EQ(image.At(width - 2, height / 2), 0x808080FFu) << dpi;  // shadow
    }
    request.dpi = 0;
    EXPECT_THROW(RenderButton(request), std::invalid_argument);
}

TEST_F(RenderToolTest, PressedStateShowsTheDarkenedFace) {
    RenderRequest request;
    request.properties = PropertiesFromAssignments({"BTYPE=8", "TX="});
    request.state = VisualState::Pressed;
    const headless::RgbaImage image = RenderButton(request);
    // Classic shadow 0x808080 less 16 on every channel.
    EXPECT_EQ(image.At(40, 12), 0x707070FFu);
}

TEST_F(RenderToolTest, PngRoundTripAndUnwritablePlace) {
    RenderRequest request;
    request.properties = PropertiesFromAssignments({"BTYPE=8", "TX=Change"});
    const headless::RgbaImage image = RenderButton(request);
    const auto file = dir / "change.png";
    headless::WritePng(image, file);
    const headless::RgbaImage back = headless::ReadPng(file);
    EXPECT_EQ(back.width, image.width);
    EXPECT_EQ(back.height, image.height);
    EXPECT_EQ(back.pixels, image.pixels);
    EXPECT_THROW(headless::WritePng(image, dir / "missing" / "x.png"), std::runtime_error);
}

TEST_F(RenderToolTest, LayoutButtonGivesItsPropertiesAndPixelSize) {
    const FormLayout layout = ParseFormLayout(R"({"format": "vornik-form-layout", "version": 1,
        "form": {"name": "frmTest", "caption": "", "width": 3000, "height": 2000,
                 "properties": {}},
        "controls": [
          {"kind": "Label", "name": "Label1", "index": null, "container": "frmTest",
           "left": 0, "top": 0, "width": 300, "height": 300, "properties": {}},
          {"kind": "TarvexButton", "name": "CmdGo", "index": null, "container": "frmTest",
           "left": 120, "top": 3000, "width": 1215, "height": 375,
           "properties": {"btype": 8, "tx": "Go"}}]})",
                                              "test layout", dir);
    const RenderRequest first = headless::RequestFromLayout(layout, "");
    EXPECT_EQ(first.width, 81);
    EXPECT_EQ(first.height, 25);
    EXPECT_EQ(first.properties.ReadInt32("BTYPE", 0), 8);
    EXPECT_EQ(headless::RequestFromLayout(layout, "CmdGo").properties.ReadString("TX", ""), "Go");
    EXPECT_THROW(headless::RequestFromLayout(layout, "Label1"), std::invalid_argument);
}

TEST_F(RenderToolTest, StatesByName) {
    EXPECT_EQ(headless::ParseVisualState("hover"), VisualState::Hover);
    EXPECT_EQ(headless::ParseVisualState("option"), VisualState::SelectedOption);
    EXPECT_FALSE(headless::ParseVisualState("Hover"));
}

}  // namespace
}  // namespace tarvex::render_test
