#include "app/StandardControls.hpp"

#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <algorithm>
#include <cmath>

namespace vornik {
namespace {

using tarvex::LayoutControl;
using tarvex::LayoutError;
using tarvex::PropertyBag;

// The classic dialog faces have no free twin; the Arial-metric face is the closest in width, so
// captions fit the boxes the layout gives them (the default sans face is far wider).
QString MetricCompatibleFace(const std::string& face) {
    static const std::pair<const char*, const char*> kTwins[] = {
        {"MS Sans Serif", "Liberation Sans"},    {"Microsoft Sans Serif", "Liberation Sans"},
        {"MS Shell Dlg", "Liberation Sans"},     {"Arial", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"}, {"Courier New", "Liberation Mono"},
    };
    for (const auto& [classic, twin] : kTwins) {
        if (QString::fromStdString(face).compare(QLatin1String(classic), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(twin);
    }
    return QString::fromStdString(face);
}

// Sizes in points are taken at 96 dots per inch as pixels, so text keeps its size relative to
// the twip layout whatever resolution the screen reports.
int PointsToPixels(double points) {
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

QFont ToQFont(const tarvex::FontObject& stored) {
    QFont font(MetricCompatibleFace(stored.Name()));
    font.setPixelSize(PointsToPixels(stored.Size()));
    font.setBold(stored.Bold());
    font.setItalic(stored.Italic());
    font.setUnderline(stored.Underline());
    font.setStrikeOut(stored.Strikethrough());
    return font;
}

QColor FromOleColor(std::int32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

QString Caption(const PropertyBag& properties) {
    return QString::fromStdString(properties.ReadString("caption", ""));
}

void ApplyFont(QWidget& control, const PropertyBag& properties) {
    if (tarvex::FontRef font = properties.ReadFont("font", nullptr))
        control.setFont(ToQFont(*font));
}

void ApplyForeColor(QWidget& control, const PropertyBag& properties) {
    if (!properties.Contains("forecolor")) return;
    const QColor colour = FromOleColor(properties.ReadInt32("forecolor", 0));
    QPalette palette = control.palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    control.setPalette(palette);
}

Qt::Alignment LabelAlignment(const PropertyBag& properties) {
    switch (properties.ReadInt32("alignment", 0)) {
        case 1:
            return Qt::AlignRight | Qt::AlignTop;
        case 2:
            return Qt::AlignHCenter | Qt::AlignTop;
        default:
            return Qt::AlignLeft | Qt::AlignTop;
    }
}

template <class Control>
Control* Place(QWidget& form, const LayoutControl& stored) {
    auto* control = new Control(&form);
    control->setObjectName(QString::fromStdString(stored.name));
    if (stored.position) control->setGeometry(TwipsToPixels(*stored.position));
    return control;
}

void CreateLabel(QWidget& form, const LayoutControl& stored) {
    auto* label = Place<QLabel>(form, stored);
    label->setTextFormat(Qt::PlainText);
    label->setText(Caption(stored.properties));
    label->setAlignment(LabelAlignment(stored.properties));
    ApplyFont(*label, stored.properties);
    ApplyForeColor(*label, stored.properties);
}

void CreateTextBox(QWidget& form, const LayoutControl& stored) {
    auto* text = Place<QLineEdit>(form, stored);
    text->setText(QString::fromStdString(stored.properties.ReadString("text", "")));
    ApplyFont(*text, stored.properties);
}

void CreateCheckBox(QWidget& form, const LayoutControl& stored) {
    auto* box = Place<QCheckBox>(form, stored);
    box->setText(Caption(stored.properties));
    box->setChecked(stored.properties.ReadInt32("value", 0) == 1);
    ApplyFont(*box, stored.properties);
    ApplyForeColor(*box, stored.properties);
}

// A picture file with its twice-as-dense twin beside it ("Image1@2x.png"), when there is one.
QIcon BothDensities(const QString& file) {
    QIcon icon(file);
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    const QString dense = file.left(dot) + QStringLiteral("@2x") + file.mid(dot);
    if (dot > 0 && QFile::exists(dense)) icon.addFile(dense);
    return icon;
}

// Shows a picture at its natural size in the pixels of the screen the label is on, again after
// the window moves to a screen of another scale.
class PictureForScreen final : public QObject {
  public:
    PictureForScreen(QLabel& label, QIcon picture, QSize natural)
        : QObject(&label), label_(label), picture_(std::move(picture)), natural_(natural) {
        label.installEventFilter(this);
        show();
    }

  private:
    bool eventFilter(QObject*, QEvent* event) override {
        bool screenChange = event->type() == QEvent::ScreenChangeInternal;
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
        screenChange = screenChange || event->type() == QEvent::DevicePixelRatioChange;
#endif
        if (screenChange || event->type() == QEvent::Show) show();
        return false;
    }
    void show() {
        const qreal ratio = label_.devicePixelRatioF();
        if (label_.pixmap().devicePixelRatio() == ratio && !label_.pixmap().isNull()) return;
        label_.setPixmap(picture_.pixmap(natural_, ratio));
    }
    QLabel& label_;
    QIcon picture_;
    QSize natural_;
};

// The picture is shown at its natural size, from the top left of its box.
void CreateImage(QWidget& form, const LayoutControl& stored) {
    auto* image = Place<QLabel>(form, stored);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const tarvex::PictureRef picture = stored.properties.ReadPicture("picture", nullptr);
    if (!picture) return;
    const QString file = QString::fromStdString(picture->SourcePath());
    const QPixmap pixmap(file);
    if (pixmap.isNull())
        throw LayoutError("the picture \"" + file.toStdString() + "\" of " + stored.name +
                          " cannot be loaded");
    new PictureForScreen(*image, BothDensities(file), pixmap.size());
}

template <class Control>
Control* Require(QWidget& form, const char* name) {
    auto* control = form.findChild<Control*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    if (control == nullptr) {
        throw LayoutError("the stored layout of the window has no control \"" + std::string(name) +
                          "\" of the expected kind");
    }
    return control;
}

}  // namespace

tarvex::FormLayout ReadStoredLayout() {
    QFile file(QStringLiteral(":/vornik/frmVornik.layout.json"));
    if (!file.open(QIODevice::ReadOnly)) throw LayoutError("the window's stored layout is missing");
    const QByteArray text = file.readAll();
    // Pictures are named relative to the layout, so they are found among the program's resources.
    return tarvex::ParseFormLayout(std::string_view(text.constData(), text.size()),
                                   "frmVornik.layout.json", ":/vornik");
}

StandardControls CreateStandardControls(QWidget& form, const tarvex::FormLayout& layout) {
    form.setObjectName(QString::fromStdString(layout.name));
    form.setWindowTitle(QString::fromStdString(layout.caption));
    form.setWindowIcon(BothDensities(QStringLiteral(":/vornik/vornik.png")));
    form.setFixedSize(layout.width / kTwipsPerPixel, layout.height / kTwipsPerPixel);
    // Controls that name no font of their own take the classic dialog font, 8 pt.
    QFont dialogFont(MetricCompatibleFace("MS Sans Serif"));
    dialogFont.setPixelSize(PointsToPixels(8.0));
    form.setFont(dialogFont);

    for (const LayoutControl& stored : layout.controls) {
        if (stored.kind == "Label") CreateLabel(form, stored);
        if (stored.kind == "TextBox") CreateTextBox(form, stored);
        if (stored.kind == "CheckBox") CreateCheckBox(form, stored);
        if (stored.kind == "Image") CreateImage(form, stored);
    }

    StandardControls c;
    c.Label1 = Require<QLabel>(form, "Label1");
    c.Label2 = Require<QLabel>(form, "Label2");
    c.Text1 = Require<QLineEdit>(form, "Text1");
    c.Check1 = Require<QCheckBox>(form, "Check1");
    c.Check2 = Require<QCheckBox>(form, "Check2");
    c.Label3 = Require<QLabel>(form, "Label3");
    c.Check3 = Require<QCheckBox>(form, "Check3");
    c.Image1 = Require<QLabel>(form, "Image1");
    return c;
}

void ApplyTabOrder(QWidget& form, const tarvex::FormLayout& layout) {
    std::vector<const LayoutControl*> ordered;
    for (const LayoutControl& stored : layout.controls) {
        if (stored.tabIndex) ordered.push_back(&stored);
    }
    std::stable_sort(
        ordered.begin(), ordered.end(),
        [](const LayoutControl* a, const LayoutControl* b) { return *a->tabIndex < *b->tabIndex; });
    QWidget* previous = nullptr;
    for (const LayoutControl* stored : ordered) {
        auto* control = form.findChild<QWidget*>(QString::fromStdString(stored->name),
                                                 Qt::FindDirectChildrenOnly);
        if (control == nullptr || control->focusPolicy() == Qt::NoFocus) continue;
        if (previous != nullptr) QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

}  // namespace vornik
