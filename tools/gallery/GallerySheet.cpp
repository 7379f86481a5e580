#include "tools/gallery/GallerySheet.hpp"

#include <algorithm>
#include <memory>
#include <string_view>

#include "button/PropertyBag.hpp"
#include "gdi/gdi.hpp"

namespace tarvex::gallery {

namespace {

// Custom colours chosen to be told apart at a glance from the grey schemes.
constexpr const char* kCustomFace = "0xE8D8C8";
constexpr const char* kCustomText = "0x5A2800";
constexpr const char* kCustomHoverText = "0x0050D0";
constexpr const char* kGradientStart = "0xB06030";
constexpr const char* kGradientStop = "0xFFF8F0";

constexpr std::uint32_t kSheetBackground = 0xFFF4F4F4;
constexpr gdi::COLORREF kLabelColour = 0x303030;
constexpr gdi::COLORREF kHeadingColour = 0x000000;

constexpr std::int32_t kMargin = 12;
constexpr std::int32_t kLabelColumn = 128;
constexpr std::int32_t kColumnGap = 14;
constexpr std::int32_t kRowGap = 10;
constexpr std::int32_t kTitleHeight = 30;
constexpr std::int32_t kHeadingHeight = 22;
constexpr std::int32_t kColumnHeaderHeight = 18;
constexpr std::int32_t kBlockGap = 12;

std::string Slug(std::string_view name) {
    std::string slug;
    for (char c : name) slug += (c == ' ') ? '-' : c;
    return slug;
}

gdi::Font LabelFont(std::int32_t pixels, bool bold) {
    gdi::LOGFONT lf;
    lf.lfHeight = -pixels;
    lf.SetFaceName(bold ? "Arial Bold" : "Arial");
    return gdi::Font::Create(lf);
}

void Paste(gdi::Surface& sheet, const headless::RgbaImage& image, std::int32_t left,
           std::int32_t top) {
    for (std::int32_t y = 0; y < image.height; ++y) {
        for (std::int32_t x = 0; x < image.width; ++x) {
            const std::uint32_t rgba = image.At(x, y);
            if ((rgba & 0xFF) == 0) continue;  // outside the button's window shape
            const auto r = std::uint8_t(rgba >> 24);
            const auto g = std::uint8_t(rgba >> 16);
            const auto b = std::uint8_t(rgba >> 8);
            sheet.set(left + x, top + y, gdi::ToPixel(gdi::RGB(r, g, b)));
        }
    }
}

headless::RgbaImage ToRgba(const gdi::Surface& surface) {
    headless::RgbaImage image;
    image.width = surface.width();
    image.height = surface.height();
    image.pixels.reserve(std::size_t(image.width) * std::size_t(image.height) * 4);
    for (std::int32_t y = 0; y < image.height; ++y) {
        for (std::int32_t x = 0; x < image.width; ++x) {
            const gdi::COLORREF c = gdi::FromPixel(surface.at(x, y));
            image.pixels.insert(image.pixels.end(),
                                {gdi::GetRValue(c), gdi::GetGValue(c), gdi::GetBValue(c), 0xFF});
        }
    }
    return image;
}

}  // namespace

const std::vector<Look>& Looks() {
    static const std::vector<Look> looks{
        {1, "framed double-bevel"}, {2, "classic 3-D"}, {3, "shaded"},     {4, "etched flat"},
        {5, "light bevel"},         {6, "flat bevel"},  {7, "hover edge"}, {8, "soft frame"},
    };
    return looks;
}

const std::vector<State>& States() {
    using headless::VisualState;
    static const std::vector<State> states{
        {VisualState::Normal, "normal"},     {VisualState::Focused, "focused"},
        {VisualState::Hover, "hover"},       {VisualState::Pressed, "pressed"},
        {VisualState::Disabled, "disabled"}, {VisualState::SelectedOption, "option"},
    };
    return states;
}

const std::vector<Scheme>& Schemes() {
    static const std::vector<Scheme> schemes{
        {1, "system colours"},    {2, "custom colours"}, {3, "fixed grey"},
        {4, "container colours"}, {5, "gradient"},
    };
    return schemes;
}

headless::RgbaImage RenderCell(const Settings& settings, const Look& look, const State& state,
                               const Scheme& scheme) {
    headless::RenderRequest request;
    request.width = settings.width;
    request.height = settings.height;
    request.state = state.state;
    request.properties = headless::PropertiesFromAssignments({
        "BTYPE=" + std::to_string(look.buttonType),
        "COLTYPE=" + std::to_string(scheme.colorScheme),
        "TX=" + settings.caption,
        "FONT=" + settings.font,
        std::string("BCOL=") + kCustomFace,
        std::string("FCOL=") + kCustomText,
        std::string("FCOLO=") + kCustomHoverText,
        std::string("GStart=") + kGradientStart,
        std::string("GStop=") + kGradientStop,
        "GStyle=3",
        "SHOWF=true",
    });
    if (settings.icon) request.properties.Write("BTNICON", PropertyValue::Picture(settings.icon));
    return headless::RenderButton(request);
}

std::string CellFileName(const Look& look, const State& state, const Scheme& scheme) {
    return Slug(look.name) + "_" + state.name + "_" + Slug(scheme.name) + ".png";
}

headless::RgbaImage Sheet(const std::vector<std::vector<std::vector<headless::RgbaImage>>>& cells,
                          std::int32_t cellWidth, std::int32_t cellHeight) {
    const auto columns = std::int32_t(States().size());
    const auto rows = std::int32_t(Looks().size());
    const std::int32_t columnPitch = cellWidth + kColumnGap;
    const std::int32_t rowPitch = cellHeight + kRowGap;
    const std::int32_t blockHeight =
        kHeadingHeight + kColumnHeaderHeight + rows * rowPitch + kBlockGap;
    const std::int32_t width = 2 * kMargin + kLabelColumn + columns * columnPitch;
    const std::int32_t height =
        2 * kMargin + kTitleHeight + std::int32_t(Schemes().size()) * blockHeight;

    gdi::Surface sheet(width, height);
    sheet.fill(kSheetBackground);
    gdi::DeviceContext dc(sheet);
    dc.SetBkMode(gdi::TRANSPARENT);
    const gdi::Font title = LabelFont(16, true);
    const gdi::Font heading = LabelFont(13, true);
    const gdi::Font label = LabelFont(12, false);

    dc.SelectObject(title);
    dc.SetTextColor(kHeadingColour);
    dc.TextOut(kMargin, kMargin, "TarvexButton: every look, state and colour scheme");

    std::int32_t top = kMargin + kTitleHeight;
    for (std::size_t s = 0; s < Schemes().size(); ++s) {
        dc.SelectObject(heading);
        dc.SetTextColor(kHeadingColour);
        dc.TextOut(
            kMargin, top,
            "Colour scheme " + std::to_string(Schemes()[s].colorScheme) + ": " + Schemes()[s].name);
        dc.SelectObject(label);
        dc.SetTextColor(kLabelColour);
        const std::int32_t headerTop = top + kHeadingHeight;
        for (std::int32_t c = 0; c < columns; ++c) {
            dc.TextOut(kMargin + kLabelColumn + c * columnPitch, headerTop,
                       std::string(States()[std::size_t(c)].name));
        }
        const std::int32_t gridTop = headerTop + kColumnHeaderHeight;
        for (std::int32_t r = 0; r < rows; ++r) {
            const std::int32_t rowTop = gridTop + r * rowPitch;
            const gdi::TEXTMETRIC tm = label.Metrics();
            dc.TextOut(kMargin, rowTop + (cellHeight - tm.tmHeight) / 2,
                       std::string(Looks()[std::size_t(r)].name));
            for (std::int32_t c = 0; c < columns; ++c) {
                Paste(sheet, cells[s][std::size_t(r)][std::size_t(c)],
                      kMargin + kLabelColumn + c * columnPitch, rowTop);
            }
        }
        top += blockHeight;
    }
    return ToRgba(sheet);
}

PictureRef IconFromPng(const std::filesystem::path& file) {
    const headless::RgbaImage image = headless::ReadPng(file);
    gdi::Surface pixels(image.width, image.height);
    for (std::int32_t y = 0; y < image.height; ++y) {
        for (std::int32_t x = 0; x < image.width; ++x) {
            const std::uint32_t rgba = image.At(x, y);
            pixels.set(x, y, (rgba << 24) | (rgba >> 8));  // RRGGBBAA -> AARRGGBB
        }
    }
    return std::make_shared<Picture>(std::move(pixels), kPicTypeIcon);
}

}  // namespace tarvex::gallery
