#include "jet/jetreader.h"

#include "jet/isolatedreading.h"
#include "jet/jetsignature.h"
#include "jet/jettablereader.h"

#include <cstdlib>

namespace dialvault {

namespace {

// Search paths (an empty entry makes opening loop forever), character sets
// and debugging switches are libmdb's own environment; none may apply.
void forgetLibmdbEnvironment()
{
    for (const char *name : {"MDBPATH", "MDBICONV", "MDB_JET3_CHARSET", "MDBOPTS"})
        unsetenv(name);
}

} // namespace

Result<QList<JetRow>> readJetTable(const QString &path, std::chrono::milliseconds silenceLimit)
{
    Result<QList<JetRow>> result;
    // Checked here as well, so that a file of another kind costs no child process.
    const Status status = checkJetSignature(path);
    if (!status.ok()) {
        result.error = status.error;
        return result;
    }
    return readInChildProcess(
        path,
        [&](JetRowSink &sink) {
            forgetLibmdbEnvironment();
            return readJetRowsHere(path, sink);
        },
        silenceLimit);
}

} // namespace dialvault
