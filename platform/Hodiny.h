// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

// The one clock of the program: every "today" and "now", in the windows and in the SQL
// functions now() and date(), is read here so that tests can fix the date.
namespace Hodiny {
QDateTime ted();
QDate dnes();
// Fixes the clock at the given local time; an invalid value returns to the system clock.
void nastav(const QDateTime& pevnyCas);
}  // namespace Hodiny
