// TarvexButton as a Qt 6 widget: an owner-drawn push button in eight looks and five colour
// schemes, with styled and vertical captions, an icon, segmented shapes, hover feedback and
// option-button groups. This is the whole public interface of the TarvexButtonWidgets library.
#pragma once

#include <tarvex/tarvexbuttonwidgets_export.h>
#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

namespace tarvex {

/// The version of the TarvexButtonWidgets library a program runs with ("1.2.0"), for a program
/// that wants to check it against the version it was built for.
TARVEX_WIDGETS_EXPORT const char* LibraryVersion();

}  // namespace tarvex

namespace tarvex::qt {

class TarvexButtonWidget;
class TarvexButtonWidgetPrivate;

/// The title of the control's message boxes that name none of their own ("Vornik" unless
/// changed).
TARVEX_WIDGETS_EXPORT void SetApplicationTitle(const QString& title);
/// The title set by SetApplicationTitle.
TARVEX_WIDGETS_EXPORT QString ApplicationTitle();

/// Where the system colours of the system-colour scheme come from. By default they are the
/// application's palette (QApplication::palette()), followed whenever it changes while the
/// program runs (a desktop switching between light and dark); every button of that scheme is
/// then redrawn in the new colours. UseClassicSystemColors() gives the classic fixed colours
/// instead (grey faces, black text) whatever the palette; UseClassicSystemColors(false) follows
/// the palette again.
TARVEX_WIDGETS_EXPORT void UseClassicSystemColors(bool classic = true);

/// For form editors: true puts the button in design mode, where the properties that shape its look
/// change (a running program's buttons keep their look) and each change of a stored setting is
/// reported by propertyChanged. A widget starts in run mode.
TARVEX_WIDGETS_EXPORT void SetDesignMode(TarvexButtonWidget* widget, bool design);

/// Marks `widget` as an element of a control array (shown as "Name(index)").
TARVEX_WIDGETS_EXPORT void SetControlIndex(QWidget* widget, int index);
/// The index set by SetControlIndex; none for a widget that is no element of an array.
TARVEX_WIDGETS_EXPORT std::optional<int> ControlIndex(const QWidget* widget);
/// Marks a widget that is neither a QGroupBox nor a plain QFrame as a container of its own
/// (option buttons inside it then form their own group).
TARVEX_WIDGETS_EXPORT void MarkAsContainer(QWidget* widget);
/// A QGroupBox, a plain QFrame, or a widget marked as a container.
TARVEX_WIDGETS_EXPORT bool IsContainer(const QWidget* widget);

/// A system colour (the classic index, 15 for the button face, 18 for its text) given to a colour
/// property: QVariant::fromValue(SystemColor{18}) written to "foreColor" stores the colour the
/// system uses for it at that moment, as the control's colour properties do.
struct SystemColor {
    int index = 0;  ///< the classic system-colour index
};

/// The button. It is a QWidget in every respect: QWidget::setEnabled and the "enabled" property
/// are the control's Enabled (a disabled parent greys it too, as Qt's own widgets are greyed),
/// QWidget::setFont and the "font" property its caption font, and its size hint fits the caption.
/// Every other property of the control is a Qt property with a change signal.
class TARVEX_WIDGETS_EXPORT TarvexButtonWidget : public QWidget {
    Q_OBJECT
    /// The control's public properties. Each write goes through the control's own property
    /// procedure: its range checks, its run-mode rules, its notifications and redraws. A change
    /// signal is emitted once for each change of the value as read back, whatever made it.
    Q_PROPERTY(Alignment alignment READ alignment WRITE setAlignment NOTIFY alignmentChanged)
    Q_PROPERTY(bool showFocus READ showFocus WRITE setShowFocus NOTIFY showFocusChanged)
    Q_PROPERTY(GraphicsMode graphicsMode READ graphicsMode WRITE setGraphicsMode NOTIFY
                   graphicsModeChanged)
    Q_PROPERTY(bool value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(bool optionButton READ optionButton WRITE setOptionButton NOTIFY optionButtonChanged)
    Q_PROPERTY(IconAlignment iconAlignment READ iconAlignment WRITE setIconAlignment NOTIFY
                   iconAlignmentChanged)
    Q_PROPERTY(QColor embossEngraveShadow READ embossEngraveShadow WRITE setEmbossEngraveShadow
                   NOTIFY embossEngraveShadowChanged)
    Q_PROPERTY(QColor embossEngraveMid READ embossEngraveMid WRITE setEmbossEngraveMid NOTIFY
                   embossEngraveMidChanged)
    Q_PROPERTY(QColor gradientStartColor READ gradientStartColor WRITE setGradientStartColor NOTIFY
                   gradientStartColorChanged)
    Q_PROPERTY(GradientOrientation gradientOrientation READ gradientOrientation WRITE
                   setGradientOrientation NOTIFY gradientOrientationChanged)
    Q_PROPERTY(QColor gradientStopColor READ gradientStopColor WRITE setGradientStopColor NOTIFY
                   gradientStopColorChanged)
    Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor NOTIFY backColorChanged)
    Q_PROPERTY(QColor foreColor READ foreColor WRITE setForeColor NOTIFY foreColorChanged)
    Q_PROPERTY(QColor mouseOver READ mouseOver WRITE setMouseOver NOTIFY mouseOverChanged)
    Q_PROPERTY(QPixmap icon READ icon WRITE setIcon NOTIFY iconChanged)
    Q_PROPERTY(ButtonType buttonType READ buttonType WRITE setButtonType NOTIFY buttonTypeChanged)
    Q_PROPERTY(QString caption READ caption WRITE setCaption NOTIFY captionChanged)
    Q_PROPERTY(IconSize iconSize READ iconSize WRITE setIconSize NOTIFY iconSizeChanged)
    Q_PROPERTY(CaptionStyle captionStyle READ captionStyle WRITE setCaptionStyle NOTIFY
                   captionStyleChanged)
    Q_PROPERTY(
        ColorScheme colorScheme READ colorScheme WRITE setColorScheme NOTIFY colorSchemeChanged)
    Q_PROPERTY(
        ButtonStyle buttonStyle READ buttonStyle WRITE setButtonStyle NOTIFY buttonStyleChanged)
    Q_PROPERTY(CaptionOrientation captionOrientation READ captionOrientation WRITE
                   setCaptionOrientation NOTIFY captionOrientationChanged)
    Q_PROPERTY(
        Pointer mousePointer READ mousePointer WRITE setMousePointer NOTIFY mousePointerChanged)
    Q_PROPERTY(
        QString container READ container NOTIFY containerChanged STORED false DESIGNABLE false)
    Q_PROPERTY(QPixmap mouseIcon READ mouseIcon WRITE setMouseIcon NOTIFY mouseIconChanged)
    Q_PROPERTY(quint32 hwnd READ hwnd CONSTANT STORED false DESIGNABLE false)
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
    /// property writes that follow, as from a stored layout (taken as they are), until it is first
    /// shown; from then on every write goes through the property procedures.
    explicit TarvexButtonWidget(QWidget* parent = nullptr);
    /// Creates the control with its new-instance defaults. `name` becomes the objectName and the
    /// control's name; `index` makes it an element of a control array.
    TarvexButtonWidget(QWidget* parent, const QString& name,
                       std::optional<int> index = std::nullopt);
    ~TarvexButtonWidget() override;
    TarvexButtonWidget(const TarvexButtonWidget&) = delete;
    TarvexButtonWidget& operator=(const TarvexButtonWidget&) = delete;

    /// Room for the whole caption at the caption font, the icon, the look's frame and focus cue;
    /// tall for a vertical caption.
    QSize sizeHint() const override;
    /// The same: the caption is never cut.
    QSize minimumSizeHint() const override;

    Alignment alignment() const;  ///< the caption's alignment
    void setAlignment(Alignment alignment);
    bool showFocus() const;  ///< whether the focus cue is drawn
    void setShowFocus(bool show);
    GraphicsMode graphicsMode() const;  ///< the mode in effect, never Automatic
    void setGraphicsMode(GraphicsMode mode);
    bool value() const;  ///< an option button's checked state
    void setValue(bool value);
    bool optionButton() const;  ///< whether the button is an option button of its container
    void setOptionButton(bool option);
    IconAlignment iconAlignment() const;  ///< the icon before or after the caption
    void setIconAlignment(IconAlignment alignment);
    QColor embossEngraveShadow() const;  ///< the shadow of an embossed or engraved caption
    void setEmbossEngraveShadow(const QColor& colour);
    QColor embossEngraveMid() const;  ///< the middle colour of an embossed or engraved caption
    void setEmbossEngraveMid(const QColor& colour);
    QColor gradientStartColor() const;  ///< where a gradient face begins
    void setGradientStartColor(const QColor& colour);
    GradientOrientation gradientOrientation() const;  ///< the direction of a gradient face
    void setGradientOrientation(GradientOrientation orientation);
    QColor gradientStopColor() const;  ///< where a gradient face ends
    void setGradientStopColor(const QColor& colour);
    QColor backColor() const;  ///< the face colour of the custom schemes
    void setBackColor(const QColor& colour);
    QColor foreColor() const;  ///< the caption colour of the custom schemes
    void setForeColor(const QColor& colour);
    QColor mouseOver() const;  ///< the caption colour under the mouse
    void setMouseOver(const QColor& colour);
    QPixmap icon() const;               ///< the icon beside the caption; null for none
    void setIcon(const QPixmap& icon);  ///< a null pixmap removes the icon
    ButtonType buttonType() const;      ///< the look
    void setButtonType(ButtonType type);
    QString caption() const;  ///< the caption; "&" marks the access key
    void setCaption(const QString& caption);
    IconSize iconSize() const;  ///< the icon cell's size
    void setIconSize(IconSize size);
    CaptionStyle captionStyle() const;  ///< plain, engraved, embossed or shadowed
    void setCaptionStyle(CaptionStyle style);
    ColorScheme colorScheme() const;  ///< where the colours come from
    void setColorScheme(ColorScheme scheme);
    ButtonStyle buttonStyle() const;  ///< rectangular or a segment of a bar
    void setButtonStyle(ButtonStyle style);
    CaptionOrientation captionOrientation() const;  ///< horizontal or vertical caption
    void setCaptionOrientation(CaptionOrientation orientation);
    Pointer mousePointer() const;  ///< the mouse pointer over the button
    void setMousePointer(Pointer pointer);
    QString container() const;  ///< the name that groups option buttons
    QPixmap mouseIcon() const;  ///< the custom mouse pointer's picture
    void setMouseIcon(const QPixmap& icon);
    quint32 hwnd() const;  ///< the window's handle as the control reports it

  signals:
    void clicked();  ///< a click, by mouse, key, access key or an assistive tool
    /// A mouse button went down: button 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt;
    /// the position in pixels of the drawing surface.
    void mouseDown(int button, int shift, float x, float y);
    void mouseMove(int buttons, int shift, float x, float y);  ///< the mouse moved over it
    void mouseUp(int button, int shift, float x, float y);     ///< a mouse button went up
    void keyPress(int keyAscii);                               ///< a character was typed
    void keyDown(int keyCode, int shift);  ///< a key went down (its virtual-key code)
    void keyUp(int keyCode, int shift);    ///< a key went up
    void mouseOut();                       ///< the mouse left the button
    /// Design mode only: the stored property with this key changed.
    void propertyChanged(const QString& key);
    /// An option button was checked or unchecked (with valueChanged).
    void toggled(bool checked);
    /// Emitted once for each change of the property of the same name.
    void alignmentChanged(Alignment alignment);
    void showFocusChanged(bool showFocus);
    void graphicsModeChanged(GraphicsMode graphicsMode);
    void valueChanged(bool value);
    void optionButtonChanged(bool optionButton);
    void iconAlignmentChanged(IconAlignment iconAlignment);
    void embossEngraveShadowChanged(const QColor& embossEngraveShadow);
    void embossEngraveMidChanged(const QColor& embossEngraveMid);
    void gradientStartColorChanged(const QColor& gradientStartColor);
    void gradientOrientationChanged(GradientOrientation gradientOrientation);
    void gradientStopColorChanged(const QColor& gradientStopColor);
    void backColorChanged(const QColor& backColor);
    void foreColorChanged(const QColor& foreColor);
    void mouseOverChanged(const QColor& mouseOver);
    void iconChanged(const QPixmap& icon);
    void buttonTypeChanged(ButtonType buttonType);
    void captionChanged(const QString& caption);
    void iconSizeChanged(IconSize iconSize);
    void captionStyleChanged(CaptionStyle captionStyle);
    void colorSchemeChanged(ColorScheme colorScheme);
    void buttonStyleChanged(ButtonStyle buttonStyle);
    void captionOrientationChanged(CaptionOrientation captionOrientation);
    void mousePointerChanged(Pointer mousePointer);
    void containerChanged(const QString& container);
    void mouseIconChanged(const QPixmap& mouseIcon);

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

  private:
    friend class TarvexButtonWidgetPrivate;
    TarvexButtonWidget(std::unique_ptr<TarvexButtonWidgetPrivate> d, QWidget* parent);
    std::unique_ptr<TarvexButtonWidgetPrivate> d_;
};

}  // namespace tarvex::qt

Q_DECLARE_METATYPE(tarvex::qt::SystemColor)
