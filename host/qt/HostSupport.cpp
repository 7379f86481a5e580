// Services of the Qt host that do not belong to one widget: message boxes, pictures from files,
// the desktop palette as system colours, regions as widget masks, control-array indexes.
#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QImageReader>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <cstring>
#include <utility>

#include "host/qt/TarvexButtonWidget.hpp"
#include "host/qt/WidgetSupport.hpp"

namespace tarvex::qt {

namespace {

constexpr std::int32_t kButtonsMask = 0x0F;
constexpr std::int32_t kIconMask = 0x70;
constexpr std::int32_t vbAbortRetryIgnore = 2;
constexpr std::int32_t vbYesNoCancel = 3;
constexpr std::int32_t vbRetryCancel = 5;
constexpr std::int32_t vbAbort = 3;
constexpr std::int32_t vbRetry = 4;
constexpr std::int32_t vbIgnore = 5;

const char* const kIndexProperty = "tarvexControlIndex";
const char* const kContainerProperty = "tarvexContainer";

struct BoxButton {
    QMessageBox::StandardButton qt;
    int answer;
};

// The buttons of a classic box style, first button first.
std::vector<BoxButton> ButtonsOf(int style) {
    switch (style & kButtonsMask) {
        case vbOKCancel:
            return {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}};
        case vbAbortRetryIgnore:
            return {{QMessageBox::Abort, vbAbort},
                    {QMessageBox::Retry, vbRetry},
                    {QMessageBox::Ignore, vbIgnore}};
        case vbYesNoCancel:
            return {{QMessageBox::Yes, vbYes},
                    {QMessageBox::No, vbNo},
                    {QMessageBox::Cancel, vbCancel}};
        case vbYesNo:
            return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}};
        case vbRetryCancel:
            return {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}};
        default:
            return {{QMessageBox::Ok, vbOK}};
    }
}

QMessageBox::Icon IconOf(int style) {
    switch (style & kIconMask) {
        case vbCritical:
            return QMessageBox::Critical;
        case vbQuestion:
            return QMessageBox::Question;
        case vbExclamation:
            return QMessageBox::Warning;
        case vbInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

std::shared_ptr<MessageBoxService>& InstalledService() {
    static std::shared_ptr<MessageBoxService> service;
    return service;
}

QString& TitleStore() {
    static QString title = QStringLiteral("Vornik");
    return title;
}

gdi::COLORREF ToColorRef(const QColor& c) {
    return gdi::RGB(static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                    static_cast<std::uint8_t>(c.blue()));
}

}  // namespace

int QtMessageBoxService::Show(QWidget* parent, const QString& text, int style,
                              const QString& title) {
    QMessageBox box(IconOf(style), title, text, QMessageBox::NoButton,
                    parent ? parent->window() : nullptr);
    const std::vector<BoxButton> buttons = ButtonsOf(style);
    for (const BoxButton& b : buttons) box.addButton(b.qt);
    box.setDefaultButton(buttons.front().qt);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const BoxButton& b : buttons)
        if (b.qt == clicked) return b.answer;
    // Closed some other way: the box's escape answer, as the desktop's boxes do.
    return buttons.size() == 1 ? buttons.front().answer : vbCancel;
}

int RecordingMessageBoxService::Show(QWidget* /*parent*/, const QString& text, int style,
                                     const QString& title) {
    shown.push_back({text, style, title});
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return ButtonsOf(style).front().answer;
}

std::shared_ptr<MessageBoxService> SetMessageBoxService(
    std::shared_ptr<MessageBoxService> service) {
    return std::exchange(InstalledService(), std::move(service));
}

MessageBoxService& CurrentMessageBoxService() {
    if (InstalledService()) return *InstalledService();
    static QtMessageBoxService desktop;
    return desktop;
}

void SetApplicationTitle(const QString& title) {
    TitleStore() = title;
}

QString ApplicationTitle() {
    return TitleStore();
}

namespace {

gdi::Surface ToSurface(const QImage& read) {
    const QImage image = read.convertToFormat(QImage::Format_ARGB32);
    gdi::Surface pixels(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(pixels.row(y), image.constScanLine(y),
                    static_cast<std::size_t>(image.width()) * sizeof(std::uint32_t));
    }
    return pixels;
}

}  // namespace

// The first image of the file is the picture; an icon file's further frames (other sizes of the
// same icon) travel with it, for displays of a higher scale.
PictureRef LoadPicture(const QString& path) {
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) {
        throw HostError("cannot read the picture \"" + path.toStdString() +
                        "\": " + reader.errorString().toStdString());
    }
    const bool isIcon = reader.format().toLower() == "ico" ||
                        QFileInfo(path).suffix().compare("ico", Qt::CaseInsensitive) == 0;
    auto picture =
        std::make_shared<Picture>(ToSurface(image), isIcon ? kPicTypeIcon : kPicTypeBitmap);
    for (int frame = 1; isIcon && frame < reader.imageCount() && reader.jumpToImage(frame);
         ++frame) {
        const QImage further = reader.read();
        if (!further.isNull()) picture->AddFrame(ToSurface(further));
    }
    picture->SetSourcePath(path.toStdString());
    return picture;
}

namespace {

gdi::SysColorTable TableOf(const QPalette& p) {
    gdi::SysColorTable table = gdi::ClassicSysColors();
    const auto set = [&](int index, QPalette::ColorGroup group, QPalette::ColorRole role) {
        table[static_cast<std::size_t>(index)] = ToColorRef(p.color(group, role));
    };
    set(gdi::COLOR_WINDOW, QPalette::Active, QPalette::Base);
    set(gdi::COLOR_WINDOWTEXT, QPalette::Active, QPalette::Text);
    set(gdi::COLOR_BTNFACE, QPalette::Active, QPalette::Button);
    set(gdi::COLOR_BTNTEXT, QPalette::Active, QPalette::ButtonText);
    set(gdi::COLOR_BTNSHADOW, QPalette::Active, QPalette::Dark);
    set(gdi::COLOR_BTNHIGHLIGHT, QPalette::Active, QPalette::Light);
    set(gdi::COLOR_3DDKSHADOW, QPalette::Active, QPalette::Shadow);
    set(gdi::COLOR_3DLIGHT, QPalette::Active, QPalette::Midlight);
    set(gdi::COLOR_GRAYTEXT, QPalette::Disabled, QPalette::Text);
    set(gdi::COLOR_INFOTEXT, QPalette::Active, QPalette::ToolTipText);
    set(gdi::COLOR_INFOBK, QPalette::Active, QPalette::ToolTipBase);
    return table;
}

// Whether the system colours follow the application palette (the default), or were asked to be
// the classic ones; and the table last taken from the palette.
struct ColourSource {
    bool classic = false;
    bool taken = false;
    gdi::SysColorTable table{};
    std::uint64_t generation = 0;  // counts the tables set here
};

ColourSource& Source() {
    static ColourSource source;
    return source;
}

bool CurrentTableIs(const gdi::SysColorTable& table) {
    for (std::size_t i = 0; i < table.size(); ++i)
        if (gdi::GetSysColor(int(i)) != table[i]) return false;
    return true;
}

}  // namespace

void ApplyDesktopPalette(const QPalette& p) {
    gdi::SetSysColorTable(TableOf(p));
}

void UseClassicSystemColors(bool classic) {
    Source().classic = classic;
    Source().taken = false;
    if (classic) {
        ++Source().generation;
        gdi::ResetSysColors();
    } else {
        detail::SyncSystemColours();
    }
    // Every button drawn in system colours shows the new ones at once.
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* button = qobject_cast<TarvexButtonWidget*>(widget)) {
            QEvent change(QEvent::ApplicationPaletteChange);
            QCoreApplication::sendEvent(button, &change);
        }
    }
}

namespace detail {

void FollowApplicationPaletteByDefault() {
    if (!Source().classic && !Source().taken) SyncSystemColours();
}

// Once per palette: every button hears of a new palette, the first one to hear sets the table.
// A table someone set since (a test, a program's own colours) is replaced only by a new palette.
void SyncSystemColours() {
    ColourSource& source = Source();
    if (source.classic || !qApp) return;
    const gdi::SysColorTable table = TableOf(QApplication::palette());
    if (source.taken && table == source.table) return;
    source.table = table;
    source.taken = true;
    if (CurrentTableIs(table)) return;
    ++source.generation;
    gdi::SetSysColorTable(table);
}

std::uint64_t SystemColoursGeneration() {
    return Source().generation;
}

}  // namespace detail

QRegion ToQRegion(const gdi::Region& region) {
    const std::vector<gdi::RowSpan> spans = region.Spans();
    std::vector<QRect> rects;
    rects.reserve(spans.size());
    for (const gdi::RowSpan& s : spans) {
        if (s.x1 > s.x0) rects.emplace_back(s.x0, s.y, s.x1 - s.x0, 1);
    }
    QRegion result;
    // Spans come sorted by row, then column, and never overlap: the banded order QRegion wants.
    if (!rects.empty()) result.setRects(rects.data(), static_cast<int>(rects.size()));
    return result;
}

void SetControlIndex(QWidget* widget, int index) {
    if (widget) widget->setProperty(kIndexProperty, index);
}

std::optional<int> ControlIndex(const QWidget* widget) {
    if (!widget) return std::nullopt;
    const QVariant v = widget->property(kIndexProperty);
    if (!v.isValid()) return std::nullopt;
    return v.toInt();
}

void MarkAsContainer(QWidget* widget) {
    if (widget) widget->setProperty(kContainerProperty, true);
}

bool IsContainer(const QWidget* widget) {
    if (qobject_cast<const QGroupBox*>(widget)) return true;
    // A plain frame groups its buttons; QLabel and other frame-drawing widgets do not.
    if (widget->metaObject() == &QFrame::staticMetaObject) return true;
    return widget->property(kContainerProperty).toBool();
}

}  // namespace tarvex::qt
