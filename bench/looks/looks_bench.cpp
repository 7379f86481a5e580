// Cost of a full redraw of an 81 x 25 button in every look, normal and pressed, with the caption's
// glyphs already cached (and once without a caption, which leaves the look's own drawing), and of
// preparing a greyed 32-pixel icon. Every figure is also given as a
// multiple of one FillRect of the same surface measured in the same run, so that results compare
// across machines (CPU time, since the machine is shared); the summary checks that the shaded look
// (one line per row) stays under three times the soft-frame look.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "button/PropertyBag.hpp"
#include "button/TarvexButton.hpp"
#include "gdi/gdi.hpp"
#include "tests/support/TestHost.hpp"

namespace {

using tarvex::TarvexButton;
using tarvex::testing::TestHost;

constexpr std::int32_t kWidth = 81;
constexpr std::int32_t kHeight = 25;

const char* const kLookNames[] = {"",           "FramedBevel", "Classic",   "Shaded",   "Etched",
                                  "LightBevel", "FlatBevel",   "HoverEdge", "SoftFrame"};

// A run-mode button built from a saved property set and shown once, as the window creates it.
struct ShownButton {
    TestHost host;
    std::unique_ptr<TarvexButton> button;

    explicit ShownButton(std::int32_t buttonType, bool withCaption = true) {
        host.scaleWidth = kWidth;
        host.scaleHeight = kHeight;
        tarvex::PropertyBag bag;
        bag.WriteInt32("BTYPE", buttonType);
        bag.WriteString("TX", withCaption ? "Change" : "");
        bag.Write("FONT", tarvex::PropertyValue::Font(
                              tarvex::FontObject::Create("Times New Roman", 82500)));
        button = std::make_unique<TarvexButton>(host);
        button->ReadProperties(bag);
        button->Show();
    }
};

void BM_FillRect(benchmark::State& state) {
    ShownButton b(2);
    gdi::DeviceContext& dc = b.button->hDC();
    const gdi::Brush brush = gdi::Brush::Solid(0xC0C0C0);
    const gdi::RECT all{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        dc.FillRect(all, brush);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillRect);

void BM_Refresh(benchmark::State& state) {
    const auto buttonType = std::int32_t(state.range(0));
    const auto visualState = std::int32_t(state.range(1));
    const bool withCaption = state.range(2) != 0;
    ShownButton b(buttonType, withCaption);
    b.button->mButtonState = visualState;
    b.button->RefreshButton();  // warms the glyph cache
    for (auto _ : state) {
        b.button->RefreshButton();
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::string(kLookNames[buttonType]) +
                   (visualState == tarvex::kStatePressed ? "/pressed" : "/normal") +
                   (withCaption ? "" : "/no-caption"));
}
BENCHMARK(BM_Refresh)
    ->ArgsProduct({{1, 2, 3, 4, 5, 6, 7, 8},
                   {tarvex::kStateNormal, tarvex::kStatePressed},
                   {1, 0}});

// A 32 x 32 icon with a diagonal of ink on white, prepared for a 32-pixel cell.
void BM_PrepareIcon32(benchmark::State& state) {
    ShownButton b(2);
    gdi::Surface pixels(32, 32);
    pixels.fill(0xFFFFFFFF);
    for (std::int32_t i = 0; i < 32; ++i) pixels.set(i, i, 0xFF000000);
    b.button->mIcon = std::make_shared<tarvex::Picture>(std::move(pixels), tarvex::kPicTypeIcon);
    b.button->mIconPresent = tarvex::kTrue;
    b.button->mIconSize = 4;
    b.button->LayoutCaption();
    for (auto _ : state) {
        b.button->PrepareIcon();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PrepareIcon32);

// Prints each figure as a multiple of the FillRect baseline after the usual table.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const std::string name =
                run.report_label.empty() ? run.benchmark_name() : run.report_label;
            nanoseconds_[name] = run.GetAdjustedCPUTime();
            order_.push_back(name);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto baseline = nanoseconds_.find("BM_FillRect");
        if (baseline == nanoseconds_.end() || baseline->second <= 0) return;
        std::printf("\nCPU time as multiples of one FillRect of the %dx%d surface (%.1f ns):\n",
                    kWidth, kHeight, baseline->second);
        for (const std::string& name : order_) {
            std::printf("  %-32s %8.1f x\n", name.c_str(), nanoseconds_[name] / baseline->second);
        }
        for (const char* variant :
             {"/normal", "/pressed", "/normal/no-caption", "/pressed/no-caption"}) {
            Check(std::string("Shaded") + variant, std::string("SoftFrame") + variant);
        }
    }

  private:
    void Check(const std::string& shaded, const std::string& softFrame) {
        if (!nanoseconds_.count(shaded) || !nanoseconds_.count(softFrame)) return;
        const double ratio = nanoseconds_[shaded] / nanoseconds_[softFrame];
        std::printf("  %s is %.2f x %s (target: under 3) %s\n", shaded.c_str(), ratio,
                    softFrame.c_str(), ratio < 3.0 ? "ok" : "OVER TARGET");
    }

    std::map<std::string, double> nanoseconds_;
    std::vector<std::string> order_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
