#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The user's formats, taken from the system locale (QLocale()): short date, long time and the
// decimal separator. Everything the program shows to the user and everything it reads back
// from a text box goes through these.
namespace Formaty {
// The formats the program works in: the system's, or the Czech ones where the system has no
// locale of its own (C, POSIX): the program's texts are Czech, and so are its users.
QLocale jazykProgramu(const QLocale& systemovy);
// The short date format; a two-digit year is widened to four digits so that birth dates and
// years stay unambiguous.
QString formatKratkehoData();
// The long time format without the time zone.
QString formatDlouhehoCasu();
QString datum(const QDate& d);
// Reads a date as a user types it: three numbers in the order of the short date format, with a
// dot, slash, dash or blank between them and a four-digit year (1.2.1980, 01.02.1980,
// 1. 2. 1980 in the Czech order), or the text exactly as the short date format shows it (with
// month names where the format has them). An invalid date for anything else, a day that the
// month does not have, or a year of fewer digits.
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
