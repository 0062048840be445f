#include "support/fakeservices.h"

#include "layout/services.h"
#include "layout/settingsstore.h"

#include <QAction>
#include <QMenu>

namespace dialvault {

FakeServices::FakeServices()
{
    setServices(this);
}

FakeServices::~FakeServices()
{
    setServices(nullptr);
}

int FakeServices::messageBox(const QString &text, int style, const std::optional<QString> &title)
{
    const Box box{text, style, title.value_or(applicationTitle())};
    boxes.append(box);
    if (whileOpen)
        whileOpen(box);
    if (!answers.isEmpty())
        return answers.takeFirst();
    return style == MsgYesNoQuestion ? AnswerNo : AnswerOk;
}

void FakeServices::showWindow(QWidget *window)
{
    shown.append(window);
    window->show();
    window->activateWindow();
}

void FakeServices::unloadWindow(QWidget *window)
{
    unloaded.append(window);
    window->hide();
    window->deleteLater();
}

void FakeServices::endProgram(int status)
{
    ++endCount;
    exitStatus = status;
}

QString FakeServices::programFolder()
{
    return folder;
}

PhoneBookSource FakeServices::phoneBookSource()
{
    return server.isEmpty() ? Services::phoneBookSource() : PhoneBookSource::server(server);
}

QDateTime FakeServices::now()
{
    return clock;
}

QPoint FakeServices::cursorPos()
{
    return cursor;
}

QString FakeServices::readSetting(const QString &name)
{
    return SettingsStore(settingsFile()).read(name);
}

bool FakeServices::writeSetting(const QString &name, const QString &value)
{
    return SettingsStore(settingsFile()).write(name, value);
}

std::optional<quint32> FakeServices::chooseColour(QWidget *, quint32 initial)
{
    colourPickerStarts.append(initial);
    if (colourAnswers.isEmpty())
        return std::nullopt;
    return colourAnswers.takeFirst();
}

std::optional<ChosenFile> FakeServices::chooseFileToSave(QWidget *, const QString &,
                                                         const QString &,
                                                         const QStringList &filters)
{
    fileDialogFilters.append(filters);
    if (fileAnswers.isEmpty())
        return std::nullopt;
    return fileAnswers.takeFirst();
}

std::optional<QString> FakeServices::askText(QWidget *, const QString &, const QString &)
{
    if (textAnswers.isEmpty())
        return std::nullopt;
    return textAnswers.takeFirst();
}

QAction *FakeServices::popupMenu(QMenu &menu, const QPoint &)
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
