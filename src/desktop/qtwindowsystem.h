#pragma once

#include "desktop/windowsystem.h"

namespace dialvault {

// The real window system, through Qt.
class QtWindowSystem final : public WindowSystem
{
public:
    int messageBox(const QString &text, int style, const std::optional<QString> &title,
                   QWidget *owner) override;
    void showWindow(QWidget *window, QWidget *openedFrom) override;
    void unloadWindow(QWidget *window) override;
    void endProgram(int exitStatus) override;
    QPoint pointerPosition() override;
    bool startSystemMove(QWidget *window) override;
    std::optional<quint32> chooseColour(QWidget *owner, quint32 initial) override;
    std::optional<ChosenFile> chooseFileToSave(QWidget *owner, const QString &title,
                                               const QString &suggested,
                                               const QStringList &filters) override;
    std::optional<QString> askText(QWidget *owner, const QString &title,
                                   const QString &label) override;
    QAction *popupMenu(QMenu &menu, const QPoint &globalPos) override;
    void previewPrint(QWidget *owner, const QString &title,
                      const std::function<void(QPrinter &)> &paint) override;
};

} // namespace dialvault
