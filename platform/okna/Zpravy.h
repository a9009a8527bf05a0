// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <QVector>

// The standard message dialog of the toolkit, as both programs use it: a caption and icon per
// kind, Czech buttons, placement on the active window, a result per button. Tests answer it
// through the queue of answers instead of a person.
namespace Zpravy {

struct Zaznam {
    QString text;
    int typZpravy;
    int typTlacitek;
};

// Shows the message and returns 0 for "Ano" and OK, 1 for "Ne", 2 for "Zrušit" and for the
// window's close box. vzdyNahore keeps the message above every other window.
int zobraz(const QString& text, int typZpravy, int typTlacitek, bool vzdyNahore = false);

// Where the message of the given size goes: centred on the reference point, then pushed back
// onto the screen (50 px above the bottom, 20 px from the right, 50 / 20 px from the top and
// left edges).
QPoint umisteni(const QSize& velikostDialogu, const QPoint& stred, const QSize& obrazovka);

// Test hook: while answers are queued, no window is shown; each message takes the next answer
// and is recorded. With automat mode on and no answer queued, a message is recorded and given
// the answer of Esc, so a forgotten answer never blocks a test.
void pridejOdpoved(int odpoved);
void nastavAutomat(bool zapnout);
QVector<Zaznam> zaznamy();
void vymazZaznamy();

}  // namespace Zpravy
