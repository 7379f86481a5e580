// tarvex-render: paints one TarvexButton off-screen and writes its image as a PNG, the window
// shape applied as transparency.
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "button/FormLayout.hpp"
#include "button/render/RenderOptions.hpp"
#include "tools/render/ButtonRender.hpp"

namespace {

constexpr const char* kUsage =
    "usage: tarvex-render [options] [KEY=value ...] -o image.png\n"
    "  --layout FILE     take the property set and size of a button from a layout file\n"
    "  --control NAME    which button of the layout (default: the first TarvexButton)\n"
    "  --size WxH        size in pixels at 96 dpi (default 81x25, or the control's size in the\n"
    "                    layout)\n"
    "  --dpi N           the screen's resolution (default 96): the image is drawn in pixels of\n"
    "                    that screen, 162x50 for the default size at 192\n"
    "  --state S         normal, pressed, focused, hover, disabled or option\n"
    "  --mono            1-bit caption glyphs instead of the desktop's antialiasing\n"
    "  --scale N         enlarge the image N times (each pixel a N x N block) for viewing\n"
    "  -o FILE           the PNG to write\n"
    "  KEY=value         a saved property (BTYPE=8 TX=Change FONT=\"Times New Roman:8.25\");\n"
    "                    with --layout, overrides the layout's value\n";

struct Options {
    std::string layout;
    std::string control;
    std::string size;
    std::string state = "normal";
    std::string output;
    bool mono = false;
    int scale = 1;
    int dpi = 96;
    std::vector<std::string> assignments;
};

Options ParseArguments(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::invalid_argument(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--layout")
            o.layout = value();
        else if (arg == "--control")
            o.control = value();
        else if (arg == "--size")
            o.size = value();
        else if (arg == "--state")
            o.state = value();
        else if (arg == "-o" || arg == "--output")
            o.output = value();
        else if (arg == "--mono")
            o.mono = true;
        else if (arg == "--scale")
            o.scale = std::stoi(value());
        else if (arg == "--dpi")
            o.dpi = std::stoi(value());
        else if (arg == "-h" || arg == "--help")
            throw std::invalid_argument("");
        else if (arg.find('=') != std::string::npos)
            o.assignments.push_back(arg);
        else
            throw std::invalid_argument("unknown argument \"" + arg + "\"");
    }
    if (o.output.empty()) throw std::invalid_argument("no output file (-o)");
    if (o.scale < 1 || o.scale > 64) throw std::invalid_argument("--scale wants 1 to 64");
    if (o.dpi < 24 || o.dpi > 960) throw std::invalid_argument("--dpi wants 24 to 960");
    return o;
}

void ApplySize(const std::string& text, tarvex::headless::RenderRequest& request) {
    int w = 0;
    int h = 0;
    char extra = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &extra) != 2 || w < 0 || h < 0 || w > 32767 ||
        h > 32767) {
        throw std::invalid_argument("--size wants WxH in pixels, got \"" + text + "\"");
    }
    request.width = w;
    request.height = h;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    try {
        o = ParseArguments(argc, argv);
    } catch (const std::exception& e) {
        if (*e.what()) std::cerr << "tarvex-render: " << e.what() << "\n";
        std::cerr << kUsage;
        return 2;
    }
    try {
        tarvex::headless::RenderRequest request;
        if (!o.layout.empty()) {
            try {
                request = tarvex::headless::RequestFromLayout(tarvex::ReadFormLayout(o.layout),
                                                              o.control);
            } catch (const std::invalid_argument& e) {
                throw std::invalid_argument(o.layout + ": " + e.what());
            }
        }
        if (!o.size.empty()) ApplySize(o.size, request);
        const auto state = tarvex::headless::ParseVisualState(o.state);
        if (!state) throw std::invalid_argument("unknown state \"" + o.state + "\"");
        request.state = *state;
        request.dpi = o.dpi;
        const tarvex::PropertyBag overrides =
            tarvex::headless::PropertiesFromAssignments(o.assignments);
        for (const auto& [key, value] : overrides.Entries()) request.properties.Write(key, value);
        if (o.mono) tarvex::SetCaptionFontQuality(3);  // NONANTIALIASED_QUALITY
        tarvex::headless::WritePng(
            tarvex::headless::Enlarged(tarvex::headless::RenderButton(request), o.scale), o.output);
    } catch (const std::exception& e) {
        std::cerr << "tarvex-render: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
