// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// The only way a value enters an SQL text. Each helper returns one complete SQL literal:
//   sqlText    'O''Brien'              (apostrophes doubled)
//   sqlNumber  312.5, 7, null          (a decimal point whatever the user's separator;
//                                       an empty text becomes null)
//   sqlDate    '2016-03-05', null      (ISO 8601, the form the database stores)
//   sqlDateTime '2016-03-05 09:07:03'
// A text that should be a number and is not, or a text or name holding a zero character (the
// engine would end the statement there), raises Chyba, so a bad value stops the statement
// instead of changing it.
namespace Sql {
QString text(const QString& hodnota);
// Text, or null when the value is empty.
QString textNeboNull(const QString& hodnota);
// A number given as text, read: empty (a blank text), a whole number (its digits kept, up to
// 18 of them) or another number (through a double). The user's decimal separator or a decimal
// point are both read; anything else raises Chyba.
struct Cislo {
    enum class Druh { Prazdne, Cele, Desetinne } druh = Druh::Prazdne;
    qint64 cele = 0;
    double desetinne = 0;
};
Cislo prectiCislo(const QString& hodnota);

// A number given as text (read by prectiCislo); a blank text is null.
QString number(const QString& hodnota);
QString number(qint64 hodnota);
QString number(double hodnota);
QString date(const QDate& datum);
QString dateTime(const QDateTime& cas);
QString null();
// A table or column name taken from data, as a quoted identifier ("C_povolKO"), so that a name
// can never change the statement around it.
QString identifikator(const QString& jmeno);
// Raises the Chyba of text() for a text text() refuses (one holding a zero character).
void zkontrolujText(const QString& hodnota);
}  // namespace Sql
