#pragma once

#include "jet/jetrow.h"
#include "store/storeerror.h"

#include <QString>

namespace dialvault {

// Receives what the reader finds, as it goes.
class JetRowSink
{
public:
    virtual ~JetRowSink() = default;
    // The number of rows the table definition records, before any row.
    virtual void tableFound(quint32 recordedRows) = 0;
    // One row, in stored order; false stops the reading.
    virtual bool row(const JetRow &row) = 0;
};

// Reads table `test` of the Jet file at `path` with libmdb, in this process,
// and refuses the file (NotADatabase, NoTable, MissingField, Damaged) unless
// every row the table records was read whole.
//
// libmdb trusts the file it reads: a damaged one can make it crash or loop.
// Only the isolated reader (jetreader.h) calls this, in a child process that
// it can lose or kill.
Status readJetRowsHere(const QString &path, JetRowSink &sink);

} // namespace dialvault
