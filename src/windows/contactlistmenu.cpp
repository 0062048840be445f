#include "windows/contactlistmenu.h"

#include "desktop/windowsystem.h"
#include "interchange/phonebookexport.h"
#include "interchange/transfertexts.h"
#include "store/partquery.h"
#include "store/phonebook.h"
#include "windows/contactgrid.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace dialvault {

ContactListMenu::ContactListMenu(ContactGrid *grid, WindowSystem &windows,
                                 const PhoneBookSource &phoneBook)
    : QObject(grid)
    , m_grid(grid)
    , m_windows(windows)
    , m_phoneBook(phoneBook)
{ }

void ContactListMenu::attach(ContactGrid *grid, WindowSystem &windows,
                             const PhoneBookSource &phoneBook)
{
    auto *menu = new ContactListMenu(grid, windows, phoneBook);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, menu, &ContactListMenu::showMenu);
}

void ContactListMenu::showMenu(const QPoint &position)
{
    QMenu menu(m_grid);
    QAction *exporting = menu.addAction(exportText());
    QAction *finding = menu.addAction(findText());
    QAction *chosen = m_windows.popupMenu(menu, m_grid->viewport()->mapToGlobal(position));
    if (chosen == exporting)
        exportAll();
    else if (chosen == finding)
        findByPart();
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
