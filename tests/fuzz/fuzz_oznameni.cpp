// SPDX-License-Identifier: GPL-3.0-or-later
// The announcement file verze.ini and the version comparison on any input: never a crash, the
// parser reads nothing from a refused file, its values are small letters, and the comparison's
// answers agree with each other (a version equals itself; when one is higher the other is lower).
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "Aktualizace.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString vstup = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    TVerzeNaWebu verze;
    const Aktualizace::Oznameni vysledek = Aktualizace::rozeber(vstup, verze);
    const QString hodnoty[] = {verze.VerzeProg, verze.DatumProg, verze.SouborProg,
                               verze.DatumCis,  verze.SouborCis, verze.VerzeCis};
    for (const QString& h : hodnoty) {
        if (vysledek != Aktualizace::Oznameni::Precteno && !h.isEmpty()) std::abort();
        for (const QChar c : h)
            if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) std::abort();
    }
    Aktualizace::celeCislo(verze.VerzeCis);

    const int deleni = vstup.indexOf(QLatin1Char('\n'));
    const QString a = deleni < 0 ? vstup : vstup.left(deleni);
    const QString b = deleni < 0 ? QString() : vstup.mid(deleni + 1);
    const QString vlastni = QStringLiteral("1.0.4.30");
    const int ab = Aktualizace::porovnej(a, b, vlastni);
    const int ba = Aktualizace::porovnej(b, a, vlastni);
    if (Aktualizace::porovnej(a, a, vlastni) != 0) std::abort();
    if (ab > 2 || (ab == 0) != (ba == 0) || (ab == 1) != (ba == 2)) std::abort();
    return 0;
}
