#pragma once

#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;

namespace dialvault {

class PaintedButton;

// The dialog keys of one top-level window: Enter typed in one of its text
// boxes presses the default button, Esc anywhere in it presses the cancel
// button, and Alt with a button's access key presses that button, each as the
// button's access-key press. Keys reach the focused control only when none of
// these applies.
class DialogKeys : public QObject
{
    Q_OBJECT

public:
    // Marks the buttons (either may be null) and starts routing. The router
    // belongs to the window; installing again replaces the buttons.
    static DialogKeys *install(QWidget *window, PaintedButton *defaultButton,
                               PaintedButton *cancelButton);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit DialogKeys(QWidget *window);
    void setButtons(PaintedButton *defaultButton, PaintedButton *cancelButton);
    bool route(QKeyEvent *event);
    PaintedButton *accessKeyTarget(const QKeyEvent *event) const;

    QWidget *m_window;
    QPointer<PaintedButton> m_defaultButton;
    QPointer<PaintedButton> m_cancelButton;
};

} // namespace dialvault
