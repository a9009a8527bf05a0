#pragma once

#include <QString>

// Writing files so that they survive a crash: flushing to the disk and renaming in one step.
namespace Disk {
// Writes the file's data (or a folder's entries) through to the disk; false when it cannot.
// Where the system keeps a folder's entries durable by itself, a folder needs nothing.
bool zapisNaDisk(const QString& cesta);
// Renames z to na in one step, replacing a file na, so that na always names either the old or
// the new file; false when it cannot.
bool prejmenuj(const QString& z, const QString& na);
}  // namespace Disk
