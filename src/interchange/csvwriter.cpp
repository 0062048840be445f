#include "interchange/csvwriter.h"

#include "store/storeschema.h"

#include <QLocale>
#include <QStringList>

namespace dialvault {

QString csvCell(const QString &cell)
{
    const bool needsQuotes = cell.contains(u'"') || cell.contains(u',') || cell.contains(u'\n')
        || cell.contains(u'\r');
    if (!needsQuotes)
        return cell;
    QString quoted = cell;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

CsvWriter::CsvWriter(QIODevice &device)
    : m_sink(device)
{ }

bool CsvWriter::writeHeaderOnce()
{
    if (m_headerWritten)
        return m_sink.ok();
    m_headerWritten = true;
    const QStringList fields{StoreSchema::nameField, StoreSchema::phoneField,
                             StoreSchema::noteField, StoreSchema::rowNumberField};
    return m_sink.put("\xEF\xBB\xBF" + fields.join(u',').toUtf8() + "\r\n");
}

bool CsvWriter::write(const ContactEntry &entry)
{
    if (!writeHeaderOnce())
        return false;
    const QString row = csvCell(entry.name) + u',' + csvCell(entry.phone) + u','
        + csvCell(entry.note) + u','
        + QString::number(entry.rowNumber, 'g', QLocale::FloatingPointShortest);
    return m_sink.put(row.toUtf8() + "\r\n");
}

bool CsvWriter::finish()
{
    return writeHeaderOnce() && m_sink.finish();
}

} // namespace dialvault
