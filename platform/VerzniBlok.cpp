#include "VerzniBlok.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

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

Precteny precti(const QString& soubor, const QFileInfo& info) {
    Precteny p{info.absoluteFilePath(),
               info.size(),
               info.lastModified(),
               VerzniBlok::Vysledek::NelzeCist,
               {}};
    QFile f(soubor);
    if (!f.open(QIODevice::ReadOnly)) return p;
    const QByteArray obsah = f.readAll();
    const int od = obsah.indexOf(zacatek());
    p.vysledek = VerzniBlok::Vysledek::BezBloku;
    if (od < 0) return p;
    const int telo = od + zacatek().size();
    const int doKonce = obsah.indexOf(konec(), telo - 1);
    if (doKonce < 0) return p;
    const QByteArray blok = obsah.mid(telo, doKonce - telo + 1);
    for (const QByteArray& radek : blok.split('\n')) {
        const int rovnase = radek.indexOf('=');
        if (rovnase <= 0) continue;
        p.polozky.insert(QString::fromUtf8(radek.left(rovnase)),
                         QString::fromUtf8(radek.mid(rovnase + 1)));
    }
    p.vysledek = VerzniBlok::Vysledek::Nacteno;
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
