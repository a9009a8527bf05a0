// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Relace;

// The code-list import: takes the code lists of the newest year found in the code-list file
// soubor ("dataCis.mdb" in the current directory, the program's folder, unless told otherwise)
// over into the local database, together with the organisation's account and town, and stamps
// the imported version and today's date.
//
// The file is a Jet database as the organisation publishes it, or a database of our own format;
// either is opened read only through relace.spojeniCis (a Jet file by reading its tables into
// memory, see JetSoubor.h), and the same statements run on it. Every statement runs through the
// context's query helper (relace.gosql / gosqlexec), and all local changes happen in one
// transaction on relace.spojeni: either the whole import is stored or nothing is. A missing file
// is a silent return. Any other failure (a file that is no database, is locked, lacks a table or
// a column, holds values the local schema refuses, has no year) rolls everything back, writes the
// message to the log and tells the user "Při importu nových číselníků došlo k neočekávané
// výjimce. (...)" through relace.hlaseni. At the end relace.rok holds the local database's newest
// year.
//
// Values read from the file reach the statements through the quoting helpers of the data layer:
// texts keep their apostrophes and a null text is the empty text, numbers that are null stay
// null, amounts keep their exact decimal value whatever the user's decimal separator is.
//
// A file from elsewhere must not hold the program: code lists are tables of values, so a file
// with views, triggers or computed columns is refused (a view may call itself without end, a
// computed column may build huge values), and every statement on the file is interrupted after
// 30 s, which fails the import the same way.
void ImportCiselniku(Relace& relace, const QString& VerzeCiselniku,
                     const QString& soubor = QStringLiteral("dataCis.mdb"));
