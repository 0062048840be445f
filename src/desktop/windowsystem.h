#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QAction;
class QMenu;
class QPrinter;
class QWidget;

namespace dialvault {

// Message box styles used by the windows: OK only, Yes/No with the question
// icon, OK with the information icon.
enum MessageStyle : int { MsgOk = 0, MsgYesNoQuestion = 36, MsgOkInformation = 64 };
// Answers a message box returns.
enum MessageAnswer : int { AnswerOk = 1, AnswerYes = 6, AnswerNo = 7 };

// Title of every message box that names none of its own.
inline const QString &applicationTitle()
{
    static const QString title = QStringLiteral("Dialvault");
    return title;
}

// A file chosen to be written, and the filter it was chosen under.
struct ChosenFile
{
    QString path;
    QString filter;
};

// Everything the windows ask of the window system: boxes and dialogs,
// windows shown and unloaded, the pointer, the program's end. Tests answer
// it without a real modal loop.
class WindowSystem
{
public:
    virtual ~WindowSystem() = default;

    // A modal box over `owner`, or over the active window when none is
    // named; returns the answer (AnswerOk, AnswerYes, AnswerNo).
    virtual int messageBox(const QString &text, int style,
                           const std::optional<QString> &title = std::nullopt,
                           QWidget *owner = nullptr)
        = 0;
    // Shows a top-level window modeless, or brings it forward if already
    // shown. `openedFrom` is the window whose button opened it: where the
    // compositor places windows (Wayland), the new one becomes a child of
    // the main window that began the chain of openings, which compositors
    // keep it above.
    virtual void showWindow(QWidget *window, QWidget *openedFrom = nullptr) = 0;
    // Closes and destroys a window; the next show builds it afresh.
    virtual void unloadWindow(QWidget *window) = 0;
    // Ends the program at once with the given exit status: no window's
    // closing handler runs.
    virtual void endProgram(int exitStatus = 0) = 0;
    // The pointer's position on the screen, in pixels.
    virtual QPoint pointerPosition() = 0;
    // Hands the move of `window` to the compositor, as a title bar's drag
    // does, while a button is held: on Wayland a program cannot place its
    // own windows. False where the program moves them itself (X11).
    virtual bool startSystemMove(QWidget *window) = 0;
    // The modal colour picker over `owner`, starting at `initial`
    // (0x00BBGGRR); nothing when the person cancels.
    virtual std::optional<quint32> chooseColour(QWidget *owner, quint32 initial) = 0;
    // The standard dialog for a file to write, over `owner`, offering
    // `suggested` and the `filters` ("vCard (*.vcf)"); the chosen file and
    // filter, nothing when the person cancels.
    virtual std::optional<ChosenFile> chooseFileToSave(QWidget *owner, const QString &title,
                                                       const QString &suggested,
                                                       const QStringList &filters)
        = 0;
    // A modal box asking for one line of text; nothing when cancelled.
    virtual std::optional<QString> askText(QWidget *owner, const QString &title,
                                           const QString &label)
        = 0;
    // Shows `menu` at `globalPos` until the person picks an action or
    // dismisses it; the action picked, or null.
    virtual QAction *popupMenu(QMenu &menu, const QPoint &globalPos) = 0;
    // The print preview over `owner`, on A4: `paint` draws the pages on the
    // printer it is given, for the preview and again for printing.
    virtual void previewPrint(QWidget *owner, const QString &title,
                              const std::function<void(QPrinter &)> &paint)
        = 0;
};

} // namespace dialvault
