#pragma once

#include <QDateTime>

namespace dialvault {

// The time of day, as the windows show it and the daily backup counts days.
class Clock
{
public:
    virtual ~Clock() = default;

    // The current local date and time.
    virtual QDateTime now() = 0;
};

// The system's own clock.
class SystemClock final : public Clock
{
public:
    QDateTime now() override;
};

} // namespace dialvault
