// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// An announcement: the header, then one line per key, CR LF between lines.
inline QByteArray oznameni(const QString& verzeProg, const QString& verzeCis,
                           const QString& souborProg = QStringLiteral("program.zip"),
                           const QString& souborCis = QStringLiteral("ciselniky.zip")) {
    return QStringList{
        QStringLiteral("[parmex-rozu]"),        QStringLiteral("verzeprog=") + verzeProg,
        QStringLiteral("datumprog=01.12.2026"), QStringLiteral("souborprog=") + souborProg,
        QStringLiteral("datumcis=01.12.2026"),  QStringLiteral("souborcis=") + souborCis,
        QStringLiteral("verzecis=") + verzeCis}
        .join(QStringLiteral("\r\n"))
        .toUtf8();
}
