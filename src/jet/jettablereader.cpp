#include "jet/jettablereader.h"

#include "jet/jetfailure.h"
#include "jet/jetsignature.h"
#include "jet/jettext.h"
#include "store/storeschema.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStringList>
#include <QtEndian>

// libmdb's header includes glib inside its extern "C" block; glib's C++
// parts must be seen first, outside it.
#include <glib.h>
#include <mdbtools.h>

#include <sys/stat.h>

#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace dialvault {

namespace {

// Row offsets on a data page carry two flags above the offset itself.
constexpr int rowOffsetMask = 0x1FFF;
// A memo or OLE field in the row: length and flags, a page and row pointer, and 4 unused bytes.
constexpr int longValueHeaderSize = 12;
constexpr quint32 longValueInline = 0x80000000u;
constexpr quint32 longValueOnePage = 0x40000000u;
constexpr quint32 longValueFlags = 0xC0000000u;
constexpr uchar dataPageType = 0x01;
// Jet allows 255 fields; libmdb cracks rows into a fixed array of 256.
constexpr unsigned maxFields = 255;

struct HandleCloser
{
    void operator()(MdbHandle *mdb) const { mdb_close(mdb); }
};
struct TableFreer
{
    void operator()(MdbTableDef *table) const { mdb_free_tabledef(table); }
};
using Handle = std::unique_ptr<MdbHandle, HandleCloser>;
using Table = std::unique_ptr<MdbTableDef, TableFreer>;

Status damaged(const QString &description)
{
    return jetFailure(FailureCause::Damaged, description);
}

quint16 uint16At(const uchar *p)
{
    return qFromLittleEndian<quint16>(p);
}

quint32 uint32At(const uchar *p)
{
    return qFromLittleEndian<quint32>(p);
}

// Where row `row` of a data page lies, its offset flags stripped; nothing
// when the page's own offset table is inconsistent.
struct RowSpan
{
    int start = 0;
    int size = 0;
};

std::optional<RowSpan> locateRow(const uchar *page, int pageSize, int rowCountOffset, int row)
{
    const int count = uint16At(page + rowCountOffset);
    const int tableEnd = rowCountOffset + 2 + 2 * count;
    if (row < 0 || row >= count || tableEnd > pageSize)
        return std::nullopt;
    const int start = uint16At(page + rowCountOffset + 2 + 2 * row) & rowOffsetMask;
    const int end = row == 0 ? pageSize : uint16At(page + rowCountOffset + 2 * row) & rowOffsetMask;
    if (start < tableEnd || start > end || end > pageSize)
        return std::nullopt;
    return RowSpan{start, end - start};
}

QString typeName(int type)
{
    switch (type) {
    case MDB_BOOL:
        return QStringLiteral("Yes/No");
    case MDB_BYTE:
        return QStringLiteral("Byte");
    case MDB_INT:
        return QStringLiteral("Integer");
    case MDB_LONGINT:
        return QStringLiteral("Long Integer");
    case MDB_MONEY:
        return QStringLiteral("Currency");
    case MDB_FLOAT:
        return QStringLiteral("Single");
    case MDB_DOUBLE:
        return QStringLiteral("Double");
    case MDB_DATETIME:
        return QStringLiteral("Date/Time");
    case MDB_BINARY:
        return QStringLiteral("Binary");
    case MDB_TEXT:
        return QStringLiteral("Text");
    case MDB_OLE:
        return QStringLiteral("OLE Object");
    case MDB_MEMO:
        return QStringLiteral("Memo");
    case MDB_REPID:
        return QStringLiteral("Replication ID");
    case MDB_NUMERIC:
        return QStringLiteral("Decimal");
    default:
        return QString();
    }
}

// Names for a description: the first few, enough to recognise the table.
QString listed(const QStringList &names)
{
    constexpr qsizetype shown = 12;
    if (names.isEmpty())
        return QStringLiteral("none");
    if (names.size() <= shown)
        return names.join(QStringLiteral(", "));
    return names.first(shown).join(QStringLiteral(", ")) + QStringLiteral(", …");
}

bool isNumberType(int type)
{
    return type == MDB_BYTE || type == MDB_INT || type == MDB_LONGINT || type == MDB_FLOAT
        || type == MDB_DOUBLE;
}

class TableReader
{
public:
    TableReader(MdbHandle *mdb, MdbTableDef *table, const QString &path)
        : mdb(mdb)
        , table(table)
        , path(path)
        , pageSize(int(mdb->fmt->pg_size))
        , rowCountOffset(mdb->fmt->row_count_offset)
        , fields(table->num_cols)
    {
        if (IS_JET3(mdb))
            codePage.emplace(mdb->f->code_page ? mdb->f->code_page : 1252);
        struct stat info = {};
        if (fstat(fileno(mdb->f->stream), &info) == 0)
            fileSize = info.st_size;
    }

    Status findColumns()
    {
        using namespace StoreSchema;
        if (codePage && !codePage->isValid())
            return jetFailure(FailureCause::Other,
                              QStringLiteral("%1 is written in code page %2, which this system "
                                             "cannot decode")
                                  .arg(QDir::toNativeSeparators(path))
                                  .arg(mdb->f->code_page));
        const std::array<QString, 4> names{nameField, phoneField, noteField, rowNumberField};
        QStringList present;
        QSet<QString> folded;
        for (unsigned i = 0; i < table->num_cols; ++i) {
            present << QString::fromUtf8(column(int(i))->name);
            folded.insert(present.last().toCaseFolded());
        }
        // Jet names every field, each differently (case aside): anything
        // else is a damaged definition, not a missing field.
        if (present.contains(QString()) || folded.size() != present.size())
            return damaged(QStringLiteral("the definition of table test in %1 is inconsistent")
                               .arg(QDir::toNativeSeparators(path)));
        for (int f = 0; f < 4; ++f) {
            columns[f] = int(present.indexOf(names[f]));
            if (columns[f] < 0)
                return jetFailure(
                    FailureCause::MissingField,
                    QStringLiteral("table test in %1 has no field %2 (its fields: %3)")
                        .arg(QDir::toNativeSeparators(path), names[f], listed(present)));
            const int type = column(columns[f])->col_type;
            if (typeName(type).isEmpty())
                return damaged(QStringLiteral("field %1 of table test in %2 has no known type")
                                   .arg(names[f], QDir::toNativeSeparators(path)));
            const bool usable = f == 3 ? isNumberType(type) : type == MDB_TEXT || type == MDB_MEMO;
            if (!usable)
                return jetFailure(
                    FailureCause::MissingField,
                    QStringLiteral("field %1 of table test in %2 is of type %3, not %4")
                        .arg(names[f], QDir::toNativeSeparators(path), typeName(type),
                             f == 3 ? QStringLiteral("a number") : QStringLiteral("text")));
        }
        return {};
    }

    Status readRows(JetRowSink &sink)
    {
        sink.tableFound(table->num_rows);
        mdb_rewind_table(table);
        quint32 read = 0;
        while (mdb_fetch_row(table)) {
            ++read;
            JetRow row;
            Status status = currentRow(row);
            if (!status.ok()) {
                status.error.description
                    = QStringLiteral("row %1 of table test in %2: %3")
                          .arg(read)
                          .arg(QDir::toNativeSeparators(path), status.error.description);
                return status;
            }
            if (!sink.row(row))
                return damaged(QStringLiteral("the reading was broken off"));
            if (read > table->num_rows)
                break;
        }
        if (read < table->num_rows)
            return damaged(QStringLiteral("only %1 of the %2 rows that table test records could "
                                          "be read from %3")
                               .arg(read)
                               .arg(table->num_rows)
                               .arg(QDir::toNativeSeparators(path)));
        if (read > table->num_rows)
            return damaged(QStringLiteral("table test in %1 records %2 rows but holds more")
                               .arg(QDir::toNativeSeparators(path))
                               .arg(table->num_rows));
        return {};
    }

private:
    MdbColumn *column(int i) const
    {
        return static_cast<MdbColumn *>(g_ptr_array_index(table->columns, guint(i)));
    }

    // The row mdb_fetch_row has just accepted lies on the page in pg_buf, one
    // before the table's row cursor. It is cracked again because only the
    // cracked fields tell NULL from the empty text.
    Status currentRow(JetRow &row)
    {
        const auto span = locateRow(mdb->pg_buf, pageSize, rowCountOffset, int(table->cur_row) - 1);
        if (!span)
            return damaged(
                QStringLiteral("its place on page %1 is inconsistent").arg(table->cur_phys_pg));
        if (mdb_crack_row(table, span->start, size_t(span->size), fields.data()) < 0)
            return damaged(
                QStringLiteral("its layout on page %1 is inconsistent").arg(table->cur_phys_pg));
        QString *texts[3] = {&row.name, &row.phone, &row.note};
        for (int f = 0; f < 3; ++f) {
            Status status = text(columns[f], *span, *texts[f]);
            if (!status.ok())
                return status;
        }
        return number(columns[3], *span, row.rowNumber);
    }

    // The bytes of field `i` of the current row, checked to lie inside the row.
    std::optional<QByteArrayView> bytesOf(int i, RowSpan span) const
    {
        const MdbField &field = fields[size_t(i)];
        if (field.siz < 0 || field.start < span.start
            || field.start + field.siz > span.start + span.size)
            return std::nullopt;
        return QByteArrayView(reinterpret_cast<const char *>(mdb->pg_buf) + field.start, field.siz);
    }

    Status fieldDamaged(int i, const QString &what) const
    {
        return damaged(QStringLiteral("field %1 %2").arg(QString::fromUtf8(column(i)->name), what));
    }

    Status text(int i, RowSpan span, QString &out)
    {
        if (fields[size_t(i)].is_null) {
            out = QString();
            return {};
        }
        std::optional<QByteArrayView> bytes = bytesOf(i, span);
        if (!bytes)
            return fieldDamaged(i, QStringLiteral("lies outside its row"));
        QByteArray longValue;
        if (column(i)->col_type == MDB_MEMO) {
            Status status = readLongValue(*bytes, longValue);
            if (!status.ok())
                return fieldDamaged(i, status.error.description);
            bytes = QByteArrayView(longValue);
        }
        if (codePage) {
            out = codePage->decode(*bytes);
            return {};
        }
        std::optional<QString> decoded = decodeJet4Text(*bytes);
        if (!decoded)
            return fieldDamaged(i, QStringLiteral("holds an odd number of bytes of UTF-16 text"));
        out = std::move(*decoded);
        return {};
    }

    Status number(int i, RowSpan span, std::optional<double> &out) const
    {
        if (fields[size_t(i)].is_null) {
            out.reset();
            return {};
        }
        const std::optional<QByteArrayView> bytes = bytesOf(i, span);
        const int type = column(i)->col_type;
        const qsizetype expected = type == MDB_BYTE ? 1
            : type == MDB_INT                       ? 2
            : type == MDB_DOUBLE                    ? 8
                                                    : 4;
        if (!bytes || bytes->size() != expected)
            return fieldDamaged(i, QStringLiteral("is cut short"));
        const uchar *p = reinterpret_cast<const uchar *>(bytes->data());
        switch (type) {
        case MDB_BYTE:
            out = p[0];
            break;
        case MDB_INT:
            out = qFromLittleEndian<qint16>(p);
            break;
        case MDB_LONGINT:
            out = qFromLittleEndian<qint32>(p);
            break;
        case MDB_FLOAT:
            out = std::bit_cast<float>(qFromLittleEndian<quint32>(p));
            break;
        default:
            // The stored bits themselves: libmdb's text for a number follows the locale.
            out = std::bit_cast<double>(qFromLittleEndian<quint64>(p));
            break;
        }
        return {};
    }

    // A memo value: inline in the row, in one row of a long-value page, or
    // in a chain of such rows. Every length and pointer is checked, so a
    // damaged value is refused instead of cut short or read twice.
    Status readLongValue(QByteArrayView header, QByteArray &out)
    {
        if (header.isEmpty())
            return {};
        if (header.size() < longValueHeaderSize)
            return damaged(QStringLiteral("has a cut memo header"));
        const uchar *h = reinterpret_cast<const uchar *>(header.data());
        const quint32 lengthAndFlags = uint32At(h);
        const qint64 length = lengthAndFlags & ~longValueFlags;
        if (length > fileSize)
            return damaged(QStringLiteral("claims %1 bytes, more than the whole file").arg(length));
        const quint32 flags = lengthAndFlags & longValueFlags;
        if (flags == longValueInline) {
            if (length > header.size() - longValueHeaderSize)
                return damaged(QStringLiteral("runs past its row"));
            out = header.sliced(longValueHeaderSize, length).toByteArray();
            return {};
        }
        if (flags != longValueOnePage && flags != 0)
            return damaged(QStringLiteral("has unknown memo flags"));
        out.reserve(length);
        QSet<quint32> visited;
        quint32 pointer = uint32At(h + 4);
        while (out.size() < length) {
            if (visited.contains(pointer))
                return damaged(QStringLiteral("is a chain of pages that loops"));
            visited.insert(pointer);
            const std::optional<QByteArrayView> part = longValueRow(pointer);
            if (!part)
                return damaged(QStringLiteral("points to a missing or inconsistent page (%1)")
                                   .arg(pointer >> 8));
            const qint64 remaining = length - out.size();
            if (flags == longValueOnePage) {
                if (part->size() < remaining)
                    return damaged(QStringLiteral("is shorter than it claims"));
                out.append(part->first(remaining));
                break;
            }
            if (part->size() < 4)
                return damaged(QStringLiteral("has a cut link in its chain of pages"));
            pointer = uint32At(reinterpret_cast<const uchar *>(part->data()));
            out.append(part->sliced(4, std::min<qint64>(part->size() - 4, remaining)));
            if (out.size() < length && pointer == 0)
                return damaged(
                    QStringLiteral("ends after %1 of its %2 bytes").arg(out.size()).arg(length));
        }
        return {};
    }

    // The bytes of row (pointer & 0xFF) of page (pointer >> 8), read into
    // libmdb's second page buffer, which leaves the current data page alone.
    std::optional<QByteArrayView> longValueRow(quint32 pointer)
    {
        const quint32 page = pointer >> 8;
        if (page == 0 || qint64(page) * pageSize >= fileSize
            || mdb_read_alt_pg(mdb, page) != pageSize || mdb->alt_pg_buf[0] != dataPageType)
            return std::nullopt;
        const auto span = locateRow(mdb->alt_pg_buf, pageSize, rowCountOffset, int(pointer & 0xFF));
        if (!span)
            return std::nullopt;
        return QByteArrayView(reinterpret_cast<const char *>(mdb->alt_pg_buf) + span->start,
                              span->size);
    }

    MdbHandle *mdb;
    MdbTableDef *table;
    const QString &path;
    const int pageSize;
    const int rowCountOffset;
    qint64 fileSize = 0;
    std::optional<CodePageDecoder> codePage;
    std::vector<MdbField> fields;
    std::array<int, 4> columns{};
};

// libmdb reads the list of tables from MSysObjects and keeps whatever rows
// it could read; a cut file would then seem to lack table `test`.
bool catalogComplete(MdbHandle *mdb)
{
    MdbCatalogEntry objects{};
    objects.mdb = mdb;
    objects.object_type = MDB_TABLE;
    objects.table_pg = 2;
    std::strcpy(objects.object_name, "MSysObjects");
    const Table table(mdb_read_table(&objects));
    if (!table || table->num_cols > maxFields || !mdb_read_columns(table.get()))
        return false;
    mdb_rewind_table(table.get());
    quint32 read = 0;
    while (read <= table->num_rows && mdb_fetch_row(table.get()))
        ++read;
    return read == table->num_rows;
}

} // namespace

Status readJetRowsHere(const QString &path, JetRowSink &sink)
{
    Status status = checkJetSignature(path);
    if (!status.ok())
        return status;
    const QString shownPath = QDir::toNativeSeparators(path);
    const Handle mdb(mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS));
    if (!mdb)
        return damaged(QStringLiteral("%1 begins as a Jet database but cannot be opened as one")
                           .arg(shownPath));
    if (!mdb_read_catalog(mdb.get(), MDB_ANY) || !catalogComplete(mdb.get()))
        return damaged(
            QStringLiteral("the list of tables in %1 cannot be read whole").arg(shownPath));

    MdbCatalogEntry *entry = nullptr;
    QStringList tables;
    for (guint i = 0; i < mdb->catalog->len; ++i) {
        auto *candidate = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (candidate->object_type != MDB_TABLE || mdb_is_system_table(candidate))
            continue;
        const QString name = QString::fromUtf8(candidate->object_name);
        // Jet looks tables up by name without regard to case, as the program once did.
        if (name.compare(StoreSchema::table, Qt::CaseInsensitive) == 0)
            entry = candidate;
        tables << name;
    }
    if (!entry)
        return jetFailure(
            FailureCause::NoTable,
            QStringLiteral("%1 has no table test (its tables: %2)").arg(shownPath, listed(tables)));

    const Table table(mdb_read_table(entry));
    if (!table || table->num_cols > maxFields || !mdb_read_columns(table.get()))
        return damaged(
            QStringLiteral("the definition of table test in %1 cannot be read").arg(shownPath));
    TableReader reader(mdb.get(), table.get(), path);
    status = reader.findColumns();
    if (!status.ok())
        return status;
    return reader.readRows(sink);
}

} // namespace dialvault
