// The form around the control: its name, colours and font, and its list of controls with their
// containers (what an option-group sweep walks).
#include <QString>

#include "host/qt/WidgetPrivate.hpp"
#include "host/qt/WidgetSupport.hpp"

namespace tarvex::qt {

using namespace detail;

namespace {

// The controls of a form in a fixed order (depth first, in creation order): every named widget
// inside the window, windows of their own excepted.
QList<QWidget*> FormControls(const QWidget* form) {
    QList<QWidget*> result;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (w->isWindow()) continue;
        const QString name = w->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) continue;
        result.push_back(w);
    }
    return result;
}

QString FormNameOf(const QWidget* form) {
    return form->objectName().isEmpty() ? QStringLiteral("Form") : form->objectName();
}

FormControl DescribeControl(QWidget* w) {
    FormControl c;
    c.name = w->objectName().toStdString();
    c.index = ControlIndex(w);
    const QWidget* form = w->window();
    c.containerName = FormNameOf(form).toStdString();
    for (const QWidget* p = w->parentWidget(); p && p != form; p = p->parentWidget()) {
        if (IsContainer(p)) {
            c.containerName = p->objectName().toStdString();
            c.containerIndex = ControlIndex(p);
            break;
        }
    }
    if (auto* host = qobject_cast<TarvexButtonWidget*>(w); host && HasButton(*host))
        c.button = &ButtonOf(*host);
    return c;
}

bool SameName(const std::string& a, std::string_view b) {
    return QString::fromStdString(a).compare(QString::fromUtf8(b.data(), qsizetype(b.size())),
                                             Qt::CaseInsensitive) == 0;
}

}  // namespace

// ---- ParentFormSite --------------------------------------------------------------------------

std::string TarvexButtonWidgetPrivate::FormName() const {
    return FormNameOf(q->window()).toStdString();
}
gdi::COLORREF TarvexButtonWidgetPrivate::FormBkColor() const {
    const QWidget* container = q->parentWidget() ? q->parentWidget() : q;
    return ToColorRef(container->palette().color(QPalette::Window));
}
gdi::COLORREF TarvexButtonWidgetPrivate::FormTextColor() const {
    const QWidget* container = q->parentWidget() ? q->parentWidget() : q;
    return ToColorRef(container->palette().color(QPalette::WindowText));
}
FontRef TarvexButtonWidgetPrivate::FormFont() const {
    return ambientFont_;
}
std::size_t TarvexButtonWidgetPrivate::ControlCount() const {
    return std::size_t(FormControls(q->window()).size());
}
std::optional<FormControl> TarvexButtonWidgetPrivate::ControlAt(std::size_t position) const {
    const QList<QWidget*> controls = FormControls(q->window());
    if (position >= std::size_t(controls.size())) return std::nullopt;
    return DescribeControl(controls[qsizetype(position)]);
}
FormControl TarvexButtonWidgetPrivate::FindControl(std::string_view name,
                                                   std::optional<std::int32_t> index) const {
    for (QWidget* w : FormControls(q->window())) {
        if (SameName(w->objectName().toStdString(), name) && ControlIndex(w) == index)
            return DescribeControl(w);
    }
    std::string what(name);
    if (index) what += "(" + std::to_string(*index) + ")";
    throw HostError("control \"" + what + "\" not found on the form");
}

}  // namespace tarvex::qt
