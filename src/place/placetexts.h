#pragma once

#include <QCoreApplication>
#include <QString>

// What the person is told about the phone book's place, in the language in
// use; the Persian in the program's letter forms (ي U+064A, ک U+06A9).
namespace dialvault::placetexts {

// %1: the folder beside the program, %2: the user's data folder.
inline QString portableFolderReadOnly()
{
    return QCoreApplication::translate(
        "PhoneBookPlace",
        "دفترچه تلفن کنار برنامه است، ولي در اين پوشه نمي توان نوشت:\n%1\n"
        "برنامه به جاي آن دفترچه ديگري باز نمي کند. پوشه را قابل نوشتن کنيد، "
        "يا دفترچه (db1.mdb) را از کنار برنامه به اين پوشه ببريد:\n%2");
}

} // namespace dialvault::placetexts
