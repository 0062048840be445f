#pragma once

#include "store/storeerror.h"

#include <QList>
#include <QString>

#include <utility>

namespace dialvault {

// A libpq connection URL, postgresql://[user[:password]@][host][:port][,…]
// [/dbname][?name=value&…], taken apart: Qt's driver is given its parts,
// and a person is shown where the server is without the password.
struct ServerAddress
{
    QString hosts; // comma-separated, as libpq takes them; empty: libpq's default
    QString ports; // likewise
    QString database;
    QString user;
    QString password; // handed to the driver only
    // Every other parameter (sslmode, service, connect_timeout, …), in order.
    QList<std::pair<QString, QString>> parameters;

    // A URL that libpq would not read, or one with a parameter that cannot be
    // passed through Qt's driver, is a failure naming what is wrong (never
    // repeating the URL, which may hold a password).
    static Result<ServerAddress> parse(const QString &url);

    // The value of a parameter, or empty.
    QString parameter(const QString &name) const;
    bool hasParameter(const QString &name) const;
    // user@host:port/dbname, the parts that were given; never the password.
    QString shown() const;
};

} // namespace dialvault
