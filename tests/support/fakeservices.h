#pragma once

#include "layout/services.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace dialvault {

// Stands in for the window system while it lives: message boxes are recorded
// and answered at once, windows shown and unloaded are recorded, and ending
// the program only counts.
class FakeServices final : public Services
{
public:
    struct Box
    {
        QString text;
        int style = 0;
        QString title; // as shown: the application title when none was given
    };

    FakeServices();
    ~FakeServices() override;

    int messageBox(const QString &text, int style, const std::optional<QString> &title) override;
    void showWindow(QWidget *window) override;
    void unloadWindow(QWidget *window) override;
    void endProgram(int exitStatus) override;
    QString programFolder() override;
    QDateTime now() override;
    QPoint cursorPos() override;

    QList<Box> boxes;
    // Answers for the next boxes, in order; when none is queued a Yes/No box
    // is answered No and every other box OK.
    QList<int> answers;
    // Runs while a box is open, before it is answered.
    std::function<void(const Box &)> whileOpen;
    QList<QPointer<QWidget>> shown;
    QList<QPointer<QWidget>> unloaded;
    int endCount = 0;
    int exitStatus = -1; // as the last endProgram asked
    QString folder;
    QDateTime clock = QDateTime(QDate(2026, 12, 7), QTime(8, 40, 53, 250));
    QPoint cursor;
};

} // namespace dialvault
