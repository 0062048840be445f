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
    source.m_path = path;
    return source;
}

PhoneBookSource PhoneBookSource::server(const QString &url)
{
    PhoneBookSource source;
    source.m_server = true;
    source.m_url = url;
    return source;
}

PhoneBookSource PhoneBookSource::withTimeout(std::chrono::milliseconds timeout) const
{
    PhoneBookSource source = *this;
    source.m_timeout = timeout;
    return source;
}

QString PhoneBookSource::shownName() const
{
    if (!isServer())
        return QDir::toNativeSeparators(m_path);
    const Result<ServerAddress> address = ServerAddress::parse(m_url);
    // An address that cannot be read may still hold a password somewhere.
    return address.ok() ? address.value.shown() : QStringLiteral("postgresql://…");
}

} // namespace dialvault
