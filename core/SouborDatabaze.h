// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace db {
class Connection;
}

// The file data.mdb in the program's folder: which program may make, take over or open it, what
// a start finds there, and how a new database is put in place whole.
namespace SouborDatabaze {

// Only one program at a time makes, takes over or opens the database of a folder. Two programs
// started together would otherwise each build a new database over the other's, or each take a
// part of the database's exclusive lock and both give up. The lock is held on the folder itself
// (so no file is left behind) from construction until destruction, and ends with the process
// however it ends; a program that finds it held waits up to kCekaniMs for it. A folder whose
// file system has no such locks is used without one.
class ZamekSlozky {
public:
    static constexpr int kCekaniMs = 3000;
    explicit ZamekSlozky(const QString& slozka = QStringLiteral("."));
    ~ZamekSlozky();
    ZamekSlozky(const ZamekSlozky&) = delete;
    ZamekSlozky& operator=(const ZamekSlozky&) = delete;
    // Another program holds the lock.
    bool obsazeno() const { return m_obsazeno; }

private:
#ifdef _WIN32
    void* m_zamek = nullptr;
#else
    int m_fd = -1;
#endif
    bool m_obsazeno = false;
};

// The reason shown after "Nastala chyba při otevření DB: " when another program holds the lock.
QString zpravaObsazeno(const QString& soubor);

// No database yet: the file is missing, or it has 0 bytes (a copy or a start broken off before
// anything was written into it).
bool chybi(const QString& soubor);

// The file is a database of another program: it has tables and none of them is verze. (The
// empty template has no table at all; a database of ours of any version has verze.) Read
// without taking any lock and without changing anything; a file that cannot be read this way
// is not called foreign here, its open then says what is wrong.
bool jeCizi(const QString& soubor);
// The reason shown after "Nastala chyba při otevření DB: " for such a file.
QString zpravaCizi(const QString& soubor);

// A file of 1 to 511 bytes: too short to be a database (its smallest page is 512 bytes), so it
// is a damaged one, never taken for a missing one and built anew.
bool jeKratky(const QString& soubor);

// The engine's check of the whole file on an open connection: empty when the database is sound,
// else what the engine found (its first findings). The quick check (quick_check) reads every
// page's structure, a tenth of a second for a large register; the thorough one (integrity_check)
// also matches every index with its table.
enum class Kontrola { Rychla, Dukladna };
QString zkontroluj(db::Connection& spojeni, Kontrola kontrola = Kontrola::Rychla);

// Whether the engine's text of a failed open or statement says that the file is damaged (a
// malformed page or schema), as against any other failure.
bool jePoskozeni(const QString& chybaStroje);

// What is found beside a register before it is opened.
struct Nalez {
    enum class Druh {
        VPoradku,    // no unfinished write, or one whose completion leaves a sound register
        Poskozena,   // the register, with its unfinished write completed, is damaged
        CiziZurnal,  // the file is sound alone, but the unfinished write beside it would damage
                     // it: a journal left from another state of the file (a restored copy)
    };
    Druh druh = Druh::VPoradku;
    QString detail;  // what the check found
};

// A journal of an unfinished write (soubor + "-journal") is completed by the engine as soon as
// the file is opened; one that belongs to another state of the file (a copy restored over it
// after a crash) then writes old pages into it. So, when there is one, the file and its journal
// are first tried on copies; the register itself is not touched.
Nalez zkontrolujNedokoncenyZapis(const QString& soubor);

// The reasons shown after "Nastala chyba při otevření DB: ", each saying what the member can
// do.
QString zpravaPoskozena(const QString& soubor, const QString& detail);
QString zpravaCiziZurnal(const QString& soubor);

// Whether the program may write the open register: the engine has it read only (the file or
// its disk is read only, or the user may not write it), or no file can be made in its folder
// (where the engine keeps the journal of every write). Empty when it may; else the reason.
QString overZapis(db::Connection& spojeni, const QString& soubor);
QString zpravaJenProCteni(const QString& soubor, const QString& duvod);

// Puts a finished database novy in place under the name cil in one step and writes the folder's
// entries to the disk. cil must be missing or empty (chybi): a database is never replaced.
// Raises Chyba; novy is then removed.
void presunNaMisto(const QString& novy, const QString& cil);

}  // namespace SouborDatabaze
