#include "tools/render/HeadlessHost.hpp"

namespace tarvex::headless {

HeadlessHost::HeadlessHost(std::int32_t w, std::int32_t h) : width(w), height(h) {}

void HeadlessHost::SetWindowRgn(std::optional<gdi::Region> region, bool) {
    windowRegion = std::move(region);
}

FormControl HeadlessHost::FindControl(std::string_view controlName,
                                      std::optional<std::int32_t> index) const {
    // The headless form holds only the button itself.
    if (controlName == name && !index) return FormControl{name, std::nullopt, formName, {}, {}};
    throw HostError("control \"" + std::string(controlName) + "\" is not on the headless form");
}

std::int32_t HeadlessHost::MsgBox(std::string_view text, std::int32_t, std::string_view) {
    messages.emplace_back(text);
    return vbOK;
}

double HeadlessHost::Timer() const {
    // Time moves on with every query so that a busy wait ends.
    clock_ += 0.05;
    return clock_;
}

}  // namespace tarvex::headless
