// The Windows run of the pixel rules: the desktop's own colours (which DrawState and the layer's
// GetSysColor read there) are set to the classic scheme for the run and put back after it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "gdi/gdi.hpp"
#include "gdi/win32/windows.hpp"

namespace {

class ClassicDesktop : public testing::Environment {
  public:
    void SetUp() override {
        for (int i = 0; i < gdi::kSysColorCount; ++i) {
            indices_[i] = i;
            saved_[i] = ::GetSysColor(i);
        }
        const gdi::SysColorTable classic = gdi::ClassicSysColors();
        std::array<COLORREF, gdi::kSysColorCount> colors{};
        std::copy(classic.begin(), classic.end(), colors.begin());
        ::SetSysColors(gdi::kSysColorCount, indices_.data(), colors.data());
    }
    void TearDown() override {
        ::SetSysColors(gdi::kSysColorCount, indices_.data(), saved_.data());
    }

  private:
    std::array<INT, gdi::kSysColorCount> indices_{};
    std::array<COLORREF, gdi::kSysColorCount> saved_{};
};

const auto* const kClassicDesktop = testing::AddGlobalTestEnvironment(new ClassicDesktop);

}  // namespace
