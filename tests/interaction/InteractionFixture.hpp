// Buttons on an in-memory form: each with its own test host, all sharing one list of controls.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "button/TarvexButton.hpp"
#include "support/TestHost.hpp"

namespace tarvex::testing {

// A test host that can act when the control presents its image (to watch the pressed look of a
// pause, or to change the form's list in the middle of a sweep).
class ProbeHost : public TestHost {
  public:
    std::function<void()> onRefresh;
    void Refresh() override {
        TestHost::Refresh();
        if (onRefresh) onRefresh();
    }
};

struct PlacedButton {
    std::unique_ptr<ProbeHost> host;
    std::unique_ptr<TarvexButton> button;

    TarvexButton& b() { return *button; }
    ProbeHost& h() { return *host; }
    std::vector<std::string> Events() const { return host->events.Names(); }
};

class Form {
  public:
    std::shared_ptr<std::vector<FormControl>> controls =
        std::make_shared<std::vector<FormControl>>();

    // Places a button on the form (an empty container means directly on the form).
    PlacedButton& Place(const std::string& name, const std::string& container = {},
                        std::optional<std::int32_t> containerIndex = std::nullopt) {
        auto host = std::make_unique<ProbeHost>();
        host->name = name;
        host->displayName = name;
        host->windowHandle = 0x1000 + buttons_.size();
        host->controls = controls;
        auto button = std::make_unique<TarvexButton>(*host);
        button->InitProperties();
        host->AddControl(name, std::nullopt, container, containerIndex, button.get());
        host->ClearRecords();
        buttons_.push_back(
            std::make_unique<PlacedButton>(PlacedButton{std::move(host), std::move(button)}));
        return *buttons_.back();
    }

    // Places a control that is not a TarvexButton (a frame, a label).
    void PlaceOther(const std::string& name, std::optional<std::int32_t> index = std::nullopt) {
        controls->push_back(FormControl{name, index, "frmVornik", std::nullopt, nullptr});
    }

    void ClearRecords() {
        for (auto& p : buttons_) p->host->ClearRecords();
    }

  private:
    std::vector<std::unique_ptr<PlacedButton>> buttons_;
};

inline PlacedButton& OptionButton(PlacedButton& p, bool selected = false) {
    p.b().SetOptionButton(kTrue);
    if (selected) p.b().SetValue(kTrue);
    p.h().ClearRecords();
    return p;
}

}  // namespace tarvex::testing
