#pragma once

#include <QString>

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

// Writes the file's data (or a folder's entries) through to the disk; raises Chyba.
void synchronizuj(const QString& cesta);

// Puts a finished database novy in place under the name cil in one step and writes the folder's
// entries to the disk. cil must be missing or empty (chybi): a database is never replaced.
// Raises Chyba; novy is then removed.
void presunNaMisto(const QString& novy, const QString& cil);

}  // namespace SouborDatabaze
