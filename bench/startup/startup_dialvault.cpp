// The program's start-up, as main.cpp does it, up to the main window's first
// painted frame. Run by bench/startup/compare.sh beside startup_minimal.
#include "firstframe.h"
#include "main/form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    dialvault::Form1 form;
    FirstFrame frame;
    form.installEventFilter(&frame);
    if (!form.start())
        return 1;
    return app.exec();
}
