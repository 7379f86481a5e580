// A full redraw of the window's Change button (face, frame, caption, presentation through Qt) on
// a screen of scale 2 against the same on a screen of scale 1, run alternately in one process so
// both see the same machine state. The area is four times as large; the target is under five
// times the time. Counters: microseconds per redraw at each scale and their ratio.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScreen>
#include <QWindow>
#include <chrono>
#include <memory>
#include <stdexcept>

#include "button/FormLayout.hpp"
#include "host/qt/TarvexButtonWidget.hpp"

namespace {

using tarvex::qt::TarvexButtonWidget;

struct Window {
    std::unique_ptr<QWidget> form;
    TarvexButtonWidget* change = nullptr;
};

Window ShowOn(const char* screenName) {
    QScreen* screen = nullptr;
    for (QScreen* s : QGuiApplication::screens())
        if (s->name() == QLatin1String(screenName)) screen = s;
    if (!screen) throw std::runtime_error(std::string("no screen ") + screenName);
    static const tarvex::FormLayout layout = tarvex::ReadFormLayout(VORNIK_LAYOUT);
    const tarvex::LayoutControl* stored = layout.Find("CmdChange");
    if (!stored || !stored->position) throw std::runtime_error("the layout has no CmdChange");

    Window w;
    w.form = std::make_unique<QWidget>();
    w.form->resize(200, 100);
    w.form->winId();
    w.form->windowHandle()->setScreen(screen);
    w.form->move(screen->geometry().topLeft() + QPoint(40, 40));
    w.change = tarvex::qt::CreateButtonWidget(w.form.get(), "CmdChange", stored->properties);
    w.change->setGeometry(10, 10, stored->position->width / 15, stored->position->height / 15);
    w.form->show();
    QCoreApplication::processEvents();
    return w;
}

void BM_ChangeRedraw(benchmark::State& state, const char* screen) {
    const Window w = ShowOn(screen);
    for (auto _ : state) ButtonOf(*w.change).RefreshButton();
    state.counters["device_pixels"] =
        double(HostOf(*w.change).ScaleWidth()) * double(HostOf(*w.change).ScaleHeight());
}

void BM_ChangeRedrawScale2Against1(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const Window one = ShowOn("ratio-1");
    const Window two = ShowOn("ratio-2");
    std::chrono::duration<double> atOne{};
    std::chrono::duration<double> atTwo{};
    for (auto _ : state) {
        const auto start = Clock::now();
        ButtonOf(*one.change).RefreshButton();
        const auto middle = Clock::now();
        ButtonOf(*two.change).RefreshButton();
        const auto end = Clock::now();
        atOne += middle - start;
        atTwo += end - middle;
    }
    const double runs = double(state.iterations());
    state.counters["scale1_us"] = atOne.count() / runs * 1e6;
    state.counters["scale2_us"] = atTwo.count() / runs * 1e6;
    state.counters["time_ratio"] = atTwo.count() / atOne.count();
}

}  // namespace

BENCHMARK_CAPTURE(BM_ChangeRedraw, scale1, "ratio-1");
BENCHMARK_CAPTURE(BM_ChangeRedraw, scale1_5, "ratio-1.5");
BENCHMARK_CAPTURE(BM_ChangeRedraw, scale2, "ratio-2");
BENCHMARK(BM_ChangeRedrawScale2Against1)->MinTime(1.0);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" HIDPI_SCREENS);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
