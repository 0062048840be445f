#include "support/testradicale.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>

#include <atomic>

namespace dialvault {

namespace {

std::atomic<int> bookCounter{0};

} // namespace

std::optional<TestRadicale> TestRadicale::find()
{
    TestRadicale found;
    const auto read = [&](const char *name) {
        QFile file(found.m_dir + u'/' + QLatin1String(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed()
                                              : QString();
    };
    found.m_port = read("port").toInt();
    found.m_user = read("user");
    found.m_password = read("password");
    if (found.m_port == 0)
        return std::nullopt;
    return found;
}

QString TestRadicale::book() const
{
    // Test programs run side by side on the one server.
    const QString name
        = QStringLiteral("book%1x%2").arg(QCoreApplication::applicationPid()).arg(++bookCounter);
    script({QStringLiteral("book"), m_dir, name});
    return name;
}

QString TestRadicale::url(const QString &book) const
{
    return QStringLiteral("http://%1@127.0.0.1:%2/%1/%3/").arg(m_user).arg(m_port).arg(book);
}

AddressBookAccount TestRadicale::account(const QString &book) const
{
    return addressBookAccount(url(book), false).value;
}

int TestRadicale::request(const QByteArray &method, const QString &book, const QString &file,
                          const QByteArray &body, const QByteArray &ifMatch) const
{
    QNetworkAccessManager network;
    QNetworkRequest request(QUrl(url(book) + file));
    request.setRawHeader("Authorization",
                         "Basic " + (m_user + u':' + m_password).toUtf8().toBase64());
    request.setHeader(QNetworkRequest::ContentTypeHeader, "text/vcard; charset=utf-8");
    if (!ifMatch.isEmpty())
        request.setRawHeader("If-Match", ifMatch);
    QNetworkReply *reply = network.sendCustomRequest(request, method, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    delete reply;
    return status;
}

QMap<QString, QString> TestRadicale::cards(const QString &book) const
{
    QMap<QString, QString> found;
    const QDir folder(storage(book));
    for (const QString &name : folder.entryList({QStringLiteral("*.vcf")}, QDir::Files)) {
        QFile file(folder.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            found.insert(name,
                         QString::fromUtf8(file.readAll())
                             .remove(QStringLiteral("\r"))
                             .remove(QStringLiteral("\n ")));
    }
    return found;
}

QString TestRadicale::storage(const QString &book) const
{
    return m_dir + QStringLiteral("/storage/collection-root/") + m_user + u'/' + book;
}

bool TestRadicale::kill() const
{
    return script({QStringLiteral("kill"), m_dir});
}

bool TestRadicale::start() const
{
    return script({QStringLiteral("start"), m_dir});
}

bool TestRadicale::script(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("bash"),
                             QStringList{QStringLiteral(DIALVAULT_RADICALE_SCRIPT)} + arguments)
        == 0;
}

} // namespace dialvault
