#pragma once

#include "layout/layoutbuilder.h"
#include "layout/layoutdata.h"

#include <QHash>
#include <QPixmap>
#include <QWidget>

namespace dialvault {

// A window of the program as its layout describes it: borderless, of a
// fixed client size, centred on the screen, its background picture drawn at
// the top-left corner at its own size, its controls built from the layout,
// and moved by dragging its surface.
class FormWindow : public QWidget
{
    Q_OBJECT

public:
    explicit FormWindow(const WindowLayout &layout, const ControlFactory &factory = {});

    // A control by its layout name, or null.
    template <typename T>
    T *control(const QString &name) const
    {
        return qobject_cast<T *>(controls_.value(name));
    }

    const WindowLayout &layout() const { return layout_; }

    // The window's exit: it disappears with its controls, and the next
    // opening builds it afresh at its layout values.
    void unload();
    bool isUnloaded() const { return unloaded_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    const WindowLayout &layout_;
    QPixmap picture_;
    QHash<QString, QObject *> controls_;
    bool shownBefore_ = false;
    bool unloaded_ = false;
};

} // namespace dialvault
