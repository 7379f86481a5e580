// The readers of the launchers' files. Input: any bytes, read as a Heroic game file, a Lutris
// game file, a Bottles placeholder and a Steam library list at once. None may fail; every value
// found comes back unchanged when written again the way each launcher writes it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/registry/LauncherFiles.hpp"
#include "fuzz/FuzzSupport.hpp"

namespace {

// The value as a JSON string, every byte that needs it escaped.
std::string JsonQuoted(std::string_view value) {
    std::string out = "\"";
    for (const char c : value) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof(escape), "\\u%04x", static_cast<unsigned char>(c));
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string VdfQuoted(std::string_view value) {
    std::string out = "\"";
    for (const char c : value) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        if (c == '\t') {
            out += "\\t";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    for (const std::string& value : registry::JsonStringValues(text, "winePrefix")) {
        const std::string again = "{\"winePrefix\": " + JsonQuoted(value) + "}";
        FUZZ_CHECK(registry::JsonStringValues(again, "winePrefix") == std::vector{value});
    }
    for (const std::string& value : registry::VdfLibraryPaths(text)) {
        const std::string again = "\"0\" { \"path\" " + VdfQuoted(value) + " }";
        FUZZ_CHECK(registry::VdfLibraryPaths(again) == std::vector{value});
    }
    // A scalar is one line's worth: the readers never run into the next key.
    for (const auto& value :
         {registry::YamlValue(text, "game", "prefix"), registry::YamlValue(text, "", "Path")}) {
        if (!value || value->find('\n') == std::string::npos) continue;
        // Only a double-quoted scalar may hold an escaped line break.
        FUZZ_CHECK(text.find("\\n") != std::string_view::npos ||
                   text.find("\\x0") != std::string_view::npos ||
                   text.find("\\u000") != std::string_view::npos ||
                   text.find("\\U0000000") != std::string_view::npos);
    }
    return 0;
}
