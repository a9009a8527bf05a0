// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class Hlaseni;

// The update check's plain parts: reading the announcement file verze.ini, comparing versions,
// the updater's two command lines, fetching the announcement, writing out and starting the
// updater, and running a process while waiting for it.

// The announcement as read from verze.ini; all values are in small letters.
struct TVerzeNaWebu {
    QString VerzeProg;   // newest program version, such as 1.0.4.30
    QString DatumProg;   // its date (not used)
    QString SouborProg;  // archive with the new program, under AdresaZip
    QString DatumCis;    // date of the code lists (not used)
    QString SouborCis;   // archive with dataCis.mdb, under AdresaZip
    QString VerzeCis;    // code-list version, a whole number
};

namespace Aktualizace {

enum class Oznameni { Precteno, MaloRadku, SpatnaHlavicka };

// Splits a text into lines at CR LF, CR or LF; a line break at the very end starts no new line.
QStringList radky(const QString& text);

// Lowers A-Z, splits the text into lines and reads the keys from lines 2 and later: a line holds
// a key when the key occurs anywhere in it, the value is the rest of the line after the one
// character that follows the key, the last line holding a key wins. Fewer than 7 lines or a
// first line other than "[parmex-rozu]" read nothing.
Oznameni rozeber(const QString& text, TVerzeNaWebu& verze);

// The text of the announcement's bytes: UTF-8 when they are valid UTF-8 (a byte order mark
// before them is dropped), else Windows-1250, the code page of the program's other files.
QString textOznameni(const QByteArray& bajty);

// A whole number in decimal (blanks before it allowed), 0 when the text is none.
int celeCislo(const QString& text);

// 1 when verze1 is higher, 2 when verze2 is, 0 when equal. An empty argument stands for
// vlastniVerze (the program's own version). Each version is read as four whole numbers: the
// text before each of the first three dots, then the rest with its dots removed
// ("1.2.3.4.5" is 1, 2, 3, 45; "1.2" is 1, 0, 0, 2).
quint8 porovnej(QString verze1, QString verze2, const QString& vlastniVerze);

// The message of a failed download of the announcement, around the network layer's text.
QString zpravaChybyStahovani(const QString& popis);

// An archive name the updater may store in its temporary folder: not empty, no folder part.
bool platnyNazevArchivu(const QString& nazev);

// The parameters of the program update: archive address, "tmp\", archive name and twice the
// program's file name, each in double quotes, separated by one blank.
QString parametryProgramu(const QString& adresaZip, const QString& zip, const QString& program);
// The command line of the code-list update: the updater, then archive address, "tmp\", archive
// name and the file to replace, each in double quotes.
QString prikazCiselniku(const QString& obnovnik, const QString& adresaZip, const QString& zip,
                        const QString& rozbalitJako);

// The updater's command line cannot carry a double quote inside an argument: a quote only
// switches quoting. A program whose path holds one could never be updated, so it refuses to
// start there: the message that says so, or an empty text when the path is fine.
QString chybaCestyProgramu(const QString& souborProgramu);

// The server address of the build; PARMEX_ADRESA_SERVERU, when set, replaces it (used to point
// a built program at a test server).
QString adresaServeru();

// Downloads the announcement at adresa (DownloadUrl) into text; empty on success, else the whole
// message of zpravaChybyStahovani. An announcement larger than 1 MiB is refused.
QString stahniOznameni(const QString& adresa, QString& text);

// Writes the embedded updater into the current folder as SouborObnovniku(), executable, after
// checking the archive name it is to fetch (platnyNazevArchivu). False, with the reason written
// to the log through hlaseni (an unwritable log is passed over) and given in duvod, when either
// fails; a reason of writing names the folder.
bool zapisObnovnik(const QString& ZipNaServeru, Hlaseni& hlaseni, QString* duvod = nullptr);

// The program update: writes out the updater and starts it with the parameters of
// parametryProgramu, not waiting for it. False when the updater could not be written out;
// nothing is started then. The caller then closes the program.
bool spustAktualizaciProgramu(const QString& adresaZip, const QString& ZipNaServeru,
                              Hlaseni& hlaseni, QString* duvod = nullptr);

// The code-list update: deletes a file left at RozbalitJako, so that afterwards only a file this
// run brought can be there, writes out the updater and runs it without a window until it ends
// (SpustACekej); it unpacks the archive's file of RozbalitJako's name to RozbalitJako. False,
// with the reason in duvod, when the updater could not be written out or the old file cannot
// be deleted; nothing is started then.
bool aktualizujCiselniky(const QString& adresaZip, const QString& ZipNaServeru,
                         const QString& RozbalitJako, Hlaseni& hlaseni, QString* duvod = nullptr);

}  // namespace Aktualizace

// Name of the updater program that the program writes beside itself and removes again.
QString SouborObnovniku();

// Runs the command line (the program, then its arguments) with this process's environment and
// current directory and waits for it, checking every 500 ms. Meanwhile the windows keep painting
// but the user cannot act in them: keys, clicks and closing are dropped. A program named without
// a folder is looked for in the current directory first.
// zobrazeni 0 asks for no window (the updater's silent run shows none anyway). Result: the exit
// code, or -1 when the process cannot be started or does not end normally.
int SpustACekej(const QString& prikaz, quint16 zobrazeni);
