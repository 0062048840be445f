#pragma once

#include <QByteArrayView>

namespace dialvault {

// Where `bytes` stop being strict UTF-8 (overlong forms, surrogates and
// code points past U+10FFFF included), or hold a NUL; -1 when they are clean.
qsizetype firstInvalidUtf8(QByteArrayView bytes);

// Where the run of ASCII other than NUL that starts at `at` ends.
qsizetype skipPlainAscii(QByteArrayView bytes, qsizetype at);

// The length of the well-formed UTF-8 sequence at `at`, or 0 when there is
// none (a NUL is none).
qsizetype utf8SequenceLength(QByteArrayView bytes, qsizetype at);

} // namespace dialvault
