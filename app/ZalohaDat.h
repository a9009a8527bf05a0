// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class TMain;

// The "Soubor" menu's backup of the register and its restoring: the member picks a folder or a
// backup file, confirms a restore, and is told the result (see Zaloha.h for the files).

// "Zálohovat data...": a consistent copy of the open register, named with the day, into a
// folder the member picks.
void ZalohujData(TMain& hlavni);

// "Obnovit data ze zálohy...": the member picks a backup file; it is checked, and after the
// member's confirmation it replaces the register, which is kept beside it.
void ObnovDataZeZalohy(TMain& hlavni);
