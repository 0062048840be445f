#include "interchange/vcardtext.h"

namespace dialvault {

namespace {

// What `\c` stands for, or a null QChar when the backslash is plain text.
QChar escaped(QChar c, VCardDialect dialect)
{
    if (c == u';')
        return c;
    if (dialect == VCardDialect::V21)
        return QChar();
    switch (c.unicode()) {
    case u'n':
    case u'N':
        return u'\n';
    case u'\\':
    case u',':
    case u':':
        return c;
    default:
        return QChar();
    }
}

} // namespace

QString unescapeText(const QString &raw, VCardDialect dialect)
{
    qsizetype backslash = raw.indexOf(u'\\');
    if (backslash < 0)
        return raw;
    QString text;
    text.reserve(raw.size());
    qsizetype copied = 0;
    while (backslash >= 0 && backslash + 1 < raw.size()) {
        const QChar plain = escaped(raw[backslash + 1], dialect);
        if (plain.isNull()) {
            backslash = raw.indexOf(u'\\', backslash + 1);
            continue;
        }
        text.append(QStringView(raw).sliced(copied, backslash - copied));
        text.append(plain);
        copied = backslash + 2;
        backslash = raw.indexOf(u'\\', copied);
    }
    text.append(QStringView(raw).sliced(copied));
    return text;
}

QStringList structuredComponents(QStringView raw, VCardDialect dialect)
{
    QStringList components;
    QString current;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c == u'\\' && i + 1 < raw.size()) {
            const QChar plain = escaped(raw[i + 1], dialect);
            if (!plain.isNull()) {
                current.append(plain);
                ++i;
                continue;
            }
        }
        if (c == u';') {
            components.append(current);
            current.clear();
        } else if (c == u',' && dialect == VCardDialect::V30) {
            current.append(u' ');
        } else {
            current.append(c);
        }
    }
    components.append(current);
    return components;
}

} // namespace dialvault
