#pragma once

#include "layout/layoutbuilder.h"
#include "layout/layoutdata.h"

#include <QPixmap>
#include <QWidget>

#include <vector>

namespace dialvault {

class WindowSystem;

// A window of the program as its layout describes it: borderless, of a
// fixed client size, centred on the screen, its background picture drawn at
// the top-left corner at its own size, its controls built from the layout,
// and moved by dragging its surface.
class FormWindow : public QWidget
{
    Q_OBJECT

public:
    const WindowLayout &layout() const { return m_layout; }

    // The window's exit: it disappears with its controls, and the next
    // opening builds it afresh at its layout values. A close from outside
    // (the window manager's close, Alt+F4) unloads it too.
    void unload();
    bool isUnloaded() const { return m_unloaded; }

protected:
    // The window without its controls, which the window built on it makes
    // with build().
    FormWindow(const WindowLayout &layout, WindowSystem &windows);

    // Makes the controls of the window's `layout` (those the builder does not
    // know itself with `factory`) and puts those the window keeps into
    // `controls`.
    template <typename Controls>
    void build(const WindowLayoutOf<Controls> &layout, Controls &controls,
               const ControlFactory &factory = {})
    {
        Q_ASSERT(&layout == &m_layout);
        m_made = buildControls(layout, this, factory);
        for (std::size_t i = 0; i < layout.keepers.size(); ++i) {
            if (layout.keepers[i])
                layout.keepers[i](controls, m_made[i]);
        }
    }

    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    const WindowLayout &m_layout;
    WindowSystem &m_windows;
    QPixmap m_picture; // for screens of m_pictureScale device pixels to a pixel
    qreal m_pictureScale = 0;
    std::vector<QObject *> m_made; // in the layout's order
    bool m_shownBefore = false;
    bool m_unloaded = false;
};

} // namespace dialvault
