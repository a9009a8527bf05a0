// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class Relace;

// The schema of data.mdb and its upgrade, and a new database of the current schema.

// The statements of the schema upgrade of data.mdb, step by step: step 1 creates the tables of
// version 2 (29 statements), step 2 brings version 3, step 3 version 4.
QStringList PrikazyUpravy(int krok);

// What the upgrade reports while it runs; the program shows it in its progress window
// (TDialogUprStruct). Overall progress goes from 0 to 2; each step runs from 0 to 1.
class PrubehUpravy {
public:
    virtual ~PrubehUpravy() = default;
    // Before anything runs.
    virtual void zacatek() {}
    // The statements of a step are about to run.
    virtual void krokZacina() {}
    // They have run.
    virtual void krokHotov() {}
    // Overall progress: 1 after the first step's turn, 2 when all steps have run.
    virtual void celkem(int hotovo) { Q_UNUSED(hotovo) }
    // The upgrade has ended, normally or by an error.
    virtual void konec() {}
};

// The schema version this program makes and upgrades to.
constexpr int kVerzeSchematu = 4;

// The stored schema version of the open database: 1 when table verze cannot be read, 0 when it
// has no row, otherwise its DB. Read on relace.dotaz.
int UlozenaVerzeSchematu(Relace& relace);

// The upgrade (PovyseniDB): runs every step whose target version is above DB, in order, each
// statement through the query helper on relace.dotaz with the error handed back. A failing
// statement ends it with its error. Afterwards the schema is at version 4 and table verze holds
// one row with DB 4.
void PovysDatabazi(Relace& relace, int DB, PrubehUpravy* prubeh = nullptr);

// Writes a new database under the name novy: the embedded template upgraded to the current
// schema, then filled by naplneni while it is open on relace.spojeni, closed again and written
// through to the disk. Nobody uses the file meanwhile, so the statements skip the disk
// synchronisation and the finished file is synchronised once. A file of that name, what an
// interrupted start left behind, is replaced. Raises Chyba; novy is then removed.
void PripravNovouDatabazi(Relace& relace, const QString& novy,
                          const std::function<void()>& naplneni = {},
                          PrubehUpravy* prubeh = nullptr);

// A new data.mdb (soubor): written and upgraded under a temporary name and put in place only
// when complete. A start interrupted at any moment leaves either no database (the next start
// begins again) or a complete one, never a half-upgraded file. Raises Chyba.
void VytvorDatabazi(Relace& relace, const QString& soubor = QStringLiteral("data.mdb"),
                    PrubehUpravy* prubeh = nullptr);
