// A button on the in-memory host, with the system colours and version reset around each test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "button/TarvexButton.hpp"
#include "gdi/gdi.hpp"
#include "tests/support/TestHost.hpp"

namespace tarvex::testing {

inline gdi::OSVERSIONINFO Version(std::uint32_t platform, std::uint32_t major,
                                  std::uint32_t minor) {
    gdi::OSVERSIONINFO v;
    v.dwPlatformId = platform;
    v.dwMajorVersion = major;
    v.dwMinorVersion = minor;
    return v;
}

// A system-colour value: top bit set plus the index.
inline OleColor SystemColourValue(int index) {
    return static_cast<OleColor>(0x80000000u | static_cast<std::uint32_t>(index));
}

inline OleColor Sys(int index) {
    return static_cast<OleColor>(gdi::GetSysColor(index));
}

class ButtonFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        gdi::ResetSysColors();
        gdi::SetVersionForTesting(Version(2, 5, 1));
    }
    void TearDown() override {
        button.reset();
        gdi::ResetSysColors();
        gdi::SetVersionForTesting(std::nullopt);
    }

    // A freshly placed button (creation step and new-instance defaults), records cleared.
    TarvexButton& Placed(bool designMode) {
        host.userMode = !designMode;
        host.displayName = "CmdChange";
        host.name = "CmdChange";
        host.AddControl("CmdChange");
        button = std::make_unique<TarvexButton>(host);
        button->InitProperties();
        host.controls->back().button = button.get();
        host.ClearRecords();
        return *button;
    }

    std::vector<std::string> Notified() const { return host.propertyChanges; }

    TestHost host;  // declared first: outlives the button
    std::unique_ptr<TarvexButton> button;
};

}  // namespace tarvex::testing
