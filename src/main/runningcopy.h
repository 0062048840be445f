#pragma once

#include "store/phonebooksource.h"

#include <QLockFile>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QObject;

namespace dialvault {

// One running copy of the program per phone book. A start first asks the
// copy already running on its phone book to come forward and take the files
// named to it; when none answers, this start becomes that copy: it listens
// under a name made from the phone book's place, in a folder only its user
// can reach. The check and the claim are one step under a lock file, so two
// starts at once cannot both become the copy; a name left behind by a crash
// answers nobody and is taken over.
class RunningCopy
{
public:
    // `folder`: where the names live, the user's runtime folder; empty: no
    // check, every start runs on its own.
    RunningCopy(const PhoneBookSource &phoneBook, const QString &folder);
    ~RunningCopy();

    // The name the copy of `phoneBook` listens under, in `folder`.
    static QString socketPath(const PhoneBookSource &phoneBook, const QString &folder);

    // Hands `files` (made absolute here) to the running copy; true when it
    // took them, and this start should end. Otherwise the name is held for
    // this start until listen(), whatever comes between.
    bool handOver(const QStringList &files);

    // Answers later starts from here on (the event loop must run):
    // `startedAgain` is called with the files each names, their paths
    // absolute. The server is a child of `owner`.
    void listen(QObject *owner, std::function<void(const QStringList &files)> startedAgain);

private:
    QString m_socketPath;
    std::unique_ptr<QLockFile> m_lock; // held from a failed hand-over to listen()
};

} // namespace dialvault
