#pragma once

#include "layout/layoutdata.h"

#include <QObject>

#include <functional>
#include <vector>

class QWidget;

namespace dialvault {

// Makes the controls a layout builder does not know itself (the grid, the
// data control, the colour dialog); returns null to leave one out.
using ControlFactory = std::function<QObject *(const ControlLayout &, QWidget *window)>;

// Creates every control of `layout` on `window` at its layout values (pixel
// positions at 15 twips per pixel), links them in tab order, marks the
// default and cancel buttons, and returns them in the layout's order, null
// where none was made.
std::vector<QObject *> buildControls(const WindowLayout &layout, QWidget *window,
                                     const ControlFactory &factory = {});

} // namespace dialvault
