#pragma once

#include <QString>

namespace dialvault {

// Lets screen readers see the painted button as a push button: its caption
// as its name, its tooltip as its description, its states, and a press
// action that clicks it as the space key does. Every button calls it when it
// is made; calling it again does nothing.
void installButtonAccessibility();

// The caption as a reader speaks it: the access-key markers gone ("&&" is one
// "&"), as they are when it is drawn, and no spaces at either end.
QString spokenCaption(const QString &caption);

} // namespace dialvault
