#pragma once

#include <QLabel>

namespace dialvault {

// A caption on a window's surface: transparent, left-aligned, and always laid
// out left to right, as the layouts were designed (the Persian captions are
// stored with their colon first so that it stands at the left end).
class FormLabel : public QLabel
{
    Q_OBJECT

public:
    FormLabel(const QString &text, QColor colour, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace dialvault
