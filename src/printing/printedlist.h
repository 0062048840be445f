#pragma once

#include "store/contactlistrow.h"
#include "store/storeerror.h"

#include <QDate>
#include <QLocale>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

namespace dialvault {

class ContactListSnapshot;
class PageCanvas;
struct ContactListView;

// The entries a printout shows, in the order it shows them, read a few
// hundred at a time as the pages are drawn.
struct PrintedRows
{
    qint64 count = 0;
    std::function<Result<ContactListRows>(qint64 first, int count)> read;
};

// The rows of `view`, in its order, read from `snapshot`: what the list
// shows, from any thread.
PrintedRows printedRowsOf(std::shared_ptr<ContactListSnapshot> snapshot,
                          std::shared_ptr<const ContactListView> view);

// What a printout says above the entries.
struct PrintedHeading
{
    QString title;
    QString date; // in the reader's calendar (printedDateText)
    QString filter; // the text the list was narrowed by; empty for every entry
};

// The phone book as a printed table, right to left: name, phone number and
// note of every entry, each page headed by the title and the date and
// numbered at its foot. A long name or note wraps within its column, never
// cut; an entry too long for a whole page goes on over the next. Rows are
// read and drawn as they come, so any number of entries takes the memory of
// a page. The number of entries printed; nothing more is drawn once `stop`
// is set.
Result<qint64> printList(PageCanvas &canvas, const PrintedRows &rows, const PrintedHeading &heading,
                         const std::atomic<bool> *stop = nullptr);

// The date as the heading shows it: the locale's long date, in the Solar
// Hijri calendar under a Persian locale.
QString printedDateText(const QDate &date, const QLocale &locale = QLocale());

} // namespace dialvault
