// SPDX-License-Identifier: GPL-3.0-or-later
#include "Organizace.h"

TOrganizace OrganizaceProduktu(const QString& ProductName) {
    if (ProductName == QLatin1String("Parmex Rozu - MO Varnov")) return o_Varnov;
    if (ProductName == QLatin1String("Parmex Rozu - MO Kelmina")) return o_Kelmina;
    return o_Neurceno;
}

TAdresyWebu AdresyOrganizace(TOrganizace organizace, const QString& server) {
    TAdresyWebu a;
    switch (organizace) {
        case o_Varnov:
            a.HlavniStranka = server;
            a.StrankaAplikace =
                a.HlavniStranka + QStringLiteral("/index.php/u-nas/platby-prevodem");
            a.AdresaIni = a.HlavniStranka + QStringLiteral("/parmex/verze.ini");
            a.AdresaZip = a.HlavniStranka + QStringLiteral("/parmex");
            break;
        case o_Kelmina:
            a.HlavniStranka = server;
            a.StrankaAplikace = a.HlavniStranka + QStringLiteral("/?page_id=219");
            a.AdresaIni = a.HlavniStranka + QStringLiteral("/banking/parmexhome/verze.ini");
            a.AdresaZip = a.HlavniStranka + QStringLiteral("/banking/parmexhome");
            break;
        case o_Neurceno:
            break;
    }
    return a;
}
