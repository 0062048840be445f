#pragma once

#include <QObject>

class QWidget;

namespace dialvault {

class WindowSystem;

// Moves a borderless window by its surface: a press anywhere on the window
// itself (never on a control) with any mouse button takes the grab position,
// each move puts the window so that the point pressed stays under the pointer,
// and the release ends the drag. Positions are twips at a fixed 15 per pixel,
// whatever the screen's resolution. Where the compositor moves windows
// (Wayland), the press hands the drag to it instead.
class WindowDrag : public QObject
{
    Q_OBJECT

public:
    // The pointer's place on the screen is the window system's answer.
    static void install(QWidget *window, WindowSystem &windows);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    WindowDrag(QWidget *window, WindowSystem &windows);

    QWidget *m_window;
    WindowSystem &m_windows;
    int m_dragging = -1; // 1 while dragging; unset until the first press
    float m_grabX = 0; // twips from the client area's left edge
    float m_grabY = 0;
};

} // namespace dialvault
