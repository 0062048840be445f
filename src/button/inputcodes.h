#pragma once

#include <Qt>

class QKeyEvent;

// The numbers the button's mouse and key events carry, as the window system
// numbers them.

namespace dialvault {

// The button of a press or release: 1 left, 2 right, 4 middle; 0 for any other.
short buttonCode(Qt::MouseButton button);
// The buttons held during a move, added up.
short buttonMask(Qt::MouseButtons buttons);
// Shift 1, Ctrl 2, Alt 4, added up.
short shiftState(Qt::KeyboardModifiers modifiers);
// The Windows virtual-key code of a key (US layout for punctuation); 0 when
// the key has none.
short virtualKey(const QKeyEvent *event);

// The key codes the button acts on.
constexpr short spaceKey = 32;
constexpr short leftKey = 37;
constexpr short upKey = 38;
constexpr short rightKey = 39;
constexpr short downKey = 40;

} // namespace dialvault
