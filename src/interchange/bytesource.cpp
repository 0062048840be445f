#include "interchange/bytesource.h"

#include "interchange/readfault.h"

#include <algorithm>
#include <cstring>

namespace dialvault {

std::optional<ReadFailure> FileBytes::open(const QString &path)
{
    m_file.setFileName(path);
    // Read in large blocks by the caller: Qt's own buffer would only copy them.
    if (m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::nullopt;
    ReadFailure failure = readFailure(ReadFault::CannotOpen, 0);
    failure.fileName = path;
    return failure;
}

qsizetype FileBytes::read(char *into, qsizetype most)
{
    return m_file.read(into, most);
}

bool FileBytes::rewind()
{
    return m_file.seek(0);
}

qsizetype MemoryBytes::read(char *into, qsizetype most)
{
    const qsizetype count = std::min(most, m_bytes.size() - m_at);
    if (count > 0)
        std::memcpy(into, m_bytes.data() + m_at, count);
    m_at += count;
    return count;
}

bool MemoryBytes::rewind()
{
    m_at = 0;
    return true;
}

} // namespace dialvault
