// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>

#include "Databaze.h"

// A backup of the register (data.mdb) that the member makes while the program runs, and its
// restoring. Nothing here asks or tells the user: the functions raise Chyba with a Czech text
// that the program shows.
namespace Zaloha {

// The file name of a backup made on the day: "data-zaloha-2027-03-01.mdb", with "-2", "-3", ...
// before ".mdb" when a file of that name already stands in the folder.
QString jmenoZalohy(const QString& slozka, const QDate& den);

// Copies the open register, as one consistent state, into a new file of the folder named by
// jmenoZalohy, while the connection stays open. The copy is written under a temporary name,
// written through to the disk and only then given its name, so an interrupted backup leaves
// no file that looks like a backup. Returns the backup's path. Raises Chyba.
QString zalohuj(const db::Connection& spojeni, const QString& slozka, const QDate& den);

// Why the file cannot be a register of this program to restore: not a readable database, the
// engine's integrity check fails, no table verze with the schema version 4, or one of the
// program's tables missing. Empty when it can. The file is only read; whatever stands beside it
// (a journal) is not used.
QString chybaSouboru(const QString& soubor);

// The name under which the replaced register is kept beside it:
// "data.mdb.pred-obnovou-2027-03-01", with "-2", ... when that name is taken.
QString jmenoPuvodnihoRegistru(const QString& registr, const QDate& den);

// Replaces the register the connection has open (its file, opened exclusively) with the backup
// zaloha and opens it again on the same connection. The backup is copied into the register's
// folder under a temporary name, checked there (chybaSouboru) and written through to the disk
// before anything else changes; then the connection is closed, the register is kept as
// jmenoPuvodnihoRegistru (together with a journal that stood beside it, which belongs to it and
// must never be rolled into the restored file), the copy is renamed over the register in one
// step and the connection opens it. Interrupted at any moment, the register's name stands
// either for the old register or for the whole restored one. Returns the kept register's path.
// Raises Chyba; when the restored file cannot be opened, the connection is left closed.
QString obnov(db::Connection& spojeni, const QString& zaloha, const QDate& den);

}  // namespace Zaloha
