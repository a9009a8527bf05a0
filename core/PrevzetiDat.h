// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class PrubehUpravy;
class Relace;

// Taking over the register of the earlier Windows program, which kept it in a Jet database
// under the same name "data.mdb".

// Whether the database file is one of the earlier program (a Jet file) that must be taken over
// before the program can open it.
bool JeStaraDatabaze(const QString& soubor);

// Whether a start must offer the take-over: soubor is a register of the earlier program, or an
// earlier take-over was broken off (its old file is kept as soubor + ".jet" and soubor is
// missing or empty).
bool CekaNaPrevzeti(const QString& soubor);

enum class Prevzeti {
    Hotovo,     // the new database is in place; the program opens it
    Odmitnuto,  // the user answered "Ne": nothing changed, the program is to end
    Selhalo     // the user has been told why; nothing the user had changed, the program is to end
};

// Asks once, through relace.hlaseni, whether to take over the data of the earlier program kept in
// soubor, or in soubor + ".jet" when a take-over of it was broken off (see CekaNaPrevzeti).
//  - "Ne": nothing changes.
//  - "Ano": a new database is made under the temporary name soubor + ".novy" as on a first
//    start (the template and the schema upgrade), and every table of the old file that the
//    schema knows is copied into it in one transaction: members, code lists, settings, permit
//    types, links, other payments, the years with their state, the payment history. Columns
//    are matched by name; a table or column the old file lacks is left as the new database has
//    it (a year without a state is open, as the schema upgrade makes it). Only the complete
//    database is put in place: the old file is renamed to soubor + ".jet" (an existing file of
//    that name is never overwritten: the take-over is then refused before anything is made),
//    then the new one to soubor. A take-over broken off at any moment thus leaves the old file
//    under one of its two names, never changed, and the next start offers the take-over again
//    until a complete new database is in place. The connection relace.spojeni is closed again
//    and the program opens the new file. The schema upgrade reports to prubeh.
//  - A failed copy removes the half-made database, writes the reason to the log and says so.
// The old file is read through the same reading layer as the code lists (JetSoubor.h), so a
// database of our own format serves as the old file just as well.
Prevzeti PrevzetiDat(Relace& relace, const QString& soubor = QStringLiteral("data.mdb"),
                     PrubehUpravy* prubeh = nullptr);
