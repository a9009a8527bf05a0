// SPDX-License-Identifier: GPL-3.0-or-later
// The updater's command-line reader on any text: it never crashes, and the arguments it
// returns are never empty and never hold a separator outside quotes or a quote character.
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "Obnovnik.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString radka = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList argumenty = obnovnik::rozdelPrikazovouRadku(radka);
    for (const QString& a : argumenty) {
        if (a.isEmpty() || a.contains(QLatin1Char('"'))) std::abort();
    }
    // The same text split beforehand at its blanks, as a platform hands arguments over.
    const QStringList casti = radka.split(QLatin1Char(' '));
    for (const QString& a : obnovnik::argumentyProcesu(casti))
        if (a.isEmpty() || a.contains(QLatin1Char('"'))) std::abort();
    for (const QString& a : argumenty) obnovnik::cesta(a);
    return 0;
}
