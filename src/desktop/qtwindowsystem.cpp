#include "desktop/qtwindowsystem.h"

#include "button/colour.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWidget>
#include <QWindow>

#include <cstdlib>

namespace dialvault {

namespace {

// Wayland's compositor places and moves every window; a program cannot.
bool compositorPlacesWindows()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

int QtWindowSystem::messageBox(const QString &text, int style, const std::optional<QString> &title,
                               QWidget *owner)
{
    // Over the window that asked, laid out left to right like every window
    // of the program: a Persian text still reads right to left within its
    // line, but the paragraph starts at the left, as the texts were written.
    QMessageBox box(owner ? owner : QApplication::activeWindow());
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

void QtWindowSystem::showWindow(QWidget *window, QWidget *openedFrom)
{
    if (openedFrom && compositorPlacesWindows() && !window->isVisible()) {
        // A child of the main window, however deep the chain of windows
        // that opened it: the compositor keeps it with that window.
        QWindow *main = openedFrom->window()->windowHandle();
        while (main && main->transientParent())
            main = main->transientParent();
        window->winId();
        if (main && main != window->windowHandle())
            window->windowHandle()->setTransientParent(main);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void QtWindowSystem::unloadWindow(QWidget *window)
{
    window->hide();
    window->deleteLater();
}

void QtWindowSystem::endProgram(int exitStatus)
{
    // Leave at once: no close handlers, no store teardown.
    std::fflush(nullptr);
    std::_Exit(exitStatus);
}

QPoint QtWindowSystem::pointerPosition()
{
    return QCursor::pos();
}

bool QtWindowSystem::startSystemMove(QWidget *window)
{
    if (!compositorPlacesWindows())
        return false;
    window->winId();
    return window->windowHandle()->startSystemMove();
}

std::optional<quint32> QtWindowSystem::chooseColour(QWidget *owner, quint32 initial)
{
    const QColor chosen = QColorDialog::getColor(QColor::fromRgb(toQRgb(initial)), owner);
    if (!chosen.isValid())
        return std::nullopt;
    return fromQRgb(chosen.rgb());
}

std::optional<ChosenFile> QtWindowSystem::chooseFileToSave(QWidget *owner, const QString &title,
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

std::optional<QString> QtWindowSystem::askText(QWidget *owner, const QString &title,
                                               const QString &label)
{
    bool accepted = false;
    const QString text
        = QInputDialog::getText(owner, title, label, QLineEdit::Normal, QString(), &accepted);
    if (!accepted)
        return std::nullopt;
    return text;
}

QAction *QtWindowSystem::popupMenu(QMenu &menu, const QPoint &globalPos)
{
    return menu.exec(globalPos);
}

void QtWindowSystem::previewPrint(QWidget *owner, const QString &title,
                                  const std::function<void(QPrinter &)> &paint)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(title);
    QPrintPreviewDialog dialog(&printer, owner);
    dialog.setWindowTitle(title);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter *target) { paint(*target); });
    dialog.exec();
}

} // namespace dialvault
