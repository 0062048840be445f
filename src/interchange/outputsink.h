#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace dialvault {

// Writes to a device and keeps the first failure: after one, nothing more is
// written, so a file cut short by a full disk is reported, not half-filled on.
// A write that only reached a buffer has not succeeded yet: finish() sends
// the rest and says whether that failed (a full device takes the buffer, then
// refuses it).
class OutputSink
{
public:
    explicit OutputSink(QIODevice &device);

    bool put(const QByteArray &bytes);
    // Every byte put reaches the device; false when a write, or this last
    // one, failed.
    bool finish();
    bool ok() const { return m_errorString.isEmpty(); }
    // Empty while every write succeeded.
    const QString &errorString() const { return m_errorString; }

private:
    void keepFailure();

    QIODevice &m_device;
    QString m_errorString;
};

} // namespace dialvault
