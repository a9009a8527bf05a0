// SPDX-License-Identifier: GPL-3.0-or-later
#include "VerzniBlok.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cstring>
#include <functional>

namespace {
// The markers are put together at run time, so that the reader's own program file holds them
// only inside its real block (and a scan does not stop at this code's constants).
QByteArray znacka(const char* obracene) {
    QByteArray b(obracene);
    std::reverse(b.begin(), b.end());
    return b;
}
QByteArray zacatek() {
    return znacka("\n##KCOLB-NOISREV-XEMRAP##\n");
}
QByteArray konec() {
    return znacka("##DNE-NOISREV-XEMRAP##\n");
}
}  // namespace

namespace {
// The last file read: the program reads its own block several times while it starts, and the
// file (its own program, tens of megabytes) does not change meanwhile.
struct Precteny {
    QString cesta;
    qint64 velikost = -1;
    QDateTime zmeneno;
    VerzniBlok::Vysledek vysledek = VerzniBlok::Vysledek::NelzeCist;
    QMap<QString, QString> polozky;
};

// Where the bytes first hold the pattern from the given offset on, -1 when nowhere.
qsizetype najdi(QByteArrayView obsah, QByteArrayView vzor, qsizetype od) {
    if (od < 0 || od > obsah.size()) return -1;
#ifdef __GLIBC__
    // The C library's search is several times faster than a byte-by-byte matcher here.
    const void* kde = memmem(obsah.data() + od, static_cast<size_t>(obsah.size() - od), vzor.data(),
                             static_cast<size_t>(vzor.size()));
    return kde ? static_cast<const char*>(kde) - obsah.data() : -1;
#else
    const auto kde = std::search(obsah.begin() + od, obsah.end(),
                                 std::boyer_moore_horspool_searcher(vzor.begin(), vzor.end()));
    return kde == obsah.end() ? -1 : kde - obsah.begin();
#endif
}

// The entries of the first complete block in the bytes: a start marker followed by the end
// marker with no other start marker between them. The scan stops there, so it reads only the
// beginning of a large program file.
bool najdiBlok(QByteArrayView obsah, QMap<QString, QString>* polozky) {
    static const QByteArray zac = zacatek();
    static const QByteArray kon = konec();
    qsizetype od = najdi(obsah, zac, 0);
    while (od >= 0) {
        const qsizetype telo = od + zac.size();
        // The end marker starts with the line break that closes the block's last line.
        const qsizetype doKonce = najdi(obsah, kon, telo - 1);
        if (doKonce < 0) return false;
        const qsizetype dalsi = najdi(obsah.first(doKonce), zac, telo);
        if (dalsi >= 0) {
            // A block cut short: the one that starts later is the complete one.
            od = dalsi;
            continue;
        }
        const QByteArrayView blok = obsah.sliced(telo, doKonce - telo + 1);
        qsizetype zacatekRadku = 0;
        while (zacatekRadku < blok.size()) {
            qsizetype konecRadku = blok.indexOf('\n', zacatekRadku);
            if (konecRadku < 0) konecRadku = blok.size();
            const QByteArrayView radek = blok.sliced(zacatekRadku, konecRadku - zacatekRadku);
            const qsizetype rovnase = radek.indexOf('=');
            if (rovnase > 0)
                polozky->insert(QString::fromUtf8(radek.first(rovnase)),
                                QString::fromUtf8(radek.sliced(rovnase + 1)));
            zacatekRadku = konecRadku + 1;
        }
        return true;
    }
    return false;
}

Precteny precti(const QString& soubor, const QFileInfo& info) {
    Precteny p{info.absoluteFilePath(),
               info.size(),
               info.lastModified(),
               VerzniBlok::Vysledek::NelzeCist,
               {}};
    QFile f(soubor);
    if (!f.open(QIODevice::ReadOnly)) return p;
    p.vysledek = VerzniBlok::Vysledek::BezBloku;
    // The file is mapped, not read: only the pages up to the block are ever touched, and
    // nothing is copied into fresh memory (a program file with debug information is tens of
    // megabytes).
    const qint64 velikost = f.size();
    if (velikost <= 0) return p;
    if (uchar* mapa = f.map(0, velikost)) {
        const bool nalezen =
            najdiBlok(QByteArrayView(reinterpret_cast<const char*>(mapa), velikost), &p.polozky);
        f.unmap(mapa);
        if (nalezen) p.vysledek = VerzniBlok::Vysledek::Nacteno;
        return p;
    }
    // A file that cannot be mapped is read.
    const QByteArray obsah = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        p.vysledek = VerzniBlok::Vysledek::NelzeCist;
        return p;
    }
    if (najdiBlok(obsah, &p.polozky)) p.vysledek = VerzniBlok::Vysledek::Nacteno;
    return p;
}
}  // namespace

VerzniBlok::Vysledek VerzniBlok::nacti(const QString& soubor, QMap<QString, QString>* polozky) {
    const QFileInfo info(soubor);
    if (!info.isFile()) return Vysledek::SouborNenalezen;
    static Precteny posledni;
    if (posledni.cesta != info.absoluteFilePath() || posledni.velikost != info.size() ||
        posledni.zmeneno != info.lastModified() || posledni.vysledek == Vysledek::NelzeCist)
        posledni = precti(soubor, info);
    if (posledni.vysledek == Vysledek::Nacteno && polozky) {
        for (auto it = posledni.polozky.cbegin(); it != posledni.polozky.cend(); ++it)
            polozky->insert(it.key(), it.value());
    }
    return posledni.vysledek;
}

QByteArray VerzniBlok::sestav(const QMap<QString, QString>& polozky) {
    QByteArray b = zacatek();
    for (auto it = polozky.cbegin(); it != polozky.cend(); ++it)
        b += it.key().toUtf8() + '=' + it.value().toUtf8() + '\n';
    b += konec().mid(1) + '\n';
    return b;
}

QString VerzniBlok::verzeSouboru(const QString& soubor) {
    QMap<QString, QString> polozky;
    switch (nacti(soubor, &polozky)) {
        case Vysledek::SouborNenalezen:
            return QStringLiteral("Soubor nenalezen!");
        case Vysledek::Nacteno:
            break;
        default:
            return QString();
    }
    static const QRegularExpression ctyriCisla(
        QStringLiteral("^\\s*(\\d+)\\.(\\d+)\\.(\\d+)\\.(\\d+)\\s*$"));
    const auto m = ctyriCisla.match(polozky.value(QStringLiteral("FileVersion")));
    if (!m.hasMatch()) return QString();
    QStringList casti;
    for (int i = 1; i <= 4; ++i) casti << QString::number(m.captured(i).toUInt() & 0xFFFF);
    return casti.join(QLatin1Char('.'));
}
