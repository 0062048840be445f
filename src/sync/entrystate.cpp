#include "sync/entrystate.h"

#include "store/searchkeys.h"

#include <QCryptographicHash>
#include <QStringList>

namespace dialvault {

namespace {

QByteArray withLineFeeds(const QString &text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(u'\r', u'\n');
    return plain.toUtf8();
}

// Short: it only tells one person from another.
QString identityHash(const QString &text)
{
    const QByteArray hash = QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(hash.left(9).toBase64());
}

} // namespace

QString entryState(const EntryTexts &texts)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    // Each text's length first, so that no two triples give the same bytes.
    for (const QString *text : {&texts.name, &texts.phone, &texts.note}) {
        const QByteArray bytes = withLineFeeds(*text);
        hash.addData(QByteArray::number(bytes.size()) + ':');
        hash.addData(bytes);
    }
    return QString::fromLatin1(hash.result().toBase64(QByteArray::OmitTrailingEquals)) + u' '
        + identityHash(foldedName(texts.name)) + u' ' + identityHash(numberDigits(texts.phone));
}

bool isSameEntry(const EntryTexts &texts, const QString &state)
{
    const QStringList parts = state.split(u' ');
    // A state without them says nothing against it.
    if (parts.size() != 3)
        return true;
    const QString name = foldedName(texts.name);
    const QString digits = numberDigits(texts.phone);
    return (!name.isEmpty() && identityHash(name) == parts.at(1))
        || (!digits.isEmpty() && identityHash(digits) == parts.at(2));
}

QString pairingKey(const EntryTexts &texts)
{
    return foldedName(texts.name) + QChar(0x1F) + numberDigits(texts.phone);
}

} // namespace dialvault
