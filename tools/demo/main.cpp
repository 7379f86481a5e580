// tarvex-demo: one window with a button of every look in every colour scheme, a segmented bar and
// two option groups in two frames. Events are echoed in the status line.
//
//   tarvex-demo [--desktop-palette] [--grab FILE.png]
//
// --desktop-palette paints with the desktop's colours instead of the classic ones; --grab writes
// the window to a PNG once it is shown and quits (useful on the offscreen platform).
#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

#include "host/qt/TarvexButtonWidget.hpp"

namespace {

using tarvex::TarvexButton;
using tarvex::qt::TarvexButtonWidget;

const char* const kLookNames[] = {"Framed bevel", "Classic",    "Shaded",     "Etched flat",
                                  "Light bevel",  "Flat bevel", "Hover edge", "Soft frame"};
const char* const kSchemeNames[] = {"System", "Custom", "Grey", "Container", "Gradient"};

// The look-shaping properties change only while a designer holds the control.
void Design(TarvexButtonWidget* w, const std::function<void(TarvexButton&)>& set) {
    SetUserMode(*w, false);
    set(ButtonOf(*w));
    SetUserMode(*w, true);
}

TarvexButtonWidget* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                               QSize size, QLabel* status,
                               std::optional<int> index = std::nullopt) {
    auto* w = new TarvexButtonWidget(parent, name, index);
    w->setFixedSize(size);
    ButtonOf(*w).SetCaption(caption.toStdString());
    const QString shown = index ? QString("%1(%2)").arg(name).arg(*index) : name;
    QObject::connect(w, &TarvexButtonWidget::clicked, status,
                     [status, shown] { status->setText(shown + ": Click"); });
    QObject::connect(w, &TarvexButtonWidget::mouseOut, status,
                     [status, shown] { status->setText(shown + ": MouseOut"); });
    QObject::connect(w, &TarvexButtonWidget::keyDown, status, [status, shown](int code, int) {
        status->setText(QString("%1: KeyDown %2").arg(shown).arg(code));
    });
    return w;
}

void ApplyScheme(TarvexButton& b, int scheme) {
    b.SetColorScheme(scheme);
    if (scheme == 2) {
        b.SetBackColor(0x00E8D8C0);
        b.SetForeColor(0x00602000);
        b.SetMouseOver(0x000000C0);
    } else if (scheme == 5 && b.ButtonType() != 3 && b.ButtonType() != 8) {
        // The shaded and soft-frame looks have no gradient face (the designer would say so).
        b.SetGradientStartColor(0x00FFFFFF);
        b.SetGradientStopColor(0x00C08040);
    }
}

QWidget* LooksGrid(QWidget* parent, QLabel* status) {
    auto* box = new QGroupBox("Looks and colour schemes", parent);
    box->setObjectName("FrameLooks");
    auto* grid = new QGridLayout(box);
    for (int s = 0; s < 5; ++s) grid->addWidget(new QLabel(kSchemeNames[s], box), 0, s + 1);
    int index = 0;
    for (int type = 1; type <= 8; ++type) {
        grid->addWidget(new QLabel(kLookNames[type - 1], box), type, 0);
        for (int scheme = 1; scheme <= 5; ++scheme) {
            auto* w = MakeButton(box, "CmdLook", QString("Look &%1").arg(type), {96, 28}, status,
                                 index++);
            Design(w, [&](TarvexButton& b) {
                b.SetButtonType(type);
                ApplyScheme(b, scheme);
            });
            grid->addWidget(w, type, scheme);
        }
    }
    return box;
}

QWidget* SegmentedBar(QWidget* parent, QLabel* status) {
    auto* box = new QGroupBox("Segmented bar", parent);
    box->setObjectName("FrameBar");
    box->setMinimumHeight(64);
    // The slanted ends interlock: each segment starts where the slant of the one before begins.
    const int styles[] = {1, 2, 2, 3};
    const char* const captions[] = {"&Back", "&Play", "&Stop", "&Next"};
    constexpr int kWidth = 96;
    constexpr int kSlant = 18;
    for (int i = 0; i < 4; ++i) {
        auto* w = MakeButton(box, "CmdSegment", captions[i], {kWidth, 28}, status, i);
        w->move(12 + i * (kWidth - kSlant), 24);
        Design(w, [&](TarvexButton& b) {
            b.SetButtonType(5);
            b.SetButtonStyle(styles[i]);
        });
    }
    return box;
}

QWidget* OptionGroup(QWidget* parent, const QString& frameName, const QString& title,
                     const QStringList& captions, int lookType, QLabel* status) {
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(frameName);
    auto* column = new QVBoxLayout(box);
    for (int i = 0; i < captions.size(); ++i) {
        auto* w = MakeButton(box, frameName + "Opt", captions[i], {120, 26}, status, i);
        Design(w, [&](TarvexButton& b) { b.SetButtonType(lookType); });
        ButtonOf(*w).SetOptionButton(tarvex::kTrue);
        if (i == 0) ButtonOf(*w).SetValue(tarvex::kTrue);
        column->addWidget(w);
    }
    return box;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    tarvex::qt::UseClassicSystemColors(!args.contains("--desktop-palette"));
    const int grabAt = int(args.indexOf("--grab"));
    const QString grabFile = grabAt > 0 && grabAt + 1 < args.size() ? args[grabAt + 1] : QString();

    QWidget window;
    window.setObjectName("frmDemo");
    window.setWindowTitle("TarvexButton demo");
    auto* status = new QLabel("Press, hover, tab or use Alt+letter", &window);
    status->setObjectName("Label1");
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(LooksGrid(&window, status));
    layout->addWidget(SegmentedBar(&window, status));
    auto* groups = new QHBoxLayout;
    groups->addWidget(
        OptionGroup(&window, "FrameSize", "Size", {"S&mall", "M&edium", "&Large"}, 8, status));
    groups->addWidget(
        OptionGroup(&window, "FrameColour", "Colour", {"&Red", "&Green", "Bl&ue"}, 3, status));
    layout->addLayout(groups);
    layout->addWidget(status);
    window.show();

    if (!grabFile.isEmpty()) {
        QTimer::singleShot(200, &window, [&] {
            const bool saved = window.grab().save(grabFile);
            app.exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
