#pragma once

#include <QLabel>

namespace dialvault {

// A caption on a window's surface: transparent, on one line, and laid out
// left to right as the layouts were designed (the Persian captions are stored
// with their colon first so that it stands at the left end), or right to left
// against its right edge where a layout asks for that reading order.
class FormLabel : public QLabel
{
    Q_OBJECT

public:
    FormLabel(const QString &text, QColor colour, QWidget *parent);

    void setRightToLeft(bool rightToLeft);
    // Takes the width of its text on one line and the height of one line.
    void fitToText();

protected:
    void paintEvent(QPaintEvent *event) override;
    // A press on a label is the label's, so it never drags the window.
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool m_rightToLeft = false;
};

} // namespace dialvault
