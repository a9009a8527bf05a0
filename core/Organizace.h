// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The organisation a build serves, recognised from the product name in the program's version
// block, and the addresses of its web server.

struct TAdresyWebu {
    QString HlavniStranka;    // scheme and host of the organisation's server
    QString StrankaAplikace;  // the organisation's page about paying by transfer
    QString AdresaIni;        // the update announcement verze.ini
    QString AdresaZip;        // the folder of the update archives
};

enum TOrganizace { o_Neurceno, o_Varnov, o_Kelmina };

// The organisation whose build carries this product name ("Parmex Rozu - MO Varnov"), compared
// exactly; o_Neurceno for any other.
TOrganizace OrganizaceProduktu(const QString& ProductName);

// The organisation's addresses on the server (scheme and host, such as Aktualizace::
// adresaServeru()); empty for o_Neurceno.
TAdresyWebu AdresyOrganizace(TOrganizace organizace, const QString& server);
