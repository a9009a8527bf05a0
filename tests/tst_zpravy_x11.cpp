// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDialogButtonBox>
#include <QPushButton>
#include <QtTest>

#include "Pomocnik.h"
#include "ZpravaNaObrazovce.h"
#include "uAllYouNeed.h"

// Messages on a real display under the GNOME desktop, whose button layout mirrors yes and no:
// the questions still read Ano, Ne, Zrušit from left to right and answer as everywhere else.
class TestZpravyX11 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }

    // Without this the cases below would prove nothing: the desktop's layout is in force and
    // puts a plain "No" left of "Yes".
    void plochaZrcadliTlacitka() {
        QDialogButtonBox tlacitka(QDialogButtonBox::Yes | QDialogButtonBox::No);
        tlacitka.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tlacitka));
        QVERIFY(tlacitka.button(QDialogButtonBox::No)->x() <
                tlacitka.button(QDialogButtonBox::Yes)->x());
    }

    void poradiAOdpovedi_data() {
        using O = ZpravaNaObrazovce::Odpoved;
        QTest::addColumn<int>("tlacitka");
        QTest::addColumn<O>("odpoved");
        QTest::addColumn<QStringList>("popisky");
        QTest::addColumn<int>("vysledek");
        const QStringList anoNe{"Ano", "Ne"}, anoNeZrusit{"Ano", "Ne", "Zrušit"};
        QTest::newRow("yes/no Enter") << 1 << O::Enter << anoNe << 0;
        QTest::newRow("yes/no Esc") << 1 << O::Esc << anoNe << 1;
        QTest::newRow("yes/no close box") << 1 << O::Krizek << anoNe << 2;
        QTest::newRow("yes/no/cancel Enter") << 2 << O::Enter << anoNeZrusit << 0;
        QTest::newRow("yes/no/cancel Esc") << 2 << O::Esc << anoNeZrusit << 2;
        QTest::newRow("yes/no/cancel close box") << 2 << O::Krizek << anoNeZrusit << 2;
        QTest::newRow("OK close box") << 0 << O::Krizek << QStringList{"OK"} << 2;
    }
    void poradiAOdpovedi() {
        QFETCH(int, tlacitka);
        QFETCH(ZpravaNaObrazovce::Odpoved, odpoved);
        QFETCH(QStringList, popisky);
        QFETCH(int, vysledek);
        ZpravaNaObrazovce::Videno videno;
        const int odpovedDialogu = ZpravaNaObrazovce::zobrazAOdpovez(
            [&] { return ZobrazDialog(QStringLiteral("Otázka"), 1, quint8(tlacitka)); }, odpoved,
            &videno);
        QCOMPARE(videno.popisky, popisky);
        QCOMPARE(videno.vychozi, popisky.first());
        QCOMPARE(odpovedDialogu, vysledek);
    }
};

int main(int argc, char* argv[]) {
    // The desktop is read when the application starts.
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");
    QApplication aplikace(argc, argv);
    TestZpravyX11 test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_zpravy_x11.moc"
