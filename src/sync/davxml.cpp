#include "sync/davxml.h"

#include <QBuffer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace dialvault {

namespace {

const QString dav = QStringLiteral("DAV:");
const QString carddav = QStringLiteral("urn:ietf:params:xml:ns:carddav");

// "HTTP/1.1 404 Not Found" gives 404; anything else 0.
int statusCode(const QString &line)
{
    const QStringList parts = line.simplified().split(u' ');
    return parts.size() >= 2 ? parts.at(1).toInt() : 0;
}

// A text the reader gave, in no more memory than it needs: a sync keeps
// an ETag of every card it brings in, and the reader's are four times that.
QString kept(QString text)
{
    text = text.trimmed();
    text.squeeze();
    return text;
}

bool is(const QXmlStreamReader &xml, const QString &ns, const char *name)
{
    return xml.namespaceUri() == ns && xml.name() == QLatin1String(name);
}

class Reader
{
public:
    // Read from a device, the reader decodes a few kilobytes at a time:
    // given the bytes, it decodes them all at once, twice over, and a
    // listing of 20,000 cards took 17 MB.
    explicit Reader(QIODevice *device)
        : m_xml(device)
    { }

    bool read(const std::function<void(DavResponse &&)> &visit, QString &syncToken)
    {
        if (!m_xml.readNextStartElement() || !is(m_xml, dav, "multistatus"))
            return false;
        while (m_xml.readNextStartElement()) {
            if (is(m_xml, dav, "response"))
                visit(response());
            else if (is(m_xml, dav, "sync-token"))
                syncToken = m_xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
            else
                m_xml.skipCurrentElement();
        }
        return !m_xml.hasError();
    }

private:
    DavResponse response()
    {
        DavResponse found;
        while (m_xml.readNextStartElement()) {
            if (is(m_xml, dav, "href"))
                found.href = kept(m_xml.readElementText());
            else if (is(m_xml, dav, "status"))
                found.status = statusCode(m_xml.readElementText());
            else if (is(m_xml, dav, "propstat"))
                propstat(found);
            else
                m_xml.skipCurrentElement();
        }
        return found;
    }

    // Only the properties that were found count: a propstat of 404 lists
    // those the server does not have.
    void propstat(DavResponse &found)
    {
        DavResponse props;
        int status = 0;
        while (m_xml.readNextStartElement()) {
            if (is(m_xml, dav, "status"))
                status = statusCode(m_xml.readElementText());
            else if (is(m_xml, dav, "prop"))
                prop(props);
            else
                m_xml.skipCurrentElement();
        }
        if (status < 200 || status > 299)
            return;
        found.propStatus = status;
        if (!props.etag.isEmpty())
            found.etag = props.etag;
        if (!props.addressData.isEmpty())
            found.addressData = props.addressData;
        if (!props.syncToken.isEmpty())
            found.syncToken = props.syncToken;
        found.collection = found.collection || props.collection;
        found.addressBook = found.addressBook || props.addressBook;
    }

    void prop(DavResponse &props)
    {
        while (m_xml.readNextStartElement()) {
            if (is(m_xml, dav, "getetag")) {
                props.etag = kept(m_xml.readElementText());
            } else if (is(m_xml, carddav, "address-data")) {
                props.addressData = m_xml.readElementText().toUtf8();
            } else if (is(m_xml, dav, "sync-token")) {
                props.syncToken = m_xml.readElementText().trimmed();
            } else if (is(m_xml, dav, "resourcetype")) {
                while (m_xml.readNextStartElement()) {
                    if (is(m_xml, dav, "collection"))
                        props.collection = true;
                    else if (is(m_xml, carddav, "addressbook"))
                        props.addressBook = true;
                    m_xml.skipCurrentElement();
                }
            } else {
                m_xml.skipCurrentElement();
            }
        }
    }

    QXmlStreamReader m_xml;
};

// A request document: DAV: as the default namespace, CardDAV as "C".
class Body
{
public:
    explicit Body(const char *root, const QString &ns = dav)
        : m_xml(&m_bytes)
    {
        m_xml.writeStartDocument();
        m_xml.writeDefaultNamespace(dav);
        m_xml.writeNamespace(carddav, QStringLiteral("C"));
        m_xml.writeStartElement(ns, QLatin1String(root));
    }

    QXmlStreamWriter &xml() { return m_xml; }

    void props(std::initializer_list<std::pair<const QString *, const char *>> names)
    {
        m_xml.writeStartElement(dav, QStringLiteral("prop"));
        for (const auto &[ns, name] : names)
            m_xml.writeEmptyElement(*ns, QLatin1String(name));
        m_xml.writeEndElement();
    }

    QByteArray finish()
    {
        m_xml.writeEndDocument();
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    QXmlStreamWriter m_xml;
};

} // namespace

bool readMultistatus(const QByteArray &xml, const std::function<void(DavResponse &&)> &visit,
                     QString &syncToken)
{
    QBuffer device;
    device.setData(xml);
    device.open(QIODevice::ReadOnly);
    return Reader(&device).read(visit, syncToken);
}

QByteArray propfindCollectionBody()
{
    Body body("propfind");
    body.props({{&dav, "resourcetype"}, {&dav, "sync-token"}});
    return body.finish();
}

QByteArray propfindMembersBody()
{
    Body body("propfind");
    body.props({{&dav, "resourcetype"}, {&dav, "getetag"}});
    return body.finish();
}

QByteArray syncCollectionBody(const QString &token)
{
    Body body("sync-collection");
    body.xml().writeTextElement(dav, QStringLiteral("sync-token"), token);
    body.xml().writeTextElement(dav, QStringLiteral("sync-level"), QStringLiteral("1"));
    body.props({{&dav, "getetag"}});
    return body.finish();
}

QByteArray multigetBody(const QStringList &hrefs)
{
    Body body("addressbook-multiget", carddav);
    body.props({{&dav, "getetag"}, {&carddav, "address-data"}});
    for (const QString &href : hrefs)
        body.xml().writeTextElement(dav, QStringLiteral("href"), href);
    return body.finish();
}

} // namespace dialvault
