// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

#include "Chyba.h"

namespace db {
class Connection;
}

// Read-only access to database files of the Jet engine (versions 3 and 4), the format of the
// organisation's code lists and of the registers kept by the earlier Windows program. The file
// is read through libmdb; the values are converted here, so each comes typed:
//   Logicky     bool
//   Cele        qlonglong (byte, integer, long integer)
//   Castka      QString with the exact decimal digits and a point ("18.0000"): currency and
//               decimal columns, never rounded through a binary fraction
//   Desetinne   double (single and double)
//   Text        QString in its real letters (text and memo)
//   DatumCas    QDateTime, converted from the stored day count, valid for every year the
//               engine stores (1899-12-30 00:00:00 is the zero of the scale); the wall time
//               as stored, in UTC terms so that no time zone shifts it
// and a null as a null QVariant. Columns of other types (OLE objects, binary, replication ids,
// attachments) are refused: reading them raises Chyba.
namespace jet {

enum class Druh { Logicky, Cele, Castka, Desetinne, Text, DatumCas, Nepodporovany };

struct Sloupec {
    QString nazev;
    Druh druh = Druh::Nepodporovany;
    int delka = 0;    // characters of a text column, bytes of the others as stored
    int meritko = 0;  // decimal places of a currency or decimal column
    int typ = 0;      // the engine's own type code
};

// Whether the file begins with the header of a Jet 3 or Jet 4 database.
bool jeJetSoubor(const QString& soubor);

// The stored date value (days since 30 December 1899, the fraction being the time of day) as a
// date and time, to the second, as a UTC date-time holding the wall time as stored; invalid for
// a value outside the years 1 to 9999.
QDateTime datumZHodnoty(double dny);

// The text of a stored decimal value (17 bytes) with its decimal places, e.g. "-123.45".
QString textDesetinnehoCisla(const unsigned char* bajty, int meritko);

class Soubor {
public:
    // Opens the file read only; raises Chyba when it cannot be read as a Jet database.
    explicit Soubor(const QString& soubor);
    ~Soubor();
    Soubor(const Soubor&) = delete;
    Soubor& operator=(const Soubor&) = delete;

    // 3 or 4.
    int verze() const;
    // The user tables, in the order of the file's catalogue.
    QStringList tabulky() const;
    // The table's name as the file spells it, found without regard to case; empty when the file
    // has no such table.
    QString najdiTabulku(const QString& nazev) const;
    // Raises Chyba when the table does not exist.
    QVector<Sloupec> sloupce(const QString& tabulka) const;

    using NaRadek = std::function<void(const QVariantList& hodnoty)>;
    // Reads every row of the table in stored order and hands over the values of the named
    // columns (all columns when none is named), in the order named. The table is read whole
    // before the first row is handed over, so the callback may use the file again. Raises Chyba
    // for an unknown table or column, a column of a refused type and a damaged row.
    void ctiRadky(const QString& tabulka, const QStringList& nazvySloupcu,
                  const NaRadek& naRadek) const;

private:
    struct Data;
    std::unique_ptr<Data> d;
};

// Opens a file for reading through a db::Connection, whichever format it has: a Jet file is
// read whole into a database in memory (the named tables, all of them when none is named, with
// their columns of the types above; a table or column the file lacks or the reader refuses is
// left out, so a statement naming it fails as on any other file) which then refuses every
// change; a file of our own format is opened read only as it is.
//
// A Jet file is read in a separate process (see hlavniCteni): the reading library has faults
// that a damaged file can set off and that no check made beforehand can rule out. A crash of
// that process, or a reading that does not end within the time limit, raises Chyba here like
// any other damaged file, and the program goes on.
void otevriKeCteni(db::Connection& spojeni, const QString& soubor,
                   const QStringList& tabulky = QStringList());

// The reading itself, in this process: the named tables (all when none is named) of the Jet
// file in a database of our own format, as the bytes of its file. Raises Chyba.
QByteArray prectiDoObrazu(const QString& soubor, const QStringList& tabulky = QStringList());

// The process that reads a Jet file is the program itself started with this argument:
//   <program> --parmex-cteni-jet <file> [<table>...]
// hlavniCteni is its whole work: the image on its standard output and exit status 0, or the
// reason (UTF-8) on its standard output and exit status 1. The program's main() hands such a
// start over to it before anything else.
extern const char* const kPrepinacCteni;
int hlavniCteni(int argc, char** argv);

// How long one reading may take (a whole register of the earlier program reads in well under a
// second).
constexpr int kLimitCteniMs = 30000;
// The program started for reading (the running program's own file unless set) and the time
// limit. Tests, whose own executables do not serve the argument, point it at the program.
void nastavCtenare(const QString& program, int limitMs = kLimitCteniMs);

}  // namespace jet
