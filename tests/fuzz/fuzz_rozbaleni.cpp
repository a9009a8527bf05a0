// SPDX-License-Identifier: GPL-3.0-or-later
// Extraction of any archive bytes: never a crash, never a file outside the target folder,
// and an answer that is one of the documented result codes.
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "Unzip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir koren;
    const QString archiv = koren.filePath(QStringLiteral("a.zip"));
    const QString cil = koren.filePath(QStringLiteral("cil"));
    QDir(cil).removeRecursively();
    QDir().mkpath(cil);
    {
        QFile f(archiv);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    Unzip::TDCL volby;
    volby.lpszZipFN = archiv;
    volby.lpszExtractDir = cil;
    volby.noflag = 1;
    volby.ndflag = size % 2;
    volby.C_flag = 1;
    Unzip::TUserFunctions funkce;
    funkce.replace = [](const QString&) { return int(Unzip::IDM_REPLACE_ALL); };
    const int kod = Unzip::Wiz_SingleEntryUnzip({QStringLiteral("*.*")}, {}, volby, funkce);
    if (PopisChybyRozbaleni(kod).isEmpty()) std::abort();
    // Nothing may appear beside the target folder.
    const QStringList vedle = QDir(koren.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QString& j : vedle)
        if (j != QLatin1String("a.zip") && j != QLatin1String("cil")) {
            std::fprintf(stderr, "written outside the target: %s\n", j.toUtf8().constData());
            std::abort();
        }
    return 0;
}
