#include "interchange/phonebookexport.h"

#include "interchange/csvwriter.h"
#include "interchange/vcardwriter.h"

#include <QFileInfo>
#include <QSaveFile>

#include <variant>

namespace dialvault {

namespace {

Result<qint64> fileFailure(const QSaveFile &file, FailureCause cause)
{
    Result<qint64> result;
    result.error = {1, file.errorString(), cause};
    return result;
}

FailureCause causeOf(QFileDevice::FileError error)
{
    switch (error) {
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        return FailureCause::CannotOpen;
    case QFileDevice::ResourceError:
        return FailureCause::DiskFull;
    default:
        return FailureCause::Other;
    }
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fileFailure(file, causeOf(file.error()));
    std::variant<VCardWriter, CsvWriter> writer = format == ExportFormat::Csv
        ? std::variant<VCardWriter, CsvWriter>(std::in_place_type<CsvWriter>, file)
        : std::variant<VCardWriter, CsvWriter>(std::in_place_type<VCardWriter>, file,
                                               format == ExportFormat::VCard4 ? VCardVersion::V4
                                                                              : VCardVersion::V3);
    Result<qint64> result;
    bool written = true;
    const Status read = book.forEachEntry([&](const ContactEntry &entry) {
        written = std::visit([&](auto &w) { return w.write(entry); }, writer);
        result.value += written ? 1 : 0;
        return written;
    });
    if (!read.ok()) {
        file.cancelWriting();
        result.error = read.error;
        result.value = 0;
        return result;
    }
    if (written)
        written = std::visit([](auto &w) { return w.finish(); }, writer);
    if (!written) {
        const QString why = std::visit([](auto &w) { return w.errorString(); }, writer);
        file.cancelWriting();
        result.error = {1, why, causeOf(file.error())};
        result.value = 0;
        return result;
    }
    if (!file.commit())
        return fileFailure(file, causeOf(file.error()));
    return result;
}

} // namespace dialvault
