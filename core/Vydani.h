// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "Aktualizace.h"

// Publishing for the organisation's administrator: writes the folder that the organisation's
// web server serves and every member's program reads at its start. Below the server's root,
// in the path the organisation's build reads (parmex/ or banking/parmexhome/):
//   verze.ini                   the announcement (program version and archive, code-list
//                               version and archive, their dates)
//   parmexrozu-<version>.zip    the program as the updater unpacks it: ParmexRozu at the top
//                               level with its executable bit
//   ciselniky-<version>.zip     the code lists: dataCis.mdb at the top level
// File names are in small letters, because the program lowers the whole announcement.
namespace Vydani {

// The organisations a build can serve ("Varnov", "Kelmina").
QStringList organizace();
// The path below the server's root where the organisation's build reads its announcement;
// empty for an unknown organisation.
QString slozkaOrganizace(const QString& organizace);
// The product name a build for the organisation carries in its version block.
QString nazevProduktu(const QString& organizace);

// The announcement's text: the header and the six keys in their order, CR LF line ends.
QByteArray textOznameni(const TVerzeNaWebu& v);

// Checks a code-list file the way a member's program will take it: imports a copy of it with the
// program's own import into a fresh empty local database in a temporary folder. Empty when the
// import takes it (rok then gets the imported evidence year); otherwise the import's reason. No
// message is shown: the import's messages are recorded and make the reason.
QString zkontrolujCiselniky(const QString& soubor, QString* rok = nullptr);

struct Zadani {
    QString slozkaServeru;  // the server's root folder; must exist
    QString organizace;     // whose path and product name apply
    QString program;        // the program file, or a build folder holding app/ParmexRozu; or empty
    QString ciselniky;      // the code-list file; or empty
};

// Publishes the program and/or the code lists, keeping what is not published (the other half
// of the announcement, every other file). The program's version comes from its version block
// and must be higher than the announced one, and its product name must be the organisation's;
// the code-list version is the announced one raised by one, and the file must pass
// zkontrolujCiselniky. Every file is written under a temporary name and renamed into place,
// the announcement last. Returns lines that say what was published. Raises Chyba with the
// reason when it refuses or cannot write; the server folder is then as it was.
QStringList vydej(const Zadani& zadani);

}  // namespace Vydani
