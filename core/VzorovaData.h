// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Sample code lists of a local organisation, as the organisation publishes them in
// "dataCis.mdb": the account and town, the handling fee, membership fees, brigade compensation,
// the ten permit types with their price tables, other payments and their links to memberships
// and permits. The file holds the evidence year rok and, with older prices, the year before.
namespace VzorovaData {

// The organisation's account in the sample (a made-up number that passes the bank's check).
extern const char* const kUcet;
// The organisation's town in the sample.
extern const char* const kMesto;

// Writes a new code-list file (replacing one that exists) with the tables of the local database
// and the sample content. radkyNavic adds that many generated rows for year rok to the
// membership fees, to each permit price table, to the other payments and to the links, for
// measuring the import on a large file. Raises Chyba when the file cannot be written.
void vytvor(const QString& soubor, int rok = 2027, int radkyNavic = 0);

}  // namespace VzorovaData
