#pragma once

#include <QObject>

class QWidget;

namespace dialvault {

// Moves a borderless window by its surface: a press anywhere on the window
// itself (never on a control) with any mouse button takes the grab position,
// each move puts the window so that the point pressed stays under the pointer,
// and the release ends the drag. Positions are twips at a fixed 15 per pixel,
// whatever the screen's resolution.
class WindowDrag : public QObject
{
    Q_OBJECT

public:
    static void install(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit WindowDrag(QWidget *window);

    QWidget *window_;
    int dragging_ = -1; // 1 while dragging; unset until the first press
    float grabX_ = 0; // twips from the client area's left edge
    float grabY_ = 0;
};

} // namespace dialvault
