#pragma once

#include "interchange/readresult.h"

#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <optional>

namespace dialvault {

// The bytes of a contacts file, read from the start a block at a time, so
// that a file of any size is read in the same memory; read again from the
// start for another pass.
class ByteSource
{
public:
    virtual ~ByteSource() = default;

    // Up to `most` bytes into `into`: how many, 0 at the end, -1 when they
    // cannot be read.
    virtual qsizetype read(char *into, qsizetype most) = 0;
    // Back to the first byte; false when that is not possible.
    virtual bool rewind() = 0;
};

// The bytes of a file on the disk.
class FileBytes : public ByteSource
{
public:
    // Opens the file at `path` for reading: every file an import reads is
    // opened here. A file that cannot be read is refused with its reason.
    std::optional<ReadFailure> open(const QString &path);

    qsizetype read(char *into, qsizetype most) override;
    bool rewind() override;

private:
    QFile m_file;
};

// Bytes already in memory, handed out as a file's would be.
class MemoryBytes : public ByteSource
{
public:
    explicit MemoryBytes(QByteArrayView bytes)
        : m_bytes(bytes)
    { }

    qsizetype read(char *into, qsizetype most) override;
    bool rewind() override;

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

} // namespace dialvault
