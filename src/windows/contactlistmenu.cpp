#include "windows/contactlistmenu.h"

#include "desktop/clock.h"
#include "desktop/failurewords.h"
#include "desktop/syncrunner.h"
#include "desktop/windowsystem.h"
#include "interchange/phonebookexport.h"
#include "interchange/transfertexts.h"
#include "printing/listpdf.h"
#include "printing/paintercanvas.h"
#include "printing/printedlist.h"
#include "store/contactlistview.h"
#include "store/partquery.h"
#include "store/phonebook.h"
#include "windows/contactgrid.h"
#include "windows/contactlistmodel.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPrinter>
#include <QThread>

#include <atomic>

namespace dialvault {

namespace {

// The rows the grid shows, in its order and narrowed by its find text.
PrintedRows shownRows(const ContactGrid &grid)
{
    const auto *model = qobject_cast<const ContactListModel *>(grid.model());
    return model ? model->shownRows() : PrintedRows{};
}

} // namespace

// A PDF written on a thread of its own: a hundred thousand entries take
// seconds, and the list stays usable meanwhile.
struct ContactListMenu::PdfSaving
{
    QString path;
    std::atomic<bool> stop = false;
    Result<qint64> written;
    std::unique_ptr<QThread> thread;
};

ContactListMenu::ContactListMenu(ContactGrid *grid, WindowSystem &windows, Clock &clock,
                                 const PhoneBookSource &phoneBook, const QList<QAction *> &editing,
                                 SyncRunner *sync)
    : QObject(grid)
    , m_grid(grid)
    , m_windows(windows)
    , m_clock(clock)
    , m_phoneBook(phoneBook)
    , m_sync(sync)
{
    for (QAction *action : editing)
        m_editing.append(action);
}

ContactListMenu::~ContactListMenu()
{
    // A window closed while saving leaves no half-written file behind.
    if (m_saving) {
        m_saving->stop = true;
        m_saving->thread->wait();
    }
}

void ContactListMenu::attach(ContactGrid *grid, WindowSystem &windows, Clock &clock,
                             const PhoneBookSource &phoneBook, const QList<QAction *> &editing,
                             SyncRunner *sync)
{
    auto *menu = new ContactListMenu(grid, windows, clock, phoneBook, editing, sync);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, menu, &ContactListMenu::showMenu);
}

void ContactListMenu::showMenu(const QPoint &position)
{
    QMenu menu(m_grid);
    QAction *exporting = menu.addAction(exportText());
    QAction *finding = menu.addAction(findText());
    QAction *printing = menu.addAction(printText());
    QAction *pdf = menu.addAction(pdfText());
    // One PDF at a time: a second would race the first for the same file.
    pdf->setEnabled(!m_saving);
    QAction *syncing = nullptr;
    if (m_sync) {
        menu.addSeparator();
        syncing = menu.addAction(syncText());
        // One sync at a time; the one under way says its end.
        syncing->setEnabled(!m_sync->running());
    }
    QList<QAction *> editing;
    for (const QPointer<QAction> &action : m_editing) {
        if (action)
            editing.append(action);
    }
    if (!editing.isEmpty())
        menu.addSeparator();
    menu.addActions(editing);
    QAction *chosen = m_windows.popupMenu(menu, m_grid->viewport()->mapToGlobal(position));
    if (editing.contains(chosen)) {
        if (chosen->isEnabled())
            chosen->trigger();
        return;
    }
    if (chosen == exporting)
        exportAll();
    else if (chosen == finding)
        findByPart();
    else if (chosen == printing)
        print();
    else if (chosen == pdf && pdf->isEnabled())
        saveAsPdf();
    else if (chosen && chosen == syncing && syncing->isEnabled())
        syncNow();
}

void ContactListMenu::syncNow()
{
    if (!m_sync)
        return;
    // Said over the list while it is open, else over the window in front:
    // the menu goes with the list, the sync does not.
    WindowSystem &windows = m_windows;
    const QPointer<QWidget> list = m_grid->window();
    const QPointer<SyncRunner> sync = m_sync;
    m_sync->start([&windows, list, sync](const SyncResult<SyncReport> &synced) {
        if (sync)
            windows.messageBox(sync->outcomeText(synced), synced.ok() ? MsgOkInformation : MsgOk,
                               std::nullopt, list);
    });
}

PrintedHeading ContactListMenu::heading() const
{
    const auto *model = qobject_cast<const ContactListModel *>(m_grid->model());
    return {m_grid->window()->windowTitle(), printedDateText(m_clock.now().date()),
            model ? model->view().filter : QString()};
}

void ContactListMenu::print()
{
    const PrintedRows rows = shownRows(*m_grid);
    const PrintedHeading printed = heading();
    Status failure;
    m_windows.previewPrint(m_grid->window(), printed.title, [&](QPrinter &printer) {
        PainterCanvas canvas(printer);
        const Result<qint64> done = printList(canvas, rows, printed);
        if (!done.ok())
            failure.error = done.error;
    });
    // Pages of entries that could not be read are not the list: say so
    // rather than let them pass for it.
    if (!failure.ok())
        m_windows.messageBox(failureText(tr("ليست چاپ نشد."), failure.error, m_phoneBook), MsgOk);
}

void ContactListMenu::saveAsPdf()
{
    if (m_saving)
        return;
    const std::optional<ChosenFile> chosen = m_windows.chooseFileToSave(
        m_grid->window(), tr("ذخيره به صورت PDF"),
        QDir::home().filePath(QStringLiteral("Dialvault.pdf")), {tr("PDF (*.pdf)")});
    if (!chosen)
        return;
    m_saving = std::make_unique<PdfSaving>();
    m_saving->path = chosen->path;
    if (QFileInfo(m_saving->path).suffix().isEmpty())
        m_saving->path += QStringLiteral(".pdf");
    PdfSaving *saving = m_saving.get();
    saving->thread.reset(QThread::create([saving, rows = shownRows(*m_grid), printed = heading()] {
        saving->written = writeListPdf(saving->path, rows, printed, &saving->stop);
    }));
    // Queued: a save told already by waitUntilSaved() is not told again.
    connect(saving->thread.get(), &QThread::finished, this, [this, saving] {
        if (m_saving.get() == saving)
            pdfSaved();
    });
    saving->thread->start();
}

void ContactListMenu::pdfSaved()
{
    if (!m_saving)
        return;
    // Told just before the thread ends; it ends at once.
    m_saving->thread->wait();
    const std::unique_ptr<PdfSaving> saving = std::move(m_saving);
    if (saving->written.ok())
        m_windows.messageBox(exportedText(saving->written.value, saving->path), MsgOkInformation);
    else
        m_windows.messageBox(notDoneText(saving->path, saving->written.error, false), MsgOk);
}

bool ContactListMenu::waitUntilSaved(int timeoutMs)
{
    if (!m_saving)
        return true;
    if (!m_saving->thread->wait(timeoutMs))
        return false;
    pdfSaved();
    return true;
}

void ContactListMenu::exportAll()
{
    const QString vcardFilter = tr("vCard (*.vcf)");
    const QString csvFilter = tr("CSV (*.csv)");
    const std::optional<ChosenFile> chosen = m_windows.chooseFileToSave(
        m_grid->window(), tr("ذخيره شماره ها"),
        QDir::home().filePath(QStringLiteral("Dialvault.vcf")), {vcardFilter, csvFilter});
    if (!chosen)
        return;
    // The name's own extension decides; a name without one takes the filter's.
    QString path = chosen->path;
    std::optional<ExportFormat> format = exportFormatOfPath(path);
    if (!format) {
        const bool csv = chosen->filter == csvFilter;
        format = csv ? ExportFormat::Csv : ExportFormat::VCard3;
        if (QFileInfo(path).suffix().isEmpty())
            path += csv ? QStringLiteral(".csv") : QStringLiteral(".vcf");
    }
    PhoneBook book(m_phoneBook);
    Status opened = book.open();
    if (!opened.ok()) {
        m_windows.messageBox(notOpenedText(m_phoneBook, opened.error), MsgOk);
        return;
    }
    const Result<qint64> written = exportPhoneBook(book, path, *format);
    if (written.ok())
        m_windows.messageBox(exportedText(written.value, path), MsgOkInformation);
    else
        m_windows.messageBox(notDoneText(path, written.error, false), MsgOk);
}

void ContactListMenu::findByPart()
{
    const std::optional<QString> text
        = m_windows.askText(m_grid->window(), tr("جستجو"), tr("بخشي از نام يا شماره:"));
    if (!text || text->isEmpty())
        return;
    // The rows as the grid shows them, so that the rows selected are the
    // ones that match there, whatever changed in the file since.
    const PartQuery query(*text);
    QList<int> matching;
    QAbstractItemModel *model = m_grid->model();
    for (int row = 0; model && row < model->rowCount(); ++row) {
        if (query.matches(model->index(row, 0).data().toString(),
                          model->index(row, 1).data().toString(), PartPlace::Anywhere))
            matching.append(row);
    }
    m_grid->selectRows(matching);
    if (matching.isEmpty()) {
        m_windows.messageBox(tr("نام يا شماره اي با اين بخش پيدا نشد."), MsgOk);
        return;
    }
    m_grid->setFocus(Qt::OtherFocusReason);
}

} // namespace dialvault
