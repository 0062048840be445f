#include "sync/entrystate.h"

#include "store/searchkeys.h"

#include <QCryptographicHash>

namespace dialvault {

namespace {

QByteArray withLineFeeds(const QString &text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(u'\r', u'\n');
    return plain.toUtf8();
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
    return QString::fromLatin1(hash.result().toBase64(QByteArray::OmitTrailingEquals));
}

QString pairingKey(const EntryTexts &texts)
{
    return foldedName(texts.name) + QChar(0x1F) + numberDigits(texts.phone);
}

} // namespace dialvault
