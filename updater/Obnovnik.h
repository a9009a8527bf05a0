// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The updater's steps that need no window: reading its command line, its own version, the
// names it derives, preparing and cleaning the temporary folder, and replacing the file.
namespace obnovnik {

// Splits a command-line text into arguments: characters up to code 32 separate arguments; a
// double quote switches quoting on and off and is not part of the argument; a backslash is an
// ordinary character ("tmp\" is tmp and a backslash); two quotes at the very start of an
// argument are skipped, so an empty quoted argument does not count.
QStringList rozdelPrikazovouRadku(const QString& radka);

// The arguments of this process (without the program name) by the same rules, for a platform
// whose arguments arrive already split: quotes inside an argument still switch quoting and are
// dropped, and an argument left empty does not count.
QStringList argumentyProcesu(const QStringList& argv);

// "1.1.1.49" for a file carrying a version block, "" for a file without one, "Soubor
// nenalezen!" for a missing file.
QString VerzeSouboru(const QString& soubor);

// A folder or file argument as a path of this platform: a backslash is a folder separator.
QString cesta(const QString& argument);

// The file as it lies on disk: the exact name when it exists, else an entry of its folder
// whose name differs only in letter case (archive names are matched without regard to case).
QString najdiSoubor(const QString& soubor);

// The temporary folder: when it exists, whatever an earlier run left in it (an archive, unpacked
// files and folders) is deleted, so that nothing of a failed run stands in the next one's way;
// otherwise it is created. A symbolic link standing in its place is removed, never followed. A
// folder that holds the current folder or the updater's own (such as "." or "..") is never
// emptied: only a leftover archive is deleted from it. False when it cannot be created.
bool pripravSlozku(const QString& slozka, const QString& archiv);

// Deletes the archive and the unpacked file and removes the folder when it is then empty.
// Failures are ignored.
void uklid(const QString& archiv, const QString& novySoubor, const QString& slozka);

// Before a program file is replaced: the new file must be a program of the same organisation,
// that is carry a version block whose product name equals the one of the file it replaces.
// Empty when it does; otherwise the message that says why the old file stays. A new file that
// is missing is left to nahradSoubor.
QString overNovyProgram(const QString& novySoubor, const QString& cil);

// The largest file the updater unpacks from an archive; larger entries are refused before
// anything is written. The program is about 25 MB, the code lists far less.
constexpr qint64 kNejvetsiSoubor = 200LL * 1024 * 1024;

enum class Nahrada { Nahrazeno, NovyChybi, Vzdano };

// What stood in the way of a replacement.
enum class Prekazka {
    StaryNelzeOdstranit,  // the new file lies beside the old one, which cannot be replaced
    PlnyDisk,             // the new file cannot be written beside the old one: the disk is full
    NovyNelzeZapsat,      // the new file cannot be written beside the old one for another reason
};

// Puts the new file in place of the target so that afterwards either the old or the new file
// is there, never neither: the new file must exist before the target is touched; it is copied
// beside the target under the name target + ".obnova", written through to the disk, renamed
// over it, and the folder's new entry is written through too, so that a power cut right after
// leaves the whole new file. While that fails, zkusitZnovu is told what stood in the way (with
// a description) and decides whether to try again (false gives up and leaves the old file). The
// copy keeps the new file's permission bits, so a program stays executable.
Nahrada nahradSoubor(const QString& novySoubor, const QString& cil,
                     const std::function<bool(Prekazka, const QString& popis)>& zkusitZnovu);

}  // namespace obnovnik
