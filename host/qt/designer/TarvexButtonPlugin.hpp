// TarvexButton in Qt Designer's widget box. On a Designer form the control is in design mode: the
// look-shaping properties change, its design-time messages appear, and its property-changed
// notification marks the form modified. Outside Designer (QUiLoader) it is made in run mode.
#pragma once

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

class QDesignerFormEditorInterface;
class QDesignerFormWindowInterface;

namespace tarvex::qt {

class TarvexButtonPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
    Q_INTERFACES(QDesignerCustomWidgetInterface)

  public:
    explicit TarvexButtonPlugin(QObject* parent = nullptr);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    QWidget* createWidget(QWidget* parent) override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface* core) override;
    // The new widget's XML, with the control's property descriptions as the properties' tool tips.
    QString domXml() const override;

  private:
    void watchForm(QDesignerFormWindowInterface* form);
    void keepEveryProperty(QWidget* widget) const;

    QDesignerFormEditorInterface* core_ = nullptr;
};

}  // namespace tarvex::qt
