// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include "Spolecne.h"

class Hlaseni;
class Relace;

// The common operations every window uses: the one message box, the lookup of open windows,
// ending the program and the shared pieces of window layout; with them, through Spolecne.h, the
// error log, version information of program files, text and date helpers and writing an
// embedded file, which the core uses too.

// Kinds: 0 "Zpráva", 1 "Dotaz", 2 "Chyba", 3 "Pozor". Buttons: 0 OK, 1 "Ano"/"Ne",
// 2 "Ano"/"Ne"/"Zrušit". Result: 0 "Ano" or OK, 1 "Ne", 2 "Zrušit" or the close box.
quint8 ZobrazDialog(const QString& text, quint8 typZpravy = 0, quint8 typTlacitek = 0);

bool FormularOtevren(const QString& nazev, bool doPopredi);

// What the core tells or asks the user, shown with ZobrazDialog; its log lines go to Error.log.
Hlaseni& HlaseniProgramu();
// The context of the program's main window, which every window works in.
Relace& RelaceProgramu();

// "The program ends": the event loops are asked to stop and the main window's closing step
// must not run. The caller returns at once after calling it. An ending because of an error (the
// user has just been told what failed) gives the process the exit status 1, any other 0.
void UkonciProgram(bool chybou = false);
bool ProgramKonci();
// The exit status the program ends with, once it ends.
int NavratovyKod();
// For tests that start the program's windows again in one process.
void ZrusKonecProgramu();

class QLabel;
class QWidget;
// A label in bold, as the windows use for captions and values that stand out.
QLabel* TucnyPopisek(const QString& text, QWidget* rodic);

class QStatusBar;
// The layout the list windows share: the content on the left, a column of buttons on the right
// (the first ones at the top, the others at the bottom) and an empty status bar at the foot.
QStatusBar* RozlozOkno(QWidget* okno, QWidget* obsah, const QList<QWidget*>& tlacitkaNahore,
                       const QList<QWidget*>& tlacitkaDole);

// Enter on a focused button of the window presses that button, as Space does; Enter anywhere
// else keeps its meaning (the window's default button, a grid's or a search box's own key).
// The button acts when Enter is released after it was pressed on that button, so an Enter whose
// press closed another window or answered a message never presses a button here. In a window
// with a default button the other buttons are left auto-default, so the focused one is drawn
// as the button Enter presses.
void EnterStiskneTlacitko(QWidget* okno);

// The toolkit's general error report: an error no operation caught, shown with its text.
void ObecneHlaseniChyby(const QString& zprava);
