// tarvex-gallery: paints every look of TarvexButton in every state and colour scheme, writes one
// PNG per combination and a labelled sheet with all of them side by side.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "button/render/RenderOptions.hpp"
#include "gdi/gdi.hpp"
#include "tools/gallery/GallerySheet.hpp"

namespace {

constexpr const char* kUsage =
    "usage: tarvex-gallery [options]\n"
    "  -o DIR          folder for the single images (default: gallery)\n"
    "  --sheet FILE    the labelled sheet (default: DIR/gallery.png)\n"
    "  --size WxH      button size in pixels (default 96x28)\n"
    "  --icon FILE     PNG shown as the buttons' icon (default: the program icon)\n"
    "  --no-icon       buttons without an icon\n"
    "  --smooth        the desktop's antialiased captions instead of 1-bit glyphs\n";

struct Options {
    std::filesystem::path folder = "gallery";
    std::filesystem::path sheet;
    std::filesystem::path icon = VORNIK_DEFAULT_ICON;
    bool withIcon = true;
    bool smooth = false;
    tarvex::gallery::Settings settings;
};

void ParseSize(const std::string& text, tarvex::gallery::Settings& settings) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos) throw std::invalid_argument("--size wants WxH, got " + text);
    settings.width = std::stoi(text.substr(0, x));
    settings.height = std::stoi(text.substr(x + 1));
    if (settings.width <= 0 || settings.height <= 0 || settings.width > 2000 ||
        settings.height > 2000) {
        throw std::invalid_argument("--size out of range: " + text);
    }
}

Options ParseArguments(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::invalid_argument(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "-o")
            o.folder = value();
        else if (arg == "--sheet")
            o.sheet = value();
        else if (arg == "--size")
            ParseSize(value(), o.settings);
        else if (arg == "--icon")
            o.icon = value();
        else if (arg == "--no-icon")
            o.withIcon = false;
        else if (arg == "--smooth")
            o.smooth = true;
        else if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            std::exit(0);
        } else
            throw std::invalid_argument("unknown argument " + arg);
    }
    if (o.sheet.empty()) o.sheet = o.folder / "gallery.png";
    return o;
}

int Run(const Options& options) {
    using namespace tarvex::gallery;
    tarvex::SetCaptionFontQuality(options.smooth ? gdi::DEFAULT_QUALITY
                                                 : gdi::NONANTIALIASED_QUALITY);
    Settings settings = options.settings;
    if (options.withIcon) settings.icon = IconFromPng(options.icon);

    std::filesystem::create_directories(options.folder);
    std::vector<std::vector<std::vector<tarvex::headless::RgbaImage>>> cells;
    int written = 0;
    for (const Scheme& scheme : Schemes()) {
        auto& byLook = cells.emplace_back();
        for (const Look& look : Looks()) {
            auto& byState = byLook.emplace_back();
            for (const State& state : States()) {
                byState.push_back(RenderCell(settings, look, state, scheme));
                tarvex::headless::WritePng(byState.back(),
                                           options.folder / CellFileName(look, state, scheme));
                ++written;
            }
        }
    }
    if (options.sheet.has_parent_path()) {
        std::filesystem::create_directories(options.sheet.parent_path());
    }
    tarvex::headless::WritePng(Sheet(cells, settings.width, settings.height), options.sheet);
    std::cout << written << " images in " << options.folder.string() << ", sheet "
              << options.sheet.string() << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(ParseArguments(argc, argv));
    } catch (const std::exception& e) {
        std::cerr << "tarvex-gallery: " << e.what() << "\n" << kUsage;
        return 2;
    }
}
