#include "tools/render/ButtonRender.hpp"

#include <png.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <stdexcept>

#include "button/TarvexButton.hpp"
#include "tools/render/HeadlessHost.hpp"

namespace tarvex::headless {

namespace {

constexpr double kScreenDpi = 96.0;
constexpr double kTwipsPerInch = 1440.0;

void ApplyState(TarvexButton& b, VisualState state) {
    switch (state) {
        case VisualState::Normal:
            b.mButtonState = kStateNormal;
            break;
        case VisualState::Pressed:
            b.mButtonState = kStatePressed;
            break;
        case VisualState::Focused:
            b.mHasFocus = kTrue;
            b.mButtonState = kStateFocused;
            break;
        case VisualState::Hover:
            b.mHovering = kTrue;
            b.mButtonState = kStateHover;
            break;
        case VisualState::Disabled:
            b.mEnabled = kFalse;
            b.PrepareIcon();
            break;
        case VisualState::SelectedOption:
            b.mOptionButton = kTrue;
            b.mValue = kTrue;
            break;
    }
}

std::optional<std::int64_t> ParseInteger(std::string_view text) {
    int base = 10;
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.starts_with("0x") || text.starts_with("0X") || text.starts_with("&H") ||
        text.starts_with("&h")) {
        base = 16;
        text.remove_prefix(2);
    }
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return negative ? -value : value;
}

FontRef ParseFont(std::string_view description) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t colon; (colon = description.find(':', start)) != std::string_view::npos;) {
        parts.emplace_back(description.substr(start, colon - start));
        start = colon + 1;
    }
    parts.emplace_back(description.substr(start));
    FontRef font = FontObject::Create(parts[0]);
    if (parts.size() > 1 && !parts[1].empty()) font->SetSize(std::stod(parts[1]));
    for (std::size_t i = 2; i < parts.size(); ++i) {
        if (parts[i] == "bold")
            font->SetBold(true);
        else if (parts[i] == "italic")
            font->SetItalic(true);
        else if (parts[i] == "underline")
            font->SetUnderline(true);
        else if (parts[i] == "strikethrough")
            font->SetStrikethrough(true);
        else
            throw std::invalid_argument("unknown font style \"" + parts[i] + "\"");
    }
    return font;
}

}  // namespace

std::optional<VisualState> ParseVisualState(std::string_view name) {
    if (name == "normal") return VisualState::Normal;
    if (name == "pressed") return VisualState::Pressed;
    if (name == "focused") return VisualState::Focused;
    if (name == "hover") return VisualState::Hover;
    if (name == "disabled") return VisualState::Disabled;
    if (name == "option" || name == "selected") return VisualState::SelectedOption;
    return std::nullopt;
}

std::uint32_t RgbaImage::At(std::int32_t x, std::int32_t y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    const std::uint8_t* p = &pixels[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4];
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           p[3];
}

std::int32_t PixelsAtDpi(std::int32_t pixels, std::int32_t dpi) {
    return std::int32_t(std::lround(double(pixels) * dpi / kScreenDpi));
}

RgbaImage RenderButton(const RenderRequest& request) {
    if (request.dpi <= 0) throw std::invalid_argument("the resolution must be positive");
    HeadlessHost host(PixelsAtDpi(request.width, request.dpi),
                      PixelsAtDpi(request.height, request.dpi));
    host.twipsPerPixelY = kTwipsPerInch / request.dpi;
    TarvexButton button(host);
    button.ReadProperties(request.properties);
    if (request.state == VisualState::SelectedOption) ApplyState(button, request.state);
    button.Show();
    ApplyState(button, request.state);
    button.RefreshButton();

    const gdi::Surface& buffer = button.BackBuffer();
    RgbaImage image;
    image.width = buffer.width();
    image.height = buffer.height();
    image.pixels.resize(std::size_t(image.width) * std::size_t(image.height) * 4);
    for (std::int32_t y = 0; y < image.height; ++y) {
        for (std::int32_t x = 0; x < image.width; ++x) {
            const gdi::COLORREF c = gdi::FromPixel(buffer.at(x, y));
            const bool shown = !host.windowRegion || host.windowRegion->PtInRegion(x, y);
            std::uint8_t* p =
                &image.pixels[(std::size_t(y) * std::size_t(image.width) + std::size_t(x)) * 4];
            p[0] = gdi::GetRValue(c);
            p[1] = gdi::GetGValue(c);
            p[2] = gdi::GetBValue(c);
            p[3] = shown ? 0xFF : 0x00;
        }
    }
    return image;
}

RenderRequest RequestFromLayout(const FormLayout& layout, std::string_view control) {
    for (const LayoutControl& c : layout.controls) {
        if (c.kind != "TarvexButton" || (!control.empty() && c.name != control)) continue;
        RenderRequest request;
        request.properties = c.properties;
        if (c.position) {
            constexpr std::int32_t kTwipsPerPixel = 15;
            request.width = c.position->width / kTwipsPerPixel;
            request.height = c.position->height / kTwipsPerPixel;
        }
        return request;
    }
    throw std::invalid_argument("the layout has no TarvexButton" +
                                (control.empty() ? "" : " named " + std::string(control)));
}

RgbaImage Enlarged(const RgbaImage& image, std::int32_t factor) {
    if (factor <= 1) return image;
    RgbaImage big;
    big.width = image.width * factor;
    big.height = image.height * factor;
    big.pixels.resize(std::size_t(big.width) * std::size_t(big.height) * 4);
    for (std::int32_t y = 0; y < big.height; ++y) {
        for (std::int32_t x = 0; x < big.width; ++x) {
            const std::size_t from =
                (std::size_t(y / factor) * std::size_t(image.width) + std::size_t(x / factor)) * 4;
            const std::size_t to = (std::size_t(y) * std::size_t(big.width) + std::size_t(x)) * 4;
            std::copy_n(&image.pixels[from], 4, &big.pixels[to]);
        }
    }
    return big;
}

PropertyBag PropertiesFromAssignments(const std::vector<std::string>& assignments) {
    PropertyBag bag;
    for (const std::string& arg : assignments) {
        const std::size_t eq = arg.find('=');
        if (eq == std::string::npos || eq == 0) {
            throw std::invalid_argument("\"" + arg + "\" is not KEY=value");
        }
        const std::string key = arg.substr(0, eq);
        const std::string value = arg.substr(eq + 1);
        if (KeysEqual(key, "FONT")) {
            bag.Write(key, PropertyValue::Font(ParseFont(value)));
        } else if (value == "true" || value == "false") {
            bag.WriteBoolean(key, ToVBool(value == "true"));
        } else if (const auto number = ParseInteger(value);
                   number && *number >= INT32_MIN && *number <= UINT32_MAX) {
            bag.WriteInt32(key, std::int32_t(std::uint32_t(*number)));
        } else {
            bag.WriteString(key, value);
        }
    }
    return bag;
}

void WritePng(const RgbaImage& image, const std::filesystem::path& file) {
    png_image header{};
    header.version = PNG_IMAGE_VERSION;
    header.width = png_uint_32(image.width);
    header.height = png_uint_32(image.height);
    header.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&header, file.c_str(), 0, image.pixels.data(), 0, nullptr)) {
        throw std::runtime_error(file.string() + ": " + header.message);
    }
}

RgbaImage ReadPng(const std::filesystem::path& file) {
    png_image header{};
    header.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&header, file.c_str())) {
        throw std::runtime_error(file.string() + ": " + header.message);
    }
    header.format = PNG_FORMAT_RGBA;
    RgbaImage image;
    image.width = std::int32_t(header.width);
    image.height = std::int32_t(header.height);
    image.pixels.resize(PNG_IMAGE_SIZE(header));
    if (!png_image_finish_read(&header, nullptr, image.pixels.data(), 0, nullptr)) {
        const std::string message = header.message;
        png_image_free(&header);
        throw std::runtime_error(file.string() + ": " + message);
    }
    return image;
}

}  // namespace tarvex::headless
