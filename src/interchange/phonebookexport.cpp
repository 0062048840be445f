#include "interchange/phonebookexport.h"

#include "interchange/csvwriter.h"
#include "interchange/vcardwriter.h"
#include "store/durablefiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <variant>

namespace dialvault {

namespace {

// Every entry of `book` in stored order, written to `device` as it is read.
Result<qint64> writeEntries(PhoneBook &book, QFileDevice &device, ExportFormat format)
{
    std::variant<VCardWriter, CsvWriter> writer = format == ExportFormat::Csv
        ? std::variant<VCardWriter, CsvWriter>(std::in_place_type<CsvWriter>, device)
        : std::variant<VCardWriter, CsvWriter>(std::in_place_type<VCardWriter>, device,
                                               format == ExportFormat::VCard4 ? VCardVersion::V4
                                                                              : VCardVersion::V3);
    Result<qint64> result;
    bool written = true;
    const Status read = book.forEachEntry([&](const ContactEntry &entry) {
        written = std::visit([&](auto &w) { return w.write(entry); }, writer);
        result.value += written ? 1 : 0;
        return written;
    });
    if (written)
        written = std::visit([](auto &w) { return w.finish(); }, writer);
    if (!read.ok()) {
        result.error = read.error;
    } else if (!written) {
        const QString why = std::visit([](auto &w) { return w.errorString(); }, writer);
        result.error = {1, why, fileErrorCause(device.error())};
    }
    if (!result.ok())
        result.value = 0;
    return result;
}

} // namespace

std::optional<ExportFormat> exportFormatNamed(const QString &name)
{
    if (name == QLatin1String("vcard3"))
        return ExportFormat::VCard3;
    if (name == QLatin1String("vcard4"))
        return ExportFormat::VCard4;
    if (name == QLatin1String("csv"))
        return ExportFormat::Csv;
    return std::nullopt;
}

std::optional<ExportFormat> exportFormatOfPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("vcf") || suffix == QLatin1String("vcard"))
        return ExportFormat::VCard3;
    if (suffix == QLatin1String("csv"))
        return ExportFormat::Csv;
    return std::nullopt;
}

Result<qint64> exportPhoneBook(PhoneBook &book, const QString &path, ExportFormat format)
{
    const QFileInfo target(path);
    // A device or a pipe (/dev/stdout, whose link leads nowhere on disk)
    // cannot be replaced, only written to as the entries come.
    if (target.exists() ? !target.isFile() : target.isSymLink()) {
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly))
            return {fileDeviceFailure(device)};
        return writeEntries(book, device, format);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {fileDeviceFailure(file)};
    const Result<qint64> written = writeEntries(book, file, format);
    if (!written.ok()) {
        file.cancelWriting();
        return written;
    }
    if (!file.commit())
        return {fileDeviceFailure(file)};
    return written;
}

} // namespace dialvault
