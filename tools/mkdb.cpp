// Puts an empty contact database in place for the build, never touching a
// database that is already there (it may hold a user's entries).
#include "store/databasecreation.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

using namespace dialvault;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 3 || args.at(1) != QStringLiteral("--if-missing")) {
        err << "usage: dialvault-mkdb --if-missing PATH\n"
            << "Creates an empty contact database at PATH unless a file is already there.\n";
        return 2;
    }
    const QString path = args.at(2);
    const Result<bool> created = createDatabaseIfMissing(path);
    if (!created.ok()) {
        err << "dialvault-mkdb: could not create " << path << ": " << created.error.description
            << " (" << created.error.number << ")\n";
        return 1;
    }
    return 0;
}
