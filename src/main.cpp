#include "layout/displaycheck.h"
#include "main/form1.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (const auto problem = dialvault::missingDisplay(QString::fromLocal8Bit(argv[0]))) {
        std::fputs(qPrintable(*problem + u'\n'), stderr);
        return 1;
    }
    QApplication app(argc, argv);
    dialvault::Form1 form;
    if (!form.start())
        return 1;
    return app.exec();
}
