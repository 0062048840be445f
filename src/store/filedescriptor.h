#pragma once

#include <unistd.h>

namespace dialvault {

// Closes a POSIX file descriptor when it goes out of scope.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd)
        : fd(fd)
    { }
    ~FileDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    int get() const { return fd; }

private:
    int fd;
};

} // namespace dialvault
