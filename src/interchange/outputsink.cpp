#include "interchange/outputsink.h"

#include <QIODevice>

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
    m_errorString = m_device.errorString();
    if (m_errorString.isEmpty())
        m_errorString = QStringLiteral("write failed");
    return false;
}

} // namespace dialvault
