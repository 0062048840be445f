#include "layout/formlabel.h"

#include "words/interfacelanguage.h"

#include <QFontMetrics>
#include <QMouseEvent>
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

void FormLabel::setRightToLeft(bool rightToLeft)
{
    m_rightToLeft = rightToLeft;
    update();
}

void FormLabel::fitToText()
{
    const QFontMetrics metrics(font());
    resize(metrics.horizontalAdvance(text()), metrics.height());
}

void FormLabel::paintEvent(QPaintEvent *)
{
    // QLabel would pick the paragraph direction from the first letter and put
    // a Persian caption's colon on the right. A translation reads left to
    // right, against the side the layout gives.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const Qt::Alignment side = m_rightToLeft ? Qt::AlignRight : Qt::AlignLeft;
    QTextOption option(side | Qt::AlignTop);
    const bool persian = languageInUse() == InterfaceLanguage::Persian;
    option.setTextDirection(m_rightToLeft && persian ? Qt::RightToLeft : Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    painter.drawText(QRectF(rect()), text(), option);
}

void FormLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

} // namespace dialvault
