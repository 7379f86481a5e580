#include "host/qt/designer/TarvexButtonPlugin.hpp"

#include <QIcon>
#include <QPointer>
#include <QTimer>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerPropertyEditorInterface>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QExtensionManager>

#include <tarvex/TarvexButtonWidget.hpp>
#include "button/PropertyDescriptions.hpp"
#include "host/qt/PropertyNames.hpp"

namespace tarvex::qt {

namespace {

const QString kClassName = QStringLiteral("tarvex::qt::TarvexButtonWidget");

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The form is told it changed, as by any edit: the window title gets its mark, saving is offered.
void MarkFormModified(QWidget* widget) {
    QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(widget);
    if (!form) return;
    form->setDirty(true);
    emit form->changed();
}

// A change the control made by itself (a colour that switched the scheme) shows in the property
// editor once the edit that caused it has finished.
void RefreshPropertyEditor(QDesignerFormEditorInterface* core, QWidget* widget) {
    QDesignerPropertyEditorInterface* editor = core->propertyEditor();
    if (!editor || editor->object() != widget) return;
    QTimer::singleShot(0, widget, [editor = QPointer(editor), widget] {
        if (editor && editor->object() == widget) editor->setObject(widget);
    });
}

}  // namespace

TarvexButtonPlugin::TarvexButtonPlugin(QObject* parent) : QObject(parent) {}

QString TarvexButtonPlugin::name() const {
    return kClassName;
}
QString TarvexButtonPlugin::group() const {
    return QStringLiteral("Buttons");
}
QString TarvexButtonPlugin::toolTip() const {
    return QStringLiteral("TarvexButton: an owner-drawn push button");
}
QString TarvexButtonPlugin::whatsThis() const {
    return QStringLiteral(
        "A push button in eight looks and five colour schemes, with styled and vertical "
        "captions, an icon, segmented shapes, hover feedback and option-button groups.");
}
QString TarvexButtonPlugin::includeFile() const {
    return QStringLiteral("tarvex/TarvexButtonWidget.hpp");
}
QIcon TarvexButtonPlugin::icon() const {
    return {};
}
bool TarvexButtonPlugin::isContainer() const {
    return false;
}
bool TarvexButtonPlugin::isInitialized() const {
    return core_ != nullptr;
}

void TarvexButtonPlugin::initialize(QDesignerFormEditorInterface* core) {
    if (core_) return;
    core_ = core;
    QDesignerFormWindowManagerInterface* forms = core->formWindowManager();
    if (!forms) return;
    for (int i = 0; i < forms->formWindowCount(); ++i) watchForm(forms->formWindow(i));
    connect(forms, &QDesignerFormWindowManagerInterface::formWindowAdded, this,
            &TarvexButtonPlugin::watchForm);
}

// Only Designer initialises the plugin: a widget made for a loader outside it runs.
QWidget* TarvexButtonPlugin::createWidget(QWidget* parent) {
    auto* widget = new TarvexButtonWidget(parent);
    if (!core_) return widget;
    SetDesignMode(widget, true);
    QDesignerFormEditorInterface* core = core_;
    connect(widget, &TarvexButtonWidget::propertyChanged, widget, [core, widget] {
        MarkFormModified(widget);
        RefreshPropertyEditor(core, widget);
    });
    return widget;
}

void TarvexButtonPlugin::watchForm(QDesignerFormWindowInterface* form) {
    connect(form, &QDesignerFormWindowInterface::widgetManaged, this, [this](QWidget* widget) {
        if (widget->metaObject()->className() == kClassName) keepEveryProperty(widget);
    });
}

// The form keeps every stored setting of the control, as the control's own saving does, so that
// the form reads back the same control wherever it is loaded.
void TarvexButtonPlugin::keepEveryProperty(QWidget* widget) const {
    auto* sheet = qt_extension<QDesignerPropertySheetExtension*>(core_->extensionManager(), widget);
    if (!sheet) return;
    for (const PropertyName& property : PropertyNames()) {
        if (property.key.empty()) continue;
        const int index = sheet->indexOf(QString::fromLatin1(property.qtName));
        if (index >= 0) sheet->setChanged(index, true);
    }
}

QString TarvexButtonPlugin::domXml() const {
    QString tips;
    for (const PropertyName& property : PropertyNames()) {
        const std::string_view description = DescriptionOf(property.member);
        if (description.empty()) continue;
        tips +=
            QStringLiteral("    <tooltip name=\"%1\" value=\"%2\"/>\n")
                .arg(QString::fromLatin1(property.qtName), ToQString(description).toHtmlEscaped());
    }
    return QStringLiteral(
               "<ui language=\"c++\" displayname=\"TarvexButton\">\n"
               " <widget class=\"%1\" name=\"tarvexButton\">\n"
               "  <property name=\"geometry\">\n"
               "   <rect><x>0</x><y>0</y><width>81</width><height>25</height></rect>\n"
               "  </property>\n"
               " </widget>\n"
               " <customwidgets>\n"
               "  <customwidget>\n"
               "   <class>%1</class>\n"
               "   <propertyspecifications>\n%2"
               "   </propertyspecifications>\n"
               "  </customwidget>\n"
               " </customwidgets>\n"
               "</ui>\n")
        .arg(kClassName, tips);
}

}  // namespace tarvex::qt
