// SPDX-License-Identifier: GPL-3.0-or-later
#include "Zdroje.h"

#include <QFile>
#include <QFileInfo>
#include <QResource>
#include <filesystem>
#include <system_error>

#include "Chyba.h"

void Zdroje::ulozDoSouboru(const QString& typ, const QString& jmeno, const QString& soubor) {
    const QResource zdroj(QStringLiteral(":/%1/%2").arg(typ, jmeno));
    if (!zdroj.isValid() || zdroj.data() == nullptr)
        throw Chyba(QStringLiteral("Zdroj %1/%2 nebyl nalezen.").arg(typ, jmeno));
    // A resource stored uncompressed (the embedded updater, megabytes) is written straight from
    // the program's image, without being copied into memory first.
    const QByteArray obsah = zdroj.uncompressedData();
    if (obsah.isNull() && zdroj.size() > 0)
        throw Chyba(QStringLiteral("Zdroj %1/%2 nelze rozbalit.").arg(typ, jmeno));

    // Written whole under a name of its own and then renamed over the file, so the old content
    // is replaced only by a complete new one. The data is not forced to the disk here: a file
    // lost with a power cut is written again when next needed, and the database written from
    // the template is synchronised by its caller.
    const QString docasny = soubor + QStringLiteral(".zapis");
    QFile cil(docasny);
    auto selhani = [&](const QString& duvod) {
        cil.close();
        QFile::remove(docasny);
        return Chyba(QStringLiteral("Soubor \"%1\" nelze zapsat: %2").arg(soubor, duvod));
    };
    // A file left by a write that was cut off.
    if (QFileInfo(docasny).isFile()) QFile::remove(docasny);
    if (!cil.open(QIODevice::WriteOnly | QIODevice::NewOnly)) throw selhani(cil.errorString());
    if (cil.write(obsah) != obsah.size() || !cil.flush()) throw selhani(cil.errorString());
    if (QFileInfo(soubor).isFile()) cil.setPermissions(QFile::permissions(soubor));
    cil.close();
    std::error_code chyba;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(docasny).toStdString()),
                            std::filesystem::path(QFile::encodeName(soubor).toStdString()), chyba);
    if (chyba) throw selhani(QString::fromLocal8Bit(chyba.message().c_str()));
}
