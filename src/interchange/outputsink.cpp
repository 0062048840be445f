#include "interchange/outputsink.h"

#include <QFileDevice>

namespace dialvault {

OutputSink::OutputSink(QIODevice &device)
    : m_device(device)
{ }

bool OutputSink::put(const QByteArray &bytes)
{
    if (!ok())
        return false;
    if (m_device.write(bytes) == bytes.size())
        return true;
    keepFailure();
    return false;
}

bool OutputSink::finish()
{
    if (!ok())
        return false;
    auto *file = qobject_cast<QFileDevice *>(&m_device);
    if (file && !file->flush())
        keepFailure();
    return ok();
}

void OutputSink::keepFailure()
{
    m_errorString = m_device.errorString();
    if (m_errorString.isEmpty())
        m_errorString = QStringLiteral("write failed");
}

} // namespace dialvault
