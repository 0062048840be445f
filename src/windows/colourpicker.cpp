#include "windows/colourpicker.h"

#include "desktop/windowsystem.h"

namespace dialvault {

ColourPicker::ColourPicker(WindowSystem &windows, QObject *parent)
    : QObject(parent)
    , m_windows(windows)
{ }

std::optional<Colour> ColourPicker::choose(QWidget *owner, Colour fallback)
{
    const std::optional<quint32> chosen
        = m_windows.chooseColour(owner, m_colour.value_or(fallback));
    if (chosen)
        m_colour = *chosen;
    return chosen;
}

} // namespace dialvault
