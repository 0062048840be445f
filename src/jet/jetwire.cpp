#include "jet/jetwire.h"

#include <QtEndian>

#include <bit>
#include <cstring>

namespace dialvault::JetWire {

namespace {

enum Kind : char { TableFrame = 'T', RowFrame = 'R', EndFrame = 'Z', FailureFrame = 'F' };
constexpr qsizetype frameHeaderSize = 5;
constexpr quint32 nullText = 0xFFFFFFFFu;

template <typename T>
void put(QByteArray &out, T value)
{
    const T little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&little), sizeof little);
}

void putText(QByteArray &out, const QString &text)
{
    if (text.isNull()) {
        put<quint32>(out, nullText);
        return;
    }
    put<quint32>(out, quint32(text.size()));
    for (const QChar c : text)
        put<quint16>(out, c.unicode());
}

// Writes the frame header, lets `body` append the payload, then fills in its length.
template <typename Body>
void frame(QByteArray &out, char kind, Body body)
{
    out.append(kind);
    const qsizetype lengthAt = out.size();
    put<quint32>(out, 0);
    body();
    const quint32 length = qToLittleEndian(quint32(out.size() - lengthAt - 4));
    std::memcpy(out.data() + lengthAt, &length, sizeof length);
}

// Reads fixed-size values and texts off a payload, failing once past its end.
class Reader
{
public:
    explicit Reader(QByteArrayView bytes)
        : bytes(bytes)
    { }

    template <typename T>
    bool get(T &value)
    {
        if (bytes.size() - at < qsizetype(sizeof(T)))
            return false;
        value = qFromLittleEndian<T>(bytes.data() + at);
        at += sizeof(T);
        return true;
    }

    bool getText(QString &text)
    {
        quint32 units = 0;
        if (!get(units))
            return false;
        if (units == nullText) {
            text = QString();
            return true;
        }
        if ((bytes.size() - at) / 2 < qsizetype(units))
            return false;
        text = QStringLiteral("");
        if (units == 0)
            return true;
        text.resize(units);
        qFromLittleEndian<char16_t>(bytes.data() + at, units, text.data());
        at += 2 * qsizetype(units);
        return true;
    }

    bool atEnd() const { return at == bytes.size(); }

private:
    QByteArrayView bytes;
    qsizetype at = 0;
};

} // namespace

void appendTable(QByteArray &out, quint32 recordedRows)
{
    frame(out, TableFrame, [&] { put(out, recordedRows); });
}

void appendRow(QByteArray &out, const JetRow &row)
{
    frame(out, RowFrame, [&] {
        putText(out, row.name);
        putText(out, row.phone);
        putText(out, row.note);
        put<quint8>(out, row.rowNumber.has_value());
        put<quint64>(out, std::bit_cast<quint64>(row.rowNumber.value_or(0.0)));
    });
}

void appendEnd(QByteArray &out, quint32 rowsSent)
{
    frame(out, EndFrame, [&] { put(out, rowsSent); });
}

void appendFailure(QByteArray &out, const StoreError &error)
{
    frame(out, FailureFrame, [&] {
        put<qint32>(out, error.number);
        put<quint8>(out, quint8(error.cause));
        putText(out, error.description);
    });
}

Decoder::State Decoder::feed(QByteArrayView bytes)
{
    pending.append(bytes);
    qsizetype at = 0;
    while (current == State::Reading && pending.size() - at >= frameHeaderSize) {
        const quint32 length = qFromLittleEndian<quint32>(pending.constData() + at + 1);
        if (pending.size() - at - frameHeaderSize < qint64(length))
            break;
        if (!takeFrame(pending.at(at),
                       QByteArrayView(pending).sliced(at + frameHeaderSize, length)))
            current = State::Invalid;
        at += frameHeaderSize + qsizetype(length);
    }
    pending.remove(0, at);
    if (current != State::Reading && !pending.isEmpty())
        current = State::Invalid;
    return current;
}

bool Decoder::takeFrame(char kind, QByteArrayView payload)
{
    Reader in(payload);
    switch (kind) {
    case TableFrame: {
        quint32 count = 0;
        if (recorded || !in.get(count))
            return false;
        recorded = count;
        received.reserve(qMin<quint32>(count, 1u << 20));
        break;
    }
    case RowFrame: {
        JetRow row;
        quint8 hasNumber = 0;
        quint64 bits = 0;
        if (!recorded || !in.getText(row.name) || !in.getText(row.phone) || !in.getText(row.note)
            || !in.get(hasNumber) || !in.get(bits) || hasNumber > 1)
            return false;
        if (hasNumber)
            row.rowNumber = std::bit_cast<double>(bits);
        received.append(std::move(row));
        break;
    }
    case EndFrame: {
        quint32 sent = 0;
        if (!recorded || !in.get(sent) || sent != quint32(received.size()))
            return false;
        current = State::Finished;
        break;
    }
    case FailureFrame: {
        quint8 cause = 0;
        if (!in.get(refused.number) || !in.get(cause) || !in.getText(refused.description)
            || cause == quint8(FailureCause::None) || cause > quint8(FailureCause::Other)
            || refused.number == 0)
            return false;
        refused.cause = FailureCause(cause);
        current = State::Refused;
        break;
    }
    default:
        return false;
    }
    return in.atEnd();
}

} // namespace dialvault::JetWire
