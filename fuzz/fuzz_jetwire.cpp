// The frames the Jet reading child sends its parent, as they arrive in
// pieces of any size: the pieces never change what the parent makes of them.
#include "jet/jetwire.h"

#include <cstdint>
#include <cstdlib>

using namespace dialvault;

namespace {

QByteArray encoded(const QList<JetRow> &rows)
{
    QByteArray out;
    for (const JetRow &row : rows)
        JetWire::appendRow(out, row);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const qsizetype piece = 1 + data[0] % 64;
    const QByteArrayView bytes(data + 1, qsizetype(size - 1));

    JetWire::Decoder whole;
    whole.feed(bytes);
    JetWire::Decoder pieces;
    // Every piece is fed, as the parent reads whatever the child sends: bytes
    // after the last frame make the stream invalid however they arrive.
    for (qsizetype at = 0; at < bytes.size(); at += piece)
        pieces.feed(bytes.sliced(at, qMin(piece, bytes.size() - at)));

    if (whole.state() != pieces.state() || whole.recordedRows() != pieces.recordedRows()
        || encoded(whole.rows()) != encoded(pieces.rows()))
        std::abort();
    return 0;
}
