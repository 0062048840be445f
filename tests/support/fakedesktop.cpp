#include "support/fakedesktop.h"

#include <QAction>
#include <QMenu>
#include <QPageSize>
#include <QPrinter>

namespace dialvault {

int FakeDesktop::messageBox(const QString &text, int style, const std::optional<QString> &title,
                            QWidget *owner)
{
    const Box box{text, style, title.value_or(applicationTitle()), owner};
    boxes.append(box);
    if (whileOpen)
        whileOpen(box);
    if (!answers.isEmpty())
        return answers.takeFirst();
    return style == MsgYesNoQuestion ? AnswerNo : AnswerOk;
}

void FakeDesktop::showWindow(QWidget *window, QWidget *opener)
{
    shown.append(window);
    openedFrom.append(opener);
    window->show();
    window->activateWindow();
}

void FakeDesktop::unloadWindow(QWidget *window)
{
    unloaded.append(window);
    window->hide();
    window->deleteLater();
}

void FakeDesktop::endProgram(int status)
{
    ++endCount;
    exitStatus = status;
}

PhoneBookSource FakeDesktop::source()
{
    return server.isEmpty() ? PhoneBookSource::inFolder(folder) : PhoneBookSource::server(server);
}

QDateTime FakeDesktop::now()
{
    return clock;
}

QPoint FakeDesktop::pointerPosition()
{
    return cursor;
}

bool FakeDesktop::startSystemMove(QWidget *window)
{
    if (compositorMoves)
        systemMoves.append(window);
    return compositorMoves;
}

std::optional<quint32> FakeDesktop::chooseColour(QWidget *, quint32 initial)
{
    colourPickerStarts.append(initial);
    if (colourAnswers.isEmpty())
        return std::nullopt;
    return colourAnswers.takeFirst();
}

std::optional<ChosenFile> FakeDesktop::chooseFileToSave(QWidget *, const QString &, const QString &,
                                                        const QStringList &filters)
{
    fileDialogFilters.append(filters);
    if (fileAnswers.isEmpty())
        return std::nullopt;
    return fileAnswers.takeFirst();
}

std::optional<QString> FakeDesktop::askText(QWidget *, const QString &, const QString &)
{
    if (textAnswers.isEmpty())
        return std::nullopt;
    return textAnswers.takeFirst();
}

void FakeDesktop::previewPrint(QWidget *, const QString &,
                               const std::function<void(QPrinter &)> &paint)
{
    ++printPreviews;
    if (printPath.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(printPath);
    paint(printer);
}

QAction *FakeDesktop::popupMenu(QMenu &menu, const QPoint &)
{
    QStringList texts;
    QAction *chosen = nullptr;
    for (QAction *action : menu.actions()) {
        texts.append(action->text());
        if (!menuChoice.isEmpty() && action->text() == menuChoice)
            chosen = action;
    }
    menusShown.append(texts);
    return chosen;
}

} // namespace dialvault
