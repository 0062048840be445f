#pragma once

#include <QtGlobal>

namespace dialvault {

// Where a line of a contacts file ends. LF, CR LF and a lone CR each end
// one; so does a run of CRs before an LF, which some phones write for CR LF.
// `Text` is a QByteArrayView or a QStringView.
template <typename Text>
bool isLineEndAt(Text text, qsizetype at)
{
    return text[at] == '\n' || text[at] == '\r';
}

// The length of the line end at `at` (0 when there is none): a run of CRs
// and the LF after it are one; a CR not followed, after more CRs, by an LF
// is one on its own.
template <typename Text>
qsizetype lineEndLength(Text text, qsizetype at)
{
    if (text[at] == '\n')
        return 1;
    if (text[at] != '\r')
        return 0;
    qsizetype after = at + 1;
    while (after < text.size() && text[after] == '\r')
        ++after;
    return after < text.size() && text[after] == '\n' ? after + 1 - at : 1;
}

// The 1-based line holding `offset`.
template <typename Text>
int lineNumberAt(Text text, qsizetype offset)
{
    int line = 1;
    qsizetype at = 0;
    while (at < offset && at < text.size()) {
        const qsizetype length = lineEndLength(text, at);
        if (length == 0) {
            ++at;
            continue;
        }
        // An offset inside a line end belongs to the line it ends.
        if (at + length > offset)
            break;
        ++line;
        at += length;
    }
    return line;
}

} // namespace dialvault
