#include "windows/colourpicker.h"

#include "layout/services.h"

namespace dialvault {

std::optional<Colour> ColourPicker::ShowColor(QWidget *owner, Colour fallback)
{
    const std::optional<quint32> chosen
        = services().chooseColour(owner, colour_.value_or(fallback));
    if (chosen)
        colour_ = *chosen;
    return chosen;
}

} // namespace dialvault
