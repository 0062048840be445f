#pragma once

#include "button/fontobject.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace dialvault {

// Named values as a window layout stores them for a control. Names are
// compared with case ignored (the layouts write them in lower case, the
// control in upper case); the order in which names were first written is kept.
// Font values are held as FontObject.
class PropertyBag
{
public:
    QVariant read(const QString &name, const QVariant &defaultValue) const;
    // Replaces the value of a name already present (keeping its place and
    // spelling), or appends the name.
    void write(const QString &name, const QVariant &value);
    bool contains(const QString &name) const;
    QStringList names() const;

    QByteArray save() const;
    // Data that is not a saved bag gives an empty bag.
    static PropertyBag load(const QByteArray &data);

private:
    qsizetype indexOf(const QString &name) const;

    QList<QPair<QString, QVariant>> m_entries;
};

} // namespace dialvault
