#include "layout/formlabel.h"

#include <QPainter>
#include <QTextOption>

namespace dialvault {

FormLabel::FormLabel(const QString &text, QColor colour, QWidget *parent)
    : QLabel(text, parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, colour);
    setPalette(colours);
}

void FormLabel::paintEvent(QPaintEvent *)
{
    // QLabel would pick the paragraph direction from the first letter and
    // put a Persian caption's colon on the right.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setTextDirection(Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    painter.drawText(QRectF(rect()), text(), option);
}

} // namespace dialvault
