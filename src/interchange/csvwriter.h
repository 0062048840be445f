#pragma once

#include "interchange/outputsink.h"
#include "store/contactentry.h"

#include <QString>

class QIODevice;

namespace dialvault {

// Writes entries as CSV in the phone book's own four columns, one row at a
// time, straight to the device: UTF-8 with a byte order mark (so that a
// spreadsheet reads Persian right), CR LF between rows, RFC 4180 quoting.
// The header goes out with the first entry, or at finish() when there is none.
class CsvWriter
{
public:
    explicit CsvWriter(QIODevice &device);

    bool write(const ContactEntry &entry);
    bool finish();
    // Empty while every write succeeded.
    QString errorString() const { return m_sink.errorString(); }

private:
    bool writeHeaderOnce();

    OutputSink m_sink;
    bool m_headerWritten = false;
};

// `cell` as a CSV cell: in double quotes, with quotes doubled, when it holds
// a quote, a comma or a line break; as it is otherwise.
QString csvCell(const QString &cell);

} // namespace dialvault
