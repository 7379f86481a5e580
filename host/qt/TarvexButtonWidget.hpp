// The widget as the programs of this tree reach it (the Vornik window, the tools, the tests):
// the public widget, and what the installed headers leave out — the control inside it, its
// stored property sets, its event sink, design mode, message-box services, pictures and regions.
// Not installed: nothing here is part of the library's interface.
#pragma once

#include <QPalette>
#include <QRegion>
#include <deque>
#include <memory>
#include <optional>
#include <tarvex/TarvexButtonWidget.hpp>
#include <vector>

#include "button/HostServices.hpp"
#include "button/TarvexButton.hpp"

namespace tarvex {
class PropertyBag;
}  // namespace tarvex

namespace tarvex::qt {

// ---- The control inside a widget ---------------------------------------------------------------

/// The control; it lives as long as the widget (HasButton is false only while the widget is
/// being destroyed).
bool HasButton(const TarvexButtonWidget& widget);
TarvexButton& ButtonOf(TarvexButtonWidget& widget);
const TarvexButton& ButtonOf(const TarvexButtonWidget& widget);
/// The widget's answers to the control (its host services).
ControlHost& HostOf(TarvexButtonWidget& widget);
const ControlHost& HostOf(const TarvexButtonWidget& widget);
/// The index the widget was created with (an element of a control array).
std::optional<int> IndexOf(const TarvexButtonWidget& widget);

/// Creates the control from a stored property set (a saved layout being loaded): the
/// new-instance defaults do not run, only the reading of the set. Throws what the reading throws
/// (a value of the wrong kind, for example). The parent owns the widget.
TarvexButtonWidget* CreateButtonWidget(QWidget* parent, const QString& name,
                                       const PropertyBag& stored,
                                       std::optional<int> index = std::nullopt);
/// Reads a stored property set into the control (the loading of a saved layout).
void LoadProperties(TarvexButtonWidget& widget, const PropertyBag& bag);

/// Handlers that receive the events with their arguments by reference (may be null); the Qt
/// signals carry the same events by value. The sink must outlive the widget or be reset.
void SetEventSink(TarvexButtonWidget& widget, ButtonEvents* sink);
/// False puts the control in design mode (the look-shaping properties then change). Default true:
/// the running program.
void SetUserMode(TarvexButtonWidget& widget, bool userMode);
/// The form's font object, answered as the ambient font and the form's font (by default one built
/// from the parent's QFont when the widget is created). Shared, not copied. The control hears of
/// it as an ambient "Font" change and takes the object as its caption font.
void SetAmbientFont(TarvexButtonWidget& widget, FontRef font);
/// Whether property writes are still taken as the stored settings of a layout being loaded.
bool IsLoading(const TarvexButtonWidget& widget);
/// Ends the loading (the first show does it): later writes go through the property procedures.
void FinishLoading(TarvexButtonWidget& widget);

// ---- Message boxes -----------------------------------------------------------------------------

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

// ---- Pictures, colours, shapes -----------------------------------------------------------------

/// Reads a PNG, ICO, BMP or GIF file into a picture with an ARGB surface (an .ico file gives an
/// icon picture, anything else a bitmap). Throws HostError naming the file when it cannot be read.
PictureRef LoadPicture(const QString& path);

/// Maps a Qt palette onto the system colours the drawing layer answers from. Colours that a
/// palette does not carry keep their classic values.
void ApplyDesktopPalette(const QPalette& palette);

/// A drawing-layer region as a Qt region, span by span (exact, no scaling).
QRegion ToQRegion(const gdi::Region& region);

}  // namespace tarvex::qt
