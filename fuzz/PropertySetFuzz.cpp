// The property-set readers: a TarvexButton's stored settings as a layout holds them (the JSON
// object under "properties"), read into the control and painted at a few sizes and states. A set
// that cannot be read fails with the layout error or the control's own error; nothing else
// escapes, and painting never fails.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "button/FormLayout.hpp"
#include "button/Types.hpp"
#include "fuzz/FuzzSupport.hpp"
#include "tools/render/ButtonRender.hpp"

namespace {

std::string LayoutAround(std::string_view properties) {
    std::string text =
        R"({"format":"vornik-form-layout","version":1,)"
        R"("form":{"name":"frmFuzz","caption":"","width":3000,"height":2000,"properties":{}},)"
        R"("controls":[{"kind":"TarvexButton","name":"Fuzz","index":null,"container":"frmFuzz",)"
        R"("left":0,"top":0,"width":1215,"height":375,"tabIndex":0,"properties":)";
    text += properties;
    text += "}]}";
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvex;
    const std::string_view properties(reinterpret_cast<const char*>(data), size);
    FormLayout layout;
    try {
        layout = ParseFormLayout(LayoutAround(properties), "fuzz", "/nonexistent");
    } catch (const LayoutError&) {
        return 0;
    }
    FUZZ_CHECK(layout.controls.size() == 1);
    headless::RenderRequest request = headless::RequestFromLayout(layout, "Fuzz");
    struct Size {
        std::int32_t width, height;
        headless::VisualState state;
    };
    constexpr Size kSizes[] = {{81, 25, headless::VisualState::Normal},
                               {81, 25, headless::VisualState::Disabled},
                               {7, 40, headless::VisualState::Pressed},
                               {0, 0, headless::VisualState::Focused}};
    for (const Size& s : kSizes) {
        request.width = s.width;
        request.height = s.height;
        request.state = s.state;
        try {
            const headless::RgbaImage image = headless::RenderButton(request);
            FUZZ_CHECK(image.width == s.width && image.height == s.height);
        } catch (const HostError&) {
            return 0;  // a stored value of the wrong kind stops the read, named
        }
    }
    return 0;
}
