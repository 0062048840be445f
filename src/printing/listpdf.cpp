#include "printing/listpdf.h"

#include "printing/pdfcanvas.h"
#include "store/durablefiles.h"

#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QSaveFile>

namespace dialvault {

namespace {

constexpr qreal marginPoints = 42.5; // 15 mm

Result<qint64> writeTo(QFileDevice &file, const PrintedRows &rows, const PrintedHeading &heading,
                       const std::atomic<bool> *stop)
{
    PdfCanvas canvas(file, QPageSize(QPageSize::A4).size(QPageSize::Point), marginPoints,
                     heading.title);
    Result<qint64> printed = printList(canvas, rows, heading, stop);
    // What the canvas says of a failed write is the device's own message.
    if (!printed.ok() && printed.error.cause == FailureCause::Other && file.error() != 0)
        printed.error.cause = fileErrorCause(file.error());
    return printed;
}

} // namespace

Result<qint64> writeListPdf(const QString &path, const PrintedRows &rows,
                            const PrintedHeading &heading, const std::atomic<bool> *stop)
{
    const QFileInfo target(path);
    if (target.exists() ? !target.isFile() : target.isSymLink()) {
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly))
            return {fileDeviceFailure(device)};
        return writeTo(device, rows, heading, stop);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {fileDeviceFailure(file)};
    const Result<qint64> written = writeTo(file, rows, heading, stop);
    if (!written.ok() || (stop && *stop)) {
        file.cancelWriting();
        return written;
    }
    if (!file.commit())
        return {fileDeviceFailure(file)};
    return written;
}

bool isPdfPath(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
}

} // namespace dialvault
