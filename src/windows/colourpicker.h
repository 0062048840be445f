#pragma once

#include "button/colour.h"

#include <QObject>

#include <optional>

class QWidget;

namespace dialvault {

// The list window's colour picker: the window system's modal colour dialog,
// opened at the colour last chosen here (or the one it is given).
class ColourPicker : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The chosen colour, or nothing when the person cancels.
    std::optional<Colour> ShowColor(QWidget *owner, Colour fallback);
    // The last colour chosen; nothing before the first choice.
    std::optional<Colour> Color() const { return colour_; }

private:
    std::optional<Colour> colour_;
};

} // namespace dialvault
