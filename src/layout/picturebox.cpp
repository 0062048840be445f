#include "layout/picturebox.h"

#include <QMouseEvent>
#include <QPainter>

namespace dialvault {

PictureBox::PictureBox(QColor colour, QWidget *parent)
    : QWidget(parent)
    , m_colour(colour)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), m_colour);
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    // The box's own press: it takes the focus and never drags the window.
    setFocus(Qt::MouseFocusReason);
    event->accept();
}

} // namespace dialvault
