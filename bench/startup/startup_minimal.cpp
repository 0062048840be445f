// The smallest comparable program: one frameless 413 x 239 window holding one
// label with Persian text, so that font loading counts here too.
#include "firstframe.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(413, 239);
    QLabel label(QStringLiteral(":تعداد شماره هاي ذخيره شده"), &window);
    label.move(240, 136);
    FirstFrame frame;
    window.installEventFilter(&frame);
    window.show();
    return app.exec();
}
