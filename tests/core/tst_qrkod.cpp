// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include "Jadro.h"
#include "QrCteni.h"
#include "QrPlatba.h"

using QrCteni::znamaPlatba;
using QrCteni::znamySpd;

namespace {

// Every field of a payment text: a known key, a colon and a value without "*".
bool poleJsouCista(const QString& spd) {
    static const QRegularExpression pole(QStringLiteral("^(ACC|AM|CC|X-VS|X-SS|X-KS|MSG):[^*]+$"));
    const QStringList casti = spd.split(QLatin1Char('*'));
    if (casti.size() < 5 || casti.at(0) != QLatin1String("SPD") ||
        casti.at(1) != QLatin1String("1.0"))
        return false;
    for (int i = 2; i < casti.size(); ++i)
        if (!pole.match(casti.at(i)).hasMatch()) return false;
    return true;
}

}  // namespace

class TestQrKod : public QObject {
    Q_OBJECT

    QrCteni::Ctecka m_ctecka;

private slots:
    void initTestCase() { Jadro::pripravProstredi(); }
    void init() { QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia)); }

    void iban_data() {
        QTest::addColumn<QString>("ucet");
        QTest::addColumn<QString>("iban");   // empty: the account is refused
        QTest::addColumn<QString>("duvod");  // a word the reason must contain

        QTest::newRow("s předčíslím") << "19-2000145399/0800"
                                      << "CZ6508000000192000145399"
                                      << "";
        QTest::newRow("bez předčíslí") << "1265098001/5500"
                                       << "CZ5855000000001265098001"
                                       << "";
        QTest::newRow("kratké číslo") << "168540115/0600"
                                      << "CZ2806000000000168540115"
                                      << "";
        QTest::newRow("mezery kolem") << " 19-2000145399/0800 "
                                      << "CZ6508000000192000145399"
                                      << "";
        QTest::newRow("nuly v předčíslí") << "000019-2000145399/0800"
                                          << "CZ6508000000192000145399"
                                          << "";

        QTest::newRow("číslo neprojde mod 11") << "123456789/0800"
                                               << ""
                                               << "číslo účtu";
        QTest::newRow("předčíslí neprojde mod 11") << "18-2000145399/0800"
                                                   << ""
                                                   << "předčíslí";
        QTest::newRow("číslo s předčíslím neprojde") << "19-2000145398/0800"
                                                     << ""
                                                     << "číslo účtu";
        QTest::newRow("číslo z nul") << "0/0800"
                                     << ""
                                     << "číslo účtu";
        QTest::newRow("kód banky krátký") << "1265098001/550"
                                          << ""
                                          << "tvar";
        QTest::newRow("kód banky dlouhý") << "1265098001/55000"
                                          << ""
                                          << "tvar";
        QTest::newRow("bez kódu banky") << "1265098001"
                                        << ""
                                        << "tvar";
        QTest::newRow("předčíslí dlouhé") << "1000019-2000145399/0800"
                                          << ""
                                          << "tvar";
        QTest::newRow("číslo dlouhé") << "12650980010/5500"
                                      << ""
                                      << "tvar";
        QTest::newRow("písmeno v čísle") << "12650980O1/5500"
                                         << ""
                                         << "tvar";
        QTest::newRow("písmeno v kódu") << "1265098001/55O0"
                                        << ""
                                        << "tvar";
        QTest::newRow("prázdné předčíslí") << "-1265098001/5500"
                                           << ""
                                           << "tvar";
        QTest::newRow("hvězdička") << "1265098001/5500*AM:1"
                                   << ""
                                   << "tvar";
        QTest::newRow("prázdný") << ""
                                 << ""
                                 << "vyplněn";
    }
    void iban() {
        QFETCH(QString, ucet);
        QFETCH(QString, iban);
        QFETCH(QString, duvod);
        QString vysledek = QStringLiteral("stará hodnota"), proc;
        QCOMPARE(UcetNaIban(ucet, &vysledek, &proc), !iban.isEmpty());
        QCOMPARE(vysledek, iban);
        if (iban.isEmpty())
            QVERIFY2(proc.contains(duvod), qPrintable(proc));
        else
            QVERIFY(proc.isEmpty());
    }

    void ibanPoCtyrech() {
        QCOMPARE(IbanPoCtyrech(QStringLiteral("CZ6508000000192000145399")),
                 QStringLiteral("CZ65 0800 0000 1920 0014 5399"));
    }

    void castka_data() {
        QTest::addColumn<bool>("tecka");  // a locale with a decimal point instead of a comma
        QTest::addColumn<QString>("castka");
        QTest::addColumn<QString>("am");  // empty: the amount is refused

        QTest::newRow("celá") << false << "370"
                              << "370.00";
        QTest::newRow("desetinná čárka") << false << "312,5"
                                         << "312.50";
        QTest::newRow("haléř") << false << "0,01"
                               << "0.01";
        QTest::newRow("dvě místa") << false << "1234,56"
                                   << "1234.56";
        QTest::newRow("nejvyšší") << false << "9999999,99"
                                  << "9999999.99";
        QTest::newRow("nad nejvyšší") << false << "10000000"
                                      << "";
        QTest::newRow("nula") << false << "0"
                              << "";
        QTest::newRow("záporná") << false << "-5"
                                 << "";
        QTest::newRow("prázdná") << false << ""
                                 << "";
        QTest::newRow("text") << false << "abc"
                              << "";
        QTest::newRow("zlomek haléře") << false << "1,005"
                                       << "";
        QTest::newRow("tisíce s mezerou") << false << "1 000"
                                          << "";
        QTest::newRow("tečka u nás neplatí") << false << "312.5"
                                             << "";
        QTest::newRow("tečka, desetinná") << true << "312.5"
                                          << "312.50";
        QTest::newRow("tečka, celá") << true << "370"
                                     << "370.00";
        QTest::newRow("tečka, čárka neplatí") << true << "312,5"
                                              << "";
    }
    void castka() {
        QFETCH(bool, tecka);
        QFETCH(QString, castka);
        QFETCH(QString, am);
        if (tecka) QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QString duvod;
        QCOMPARE(CastkaProQr(castka, &duvod), am);
        QCOMPARE(duvod.isEmpty(), !am.isEmpty());

        // The whole payment text follows the amount: the right one, or none at all.
        TQrUdaje u = znamaPlatba();
        u.castka = castka;
        const QString spd = SestavSpd(u);
        QCOMPARE(spd.isEmpty(), am.isEmpty());
        if (!am.isEmpty()) QVERIFY(spd.contains(QStringLiteral("*AM:") + am + QLatin1Char('*')));
    }

    void spdZnamePlatby() {
        QString duvod = QStringLiteral("stará hodnota");
        QCOMPARE(SestavSpd(znamaPlatba(), &duvod), znamySpd);
        QVERIFY(duvod.isEmpty());
    }

    void spdSymboly_data() {
        QTest::addColumn<QString>("vs");
        QTest::addColumn<QString>("ks");
        QTest::addColumn<QString>("ss");
        QTest::addColumn<QString>("symboly");  // the part after CC:CZK; "-": no payment text
        QTest::addColumn<QString>("duvod");

        QTest::newRow("všechny") << "1234"
                                 << "0558"
                                 << "2026"
                                 << "*X-VS:1234*X-SS:2026*X-KS:0558"
                                 << "";
        QTest::newRow("prázdný SS vynechán") << "1234"
                                             << "0558"
                                             << ""
                                             << "*X-VS:1234*X-KS:0558"
                                             << "";
        QTest::newRow("prázdný KS vynechán") << "1234"
                                             << ""
                                             << "2026"
                                             << "*X-VS:1234*X-SS:2026"
                                             << "";
        QTest::newRow("žádný") << ""
                               << ""
                               << ""
                               << ""
                               << "";
        QTest::newRow("deset číslic") << "0123456789"
                                      << ""
                                      << ""
                                      << "*X-VS:0123456789"
                                      << "";
        QTest::newRow("jedenáct číslic") << "01234567890"
                                         << ""
                                         << ""
                                         << "-"
                                         << "variabilní";
        QTest::newRow("písmeno v KS") << "1234"
                                      << "05a8"
                                      << ""
                                      << "-"
                                      << "konstantní";
        QTest::newRow("hvězdička v SS") << "1234"
                                        << ""
                                        << "20*26"
                                        << "-"
                                        << "specifický";
        QTest::newRow("vložené pole") << "1*AM:1"
                                      << ""
                                      << ""
                                      << "-"
                                      << "variabilní";
        QTest::newRow("mezera") << " 1234"
                                << ""
                                << ""
                                << "-"
                                << "variabilní";
        QTest::newRow("znaménko") << "+1234"
                                  << ""
                                  << ""
                                  << "-"
                                  << "variabilní";
        QTest::newRow("arabské číslice") << QString::fromUtf8("١٢٣") << ""
                                         << ""
                                         << "-"
                                         << "variabilní";
    }
    void spdSymboly() {
        QFETCH(QString, vs);
        QFETCH(QString, ks);
        QFETCH(QString, ss);
        QFETCH(QString, symboly);
        QFETCH(QString, duvod);
        TQrUdaje u = znamaPlatba();
        u.vs = vs;
        u.ks = ks;
        u.ss = ss;
        QString proc;
        const QString spd = SestavSpd(u, &proc);
        if (symboly == QLatin1String("-")) {
            QCOMPARE(spd, QString());
            QVERIFY2(proc.contains(duvod), qPrintable(proc));
            return;
        }
        QCOMPARE(spd, QStringLiteral("SPD*1.0*ACC:CZ6508000000192000145399*AM:312.50*CC:CZK") +
                          symboly + QStringLiteral("*MSG:JIRI STASTNY 1234"));
        QVERIFY(proc.isEmpty());
    }

    void spdSpatnyUcet() {
        TQrUdaje u = znamaPlatba();
        u.ucet = QStringLiteral("123456789/0800");
        QString duvod;
        QCOMPARE(SestavSpd(u, &duvod), QString());
        QVERIFY2(duvod.contains(QStringLiteral("123456789/0800")), qPrintable(duvod));
    }

    void zprava_data() {
        QTest::addColumn<QString>("jmeno");
        QTest::addColumn<QString>("prijmeni");
        QTest::addColumn<QString>("ecislo");
        QTest::addColumn<QString>("msg");  // empty: no MSG field

        QTest::newRow("diakritika") << "Žofie"
                                    << "Čermáková-Řeháčková"
                                    << "77"
                                    << "ZOFIE CERMAKOVA-REHACKOVA 77";
        QTest::newRow("všechna česká písmena") << "Příliš žluťoučký kůň"
                                               << "úpěl ďábelské ódy"
                                               << "1"
                                               << "PRILIS ZLUTOUCKY KUN UPEL DABELSKE ODY 1";
        QTest::newRow("bez rozkladu") << "Łukasz"
                                      << "Großmann"
                                      << "5"
                                      << "LUKASZ GROSSMANN 5";
        QTest::newRow("hvězdička a pole") << "Jan*MSG:X"
                                          << "No*vák"
                                          << "12*3"
                                          << "JAN MSG X NO VAK 12 3";
        QTest::newRow("mezery a řídicí znaky") << "  Jan\t"
                                               << "\nNovák  "
                                               << " 42 "
                                               << "JAN NOVAK 42";
        QTest::newRow("jen číslo") << ""
                                   << ""
                                   << "42"
                                   << "42";
        QTest::newRow("nic") << ""
                             << ""
                             << ""
                             << "";
        QTest::newRow("dlouhé jméno ustoupí číslu")
            << QString(40, QLatin1Char('a')) << QString(40, QLatin1Char('b')) << "1234"
            << QString(40, QLatin1Char('A')) + QLatin1Char(' ') + QString(14, QLatin1Char('B')) +
                   QStringLiteral(" 1234");
        QTest::newRow("dlouhé jméno, mezera na hraně")
            << QString(55, QLatin1Char('a')) << "Bo"
            << "1234" << QString(55, QLatin1Char('A')) + QStringLiteral(" 1234");
        QTest::newRow("bez čísla jen 60 znaků")
            << QString(40, QLatin1Char('a')) << QString(40, QLatin1Char('b')) << ""
            << QString(40, QLatin1Char('A')) + QLatin1Char(' ') + QString(19, QLatin1Char('B'));
    }
    void zprava() {
        QFETCH(QString, jmeno);
        QFETCH(QString, prijmeni);
        QFETCH(QString, ecislo);
        QFETCH(QString, msg);
        TQrUdaje u = znamaPlatba();
        u.jmeno = jmeno;
        u.prijmeni = prijmeni;
        u.ecislo = ecislo;
        const QString spd = SestavSpd(u);
        QVERIFY2(poleJsouCista(spd), qPrintable(spd));
        const int i = spd.indexOf(QLatin1String("*MSG:"));
        QCOMPARE(i < 0 ? QString() : spd.mid(i + 5), msg);
        QVERIFY(msg.size() <= 60);
    }

    void obrazekSeCteZpet_data() {
        QTest::addColumn<int>("modul");
        QTest::newRow("obrazovka") << 4;
        QTest::newRow("tisk") << 8;
        QTest::newRow("malý") << 2;
    }
    void obrazekSeCteZpet() {
        QFETCH(int, modul);
        const QImage obraz = VykresliQr(znamySpd, modul);
        QVERIFY(!obraz.isNull());
        QCOMPARE(obraz.width(), obraz.height());
        QCOMPARE(obraz.width() % modul, 0);

        // Quiet zone: four white modules on every side; the finder pattern starts right inside.
        const int okraj = 4 * modul;
        const QRgb bila = qRgb(255, 255, 255), cerna = qRgb(0, 0, 0);
        for (int i = 0; i < obraz.width(); ++i) {
            for (int j = 0; j < okraj; ++j) {
                QCOMPARE(obraz.pixel(i, j), bila);
                QCOMPARE(obraz.pixel(j, i), bila);
                QCOMPARE(obraz.pixel(i, obraz.height() - 1 - j), bila);
                QCOMPARE(obraz.pixel(obraz.width() - 1 - j, i), bila);
            }
        }
        QCOMPARE(obraz.pixel(okraj, okraj), cerna);
        QCOMPARE(obraz.pixel(obraz.width() - okraj - 1, okraj), cerna);

        if (!m_ctecka.je()) QSKIP("zbarimg (zbar-tools) is not installed");
        QCOMPARE(m_ctecka.precti(obraz, QStringLiteral("kod%1.png").arg(modul)), znamySpd);
    }

    void obrazekBezTextu() {
        QVERIFY(VykresliQr(QString()).isNull());
        QVERIFY(VykresliQr(QString(5000, QLatin1Char('X'))).isNull());  // beyond any QR code
        QCOMPARE(QrPngDataUri(QString()), QString());
    }

    void dataUri() {
        const QString uri = QrPngDataUri(znamySpd);
        const QString zacatek = QStringLiteral("data:image/png;base64,");
        QVERIFY(uri.startsWith(zacatek));
        const QByteArray png = QByteArray::fromBase64(uri.mid(zacatek.size()).toLatin1(),
                                                      QByteArray::AbortOnBase64DecodingErrors);
        QVERIFY(png.startsWith("\x89PNG\r\n\x1a\n"));
        const QImage nacteny = QImage::fromData(png, "PNG");
        QCOMPARE(nacteny.convertToFormat(QImage::Format_RGB32),
                 VykresliQr(znamySpd).convertToFormat(QImage::Format_RGB32));

        if (!m_ctecka.je()) QSKIP("zbarimg (zbar-tools) is not installed");
        QFile f(m_ctecka.soubor(QStringLiteral("uri.png")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(png);
        f.close();
        QCOMPARE(m_ctecka.precti(f.fileName()), znamySpd);
    }

    void htmlBlok() {
        const QString blok = QrHtmlBlok(znamaPlatba());
        QVERIFY(blok.contains(QStringLiteral("<img src=\"") + QrPngDataUri(znamySpd, 8) +
                              QLatin1Char('"')));
        QVERIFY(blok.contains(QStringLiteral("QR platba</div>")));

        TQrUdaje u = znamaPlatba();
        u.ucet = QStringLiteral("123456789/0800");
        const QString chyba = QrHtmlBlok(u);
        QVERIFY(!chyba.contains(QStringLiteral("<img")));
        QVERIFY2(chyba.contains(QStringLiteral("QR kód nelze vytvořit: číslo účtu 123456789/0800")),
                 qPrintable(chyba));

        u.ucet = QStringLiteral("<b>1</b>/0800");  // comes from imported data: shown, not obeyed
        QVERIFY(!QrHtmlBlok(u).contains(QStringLiteral("<b>")));
    }
};

int main(int argc, char** argv) {
    QCoreApplication aplikace(argc, argv);
    TestQrKod t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_qrkod.moc"
