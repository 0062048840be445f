#pragma once

#include "layout/services.h"
#include "layout/settingsstore.h"
#include "place/phonebookplace.h"

#include <memory>
#include <optional>

namespace dialvault {

// The real window system, through Qt.
class QtServices : public Services
{
public:
    int messageBox(const QString &text, int style, const std::optional<QString> &title) override;
    void showWindow(QWidget *window) override;
    void unloadWindow(QWidget *window) override;
    void endProgram(int exitStatus) override;
    QString programFolder() override;
    QString phoneBookFolder() override;
    PhoneBookSource phoneBookSource() override;
    QDateTime now() override;
    QPoint cursorPos() override;
    QString readSetting(const QString &name) override;
    bool writeSetting(const QString &name, const QString &value) override;
    std::optional<quint32> chooseColour(QWidget *owner, quint32 initial) override;
    std::optional<ChosenFile> chooseFileToSave(QWidget *owner, const QString &title,
                                               const QString &suggested,
                                               const QStringList &filters) override;
    std::optional<QString> askText(QWidget *owner, const QString &title,
                                   const QString &label) override;
    QAction *popupMenu(QMenu &menu, const QPoint &globalPos) override;

    // Where the phone book and the settings live for this run.
    void usePlace(const PhoneBookPlace &place);
    // The phone book is on a server.
    void useServer(const QString &url);

private:
    SettingsStore &settings();

    std::optional<PhoneBookPlace> place_;
    QString server_;
    std::unique_ptr<SettingsStore> settings_;
};

// Tells the real window system the place decided at start-up, and the
// server when the phone book is on one.
void settleServices(const PhoneBookPlace &place, const QString &server = {});

} // namespace dialvault
