#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace dialvault {

// Writes to a device and keeps the first failure: after one, nothing more is
// written, so a file cut short by a full disk is reported, not half-filled on.
class OutputSink
{
public:
    explicit OutputSink(QIODevice &device);

    bool put(const QByteArray &bytes);
    bool ok() const { return m_errorString.isEmpty(); }
    // Empty while every write succeeded.
    const QString &errorString() const { return m_errorString; }

private:
    QIODevice &m_device;
    QString m_errorString;
};

} // namespace dialvault
