#include "desktop/clock.h"

namespace dialvault {

QDateTime SystemClock::now()
{
    return QDateTime::currentDateTime();
}

} // namespace dialvault
