// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the program asks of the disk beyond reading and writing files: that written data really
// is on it before a name points to it, and whether a failed write was a full disk.
namespace Disk {

// Writes the file's data, or a folder's entries, through to the disk; raises Chyba when the
// system says it could not.
void synchronizuj(const QString& cesta);

// Whether the disk holding the path (a file or folder, existing or not yet: its nearest
// existing folder counts) has fewer than potreba bytes free for this user. False when it cannot
// tell.
bool maloMista(const QString& cesta, qint64 potreba);

// The words for a full disk, with the folder: "na disku se složkou "X" není dostatek volného
// místa".
QString zpravaPlnyDisk(const QString& cesta);

}  // namespace Disk
