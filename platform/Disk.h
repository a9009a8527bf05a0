// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QFileDevice;

// What the program asks of the disk beyond reading and writing files: that written data really
// is on it before a name points to it, renaming in one step, and whether a failed write was a
// full disk.
namespace Disk {

// Writes the file's data, or a folder's entries, through to the disk; false when the system
// says it could not. Where the system keeps a folder's entries durable by itself, a folder
// needs nothing.
bool zapisNaDisk(const QString& cesta);
// The same for a file open in this program (its buffer already written out).
bool zapisNaDisk(QFileDevice& soubor);
// The same, raising Chyba with the file's name when it cannot.
void synchronizuj(const QString& cesta);

// Renames z to na in one step, replacing a file na, so that na always names either the old or
// the new file; false when it cannot.
bool prejmenuj(const QString& z, const QString& na);

// Whether the disk holding the path (a file or folder, existing or not yet: its nearest
// existing folder counts) has fewer than potreba bytes free for this user. False when it cannot
// tell.
bool maloMista(const QString& cesta, qint64 potreba);

// The words for a full disk, with the folder: "na disku se složkou "X" není dostatek volného
// místa".
QString zpravaPlnyDisk(const QString& cesta);

}  // namespace Disk
