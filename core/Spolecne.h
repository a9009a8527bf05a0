// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// The common operations that need no window: the error log, version information of program
// files, text and date helpers and writing an embedded file. The windows reach them through
// uAllYouNeed.h together with the message box and the other operations on windows.

struct Tdatum {
    QString year, month, day, hour, min, sec, msec, cas;
};

struct TExeVersionData {
    QString CompanyName, FileDescription, FileVersion, InternalName, LegalCopyright,
        LegalTrademarks, OriginalFileName, ProductName, ProductVersion, Comments, PrivateBuild,
        SpecialBuild;
};

// Appends "<date time>: <text>" and CR LF to Error.log in the program's folder, the text's own
// line breaks written as blanks; raises Chyba when the log cannot be created or written.
void ZapisDoLogu(const QString& text);

// "1.0.4.30" for a program file with a version block, "" for a file without one,
// "Soubor nenalezen!" for a missing file.
QString VerzeSouboru(const QString& soubor);
// Fills the entries the file's version block has; raises Chyba when it has none.
void NactiVerziExe(const QString& soubor, TExeVersionData& data);

QString DoplnNuly(const QString& text, quint8 delka, bool zleva = true);
Tdatum RozlozDatum(const QDateTime& datum);
void UlozZdrojDoSouboru(const QString& typ, const QString& jmeno, const QString& soubor);

// The program's own file and its folder (with a trailing separator). Tests may point them at
// another file and folder.
QString SouborProgramu();
QString SlozkaProgramu();
void NastavSouborProgramu(const QString& soubor);
