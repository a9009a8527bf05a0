// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "QrPlatba.h"

// What the tests of the QR payment code share: a known payment and its payment text, and a QR
// reader (zbarimg of zbar-tools) that tells what a phone would read from a picture.
namespace QrCteni {

// A payment as the form shows it after a save: account with a prefix, an amount with the
// Czech decimal comma, a name with diacritics.
TQrUdaje znamaPlatba() {
    TQrUdaje u;
    u.ucet = QStringLiteral("19-2000145399/0800");
    u.castka = QStringLiteral("312,5");
    u.vs = QStringLiteral("1234");
    u.ks = QStringLiteral("0558");
    u.ss = QStringLiteral("2026");
    u.jmeno = QStringLiteral("Jiří");
    u.prijmeni = QStringLiteral("Šťastný");
    u.ecislo = QStringLiteral("1234");
    return u;
}

const QString znamySpd = QStringLiteral(
    "SPD*1.0*ACC:CZ6508000000192000145399*AM:312.50*CC:CZK*X-VS:1234*X-SS:2026*X-KS:0558"
    "*MSG:JIRI STASTNY 1234");

// What a QR reader finds in a picture; empty when no reader is installed.
class Ctecka {
public:
    Ctecka() : m_program(QStandardPaths::findExecutable(QStringLiteral("zbarimg"))) {}
    bool je() const { return !m_program.isEmpty(); }
    // The reader ends its output with a newline.
    QString precti(const QString& soubor) const {
        QProcess p;
        p.start(m_program, {QStringLiteral("--raw"), QStringLiteral("-Sbinary"),
                            QStringLiteral("-q"), soubor});
        if (!p.waitForFinished(30000) || p.exitCode() != 0) return QStringLiteral("<nečitelné>");
        QByteArray vystup = p.readAllStandardOutput();
        if (vystup.endsWith('\n')) vystup.chop(1);
        return QString::fromUtf8(vystup);
    }
    QString precti(const QImage& obraz, const QString& jmeno) const {
        const QString soubor = m_dir.filePath(jmeno);
        if (!obraz.save(soubor, "PNG")) return QStringLiteral("<neuloženo>");
        return precti(soubor);
    }
    QString soubor(const QString& jmeno) const { return m_dir.filePath(jmeno); }

private:
    QString m_program;
    QTemporaryDir m_dir;
};

}  // namespace QrCteni
