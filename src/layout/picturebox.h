#pragma once

#include <QColor>
#include <QWidget>

namespace dialvault {

// A picture box of the layouts: a plain box in its back colour. It takes the
// focus in tab order, as picture boxes do, and shows no focus mark.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    PictureBox(QColor colour, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QColor m_colour;
};

} // namespace dialvault
