#pragma once

#include "jet/jetrow.h"
#include "store/storeerror.h"

#include <QByteArray>
#include <QList>

#include <optional>

namespace dialvault {

// The frames in which the reading child passes what it read to its parent:
// the recorded row count, each row, then either the end or a refusal.
namespace JetWire {

void appendTable(QByteArray &out, quint32 recordedRows);
void appendRow(QByteArray &out, const JetRow &row);
void appendEnd(QByteArray &out, quint32 rowsSent);
void appendFailure(QByteArray &out, const StoreError &error);

// Takes the frames apart as the bytes arrive. Anything out of order or cut
// short makes the stream invalid.
class Decoder
{
public:
    enum class State { Reading, Finished, Refused, Invalid };

    // Takes in more bytes; returns the state after every whole frame in them.
    State feed(QByteArrayView bytes);
    State state() const { return current; }

    std::optional<quint32> recordedRows() const { return recorded; }
    QList<JetRow> &rows() { return received; }
    qsizetype rowCount() const { return received.size(); }
    const StoreError &refusal() const { return refused; }

private:
    bool takeFrame(char kind, QByteArrayView payload);

    QByteArray pending;
    State current = State::Reading;
    std::optional<quint32> recorded;
    QList<JetRow> received;
    StoreError refused;
};

} // namespace JetWire

} // namespace dialvault
