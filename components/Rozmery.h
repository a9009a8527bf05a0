// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QFont>
#include <QSize>
#include <functional>

class QTableView;

// The windows' pixel sizes were drawn for 8-point Tahoma; the font in use on the desktop is
// usually wider and taller. These turn a size of that layout into one for the font in use, and
// size a list's columns and window so that its titles and values show whole.
namespace Rozmery {

// How much wider (taller) text of the font runs than 8-point Tahoma; never below 1, so the
// layout never shrinks below its drawn size.
double meritko(const QFont& pismo = QApplication::font());
double meritkoVysky(const QFont& pismo = QApplication::font());

// A width, a height or a size of the layout for the font.
int sirka(int px, const QFont& pismo = QApplication::font());
int vyska(int px, const QFont& pismo = QApplication::font());
QSize velikost(const QSize& px, const QFont& pismo = QApplication::font());

// How many rows a column's width is measured on: every row of a usual list (up to
// kRadkuKMereni); of a longer one the first kRadkuDlouhehoSeznamu, a screen or two, enough to
// show the form of its values without making each search keystroke of a long list slower.
constexpr int kRadkuKMereni = 200;
constexpr int kRadkuDlouhehoSeznamu = 40;

// The width the column needs to show its title whole, with mistoVpravo pixels free at the
// title's right end (where a sort indicator goes), and the texts of its first rows whole.
int potrebnaSirka(const QTableView* tabulka, int sloupec, int mistoVpravo = 0);

// Widens every visible column that is narrower than it needs (potrebnaSirka); columns for which
// vynechat says true (the user sized them) stay as they are.
void rozsirSloupce(QTableView* tabulka, int mistoVpravo = 0,
                   const std::function<bool(int)>& vynechat = {});

// The width the table needs to show all its visible columns side by side, with its row header,
// frame and vertical scroll bar.
int sirkaVsechSloupcu(const QTableView* tabulka);

// Widens the table's window (never narrows it) so that the table shows all its columns side by
// side, as far as the screen allows, keeping the window's centre: when the window is shown, and
// whenever the table's rows are read anew while it is on screen.
void drzOknoNaSirceSloupcu(QTableView* tabulka);

}  // namespace Rozmery
