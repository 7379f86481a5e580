// The widget's implementation: everything the public class keeps behind its one pointer. It is
// the control's host (every service the control asks for) and the receiver of its events.
#pragma once

#include <QPointF>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/qt/Notifications.hpp"
#include "host/qt/TarvexButtonWidget.hpp"

class QShortcut;
class QMouseEvent;
class QKeyEvent;
class QFocusEvent;
class QShowEvent;

namespace tarvex {
class PropertyValue;
}  // namespace tarvex

namespace tarvex::qt {

class TarvexButtonWidgetPrivate final : public ControlHost, private ButtonEvents {
  public:
    /// How the control starts: from the property writes that follow (the Qt way), from its
    /// new-instance defaults, or from a stored set.
    enum class Start { QtWay, NewInstance, Stored };
    TarvexButtonWidgetPrivate(Start start, QString name, std::optional<int> index,
                              const PropertyBag* stored);
    ~TarvexButtonWidgetPrivate() override;
    TarvexButtonWidgetPrivate(const TarvexButtonWidgetPrivate&) = delete;
    TarvexButtonWidgetPrivate& operator=(const TarvexButtonWidgetPrivate&) = delete;

    /// The steps of construction that need the widget (called by its constructor).
    void init(TarvexButtonWidget* widget);
    /// The private constructor's way in, for CreateButtonWidget.
    static TarvexButtonWidget* Create(std::unique_ptr<TarvexButtonWidgetPrivate> d,
                                      QWidget* parent);
    void teardown();
    static TarvexButtonWidgetPrivate& Of(TarvexButtonWidget& widget) { return *widget.d_; }
    static const TarvexButtonWidgetPrivate& Of(const TarvexButtonWidget& widget) {
        return *widget.d_;
    }

    // ---- Events (Presentation.cpp, InputMapping.cpp, QtState.cpp)
    bool event(QEvent* e);
    void paintEvent();
    void resizeEvent();
    void showEvent(QShowEvent* e);
    void changeEvent(QEvent* e);
    void mousePressEvent(QMouseEvent* e);
    void mouseMoveEvent(QMouseEvent* e);
    void mouseReleaseEvent(QMouseEvent* e);
    void mouseDoubleClickEvent(QMouseEvent* e);
    void keyPressEvent(QKeyEvent* e);
    void keyReleaseEvent(QKeyEvent* e);
    void focusInEvent(QFocusEvent* e);
    void focusOutEvent(QFocusEvent* e);
    QSize preferredSize() const;

    // ---- Properties (Properties.cpp)
    /// A write while loading joins the stored settings; otherwise `let` runs the control's
    /// property procedure.
    void assignProperty(std::string_view key, const PropertyValue& stored,
                        const std::function<void(TarvexButton&)>& let);
    void rereadLoadedProperties();
    void finishLoading();

    // ---- Qt's own state as the control's (QtState.cpp)
    /// QWidget::setEnabled (through any pointer) or a parent's enabling changed isEnabled().
    void followEnabledChange();
    /// QWidget::setFont (through any pointer) or a parent's font changed font().
    void followFontChange();
    /// The application palette changed: the system colours follow it, and a button drawn in them
    /// rebuilds its palette and redraws.
    void followApplicationPalette();
    /// Whether the button's colours come from the system colours.
    bool drawsWithSystemColours() const;

    // ---- Change signals (Notifications.cpp)
    /// Emits the change signals of the properties whose value read back changed since the last
    /// time, now or (inside the handling of an event) when that handling ends.
    void publishChanges();
    static void Publish(TarvexButtonWidget& widget);
    PropertySnapshot published;

    // ---- UserControlSite ----
    std::uintptr_t hWnd() const override;
    std::int32_t ScaleWidth() const override;
    std::int32_t ScaleHeight() const override;
    void Refresh() override;
    void SetWindowRgn(std::optional<gdi::Region> region, bool redraw) override;
    bool Enabled() const override;
    bool EffectivelyEnabled() const override;
    void SetEnabled(bool enabled) override;
    FontRef Font() const override;
    void SetFont(FontRef font) override;
    std::int16_t MousePointer() const override;
    void SetMousePointer(std::int16_t pointer) override;
    PictureRef MouseIcon() const override;
    void SetMouseIcon(PictureRef icon) override;
    std::string Name() const override;
    // ---- ContainerSite ----
    bool UserMode() const override;
    std::string DisplayName() const override;
    FontRef AmbientFont() const override;
    void PropertyChanged(std::string_view key) override;
    // ---- ParentFormSite ----
    std::string FormName() const override;
    gdi::COLORREF FormBkColor() const override;
    gdi::COLORREF FormTextColor() const override;
    FontRef FormFont() const override;
    std::size_t ControlCount() const override;
    std::optional<FormControl> ControlAt(std::size_t position) const override;
    FormControl FindControl(std::string_view name,
                            std::optional<std::int32_t> index) const override;
    // ---- ServiceSite ----
    void SetAccessKeys(std::string_view keys) override;
    void SetHoverTimerInterval(std::int32_t milliseconds) override;
    void SetHoverTimerEnabled(bool enabled) override;
    bool HoverTimerEnabled() const override;
    std::uintptr_t WindowUnderCursor() const override;
    std::int32_t TwipsPerPixelY() const override;
    double ExactTwipsPerPixelY() const override;
    std::int32_t MsgBox(std::string_view text, std::int32_t style, std::string_view title) override;
    std::string AppTitle() const override;
    void SendKeys(std::string_view keys) override;
    double Timer() const override;
    // ---- ControlHost ----
    ButtonEvents* Events() override;

    /// ButtonEvents: forwards to the sink, then emits the signal.
    void Click(TarvexButton&) override;
    void MouseDown(TarvexButton&, std::int16_t& Button, std::int16_t& Shift, float& X,
                   float& Y) override;
    void MouseMove(TarvexButton&, std::int16_t& Button, std::int16_t& Shift, float& X,
                   float& Y) override;
    void MouseUp(TarvexButton&, std::int16_t& Button, std::int16_t& Shift, float& X,
                 float& Y) override;
    void KeyPress(TarvexButton&, std::int16_t& KeyAscii) override;
    void KeyDown(TarvexButton&, std::int16_t& KeyCode, std::int16_t& Shift) override;
    void KeyUp(TarvexButton&, std::int16_t& KeyCode, std::int16_t& Shift) override;
    void MouseOut(TarvexButton&) override;

    void onAccessKey(char16_t key);
    void leaveFocusTakenWhileInactive();
    static bool isControlButton(const QMouseEvent& event);
    bool losesTheMouse(const QEvent& event) const;
    void forgetGestureWhoseButtonIsUp(const QMouseEvent& event);
    bool isSecondPressOfDoubleClick(const QMouseEvent& event) const;
    void applyCursor();
    /// The control draws in device pixels: its surface is the widget's size times the device
    /// pixel ratio, mouse positions reach it in device pixels, its shape is kept in them.
    qreal deviceRatio() const;
    QPointF devicePosition(const QMouseEvent& event) const;
    bool showsDevicePoint(QPointF devicePoint) const;
    void applyShape();
    /// A move to a screen of another scale (or a new desktop scale) redraws at the new ratio.
    void followScreenScale(const QEvent& event);

    TarvexButtonWidget* q = nullptr;
    Start start_;
    QString initialName_;
    const PropertyBag* initialSet_ = nullptr;  // only during construction
    std::optional<int> index_;
    bool userMode_ = true;
    std::unique_ptr<PropertyBag> loading_;  // the stored settings of a layout being loaded
    ButtonEvents* sink_ = nullptr;
    QTimer hoverTimer_;
    FontRef baseFont_;
    FontRef ambientFont_;
    PictureRef mouseIcon_;
    std::int16_t mousePointer_ = 0;
    std::vector<std::unique_ptr<QShortcut>> accessKeys_;
    /// Set while the control itself changes the widget's enabled state or font, whose change
    /// events then need no answer.
    bool applyingEnabled_ = false;
    bool applyingFont_ = false;
    /// The window shape in device pixels, as the control gave it, and the ratio it was drawn for.
    std::optional<gdi::Region> shape_;
    qreal drawnRatio_ = 0;
    /// The gesture that makes a click: the button whose press began on the control.
    Qt::MouseButton gestureButton_ = Qt::NoButton;
    /// The last press, to recognise the second press of a double click ourselves whatever order
    /// the platform delivers press and double-click in.
    Qt::MouseButton lastPressButton_ = Qt::NoButton;
    quint64 lastPressTime_ = 0;
    QPointF lastPressPos_;
    bool lastPressValid_ = false;
    bool doubleClickHandled_ = false;
    QString publishedContainer_;
    std::uint64_t coloursGeneration_ = 0;  // of the system colours the palette was built from
    /// Last: created after everything the control may ask its host for, destroyed first.
    std::unique_ptr<TarvexButton> button_;
};

}  // namespace tarvex::qt
