// The Qt host of the TarvexButton control: a QWidget that owns one control and answers every
// host service it asks for (presentation, shape, input, focus, access keys, hover timer, the
// form's control list, message boxes, pictures and the desktop colours).
#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRegion>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "button/HostServices.hpp"
#include "button/TarvexButton.hpp"

class QPalette;
class QShortcut;

namespace tarvex {
class PropertyBag;
class PropertyValue;
}  // namespace tarvex

namespace tarvex::qt {

// ---- Message boxes
// -------------------------------------------------------------------------------

/// Shows the control's modal boxes. `style` is the classic value: buttons (vbOKOnly, vbOKCancel,
/// vbYesNo, ...) plus an icon (vbCritical, vbQuestion, vbExclamation, vbInformation); the answer is
/// vbOK, vbCancel, vbYes, vbNo, ... A test installs its own service so that boxes are answered
/// at once, without timers or a running dialog.
class MessageBoxService {
  public:
    virtual ~MessageBoxService() = default;
    virtual int Show(QWidget* parent, const QString& text, int style, const QString& title) = 0;
};

/// The desktop's QMessageBox, run modally over `parent`'s window.
class QtMessageBoxService final : public MessageBoxService {
  public:
    int Show(QWidget* parent, const QString& text, int style, const QString& title) override;
};

/// Remembers every box it is asked to show and answers from a queue; with the queue empty it
/// answers the first button of the box (vbOK, vbYes, ...).
class RecordingMessageBoxService final : public MessageBoxService {
  public:
    struct Box {
        QString text;
        int style = 0;
        QString title;
    };
    int Show(QWidget* parent, const QString& text, int style, const QString& title) override;
    std::vector<Box> shown;
    std::deque<int> answers;
};

/// The process-wide service every TarvexButtonWidget uses. Installing null restores the desktop's
/// boxes. Returns the service that was installed before.
std::shared_ptr<MessageBoxService> SetMessageBoxService(std::shared_ptr<MessageBoxService> service);
MessageBoxService& CurrentMessageBoxService();

/// The title of boxes that name none of their own ("Vornik" unless changed).
void SetApplicationTitle(const QString& title);
QString ApplicationTitle();

// ---- Pictures, colours, shapes, containers
// -------------------------------------------------------

/// Reads a PNG, ICO, BMP or GIF file into a picture with an ARGB surface (an .ico file gives an
/// icon picture, anything else a bitmap). Throws HostError naming the file when it cannot be read.
PictureRef LoadPicture(const QString& path);

/// Maps a Qt palette (normally the desktop's, QApplication::palette()) onto the system colours the
/// drawing layer answers from. Colours that a palette does not carry keep their classic values.
void ApplyDesktopPalette(const QPalette& palette);

/// A drawing-layer region as a Qt region, span by span (exact, no scaling).
QRegion ToQRegion(const gdi::Region& region);

/// Marks `widget` as an element of a control array (shown as "Name(index)").
void SetControlIndex(QWidget* widget, int index);
std::optional<int> ControlIndex(const QWidget* widget);
/// Marks a widget that is neither a QGroupBox nor a plain QFrame as a container of its own
/// (buttons inside it then form their own option group).
void MarkAsContainer(QWidget* widget);
/// A QGroupBox, a plain QFrame, or a widget marked as a container.
bool IsContainer(const QWidget* widget);

/// A system colour (the classic index, 15 for the button face, 18 for its text) given to a colour
/// property: QVariant::fromValue(SystemColor{18}) written to "foreColor" stores the colour the
/// system uses for it at that moment, as the control's colour properties do.
struct SystemColor {
    int index = 0;
};

// ---- The widget
// ----------------------------------------------------------------------------------

class TarvexButtonWidget : public QWidget, public ControlHost, private ButtonEvents {
    Q_OBJECT
    /// The control's public properties (Properties.cpp). Each goes through the control's own
    /// property procedure: its range checks, its run-mode rules, its notifications and redraws.
    Q_PROPERTY(Alignment alignment READ alignment WRITE setAlignment)
    Q_PROPERTY(bool showFocus READ showFocus WRITE setShowFocus)
    Q_PROPERTY(GraphicsMode graphicsMode READ graphicsMode WRITE setGraphicsMode)
    Q_PROPERTY(bool value READ value WRITE setValue)
    Q_PROPERTY(bool optionButton READ optionButton WRITE setOptionButton)
    Q_PROPERTY(IconAlignment iconAlignment READ iconAlignment WRITE setIconAlignment)
    Q_PROPERTY(QColor embossEngraveShadow READ embossEngraveShadow WRITE setEmbossEngraveShadow)
    Q_PROPERTY(QColor embossEngraveMid READ embossEngraveMid WRITE setEmbossEngraveMid)
    Q_PROPERTY(QColor gradientStartColor READ gradientStartColor WRITE setGradientStartColor)
    Q_PROPERTY(GradientOrientation gradientOrientation READ gradientOrientation WRITE
                   setGradientOrientation)
    Q_PROPERTY(QColor gradientStopColor READ gradientStopColor WRITE setGradientStopColor)
    Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor)
    Q_PROPERTY(QColor foreColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(QColor mouseOver READ mouseOver WRITE setMouseOver)
    Q_PROPERTY(QPixmap icon READ icon WRITE setIcon)
    Q_PROPERTY(ButtonType buttonType READ buttonType WRITE setButtonType)
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(IconSize iconSize READ iconSize WRITE setIconSize)
    Q_PROPERTY(CaptionStyle captionStyle READ captionStyle WRITE setCaptionStyle)
    Q_PROPERTY(bool enabled READ enabled WRITE setEnabled)
    Q_PROPERTY(QFont font READ captionFont WRITE setFont)
    Q_PROPERTY(ColorScheme colorScheme READ colorScheme WRITE setColorScheme)
    Q_PROPERTY(ButtonStyle buttonStyle READ buttonStyle WRITE setButtonStyle)
    Q_PROPERTY(
        CaptionOrientation captionOrientation READ captionOrientation WRITE setCaptionOrientation)
    Q_PROPERTY(Pointer mousePointer READ mousePointer WRITE setMousePointer)
    Q_PROPERTY(QString container READ container STORED false DESIGNABLE false)
    Q_PROPERTY(QPixmap mouseIcon READ mouseIcon WRITE setMouseIcon)
    Q_PROPERTY(quint32 hwnd READ hwnd STORED false DESIGNABLE false)

  public:
    /// The control's enumerations, with their fixed values. Plain enumerations, as Qt's own widgets
    /// have: uic writes a .ui file's value as TarvexButtonWidget::Shaded.
    enum ButtonType {
        FramedBevel = 1,
        Classic = 2,
        Shaded = 3,
        EtchedFlat = 4,
        LightBevel = 5,
        FlatBevel = 6,
        HoverEdge = 7,
        SoftFrame = 8,
    };
    Q_ENUM(ButtonType)
    enum ColorScheme {
        SystemColors = 1,
        CustomColors = 2,
        FixedGrey = 3,
        ContainerColors = 4,
        CustomGradient = 5,
    };
    Q_ENUM(ColorScheme)
    enum Alignment { AlignLeft = 0, AlignCenter = 1, AlignRight = 2 };
    Q_ENUM(Alignment)
    enum IconAlignment { IconBeforeCaption = 0, IconAfterCaption = 1 };
    Q_ENUM(IconAlignment)
    enum CaptionOrientation { Horizontal = 0, VerticalUp = 1, VerticalDown = 2 };
    Q_ENUM(CaptionOrientation)
    enum CaptionStyle { Plain = 0, Engraved = 1, Embossed = 2, Shadowed = 3 };
    Q_ENUM(CaptionStyle)
    enum ButtonStyle { Rectangular = 0, SegmentLeft = 1, SegmentMiddle = 2, SegmentRight = 3 };
    Q_ENUM(ButtonStyle)
    enum IconSize { Size8 = 1, Size16 = 2, Size24 = 3, Size32 = 4 };
    Q_ENUM(IconSize)
    enum GradientOrientation { LeftToRight = 0, TopToBottom = 1, RightToLeft = 2, BottomToTop = 3 };
    Q_ENUM(GradientOrientation)
    /// Automatic: the system's classification; SystemDefault, Compatible and Advanced force a mode.
    enum GraphicsMode { Automatic = -1, SystemDefault = 0, Compatible = 1, Advanced = 2 };
    Q_ENUM(GraphicsMode)
    enum Pointer {
        DefaultPointer = 0,
        Arrow = 1,
        Cross = 2,
        IBeam = 3,
        IconPointer = 4,
        Size = 5,
        SizeNESW = 6,
        SizeNS = 7,
        SizeNWSE = 8,
        SizeWE = 9,
        UpArrow = 10,
        Hourglass = 11,
        NoDrop = 12,
        ArrowHourglass = 13,
        ArrowQuestion = 14,
        SizeAll = 15,
        Custom = 99,
    };
    Q_ENUM(Pointer)

    /// The Qt way (uic, QUiLoader, Designer, code): a control that takes its settings from the
    /// property writes that follow, as from a stored layout (taken as they are, Properties.cpp),
    /// until it is first shown; from then on every write goes through the property procedures.
    /// Shown in design mode without any stored setting, it is a new instance (new-instance
    /// defaults).
    explicit TarvexButtonWidget(QWidget* parent = nullptr);
    /// Creates the control with its new-instance defaults. `name` becomes the objectName and the
    /// control's name; `index` makes it an element of a control array.
    TarvexButtonWidget(QWidget* parent, const QString& name,
                       std::optional<int> index = std::nullopt);
    /// Creates the control from a stored property set (a saved layout being loaded): the
    /// new-instance defaults do not run, only the reading of the set. Throws what the reading
    /// throws (a value of the wrong kind, for example).
    TarvexButtonWidget(QWidget* parent, const QString& name, const PropertyBag& stored,
                       std::optional<int> index = std::nullopt);
    ~TarvexButtonWidget() override;

    /// The control; it lives as long as the widget (hasButton() is false only while the widget
    /// is being destroyed).
    bool hasButton() const { return button_ != nullptr; }
    TarvexButton& button() { return *button_; }
    const TarvexButton& button() const { return *button_; }
    std::optional<int> index() const { return index_; }

    /// Reads a stored property set into the control (the loading of a saved layout).
    void loadProperties(const PropertyBag& bag);

    /// Handlers that receive the events with their arguments by reference (may be null); the Qt
    /// signals below carry the same events by value. The sink must outlive the widget or be reset.
    void setEventSink(ButtonEvents* sink) { sink_ = sink; }

    /// False puts the control in design mode (the look-shaping properties then change). Default
    /// true: the running program.
    void setUserMode(bool userMode) { userMode_ = userMode; }

    /// The form's font object, answered as the ambient font and the form's font (by default one
    /// built from the parent's QFont when the widget is created). Shared, not copied. The control
    /// hears of it as an ambient "Font" change and takes the object as its caption font.
    void setAmbientFont(FontRef font);

    QSize sizeHint() const override;

    /// Whether property writes are still taken as the stored settings of a layout being loaded.
    bool isLoading() const { return loading_ != nullptr; }
    /// Ends the loading (the first show does it): later writes go through the property procedures.
    void finishLoading();

    // ---- Qt properties (Properties.cpp)
    Alignment alignment() const;
    void setAlignment(Alignment alignment);
    bool showFocus() const;
    void setShowFocus(bool show);
    GraphicsMode graphicsMode() const;  // the mode in effect, never Automatic
    void setGraphicsMode(GraphicsMode mode);
    bool value() const;
    void setValue(bool value);
    bool optionButton() const;
    void setOptionButton(bool option);
    IconAlignment iconAlignment() const;
    void setIconAlignment(IconAlignment alignment);
    QColor embossEngraveShadow() const;
    void setEmbossEngraveShadow(const QColor& colour);
    QColor embossEngraveMid() const;
    void setEmbossEngraveMid(const QColor& colour);
    QColor gradientStartColor() const;
    void setGradientStartColor(const QColor& colour);
    GradientOrientation gradientOrientation() const;
    void setGradientOrientation(GradientOrientation orientation);
    QColor gradientStopColor() const;
    void setGradientStopColor(const QColor& colour);
    QColor backColor() const;
    void setBackColor(const QColor& colour);
    QColor foreColor() const;
    void setForeColor(const QColor& colour);
    QColor mouseOver() const;
    void setMouseOver(const QColor& colour);
    QPixmap icon() const;
    void setIcon(const QPixmap& icon);  // a null pixmap removes the icon
    ButtonType buttonType() const;
    void setButtonType(ButtonType type);
    QString caption() const;
    void setCaption(const QString& caption);
    IconSize iconSize() const;
    void setIconSize(IconSize size);
    CaptionStyle captionStyle() const;
    void setCaptionStyle(CaptionStyle style);
    bool enabled() const;
    void setEnabled(bool enabled);  // the control's Enabled (hides QWidget::setEnabled)
    QFont captionFont() const;
    void setFont(const QFont& font);  // the control's Font (hides QWidget::setFont)
    ColorScheme colorScheme() const;
    void setColorScheme(ColorScheme scheme);
    ButtonStyle buttonStyle() const;
    void setButtonStyle(ButtonStyle style);
    CaptionOrientation captionOrientation() const;
    void setCaptionOrientation(CaptionOrientation orientation);
    Pointer mousePointer() const;
    void setMousePointer(Pointer pointer);
    QString container() const;  // the name that groups option buttons
    QPixmap mouseIcon() const;
    void setMouseIcon(const QPixmap& icon);
    quint32 hwnd() const;

  signals:
    void clicked();
    void mouseDown(int button, int shift, float x, float y);
    void mouseMove(int buttons, int shift, float x, float y);
    void mouseUp(int button, int shift, float x, float y);
    void keyPress(int keyAscii);
    void keyDown(int keyCode, int shift);
    void keyUp(int keyCode, int shift);
    void mouseOut();
    /// Design mode only: the stored property with this key changed.
    void propertyChanged(const QString& key);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

  public:
    // ---- UserControlSite ----
    std::uintptr_t hWnd() const override;
    std::int32_t ScaleWidth() const override;
    std::int32_t ScaleHeight() const override;
    void Refresh() override;
    void SetWindowRgn(std::optional<gdi::Region> region, bool redraw) override;
    bool Enabled() const override;
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

  private:
    TarvexButtonWidget(QWidget* parent, const QString& name, std::optional<int> index,
                       const PropertyBag* stored);
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

    /// Properties.cpp: a write while loading joins the stored settings; otherwise `let` runs the
    /// control's property procedure.
    void assignProperty(std::string_view key, const PropertyValue& stored,
                        const std::function<void(TarvexButton&)>& let);
    void rereadLoadedProperties();

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
    /// The window shape in device pixels, as the control gave it, and the ratio it was drawn for.
    std::optional<gdi::Region> shape_;
    qreal drawnRatio_ = 0;
    /// The gesture that makes a click: the button whose press began on the control.
    Qt::MouseButton gestureButton_ = Qt::NoButton;
    bool gestureIsDoubleClick_ = false;
    /// The last press, to recognise the second press of a double click ourselves whatever order
    /// the platform delivers press and double-click in.
    Qt::MouseButton lastPressButton_ = Qt::NoButton;
    quint64 lastPressTime_ = 0;
    QPointF lastPressPos_;
    bool lastPressValid_ = false;
    bool doubleClickHandled_ = false;
    /// Last: created after everything the control may ask its host for, destroyed first.
    std::unique_ptr<TarvexButton> button_;
};

}  // namespace tarvex::qt

Q_DECLARE_METATYPE(tarvex::qt::SystemColor)
