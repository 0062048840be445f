#pragma once

#include "store/storeerror.h"

#include <QString>

#include <functional>

namespace dialvault {

// Why the phone book lives where it does.
enum class PlaceKind {
    Chosen, // --data-dir or DIALVAULT_DATA_DIR
    Portable, // beside the program, in a folder of the user's own
    Installed, // the user's data folder, the program being installed elsewhere
};

// Where the phone book, its backups and the settings live for this run.
struct PhoneBookPlace
{
    PlaceKind kind = PlaceKind::Installed;
    QString folder; // absolute; holds db1.mdb
    // Portable use keeps the settings in this INI file beside the phone book,
    // so the folder carries everything; empty: the user's own settings store.
    QString settingsFile;
    // The installation's empty phone book, copied in when the folder has none.
    QString emptyDatabase;

    QString databasePath() const;
    QString backupFolder() const;
    // The settings file or, for the user's own store, where the platform keeps it.
    QString settingsLocation() const;
};

// What the decision is made from. Tests fill it with scratch folders.
struct PlaceFacts
{
    QString optionFolder; // --data-dir
    QString environmentFolder; // DIALVAULT_DATA_DIR
    QString programFolder;
    QString userDataFolder;
    QString emptyDatabase;
    // Whether a file can be created in the folder; the real probe by default.
    std::function<bool(const QString &folder)> canWriteIn;
};

// The facts of this process: the option as given, the environment, the
// program's folder and the platform's data folder. Needs a QCoreApplication.
PlaceFacts placeFacts(const QString &optionFolder);

// Decides the place, first rule that applies: a folder named by the option or
// the environment; the program's folder when db1.mdb or a file "portable" is
// there; else the user's data folder. A program folder that asks for portable
// use but cannot be written is refused (cause ReadOnly, the description a
// Persian message with both folders), never swapped silently for another
// place. Changes nothing on disk.
Result<PhoneBookPlace> decidePlace(const PlaceFacts &facts);

// Makes the place ready for the windows and the commands: in installed use
// the folder is made, and when it holds no db1.mdb the installation's empty
// phone book is copied in. A phone book that is there is never touched, and
// a chosen or portable folder is left as it is: a phone book missing there
// is said when it is opened.
Status preparePlace(const PhoneBookPlace &place);

// The backups folder of the phone book file at `database`: backups/ beside it.
QString backupFolderBeside(const QString &database);

// A chosen folder (--data-dir) that is missing or empty, a first use, is
// made and given a new empty phone book: the value tells whether one was
// made. Any other folder is left exactly as it is (a folder of other files
// is no phone book's, and a db1.mdb there is said when it is opened), and
// so is every other place.
Result<bool> makePhoneBookInEmptyFolder(const PhoneBookPlace &place);

// Creates and removes a probe file in `folder`: whether SQLite could put its
// journal beside a phone book there.
bool canWriteIn(const QString &folder);

} // namespace dialvault
