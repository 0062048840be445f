#pragma once

#include "layout/services.h"

namespace dialvault {

// The real window system, through Qt.
class QtServices final : public Services
{
public:
    int messageBox(const QString &text, int style, const std::optional<QString> &title) override;
    void showWindow(QWidget *window) override;
    void unloadWindow(QWidget *window) override;
    void endProgram(int exitStatus) override;
    QString programFolder() override;
    QDateTime now() override;
    QPoint cursorPos() override;
};

} // namespace dialvault
