#pragma once

#include "desktop/desktop.h"
#include "desktop/settingsstore.h"

#include <QList>
#include <QPointer>
#include <QTemporaryDir>
#include <QWidget>

#include <functional>

namespace dialvault {

// Stands in for the desktop: message boxes are recorded and answered at once,
// windows shown and unloaded are recorded, ending the program only counts,
// the clock and the pointer say what the test sets, the phone book is the one
// in `folder` (or on `server`), and the settings are a scratch store, never
// the user's own.
class FakeDesktop final : public WindowSystem, public Clock, public PhoneBookLocation
{
public:
    struct Box
    {
        QString text;
        int style = 0;
        QString title; // as shown: the application title when none was given
        QPointer<QWidget> owner; // the window it was asked over; null: the active one
    };

    // What the windows under test are given.
    Desktop desktop() { return {*this, *this, settings, *this}; }

    int messageBox(const QString &text, int style, const std::optional<QString> &title,
                   QWidget *owner) override;
    // Tests show windows through here as the program's buttons do.
    void showWindow(QWidget *window, QWidget *openedFrom = nullptr) override;
    void unloadWindow(QWidget *window) override;
    void endProgram(int exitStatus) override;
    QPoint pointerPosition() override;
    bool startSystemMove(QWidget *window) override;
    std::optional<quint32> chooseColour(QWidget *owner, quint32 initial) override;
    std::optional<ChosenFile> chooseFileToSave(QWidget *owner, const QString &title,
                                               const QString &suggested,
                                               const QStringList &filters) override;
    std::optional<QString> askText(QWidget *owner, const QString &title,
                                   const QString &label) override;
    QAction *popupMenu(QMenu &menu, const QPoint &globalPos) override;
    void previewPrint(QWidget *owner, const QString &title,
                      const std::function<void(QPrinter &)> &paint) override;
    QDateTime now() override;
    PhoneBookSource source() override;

    QList<Box> boxes;
    // Answers for the next boxes, in order; when none is queued a Yes/No box
    // is answered No and every other box OK.
    QList<int> answers;
    // Runs while a box is open, before it is answered.
    std::function<void(const Box &)> whileOpen;
    QList<QPointer<QWidget>> shown;
    // The window each showWindow named as the opener, in step with `shown`.
    QList<QPointer<QWidget>> openedFrom;
    // Whether the compositor moves windows (Wayland), and the windows whose
    // move was handed to it.
    bool compositorMoves = false;
    QList<QPointer<QWidget>> systemMoves;
    QList<QPointer<QWidget>> unloaded;
    int endCount = 0;
    int exitStatus = -1; // as the last endProgram asked
    QString folder;
    // A phone book server's URL: the windows then use it in place of the
    // phone book in `folder`.
    QString server;
    QDateTime clock = QDateTime(QDate(2026, 12, 7), QTime(8, 40, 53, 250));
    QPoint cursor;
    QTemporaryDir settingsFolder;
    QString settingsFile() const { return settingsFolder.filePath(QStringLiteral("settings.ini")); }
    SettingsStore settings{settingsFile()};
    // The colour picker's answers, in order (nothing: Cancel); when none is
    // queued the picker is cancelled. What it was opened with is recorded.
    QList<std::optional<quint32>> colourAnswers;
    QList<quint32> colourPickerStarts;
    // The file dialog's answers, in order (nothing: Cancel; cancelled when
    // none is queued), and the filters each opening offered.
    QList<std::optional<ChosenFile>> fileAnswers;
    QList<QStringList> fileDialogFilters;
    // The text boxes' answers, in order (nothing: Cancel; cancelled when none
    // is queued).
    QList<std::optional<QString>> textAnswers;
    // The texts of the actions of each menu shown, and which action to pick
    // (by its text; dismissed when empty or not there).
    QList<QStringList> menusShown;
    QString menuChoice;
    // The print previews opened; each is drawn once into a PDF at
    // `printPath` when it is set.
    int printPreviews = 0;
    QString printPath;
};

} // namespace dialvault
