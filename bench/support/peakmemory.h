#pragma once

#include <QStringList>

// Peak memory of one piece of work, measured in a process of its own so that
// nothing the benchmark did before counts.
namespace dialvault::bench {

// This process's peak resident size in kilobytes (VmHWM), or -1. Not
// getrusage's maximum: that survives exec and so would count the parent's
// pages too.
long peakKilobytes();

// Runs this benchmark program again with `arguments` — a mode of its own
// that does the work and prints peakKilobytes() — and returns what it
// printed; -1 when the run failed.
long peakKilobytesOfRun(const QStringList &arguments);

} // namespace dialvault::bench
