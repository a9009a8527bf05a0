// SPDX-License-Identifier: GPL-3.0-or-later
#include "Disk.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include "Chyba.h"

namespace {

// The nearest folder of the path that exists.
QString existujiciSlozka(const QString& cesta) {
    QFileInfo f(QFileInfo(cesta).absoluteFilePath());
    if (f.isDir()) return f.absoluteFilePath();
    QDir d = f.absoluteDir();
    while (!d.exists() && !d.isRoot())
        if (!d.cdUp()) break;
    return d.absolutePath();
}

}  // namespace

void Disk::synchronizuj(const QString& cesta) {
    if (!zapisNaDisk(cesta))
        throw Chyba(QStringLiteral("Soubor \"%1\" nelze zapsat na disk.")
                        .arg(QDir::toNativeSeparators(cesta)));
}

bool Disk::maloMista(const QString& cesta, qint64 potreba) {
    const QStorageInfo disk(existujiciSlozka(cesta));
    if (!disk.isValid()) return false;
    return disk.bytesAvailable() < potreba;
}

QString Disk::zpravaPlnyDisk(const QString& cesta) {
    return QStringLiteral("na disku se složkou \"%1\" není dostatek volného místa")
        .arg(QDir::toNativeSeparators(existujiciSlozka(cesta)));
}
