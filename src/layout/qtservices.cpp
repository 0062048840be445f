#include "layout/qtservices.h"

#include "button/colour.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QWidget>

#include <cstdlib>

namespace dialvault {

namespace {

QtServices &realServices()
{
    static QtServices real;
    return real;
}

Services *current = nullptr;

} // namespace

Services &services()
{
    return current ? *current : realServices();
}

void setServices(Services *replacement)
{
    current = replacement;
}

void settleServices(const PhoneBookPlace &place, const QString &server)
{
    realServices().usePlace(place);
    realServices().useServer(server);
}

int QtServices::messageBox(const QString &text, int style, const std::optional<QString> &title)
{
    // Over the window that asked, laid out left to right like every window
    // of the program: a Persian text still reads right to left within its
    // line, but the paragraph starts at the left, as the texts were written.
    QMessageBox box(QApplication::activeWindow());
    box.setLayoutDirection(Qt::LeftToRight);
    box.setWindowTitle(title.value_or(applicationTitle()));
    box.setTextFormat(Qt::RichText);
    box.setText(QStringLiteral("<p dir=\"ltr\" align=\"left\">%1</p>")
                    .arg(text.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>"))));
    if (style == MsgYesNoQuestion) {
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    } else {
        box.setIcon(style == MsgOkInformation ? QMessageBox::Information : QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return AnswerYes;
    case QMessageBox::No:
        return AnswerNo;
    default:
        return AnswerOk;
    }
}

void QtServices::showWindow(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

void QtServices::unloadWindow(QWidget *window)
{
    window->hide();
    window->deleteLater();
}

void QtServices::endProgram(int exitStatus)
{
    // Leave at once: no close handlers, no store teardown.
    std::fflush(nullptr);
    std::_Exit(exitStatus);
}

QString QtServices::programFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString QtServices::phoneBookFolder()
{
    return place_ ? place_->folder : programFolder();
}

PhoneBookSource QtServices::phoneBookSource()
{
    return server_.isEmpty() ? Services::phoneBookSource() : PhoneBookSource::server(server_);
}

void QtServices::useServer(const QString &url)
{
    server_ = url;
}

void QtServices::usePlace(const PhoneBookPlace &place)
{
    place_ = place;
    settings_.reset();
}

SettingsStore &QtServices::settings()
{
    if (!settings_) {
        const bool ownFile = place_ && !place_->settingsFile.isEmpty();
        settings_ = ownFile ? std::make_unique<SettingsStore>(place_->settingsFile)
                            : std::make_unique<SettingsStore>();
    }
    return *settings_;
}

QDateTime QtServices::now()
{
    return QDateTime::currentDateTime();
}

QPoint QtServices::cursorPos()
{
    return QCursor::pos();
}

QString QtServices::readSetting(const QString &name)
{
    return settings().read(name);
}

bool QtServices::writeSetting(const QString &name, const QString &value)
{
    return settings().write(name, value);
}

std::optional<quint32> QtServices::chooseColour(QWidget *owner, quint32 initial)
{
    const QColor chosen = QColorDialog::getColor(QColor::fromRgb(toQRgb(initial)), owner);
    if (!chosen.isValid())
        return std::nullopt;
    return fromQRgb(chosen.rgb());
}

std::optional<ChosenFile> QtServices::chooseFileToSave(QWidget *owner, const QString &title,
                                                       const QString &suggested,
                                                       const QStringList &filters)
{
    ChosenFile chosen;
    chosen.path = QFileDialog::getSaveFileName(owner, title, suggested,
                                               filters.join(QStringLiteral(";;")), &chosen.filter);
    if (chosen.path.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<QString> QtServices::askText(QWidget *owner, const QString &title,
                                           const QString &label)
{
    bool accepted = false;
    const QString text
        = QInputDialog::getText(owner, title, label, QLineEdit::Normal, QString(), &accepted);
    if (!accepted)
        return std::nullopt;
    return text;
}

QAction *QtServices::popupMenu(QMenu &menu, const QPoint &globalPos)
{
    return menu.exec(globalPos);
}

} // namespace dialvault
