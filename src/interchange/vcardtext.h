#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace dialvault {

// The escapes of vCard text values. 3.0 and 4.0 escape backslash, comma,
// semicolon and line breaks ("\n"); 2.1 knows only "\;" (it writes line
// breaks in quoted-printable), so its other backslashes are plain text.
enum class VCardDialect { V21, V30 };

QString unescapeText(const QString &raw, VCardDialect dialect);

// The components of a structured value such as N, split at unescaped
// semicolons and unescaped. In 3.0 and 4.0 an unescaped comma separates the
// items of one component; they are joined with a space.
QStringList structuredComponents(QStringView raw, VCardDialect dialect);

} // namespace dialvault
