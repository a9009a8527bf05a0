// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QString>

// Reads the version block that the build embeds into each of our programs (file version,
// product name and the other entries), from any file on disk: the running program's own file
// or the updater's.
namespace VerzniBlok {
enum class Vysledek { Nacteno, SouborNenalezen, NelzeCist, BezBloku };
// Fills the entries by name ("FileVersion", "ProductName", "Translation", ...).
Vysledek nacti(const QString& soubor, QMap<QString, QString>* polozky);
// The file version as four numbers joined by dots without leading zeros ("1.0.4.30");
// "Soubor nenalezen!" for a missing file, an empty text for a file without a version block.
QString verzeSouboru(const QString& soubor);
// The block as it is embedded, for tests that make files carrying a version.
QByteArray sestav(const QMap<QString, QString>& polozky);
}  // namespace VerzniBlok
