// The stored-layout reader. Any text either reads as a layout or fails with the layout error
// (nothing else escapes); a layout that reads is written, and what is written reads back to the
// same layout, written the same way again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "button/FormLayout.hpp"
#include "fuzz/FuzzSupport.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::filesystem::path base = "/nonexistent/layouts";
    tarvex::FormLayout layout;
    try {
        layout = tarvex::ParseFormLayout(text, "fuzz.layout.json", base);
    } catch (const tarvex::LayoutError& e) {
        FUZZ_CHECK(std::string_view(e.what()).starts_with("fuzz.layout.json: "));
        return 0;
    }
    const std::string once = tarvex::FormatFormLayout(layout, base);
    const tarvex::FormLayout reread = tarvex::ParseFormLayout(once, "rewritten", base);
    FUZZ_CHECK(reread.controls.size() == layout.controls.size());
    FUZZ_CHECK(tarvex::FormatFormLayout(reread, base) == once);
    return 0;
}
