#pragma once

#include "store/storeerror.h"

#include <QByteArrayView>
#include <QString>

namespace dialvault {

// How many leading bytes of a file tell whether it is a Jet database.
inline constexpr int jetSignatureSize = 20;

// Whether `head`, the first bytes of a file, begin a Jet 3 or Jet 4 database
// (or its Access 2007 successor, which the same reader reads).
bool hasJetSignature(QByteArrayView head);

// Success when the file at `path` begins with the Jet signature; otherwise
// CannotOpen, or NotADatabase for a file of any other content or size.
Status checkJetSignature(const QString &path);

} // namespace dialvault
