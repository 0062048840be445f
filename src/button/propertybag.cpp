#include "button/propertybag.h"

#include <QDataStream>
#include <QIODevice>

namespace dialvault {

namespace {

const QByteArray magic = QByteArrayLiteral("DVPB");
constexpr quint8 formatVersion = 1;

// A loaded bag must not depend on FontObject having been registered by name
// in the loading process, so font values are written field by field.
enum ValueTag : quint8 { PlainValue = 0, FontValue = 1 };

void writeFont(QDataStream &out, const FontObject &font)
{
    out << font.name << font.size << qint32(font.weight) << font.bold << font.italic
        << font.underline << font.strikethrough << qint32(font.charset);
}

FontObject readFont(QDataStream &in)
{
    FontObject font;
    qint32 weight = 0;
    qint32 charset = 0;
    in >> font.name >> font.size >> weight >> font.bold >> font.italic >> font.underline
        >> font.strikethrough >> charset;
    font.weight = weight;
    font.charset = charset;
    return font;
}

QDataStream::Version streamVersion()
{
    return QDataStream::Qt_6_4;
}

} // namespace

qsizetype PropertyBag::indexOf(const QString &name) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).first.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant PropertyBag::read(const QString &name, const QVariant &defaultValue) const
{
    const qsizetype i = indexOf(name);
    return i < 0 ? defaultValue : m_entries.at(i).second;
}

void PropertyBag::write(const QString &name, const QVariant &value)
{
    const qsizetype i = indexOf(name);
    if (i < 0)
        m_entries.append({name, value});
    else
        m_entries[i].second = value;
}

bool PropertyBag::contains(const QString &name) const
{
    return indexOf(name) >= 0;
}

QStringList PropertyBag::names() const
{
    QStringList result;
    result.reserve(m_entries.size());
    for (const auto &entry : m_entries)
        result.append(entry.first);
    return result;
}

QByteArray PropertyBag::save() const
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(streamVersion());
    out.writeRawData(magic.constData(), int(magic.size()));
    out << formatVersion << quint32(m_entries.size());
    for (const auto &[name, value] : m_entries) {
        out << name;
        if (value.metaType() == QMetaType::fromType<FontObject>()) {
            out << quint8(FontValue);
            writeFont(out, value.value<FontObject>());
        } else {
            out << quint8(PlainValue) << value;
        }
    }
    return data;
}

PropertyBag PropertyBag::load(const QByteArray &data)
{
    if (!data.startsWith(magic))
        return {};
    QDataStream in(data.mid(magic.size()));
    in.setVersion(streamVersion());
    quint8 version = 0;
    quint32 count = 0;
    in >> version >> count;
    if (version != formatVersion)
        return {};

    PropertyBag bag;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        QString name;
        quint8 tag = PlainValue;
        in >> name >> tag;
        QVariant value;
        if (tag == FontValue)
            value = QVariant::fromValue(readFont(in));
        else if (tag == PlainValue)
            in >> value;
        else
            return {};
        bag.write(name, value);
    }
    return in.status() == QDataStream::Ok ? bag : PropertyBag();
}

} // namespace dialvault
