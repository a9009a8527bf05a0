// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The program's formats: dates and times in the Czech form (01.02.1980, 10:15:30) whatever the
// locale, numbers with the decimal separator of the locale in force (QLocale()). Everything the
// program shows to the user and everything it reads back from a text box goes through these.
namespace Formaty {
// The formats the program works in: the system's, or the Czech ones where the system has no
// locale of its own (C, POSIX): the program's texts are Czech, and so are its users.
QLocale jazykProgramu(const QLocale& systemovy);
// The Czech short date format; a two-digit year is widened to four digits so that birth dates
// and years stay unambiguous.
QString formatKratkehoData();
// The Czech long time format without the time zone.
QString formatDlouhehoCasu();
QString datum(const QDate& d);
// Reads a date as a user types it: three numbers with a dot, slash, dash or blank between them
// and a four-digit year. Written with dots it is day.month.year in every locale (1.2.1980,
// 01.02.1980, 1. 2. 1980); starting with the year it is year, month, day (1980-02-01); with other
// separators the numbers follow the order of the locale's own short date (2/1/1980 is
// 1 February under en_US). Also the text exactly as the Czech or the locale's short date format
// shows it (with month names where the format has them). An invalid date for anything else, a
// day that the month does not have, or a year of fewer digits.
QDate naDatum(const QString& text);
// Short date, then a blank and the long time unless the time is exactly midnight.
QString datumCas(const QDateTime& dt);
QString cas(const QTime& t);
// General number format: up to 15 significant digits, the user's decimal separator, no
// thousands separator, no decimals for a whole number (370, 312,5).
QString cislo(double hodnota);
// Reads a number written with the user's decimal separator; ok is false for an empty text or
// one that is not a number.
double naCislo(const QString& text, bool* ok = nullptr);
// Reads a whole number; ok is false when the text is not one (blanks make it not one).
qint64 naCeleCislo(const QString& text, bool* ok = nullptr);
}  // namespace Formaty
