#include "sync/netrc.h"

#include <QFile>
#include <QFileDevice>

namespace dialvault {

namespace {

// The file's words: split at white space, a double-quoted word (curl's
// extension) may hold spaces and backslash escapes. "macdef" bodies, which
// end at a blank line, are skipped.
QStringList netrcWords(const QByteArray &bytes)
{
    QStringList words;
    const QString text = QString::fromUtf8(bytes);
    qsizetype at = 0;
    while (at < text.size()) {
        if (text[at].isSpace()) {
            ++at;
            continue;
        }
        QString word;
        if (text[at] == u'"') {
            ++at;
            while (at < text.size() && text[at] != u'"') {
                if (text[at] == u'\\' && at + 1 < text.size())
                    ++at;
                word.append(text[at++]);
            }
            ++at;
        } else {
            while (at < text.size() && !text[at].isSpace())
                word.append(text[at++]);
        }
        if (word == QLatin1String("macdef")) {
            const qsizetype end = text.indexOf(QLatin1String("\n\n"), at);
            at = end < 0 ? text.size() : end + 2;
            continue;
        }
        words.append(word);
    }
    return words;
}

} // namespace

SyncResult<NetrcEntry> netrcEntry(const QString &path, const QString &host, const QString &login)
{
    SyncResult<NetrcEntry> result;
    QFile file(path);
    if (!file.exists())
        return result;
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup
        | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther
        | QFileDevice::ExeOther;
    if (file.permissions() & others) {
        result.cause = SyncCause::NetrcUnsafe;
        result.detail = path;
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.cause = SyncCause::NetrcUnsafe;
        result.detail = file.errorString();
        return result;
    }
    const QStringList words = netrcWords(file.readAll());

    // Each entry: its machine (empty for default), login and password.
    struct Entry
    {
        bool matches = false;
        NetrcEntry found;
    };
    Entry current;
    bool inEntry = false;
    const auto finish = [&]() {
        if (inEntry && current.matches && result.value.password.isEmpty()
            && (login.isEmpty() || current.found.login == login)
            && !current.found.password.isEmpty())
            result.value = current.found;
        current = {};
    };
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString &word = words.at(i);
        if (word == QLatin1String("machine") || word == QLatin1String("default")) {
            finish();
            inEntry = true;
            if (word == QLatin1String("default"))
                current.matches = true;
            else if (i + 1 < words.size())
                current.matches = words.at(++i).compare(host, Qt::CaseInsensitive) == 0;
        } else if (word == QLatin1String("login") && i + 1 < words.size()) {
            current.found.login = words.at(++i);
        } else if (word == QLatin1String("password") && i + 1 < words.size()) {
            current.found.password = words.at(++i);
        } else if (word == QLatin1String("account") && i + 1 < words.size()) {
            ++i;
        }
    }
    finish();
    return result;
}

} // namespace dialvault
