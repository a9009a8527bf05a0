// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every benchmark program shares: a stand-in program file that makes the main window
// recognise its organisation, a timer around one step, and the line format the runner reads
// ("name<TAB>wall ms<TAB>processor ms").
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QString>
#include <cstdio>

#include <sys/resource.h>

#include "VerzniBlok.h"
#include "uAllYouNeed.h"

namespace mereni {

// The program file of the current folder, carrying the build's version block.
inline void pripravProgram(const QString& slozka) {
    const QString program = slozka + QStringLiteral("/ParmexRozu");
    QFile f(program);
    f.open(QIODevice::WriteOnly);
    QMap<QString, QString> blok;
    blok.insert(QStringLiteral("Translation"), QStringLiteral("040504e2"));
    blok.insert(QStringLiteral("FileVersion"), QStringLiteral(PARMEX_VERZE));
    blok.insert(QStringLiteral("ProductName"), QStringLiteral("Parmex Rozu - MO Varnov"));
    f.write(VerzniBlok::sestav(blok));
    f.close();
    NastavSouborProgramu(program);
}

// Milliseconds of wall-clock time and of processor time (this process and the children it
// waited for). On a busy machine the processor time is the steadier figure; the wall-clock time
// also holds the waits for the disk.
struct Cas {
    double stena = 0;
    double cpu = 0;
};

inline double cpuMs() {
    double ms = 0;
    for (int kdo : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage r{};
        getrusage(kdo, &r);
        ms += (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1e3 +
              (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e3;
    }
    return ms;
}

template <typename F>
Cas zmer(F&& krok) {
    QElapsedTimer t;
    const double cpu = cpuMs();
    t.start();
    krok();
    return {t.nsecsElapsed() / 1e6, cpuMs() - cpu};
}

inline void vypis(const char* nazev, Cas cas) {
    std::printf("%s\t%.2f\t%.2f\n", nazev, cas.stena, cas.cpu);
    std::fflush(stdout);
}

}  // namespace mereni
