#include "store/phonebooksource.h"

#include "store/serveraddress.h"

#include <QDir>

namespace dialvault {

PhoneBookSource PhoneBookSource::inFolder(const QString &folder)
{
    return file(QDir(folder).filePath(QStringLiteral("db1.mdb")));
}

PhoneBookSource PhoneBookSource::file(const QString &path)
{
    PhoneBookSource source;
    source.path_ = path;
    return source;
}

PhoneBookSource PhoneBookSource::server(const QString &url)
{
    PhoneBookSource source;
    source.engine_ = Engine::Postgres;
    source.url_ = url;
    return source;
}

QString PhoneBookSource::shownName() const
{
    if (!isServer())
        return QDir::toNativeSeparators(path_);
    const Result<ServerAddress> address = ServerAddress::parse(url_);
    // An address that cannot be read may still hold a password somewhere.
    return address.ok() ? address.value.shown() : QStringLiteral("postgresql://…");
}

} // namespace dialvault
