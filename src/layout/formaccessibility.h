#pragma once

namespace dialvault {

// Lets screen readers see the windows and their picture boxes as what they
// are: each window as a window, named by its caption; a red bullet, which
// takes the focus in tab order, as the text it introduces (the name the
// layout gives it), and one that stands for nothing as a picture. Calling it
// again does nothing.
void installFormAccessibility();

} // namespace dialvault
