// The Designer plugin as Designer uses it: loaded with QPluginLoader, initialised with a real form
// editor, its widgets placed on a real form window.
#include <QDomDocument>
#include <QPluginLoader>
#include <QSignalSpy>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QExtensionManager>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <map>

#include "ComponentSupport.hpp"
#include "button/PropertyDescriptions.hpp"
#include "host/qt/PropertyNames.hpp"

namespace tarvex::qt {
namespace {

using testing::RecordedBoxes;
using W = TarvexButtonWidget;

QDesignerCustomWidgetInterface* LoadPlugin(QPluginLoader& loader) {
    loader.setFileName(QStringLiteral(DESIGNER_PLUGIN_FILE));
    return qobject_cast<QDesignerCustomWidgetInterface*>(loader.instance());
}

TEST(DesignerPlugin, OffersTheControlWithThePropertyDescriptionsAsToolTips) {
    QPluginLoader loader;
    QDesignerCustomWidgetInterface* plugin = LoadPlugin(loader);
    ASSERT_NE(plugin, nullptr) << loader.errorString().toStdString();
    EXPECT_EQ(plugin->name(), "tarvex::qt::TarvexButtonWidget");
    EXPECT_EQ(plugin->includeFile(), "tarvex/TarvexButtonWidget.hpp");

    QDomDocument dom;
    ASSERT_TRUE(dom.setContent(plugin->domXml()));
    std::map<QString, QString> tips;
    const QDomNodeList nodes = dom.elementsByTagName(QStringLiteral("tooltip"));
    for (int i = 0; i < nodes.size(); ++i) {
        const QDomElement tip = nodes.at(i).toElement();
        tips[tip.attribute("name")] = tip.attribute("value");
    }
    for (const PropertyName& p : PropertyNames()) {
        const std::string_view description = DescriptionOf(p.member);
        if (description.empty()) {
            EXPECT_EQ(tips.count(p.qtName), 0u) << p.qtName;
        } else {
            EXPECT_EQ(tips[p.qtName].toStdString(), description) << p.qtName;
        }
    }
    EXPECT_EQ(tips["gradientStartColor"], "N/A for Win95 & below. Color to begin gradient fill.");
}

TEST(DesignerPlugin, OnAFormTheControlIsInDesignModeAndItsChangesMarkTheFormModified) {
    RecordedBoxes boxes;
    QPluginLoader loader;
    QDesignerCustomWidgetInterface* plugin = LoadPlugin(loader);
    ASSERT_NE(plugin, nullptr) << loader.errorString().toStdString();

    // Outside Designer (a .ui loader) the plugin's widget runs.
    std::unique_ptr<QWidget> running(plugin->createWidget(nullptr));
    running->show();
    running->setProperty("buttonType", QVariant::fromValue(W::ButtonType::Shaded));
    EXPECT_EQ(running->property("buttonType").value<W::ButtonType>(), W::ButtonType::Classic);

    std::unique_ptr<QDesignerFormEditorInterface> core(
        QDesignerComponents::createFormEditor(nullptr));
    ASSERT_NE(core->formWindowManager(), nullptr);
    QDesignerComponents::initializeResources();
    new QDesignerIntegration(core.get(), core.get());  // owned by the core
    plugin->initialize(core.get());
    EXPECT_TRUE(plugin->isInitialized());
    std::unique_ptr<QDesignerFormWindowInterface> form(
        core->formWindowManager()->createFormWindow(nullptr));
    auto* container = new QWidget;
    container->setObjectName("Form");
    form->setMainContainer(container);
    QWidget* widget = plugin->createWidget(container);
    widget->setObjectName("tarvexButton");
    form->manageWidget(widget);
    form->show();
    form->setDirty(false);
    QSignalSpy formChanged(form.get(), &QDesignerFormWindowInterface::changed);

    // Design mode: the look changes, and the control's own notification marks the form.
    EXPECT_TRUE(widget->setProperty("buttonType", QVariant::fromValue(W::ButtonType::Shaded)));
    EXPECT_EQ(widget->property("buttonType").value<W::ButtonType>(), W::ButtonType::Shaded);
    EXPECT_TRUE(form->isDirty());
    EXPECT_GE(formChanged.count(), 1);

    // Every stored setting is kept in the form, so the saved .ui reads back the same control.
    auto* sheet = qt_extension<QDesignerPropertySheetExtension*>(core->extensionManager(), widget);
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isChanged(sheet->indexOf("colorScheme")));
    EXPECT_TRUE(sheet->isChanged(sheet->indexOf("caption")));

    // The design-time message of a colour scheme on an old system.
    gdi::SetVersionForTesting(gdi::OSVERSIONINFO{4, 0, 1381, 2});
    widget->setProperty("colorScheme", QVariant::fromValue(W::ColorScheme::FixedGrey));
    gdi::SetVersionForTesting(std::nullopt);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_TRUE(boxes.shown()[0].text.startsWith(
        "This option is not available on the following operating systems."));
    EXPECT_EQ(widget->property("colorScheme").value<W::ColorScheme>(),
              W::ColorScheme::SystemColors);
}

}  // namespace
}  // namespace tarvex::qt
