// SPDX-License-Identifier: GPL-3.0-or-later
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "Chyba.h"
#include "Formaty.h"
#include "Hodiny.h"
#include "Pomocnik.h"
#include "ZpravaNaObrazovce.h"
#include "Zpravy.h"
#include "uAllYouNeed.h"

class TestZaklad : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }

    void doplnNuly_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("delka");
        QTest::addColumn<bool>("zleva");
        QTest::addColumn<QString>("vysledek");
        QTest::newRow("one digit") << "7" << 2 << true << "07";
        QTest::newRow("longer stays") << "123" << 2 << true << "123";
        QTest::newRow("empty") << "" << 2 << true << "00";
        QTest::newRow("right") << "7" << 3 << false << "700";
    }
    void doplnNuly() {
        QFETCH(QString, text);
        QFETCH(int, delka);
        QFETCH(bool, zleva);
        QFETCH(QString, vysledek);
        QCOMPARE(DoplnNuly(text, quint8(delka), zleva), vysledek);
    }

    void rozlozDatum() {
        const Tdatum d = RozlozDatum(QDateTime(QDate(2016, 3, 5), QTime(9, 7, 3, 40)));
        QCOMPARE(d.year, QStringLiteral("2016"));
        QCOMPARE(d.month, QStringLiteral("3"));
        QCOMPARE(d.day, QStringLiteral("5"));
        QCOMPARE(d.msec, QStringLiteral("40"));
        QCOMPARE(d.cas, QStringLiteral("9:7:3"));
    }

    void verzeSouboru() {
        Pomocnik::PracovniSlozka s;
        QCOMPARE(VerzeSouboru(s.cesta(QStringLiteral("neni"))),
                 QStringLiteral("Soubor nenalezen!"));
        Pomocnik::zapisProgramSVerzi(s.cesta(QStringLiteral("bez")), QString(), QString());
        QCOMPARE(VerzeSouboru(s.cesta(QStringLiteral("bez"))), QString());
        Pomocnik::zapisProgramSVerzi(s.cesta(QStringLiteral("s")), QStringLiteral("P"),
                                     QStringLiteral("01.0.03.002"));
        QCOMPARE(VerzeSouboru(s.cesta(QStringLiteral("s"))), QStringLiteral("1.0.3.2"));
        QCOMPARE(VerzeSouboru(SouborProgramu()), QStringLiteral("1.0.4.30"));
    }

    // The real program carries its version block; the reader finds it in the binary.
    void verzeSkutecnehoProgramu() {
        QCOMPARE(VerzeSouboru(QStringLiteral(PARMEX_EXE)), QStringLiteral("1.0.4.30"));
        TExeVersionData d;
        NactiVerziExe(QStringLiteral(PARMEX_EXE), d);
        QVERIFY(d.ProductName.startsWith(QLatin1String("Parmex Rozu - MO ")));
    }

    void nactiVerziExe() {
        Pomocnik::PracovniSlozka s(QStringLiteral("Parmex Rozu - MO Kelmina"));
        TExeVersionData d;
        d.Comments = QStringLiteral("puvodni");
        NactiVerziExe(SouborProgramu(), d);
        QCOMPARE(d.ProductName, QStringLiteral("Parmex Rozu - MO Kelmina"));
        QCOMPARE(d.FileVersion, QStringLiteral("1.0.4.30"));
        QCOMPARE(d.Comments, QStringLiteral("puvodni"));  // missing entry keeps its value
        Pomocnik::zapisProgramSVerzi(s.cesta(QStringLiteral("bez")), QString(), QString());
        QVERIFY_THROWS_EXCEPTION(Chyba, NactiVerziExe(s.cesta(QStringLiteral("bez")), d));
        QVERIFY_THROWS_EXCEPTION(Chyba, NactiVerziExe(s.cesta(QStringLiteral("neni")), d));
    }

    void zapisDoLogu() {
        Pomocnik::PracovniSlozka s;
        Hodiny::nastav(QDateTime(QDate(2016, 3, 5), QTime(9, 7, 3)));
        ZapisDoLogu(QStringLiteral("první"));
        Hodiny::nastav(QDateTime(QDate(2016, 3, 6), QTime(0, 0)));
        ZapisDoLogu(QStringLiteral("druhý"));
        // A message of several lines is one entry whose lines are kept apart by blanks.
        ZapisDoLogu(QStringLiteral("bez internetu,\rpřípadně\r\nzkuste\nznovu"));
        QCOMPARE(s.log(), QStringLiteral("05.03.2016 9:07:03: první\r\n06.03.2016: druhý\r\n"
                                         "06.03.2016: bez internetu, případně zkuste znovu\r\n"));
    }

    // A folder standing where the log should be: the log cannot be created.
    void logNelzeVytvorit() {
        Pomocnik::PracovniSlozka s;
        QDir().mkdir(s.cesta(QStringLiteral("Error.log")));
        try {
            ZapisDoLogu(QStringLiteral("x"));
            QFAIL("no error");
        } catch (const Chyba& e) {
            QCOMPARE(e.zprava(),
                     QStringLiteral("Soubor \"") + SlozkaProgramu() +
                         QStringLiteral("Error.log\" nelze vytvořit, \rpravděpodobně nemáte "
                                        "právo zápisu do složky, kde je program instalován."));
        }
    }

    void formularOtevren() {
        QWidget w;
        w.setObjectName(QStringLiteral("Napoveda"));
        QVERIFY(FormularOtevren(QStringLiteral("Napoveda"), false));
        QVERIFY(!FormularOtevren(QStringLiteral("napoveda"), false));
        QVERIFY(!w.isVisible());
        QVERIFY(FormularOtevren(QStringLiteral("Napoveda"), true));
        QVERIFY(w.isVisible());
    }

    void cisla_data() {
        QTest::addColumn<QString>("jazyk");
        QTest::addColumn<double>("hodnota");
        QTest::addColumn<QString>("text");
        QTest::newRow("cs whole") << "cs_CZ" << 370.0 << "370";
        QTest::newRow("cs fraction") << "cs_CZ" << 312.5 << "312,5";
        QTest::newRow("cs 0.1+0.2") << "cs_CZ" << (0.1 + 0.2) << "0,3";
        QTest::newRow("cs no grouping") << "cs_CZ" << 1234567.25 << "1234567,25";
        QTest::newRow("cs zero") << "cs_CZ" << 0.0 << "0";
        QTest::newRow("en fraction") << "en_US" << 312.5 << "312.5";
        QTest::newRow("en no grouping") << "en_US" << 1234567.0 << "1234567";
    }
    void cisla() {
        QFETCH(QString, jazyk);
        QFETCH(double, hodnota);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(jazyk));
        const QString zobrazeno = Formaty::cislo(hodnota);
        bool ok = false;
        const double zpet = Formaty::naCislo(zobrazeno, &ok);
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        QCOMPARE(zobrazeno, text);
        QVERIFY(ok);
        QCOMPARE(zpet, QString(text).replace(',', '.').toDouble());
    }

    void celaCisla() {
        bool ok = true;
        QCOMPARE(Formaty::naCeleCislo(QStringLiteral("17"), &ok), 17);
        QVERIFY(ok);
        Formaty::naCeleCislo(QStringLiteral("17 "), &ok);
        QVERIFY(!ok);
        Formaty::naCeleCislo(QStringLiteral(""), &ok);
        QVERIFY(!ok);
    }

    void umisteniDialogu_data() {
        QTest::addColumn<QSize>("dialog");
        QTest::addColumn<QPoint>("stred");
        QTest::addColumn<QPoint>("levyHorni");
        const QSize d(200, 100);
        QTest::newRow("centred") << d << QPoint(500, 400) << QPoint(400, 350);
        QTest::newRow("bottom edge") << d << QPoint(500, 740) << QPoint(400, 768 - 100 - 50);
        QTest::newRow("right edge") << d << QPoint(1000, 400) << QPoint(1024 - 200 - 20, 350);
        QTest::newRow("top and left") << d << QPoint(10, 10) << QPoint(20, 50);
    }
    void umisteniDialogu() {
        QFETCH(QSize, dialog);
        QFETCH(QPoint, stred);
        QFETCH(QPoint, levyHorni);
        QCOMPARE(Zpravy::umisteni(dialog, stred, QSize(1024, 768)), levyHorni);
    }

    // The real message box: captions, Czech buttons and the results of Enter and Esc.
    // The message as shown: caption, buttons from left to right, the default button, and the
    // result of each way of answering it (Enter, Esc, a click, the window's close box).
    void zobrazDialog_data() {
        using O = ZpravaNaObrazovce::Odpoved;
        QTest::addColumn<int>("typZpravy");
        QTest::addColumn<int>("tlacitka");
        QTest::addColumn<O>("odpoved");
        QTest::addColumn<QString>("klikNa");
        QTest::addColumn<QString>("titulek");
        QTest::addColumn<QStringList>("popisky");
        QTest::addColumn<int>("vysledek");
        const QStringList ok{"OK"}, anoNe{"Ano", "Ne"}, anoNeZrusit{"Ano", "Ne", "Zrušit"};
        QTest::newRow("OK by Enter") << 0 << 0 << O::Enter << ""
                                     << "Zpráva" << ok << 0;
        QTest::newRow("OK by Esc") << 2 << 0 << O::Esc << ""
                                   << "Chyba" << ok << 0;
        QTest::newRow("OK, close box") << 0 << 0 << O::Krizek << ""
                                       << "Zpráva" << ok << 2;
        QTest::newRow("yes/no Enter") << 1 << 1 << O::Enter << ""
                                      << "Dotaz" << anoNe << 0;
        QTest::newRow("yes/no Esc") << 1 << 1 << O::Esc << ""
                                    << "Dotaz" << anoNe << 1;
        QTest::newRow("yes/no click Ne") << 1 << 1 << O::Klik << "Ne"
                                         << "Dotaz" << anoNe << 1;
        QTest::newRow("yes/no close box") << 1 << 1 << O::Krizek << ""
                                          << "Dotaz" << anoNe << 2;
        QTest::newRow("yes/no/cancel Enter") << 3 << 2 << O::Enter << ""
                                             << "Pozor" << anoNeZrusit << 0;
        QTest::newRow("yes/no/cancel Esc") << 3 << 2 << O::Esc << ""
                                           << "Pozor" << anoNeZrusit << 2;
        QTest::newRow("yes/no/cancel click Ne") << 1 << 2 << O::Klik << "Ne"
                                                << "Dotaz" << anoNeZrusit << 1;
        QTest::newRow("yes/no/cancel close box") << 1 << 2 << O::Krizek << ""
                                                 << "Dotaz" << anoNeZrusit << 2;
    }
    void zobrazDialog() {
        QFETCH(int, typZpravy);
        QFETCH(int, tlacitka);
        QFETCH(ZpravaNaObrazovce::Odpoved, odpoved);
        QFETCH(QString, klikNa);
        QFETCH(QString, titulek);
        QFETCH(QStringList, popisky);
        QFETCH(int, vysledek);
        ZpravaNaObrazovce::Videno videno;
        const int odpovedDialogu = ZpravaNaObrazovce::zobrazAOdpovez(
            [&] {
                return ZobrazDialog(QStringLiteral("první řádek\rdruhý"), quint8(typZpravy),
                                    quint8(tlacitka));
            },
            odpoved, &videno, klikNa);
        QCOMPARE(videno.titulek, titulek);
        QCOMPARE(videno.popisky, popisky);
        QCOMPARE(videno.vychozi, popisky.first());
        QCOMPARE(odpovedDialogu, vysledek);
    }
};

QTEST_MAIN(TestZaklad)
#include "tst_zaklad.moc"
