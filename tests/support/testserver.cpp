#include "support/testserver.h"

#include "cli/serverinit.h"
#include "store/storeengine.h"

#include <QDebug>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

namespace dialvault {

namespace {

std::atomic<int> connectionCounter{0};

} // namespace

std::optional<TestServer> TestServer::find(const char *which)
{
    TestServer server;
    server.m_dir = QStringLiteral(DIALVAULT_PGTEST_DIR "/") + QLatin1String(which);
    QFile port(server.m_dir + QStringLiteral("/port"));
    if (!port.open(QIODevice::ReadOnly))
        return std::nullopt;
    server.m_port = port.readAll().trimmed().toInt();
    return server;
}

QString TestServer::url(const QString &database, const QString &user) const
{
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3").arg(user).arg(m_port).arg(database);
}

QVariant TestServer::scalar(const QString &database, const QString &sql,
                            const QVariantList &values) const
{
    const QString name = QStringLiteral("tst-server-%1").arg(++connectionCounter);
    QVariant result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(m_port);
        db.setUserName(QStringLiteral("postgres"));
        db.setDatabaseName(database);
        db.setConnectOptions(QStringLiteral("options='-c client_min_messages=warning'"));
        QSqlQuery query(db);
        bool done = db.open();
        if (done && values.isEmpty()) {
            done = query.exec(sql);
        } else if (done) {
            done = query.prepare(sql);
            for (int i = 0; done && i < values.size(); ++i)
                query.bindValue(i, values.at(i));
            done = done && query.exec();
        }
        if (!done)
            qWarning() << sql << db.lastError().text() << query.lastError().text();
        else if (query.next())
            result = query.value(0);
        else
            result = QVariant(true); // ran, with nothing to give back
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

bool TestServer::exec(const QString &database, const QString &sql) const
{
    return scalar(database, sql).isValid();
}

bool TestServer::freshPhoneBook(const QString &name) const
{
    if (!exec(QStringLiteral("postgres"),
              QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name))
        || !exec(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE %1").arg(name)))
        return false;
    const std::unique_ptr<StoreEngine> engine = makeStoreEngine(PhoneBookSource::server(url(name)));
    if (!engine->connect().ok())
        return false;
    const Result<ServerPreparation> prepared = prepareServerPhoneBook(*engine);
    return prepared.ok()
        && exec(name, serverGrants(prepared.value.schema, QStringLiteral("clerk")));
}

bool TestServer::empty(const QString &name) const
{
    return exec(name, QStringLiteral("TRUNCATE test, test_deleted RESTART IDENTITY"));
}

bool TestServer::script(const char *command) const
{
    return QProcess::execute(
               QStringLiteral("bash"),
               {QStringLiteral(DIALVAULT_PGTEST_SCRIPT), QLatin1String(command), m_dir})
        == 0;
}

bool TestServer::kill() const
{
    return script("kill");
}

bool TestServer::start() const
{
    return script("start");
}

bool TestServer::pause() const
{
    return script("pause");
}

bool TestServer::resume() const
{
    return script("resume");
}

bool TestServer::promote() const
{
    return script("promote");
}

} // namespace dialvault
