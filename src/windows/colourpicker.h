#pragma once

#include "button/colour.h"

#include <QObject>

#include <optional>

class QWidget;

namespace dialvault {

class WindowSystem;

// The list window's colour picker: the window system's modal colour dialog,
// opened at the colour last chosen here (or the one it is given).
class ColourPicker : public QObject
{
    Q_OBJECT

public:
    ColourPicker(WindowSystem &windows, QObject *parent);

    // The chosen colour, or nothing when the person cancels.
    std::optional<Colour> choose(QWidget *owner, Colour fallback);

private:
    WindowSystem &m_windows;
    std::optional<Colour> m_colour; // the last chosen
};

} // namespace dialvault
