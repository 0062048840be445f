#pragma once

#include <QFont>
#include <QString>

#include <memory>

namespace dialvault {

// A font as the layouts store it: the button shares one such object with its
// host (assigning stores the caller's object, reading returns it), so a change
// made through either is seen by both.
struct FontObject
{
    QString name = QStringLiteral("Tahoma");
    double size = 8.25; // points
    int weight = 400; // 400 normal, 700 bold
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int charset = 0; // 178 is Arabic

    // The Qt font that draws it: sized in pixels at 96 dots per inch, so the
    // fixed-size windows look the same on every screen, never anti-aliased.
    // Tahoma and MS Sans Serif draw in the embedded interface font.
    QFont toQFont() const;

    bool operator==(const FontObject &) const = default;
};

using FontRef = std::shared_ptr<FontObject>;

} // namespace dialvault
