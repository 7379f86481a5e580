// A .ui file of TarvexButtons loaded by QUiLoader (through the installed-style Designer plugin,
// outside Designer) gives the same controls as the stored layout with the same settings.
#include <QDir>
#include <QFile>
#include <QUiLoader>

#include "ComponentSupport.hpp"
#include "button/FormLayout.hpp"

namespace tarvex::qt {
namespace {

using testing::ExpectSameStoredSet;
using testing::StoredSet;

std::unique_ptr<QWidget> LoadUi(const QString& file) {
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QStringLiteral(DESIGNER_PLUGIN_DIR));
    QFile ui(file);
    if (!ui.open(QIODevice::ReadOnly)) return nullptr;
    return std::unique_ptr<QWidget>(loader.load(&ui));
}

TEST(UiFile, LoadsTheSameControlsAsTheStoredLayoutAndRunsThem) {
    const QString data = QStringLiteral(COMPONENT_DATA_DIR);
    const FormLayout layout = ReadFormLayout((data + "/buttons.layout.json").toStdString());
    const std::unique_ptr<QWidget> loaded = LoadUi(data + "/buttons.ui");
    ASSERT_TRUE(loaded) << "buttons.ui did not load";
    loaded->show();

    QWidget stored;
    stored.setObjectName(QString::fromStdString(layout.name));
    for (const char* name : {"CmdShaded", "CmdSegment", "CmdSparse"}) {
        SCOPED_TRACE(name);
        const LayoutControl* control = layout.Find(name);
        ASSERT_NE(control, nullptr);
        const std::unique_ptr<TarvexButtonWidget> layoutWidget(
            CreateButtonWidget(&stored, name, control->properties));
        const TarvexButtonWidget& fromLayout = *layoutWidget;
        auto* fromUi = loaded->findChild<TarvexButtonWidget*>(name);
        ASSERT_NE(fromUi, nullptr) << "not a TarvexButtonWidget of this library";
        ExpectSameStoredSet(StoredSet(fromLayout), StoredSet(*fromUi));
        EXPECT_EQ(ButtonOf(*fromUi).mFaceColor, ButtonOf(fromLayout).mFaceColor);
        EXPECT_EQ(fromUi->isEnabled(), fromLayout.isEnabled());
    }

    // Loaded outside a designer the controls run: the look no longer changes.
    auto* shaded = loaded->findChild<TarvexButtonWidget*>("CmdShaded");
    shaded->setProperty("buttonType", QVariant::fromValue(TarvexButtonWidget::ButtonType::Classic));
    EXPECT_EQ(ButtonOf(*shaded).ButtonType(), 3);
}

}  // namespace
}  // namespace tarvex::qt
