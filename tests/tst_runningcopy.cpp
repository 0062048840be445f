// One running copy per phone book, as a person starts the program twice: the
// built program itself, each copy on the offscreen platform with a runtime
// folder of the test's own.
#include "main/runningcopy.h"
#include "store/databasecreation.h"
#include "support/sqlitefile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <list>

using namespace dialvault;

class TestRunningCopy : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::list<QProcess> copies;

    QString runtimeFolder() const { return dir->filePath(QStringLiteral("runtime")); }
    QString phoneBookFolder(const QString &name) const { return dir->filePath(name); }
    QString socketOf(const QString &name) const
    {
        return RunningCopy::socketPath(PhoneBookSource::inFolder(phoneBookFolder(name)),
                                       runtimeFolder());
    }

    QProcess &start(const QString &phoneBook, const QStringList &files = {})
    {
        QProcess &copy = copies.emplace_back();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder());
        environment.remove(QStringLiteral("DIALVAULT_DATA_DIR"));
        environment.remove(QStringLiteral("DIALVAULT_SERVER"));
        copy.setProcessEnvironment(environment);
        copy.setWorkingDirectory(dir->path());
        copy.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        copy.start(QStringLiteral(DIALVAULT_PROGRAM),
                   QStringList{QStringLiteral("--data-dir"), phoneBookFolder(phoneBook)} + files);
        return copy;
    }

    // Whether a copy answers under the name.
    static bool answers(const QString &socketPath)
    {
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        return socket.waitForConnected(100);
    }

private Q_SLOTS:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        QVERIFY(QDir().mkpath(runtimeFolder()));
        QVERIFY(QFile::setPermissions(runtimeFolder(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        for (const QString &name : {QStringLiteral("a"), QStringLiteral("b")}) {
            QVERIFY(QDir().mkpath(phoneBookFolder(name)));
            QVERIFY(
                createDatabaseIfMissing(phoneBookFolder(name) + QStringLiteral("/db1.mdb")).value);
        }
        QVERIFY(QFile::copy(QStringLiteral(DIALVAULT_TEST_DATA "/interchange/addressbook-3.0.vcf"),
                            dir->filePath(QStringLiteral("friends.vcf"))));
    }
    void cleanup()
    {
        for (QProcess &copy : copies) {
            copy.kill();
            copy.waitForFinished(5000);
        }
        copies.clear();
        dir.reset();
    }

    void secondStartHandsItsFilesToTheFirst()
    {
        QProcess &first = start(QStringLiteral("a"));
        QTRY_VERIFY_WITH_TIMEOUT(answers(socketOf(QStringLiteral("a"))), 20000);

        // Named relative to where the second was started.
        QElapsedTimer took;
        took.start();
        QProcess &second = start(QStringLiteral("a"), {QStringLiteral("friends.vcf")});
        QVERIFY(second.waitForFinished(2000));
        QVERIFY(took.elapsed() < 2000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);

        const QString db = phoneBookFolder(QStringLiteral("a")) + QStringLiteral("/db1.mdb");
        QTRY_COMPARE_WITH_TIMEOUT(storedRows(db).size(), 3, 10000);
        QCOMPARE(first.state(), QProcess::Running);
    }

    void anotherPhoneBookStartsItsOwnCopy()
    {
        QProcess &first = start(QStringLiteral("a"));
        QTRY_VERIFY_WITH_TIMEOUT(answers(socketOf(QStringLiteral("a"))), 20000);
        QProcess &second = start(QStringLiteral("b"));
        QTRY_VERIFY_WITH_TIMEOUT(answers(socketOf(QStringLiteral("b"))), 20000);
        QCOMPARE(second.state(), QProcess::Running);
        QCOMPARE(first.state(), QProcess::Running);
    }

    // A crash leaves the socket file and the lock behind; neither answers.
    void whatACrashLeftNeverStopsAStart()
    {
        const QString path = socketOf(QStringLiteral("a"));
        const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(stale >= 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray encoded = QFile::encodeName(path);
        QVERIFY(size_t(encoded.size()) < sizeof(address.sun_path));
        std::copy(encoded.begin(), encoded.end(), address.sun_path);
        QCOMPARE(::bind(stale, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
        ::close(stale);
        QVERIFY(QFile::exists(path));

        // The lock of a process that has ended: a shell that said its number.
        QProcess gone;
        gone.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("echo $$")});
        QVERIFY(gone.waitForFinished(5000));
        QFile lock(path + QStringLiteral(".lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(gone.readAllStandardOutput().trimmed() + "\ndialvault\n"
                   + QSysInfo::machineHostName().toUtf8() + '\n');
        lock.close();

        QProcess &first = start(QStringLiteral("a"));
        QTRY_VERIFY_WITH_TIMEOUT(answers(path), 20000);
        QCOMPARE(first.state(), QProcess::Running);
    }
};

QTEST_GUILESS_MAIN(TestRunningCopy)
#include "tst_runningcopy.moc"
