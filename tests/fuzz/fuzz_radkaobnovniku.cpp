// SPDX-License-Identifier: GPL-3.0-or-later
// The updater's two command lines as the program builds them, split as the updater splits them,
// give back the very arguments the program meant, for any program path, archive name and server
// address the program accepts. The input is the program's full path, the archive name and the
// archive address, separated by zero bytes (a path never holds one).
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>

#include "Aktualizace.h"
#include "Obnovnik.h"

namespace {

// On this platform the program splits its line and hands the arguments over one by one; the
// updater reads each of them again.
void overRadku(const QString& radka, const QStringList& ocekavane, bool sProgramem) {
    const QStringList rozdelene = obnovnik::rozdelPrikazovouRadku(radka);
    if (rozdelene != ocekavane) std::abort();
    const QStringList argv =
        sProgramem ? rozdelene : QStringList{QStringLiteral("Obnovnik")} + rozdelene;
    if (obnovnik::argumentyProcesu(argv) != argv.mid(1)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> casti =
        QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0');
    const QString program = QString::fromUtf8(casti.value(0));
    const QString zip = QString::fromUtf8(casti.value(1));
    const QString adresa = QString::fromUtf8(casti.value(2));

    // What the program accepts: it does not start from a path holding a quote, refuses archive
    // names that are empty or leave the updater's folder, and its server address is the build's.
    if (!Aktualizace::chybaCestyProgramu(program).isEmpty()) return 0;
    if (!Aktualizace::platnyNazevArchivu(zip)) return 0;
    if (adresa.contains(QLatin1Char('"'))) return 0;
    const int lomitko = int(program.lastIndexOf(QLatin1Char('/')));
    const QString slozka = program.left(lomitko + 1);
    const QString jmeno = program.mid(lomitko + 1);
    if (jmeno.isEmpty()) return 0;  // a program file always has a name

    const QString archiv = adresa + QLatin1Char('/') + zip;
    const QString tmp = QStringLiteral("tmp\\");
    overRadku(Aktualizace::parametryProgramu(adresa, zip, jmeno), {archiv, tmp, zip, jmeno, jmeno},
              false);
    const QString obnovnik = QStringLiteral("Obnovnik");
    const QString cil = slozka + QStringLiteral("dataCis.mdb");
    overRadku(Aktualizace::prikazCiselniku(obnovnik, adresa, zip, cil),
              {obnovnik, archiv, tmp, zip, cil}, true);
    return 0;
}
