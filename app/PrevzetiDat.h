#pragma once

#include <QString>

class TMain;

// Taking over the register of the earlier Windows program, which kept it in a Jet database
// under the same name "data.mdb".

// Whether the database file is one of the earlier program (a Jet file) that must be taken over
// before the program can open it.
bool JeStaraDatabaze(const QString& soubor);

// Asks once whether to take over the data of the earlier program kept in soubor.
//  - "Ne": nothing changes; returns false, the program is to end.
//  - "Ano": the old file is renamed to soubor + ".jet" (an existing file of that name is never
//    overwritten: the take-over is then refused), a new database is made as on a first start
//    (the template and the schema upgrade), and every table of the old file that the schema
//    knows is copied into it in one transaction: members, code lists, settings, permit types,
//    links, other payments, the years with their state, the payment history. Columns are
//    matched by name; a table or column the old file lacks is left as the new database has it
//    (a year without a state is open, as the schema upgrade makes it). Returns true, the
//    connection hlavni.ADOConnection1 is closed again and the program opens the new file.
//  - A failed copy removes the half-made database, puts the old file back under its name,
//    writes the reason to the log and says so; returns false, the program is to end.
// The old file is read through the same reading layer as the code lists (JetSoubor.h), so a
// database of our own format serves as the old file just as well.
bool PrevzetiDat(TMain& hlavni, const QString& soubor = QStringLiteral("data.mdb"));
