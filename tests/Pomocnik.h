// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryDir>

class TMain;

// Shared fixtures of the tests.
namespace Pomocnik {
// Czech formats for the whole test (the formats users of the program really have), the
// message box answered by the tests and the real program as the reader of Jet files.
void pripravProstredi();

// A fresh working folder that is the current directory and the program's folder while the
// object lives. The program file is a stand-in carrying a version block with the given
// product name (empty: a file without any block).
class PracovniSlozka {
public:
    explicit PracovniSlozka(const QString& produkt = QStringLiteral("Parmex Rozu - MO Varnov"),
                            const QString& verze = QStringLiteral("1.0.4.30"));
    ~PracovniSlozka();
    QString cesta(const QString& jmeno = QString()) const;
    QString log() const;

private:
    QTemporaryDir m_dir;
    QString m_puvodni;
};

// A file's bytes (empty when it cannot be read), and a file written with these bytes (the test
// fails when it cannot be).
QByteArray obsah(const QString& soubor);
void zapis(const QString& soubor, const QByteArray& data);

// The first field of the first row of a select on the main window's database, as text.
QString jedna(const QString& sql);

// Ending the program (UkonciProgram) stops every local event loop of the thread at once, also
// those started later, such as the one a download waits in. This runs the application's loop to
// its end, which lifts that, so a later case of the same process can download again.
void obnovSmyckyUdalosti();

// Writes a file that carries a version block with these entries.
void zapisProgramSVerzi(const QString& soubor, const QString& produkt, const QString& verze);
// A new program as an update brings it: a stand-in script that notes its start beside itself
// (novy-program-bezi.txt), carrying the version block of the built program with the file
// version 1.0.5.0 after its end, where the shell never reads; the updater installs nothing else.
QByteArray novyProgram();

// The program's main window in the current folder, with the clock at 1.3.2027 10:00 and the
// sample code lists of 2027 imported: where the tests of members and payments start.
TMain* hlavniOknoSeVzorovymiCiselniky();
}  // namespace Pomocnik
