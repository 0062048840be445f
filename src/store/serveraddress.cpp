#include "store/serveraddress.h"

#include <QByteArray>
#include <QStringList>
#include <QUrl>

namespace dialvault {

namespace {

Result<ServerAddress> refused(const QString &why)
{
    Result<ServerAddress> result;
    result.error = {1, QStringLiteral("not a server address libpq reads: %1").arg(why),
                    FailureCause::CannotOpen};
    return result;
}

QString decoded(QStringView text)
{
    return QUrl::fromPercentEncoding(text.toUtf8());
}

// A host of the list, with its port split off: [::1]:5432, name:5432, name.
void addHost(QStringView entry, QStringList &hosts, QStringList &ports)
{
    QStringView host = entry;
    QStringView port;
    if (entry.startsWith(u'[')) {
        const qsizetype close = entry.indexOf(u']');
        host = entry.mid(1, close - 1);
        if (close + 1 < entry.size() && entry.at(close + 1) == u':')
            port = entry.mid(close + 2);
    } else if (const qsizetype colon = entry.lastIndexOf(u':'); colon >= 0) {
        host = entry.left(colon);
        port = entry.mid(colon + 1);
    }
    hosts.append(decoded(host));
    ports.append(decoded(port));
}

QString joined(const QStringList &parts)
{
    for (const QString &part : parts) {
        if (!part.isEmpty())
            return parts.join(u',');
    }
    return {};
}

} // namespace

Result<ServerAddress> ServerAddress::parse(const QString &url)
{
    QStringView rest(url);
    bool known = false;
    for (const QLatin1String scheme :
         {QLatin1String("postgresql://"), QLatin1String("postgres://")}) {
        if (rest.startsWith(scheme)) {
            rest = rest.mid(scheme.size());
            known = true;
            break;
        }
    }
    if (!known)
        return refused(QStringLiteral("it must start with postgresql://"));

    Result<ServerAddress> result;
    ServerAddress &address = result.value;
    QStringView query;
    if (const qsizetype mark = rest.indexOf(u'?'); mark >= 0) {
        query = rest.mid(mark + 1);
        rest = rest.left(mark);
    }
    QStringView authority = rest;
    if (const qsizetype slash = rest.indexOf(u'/'); slash >= 0) {
        authority = rest.left(slash);
        address.database = decoded(rest.mid(slash + 1));
    }
    if (const qsizetype at = authority.indexOf(u'@'); at >= 0) {
        const QStringView userInfo = authority.left(at);
        authority = authority.mid(at + 1);
        const qsizetype colon = userInfo.indexOf(u':');
        address.user = decoded(colon >= 0 ? userInfo.left(colon) : userInfo);
        if (colon >= 0)
            address.password = decoded(userInfo.mid(colon + 1));
    }
    QStringList hosts;
    QStringList ports;
    if (!authority.isEmpty()) {
        for (const QStringView entry : authority.split(u','))
            addHost(entry, hosts, ports);
    }
    address.hosts = joined(hosts);
    address.ports = joined(ports);

    for (const QStringView pair : query.split(u'&', Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.indexOf(u'=');
        if (equals <= 0)
            return refused(QStringLiteral("a parameter without a value"));
        const QString name = decoded(pair.left(equals));
        const QString value = decoded(pair.mid(equals + 1));
        if (name == QLatin1String("host"))
            address.hosts = value;
        else if (name == QLatin1String("port"))
            address.ports = value;
        else if (name == QLatin1String("dbname"))
            address.database = value;
        else if (name == QLatin1String("user"))
            address.user = value;
        else if (name == QLatin1String("password"))
            address.password = value;
        else if (!std::all_of(name.begin(), name.end(),
                              [](QChar c) { return (c >= u'a' && c <= u'z') || c == u'_'; }))
            return refused(QStringLiteral("the parameter name \"%1\"").arg(name));
        // Qt's driver passes the other parameters on in one text where ';'
        // separates them.
        else if (value.contains(u';'))
            return refused(QStringLiteral("a ';' in the value of %1").arg(name));
        else
            address.parameters.append({name, value});
    }
    if (address.ports.contains(u';') || address.hosts.contains(u';'))
        return refused(QStringLiteral("a ';' in the host or port"));
    return result;
}

QString ServerAddress::parameter(const QString &name) const
{
    for (const auto &[key, value] : parameters) {
        if (key == name)
            return value;
    }
    return {};
}

bool ServerAddress::hasParameter(const QString &name) const
{
    return std::any_of(parameters.begin(), parameters.end(),
                       [&](const auto &pair) { return pair.first == name; });
}

QString ServerAddress::shown() const
{
    QString text;
    if (!user.isEmpty())
        text += user + u'@';
    text += hosts.isEmpty() ? QStringLiteral("localhost") : hosts;
    if (!ports.isEmpty())
        text += u':' + ports;
    if (!database.isEmpty())
        text += u'/' + database;
    if (const QString service = parameter(QStringLiteral("service")); !service.isEmpty())
        text += QStringLiteral(" (service %1)").arg(service);
    return text;
}

} // namespace dialvault
