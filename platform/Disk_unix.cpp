// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileDevice>
#include <cstdio>

#include "Disk.h"

bool Disk::zapisNaDisk(const QString& cesta) {
    const int fd = ::open(QFile::encodeName(cesta).constData(), O_RDONLY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0) ::close(fd);
    return ok;
}

bool Disk::zapisNaDisk(QFileDevice& soubor) {
    return soubor.handle() >= 0 && ::fsync(soubor.handle()) == 0;
}

bool Disk::prejmenuj(const QString& z, const QString& na) {
    return std::rename(QFile::encodeName(z).constData(), QFile::encodeName(na).constData()) == 0;
}
