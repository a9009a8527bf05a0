// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <memory>

#include "DBGridNew.h"
#include "Hodiny.h"
#include "Okna.h"
#include "Pomocnik.h"
#include "Shell.h"
#include "VzorovaData.h"
#include "Zpravy.h"
#include "fCisClenstvi.h"
#include "fFormularPlateb.h"
#include "fHistoriePlateb.h"
#include "fMain.h"
#include "fNovaPlatba.h"
#include "fPolozkyPlateb.h"
#include "fUzivatele.h"
#include "fUzivateleDetNew.h"

// The Enter key in the program's windows: on a focused button it presses that button; in an
// edit field it presses the window's default button; in a grid it does what the grid's window
// gives it (nothing in the member list, the items in the history, the row in a picker).
namespace {

void proved(const QString& sql) {
    Main->ADOConnection1.execute(sql);
}

// What followed one Enter (pressed and released) on a widget of the window: every modal window
// that opened ("otevřeno" and its name; it is closed at once), every message ("zpráva" and its
// text), and "zavřeno" when the window itself closed.
QStringList poEnteru(QWidget* okno, QWidget* cil) {
    Zpravy::vymazZaznamy();
    QStringList udalosti;
    QTimer hlidac;
    QObject::connect(&hlidac, &QTimer::timeout, [&] {
        QWidget* m = QApplication::activeModalWidget();
        if (m && m != okno) {
            udalosti << QStringLiteral("otevřeno ") + m->objectName();
            m->close();
        }
    });
    hlidac.start(5);
    cil->setFocus(Qt::TabFocusReason);
    QTest::keyClick(cil, Qt::Key_Return);
    hlidac.stop();
    for (const Zpravy::Zaznam& z : Zpravy::zaznamy())
        udalosti << QStringLiteral("zpráva ") + z.text;
    if (!okno->isVisible()) udalosti << QStringLiteral("zavřeno");
    return udalosti;
}

QString pocetClenu() {
    return Pomocnik::jedna(QStringLiteral("select count(*) from Uzivatele"));
}

const QString kOtazkaUlozeni = QStringLiteral(
    "zpráva Opravdu uložit danou platbu a zobrazit formulář pro elektronické bankovnictví ?");

}  // namespace

class TestEnter : public QObject {
    Q_OBJECT
    Pomocnik::PracovniSlozka* slozka = nullptr;
    TMain* w = nullptr;

private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }

    // The sample code lists of 2027, two members and one stored payment.
    void init() {
        slozka = new Pomocnik::PracovniSlozka;
        w = Pomocnik::hlavniOknoSeVzorovymiCiselniky();
        proved(
            QStringLiteral("insert into Uzivatele (id, jmeno, prijmeni, ecislo, dat_nar, aktivita) "
                           "values (1, 'Jan', 'Novák', '123', '1980-02-01', 100)"));
        proved(
            QStringLiteral("insert into Uzivatele (id, jmeno, prijmeni, ecislo, dat_nar, aktivita) "
                           "values (2, 'Eva', 'Nováková', '124', '1982-05-06', 100)"));
        proved(QStringLiteral(
            "insert into HistoriePlatebHead (cislo_platby, dat_zmena, rok, ucet, vs, ks, ss, "
            "castka, id_usr) values (1, '2027-03-01 10:15:30', 2027, '190-2718281824/0800', "
            "'123', '0127', '05', 370, 1)"));
        proved(QStringLiteral(
            "insert into HistoriePlateb (id_platby, rok, typ_platby, id, nazev, castka, "
            "cislo_platby) values (1, 2027, 1, 1, 'Členský příspěvek', 370, 1)"));
        Zpravy::vymazZaznamy();
    }
    void cleanup() {
        delete w;
        delete slozka;
        Shell::nastavOtevirani(nullptr);
    }

    void seznamUzivatelu_data() {
        QTest::addColumn<QString>("fokus");
        QTest::addColumn<QStringList>("udalosti");
        QTest::newRow("Nový") << "Novy" << QStringList{"otevřeno UzivateleDetNew"};
        QTest::newRow("Detail") << "Detail" << QStringList{"otevřeno UzivateleDetNew"};
        QTest::newRow("Odstranit") << "Odstranit"
                                   << QStringList{
                                          "zpráva Opravdu odstranit uživatele \"Jan "
                                          "Novák\" (123) ?"};
        QTest::newRow("Konec") << "Konec" << QStringList{"zavřeno"};
        QTest::newRow("grid: no meaning of its own") << "DBGrid1" << QStringList{};
    }
    void seznamUzivatelu() {
        QFETCH(QString, fokus);
        QFETCH(QStringList, udalosti);
        TUzivatele s(Main);
        s.show();
        s.activateWindow();
        QVERIFY(QTest::qWaitFor([&] { return s.ADOQueryUziv.isOpen(); }));
        QCOMPARE(poEnteru(&s, s.findChild<QWidget*>(fokus)), udalosti);
        QCOMPARE(pocetClenu(), QStringLiteral("2"));
    }

    // A new member typed in full: Enter stores him from an edit field or on "Uložit" and throws
    // him away on "Konec".
    void dialogUzivatele_data() {
        QTest::addColumn<QString>("fokus");
        QTest::addColumn<QString>("clenu");
        QTest::newRow("Konec") << "Konec"
                               << "2";
        QTest::newRow("Uložit") << "Ulozit"
                                << "3";
        QTest::newRow("edit field: the default button") << "prijmeni"
                                                        << "3";
    }
    void dialogUzivatele() {
        QFETCH(QString, fokus);
        QFETCH(QString, clenu);
        TUzivatele s(Main);
        s.show();
        s.activateWindow();
        QVERIFY(QTest::qWaitFor([&] { return s.ADOQueryUziv.isOpen(); }));
        TUzivateleDetNew d(&s);
        d.SpustenJako = sj_novy;
        d.show();
        d.ecislo->setText(QStringLiteral("777"));
        d.jmeno->setText(QStringLiteral("Petr"));
        d.prijmeni->setText(QStringLiteral("Malý"));
        d.dat_nar->setDate(QDate(1990, 4, 7));
        QCOMPARE(poEnteru(&d, d.findChild<QWidget*>(fokus)), QStringList{"zavřeno"});
        QCOMPARE(pocetClenu(), clenu);
    }

    // A picker over the membership fees standing on its second row.
    void vyberZCiselniku_data() {
        QTest::addColumn<QString>("fokus");
        QTest::addColumn<bool>("vlozeno");
        QTest::newRow("Konec") << "Konec" << false;
        QTest::newRow("Vložit") << "Vlozit" << true;
        QTest::newRow("grid: the default button takes the row") << "DBGrid1" << true;
    }
    void vyberZCiselniku() {
        QFETCH(QString, fokus);
        QFETCH(bool, vlozeno);
        TNovaPlatba platba(Main);
        TCisClenstvi v(&platba);
        v.show();
        QVERIFY(v.ADOQuery1.recordCount() >= 2);
        v.DBGrid1->setCurrentIndex(v.DBGrid1->model()->index(1, 0));
        const QString druhy = v.ADOQuery1.text(1, v.ADOQuery1.fieldIndex(QStringLiteral("nazev")));
        QCOMPARE(poEnteru(&v, v.findChild<QWidget*>(fokus)), QStringList{"zavřeno"});
        QCOMPARE(platba.NazevClenstvi->text(), vlozeno ? druhy : QString());
    }

    // The payment dialog with a member and a membership chosen.
    void novaPlatba_data() {
        QTest::addColumn<QString>("fokus");
        QTest::addColumn<QStringList>("udalosti");
        QTest::addColumn<QString>("cenaClenstvi");
        QTest::newRow("X clears its slot") << "ZrusClenstvi" << QStringList{} << "";
        QTest::newRow("... opens the picker")
            << "VyberClenstvi" << QStringList{"otevřeno CisClenstvi"} << "350";
        QTest::newRow("Uložit") << "Ulozit" << QStringList{kOtazkaUlozeni} << "350";
        QTest::newRow("Konec") << "Konec" << QStringList{"zavřeno"} << "350";
        QTest::newRow("member box: the default button")
            << "ecislo" << QStringList{kOtazkaUlozeni} << "350";
    }
    void novaPlatba() {
        QFETCH(QString, fokus);
        QFETCH(QStringList, udalosti);
        QFETCH(QString, cenaClenstvi);
        TNovaPlatba d(Main);
        d.ecislo->addItem(QStringLiteral("123"), qlonglong(1));
        d.ecislo->setCurrentIndex(0);
        d.show();
        d.NazevClenstvi->setText(QStringLiteral("Členský příspěvek"));
        d.CenaClenstvi->setText(QStringLiteral("350"));
        d.DopoctiCelkovouCastku();
        QCOMPARE(poEnteru(&d, d.findChild<QWidget*>(fokus)), udalosti);
        QCOMPARE(d.CenaClenstvi->text(), cenaClenstvi);
        QCOMPARE(Pomocnik::jedna(QStringLiteral("select count(*) from HistoriePlatebHead")),
                 QStringLiteral("1"));
    }

    // Enter in a picker's grid takes the row when the key goes down and closes the picker; the
    // key comes up on the "..." button that opened it, and that must not open the picker again.
    void uvolneniPoVyberuNestiskneTlacitko() {
        TNovaPlatba d(Main);
        d.show();
        auto* vyber = d.findChild<QPushButton*>(QStringLiteral("VyberClenstvi"));
        int otevreno = 0;
        QTimer hlidac;
        QObject::connect(&hlidac, &QTimer::timeout, [&] {
            auto* v = qobject_cast<TCisClenstvi*>(QApplication::activeModalWidget());
            if (!v || !v->isVisible()) return;
            if (++otevreno > 1) return v->reject();
            v->DBGrid1->setCurrentIndex(v->DBGrid1->model()->index(0, 0));
            QTest::keyPress(v->DBGrid1, Qt::Key_Return);
            QVERIFY(!v->isVisible());
            QTimer::singleShot(0, vyber, [vyber] { QTest::keyRelease(vyber, Qt::Key_Return); });
        });
        hlidac.start(5);
        QTest::keyClick(vyber, Qt::Key_Return);
        QTest::qWait(50);
        hlidac.stop();
        QCOMPARE(otevreno, 1);
        QVERIFY(!d.CenaClenstvi->text().isEmpty());
    }

    // In a window with a default button, the button drawn as the default is the one Enter
    // presses: the focused button, or the window's default button from anywhere else.
    void vychoziTlacitkoSledujeFokus_data() {
        QTest::addColumn<QString>("okno");
        QTest::addColumn<QString>("fokus");
        QTest::addColumn<QString>("vychozi");
        QTest::newRow("member dialog, Konec") << "UzivateleDetNew"
                                              << "Konec"
                                              << "Konec";
        QTest::newRow("member dialog, edit field") << "UzivateleDetNew"
                                                   << "jmeno"
                                                   << "Ulozit";
        QTest::newRow("picker, Konec") << "CisClenstvi"
                                       << "Konec"
                                       << "Konec";
        QTest::newRow("picker, grid") << "CisClenstvi"
                                      << "DBGrid1"
                                      << "Vlozit";
        QTest::newRow("payment, X") << "NovaPlatba"
                                    << "ZrusPovolenku2"
                                    << "ZrusPovolenku2";
        QTest::newRow("payment, member box") << "NovaPlatba"
                                             << "ecislo"
                                             << "Ulozit";
    }
    void vychoziTlacitkoSledujeFokus() {
        QFETCH(QString, okno);
        QFETCH(QString, fokus);
        QFETCH(QString, vychozi);
        TNovaPlatba platba(Main);
        std::unique_ptr<QDialog> d;
        if (okno == QLatin1String("UzivateleDetNew"))
            d = std::make_unique<TUzivateleDetNew>(Main);
        else if (okno == QLatin1String("CisClenstvi"))
            d = std::make_unique<TCisClenstvi>(&platba);
        else
            d = std::make_unique<TNovaPlatba>(Main);
        d->show();
        d->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d.get()));
        d->findChild<QWidget*>(fokus)->setFocus(Qt::TabFocusReason);
        QStringList vykreslene;
        for (QPushButton* b : d->findChildren<QPushButton*>())
            if (b->isDefault()) vykreslene << b->objectName();
        QCOMPARE(vykreslene, QStringList{vychozi});
    }

    void formularPlateb_data() {
        QTest::addColumn<QString>("fokus");
        QTest::addColumn<QStringList>("udalosti");
        QTest::newRow("Tisk") << "Tisk" << QStringList{"otevřeno form.html"};
        QTest::newRow("Konec") << "Konec" << QStringList{"zavřeno"};
    }
    void formularPlateb() {
        QFETCH(QString, fokus);
        QFETCH(QStringList, udalosti);
        QStringList otevrene;
        Shell::nastavOtevirani(
            [&](const QString& soubor) { otevrene << QStringLiteral("otevřeno ") + soubor; });
        TFormularPlateb f(Main);
        f.CisloUctu->setText(QStringLiteral("190-2718281824/0800"));
        f.Castka->setText(QStringLiteral("370"));
        f.show();
        QCOMPARE(poEnteru(&f, f.findChild<QWidget*>(fokus)) + otevrene, udalosti);
    }

    void historiePlateb_data() {
        QTest::addColumn<QString>("fokus");
        QTest::addColumn<QStringList>("udalosti");
        QTest::newRow("Detail") << "Detail" << QStringList{"otevřeno PolozkyPlateb"};
        QTest::newRow("E-Formulář") << "EFormular" << QStringList{"otevřeno FormularPlateb"};
        QTest::newRow("Konec") << "Konec" << QStringList{"zavřeno"};
        QTest::newRow("grid: the items") << "DBGrid1" << QStringList{"otevřeno PolozkyPlateb"};
    }
    void historiePlateb() {
        QFETCH(QString, fokus);
        QFETCH(QStringList, udalosti);
        THistoriePlateb h(Main);
        h.show();
        h.activateWindow();
        QVERIFY(QTest::qWaitFor([&] { return h.ADOQueryHist.isOpen(); }));
        QCOMPARE(poEnteru(&h, h.findChild<QWidget*>(fokus)), udalosti);
    }

    void polozkyPlateb() {
        THistoriePlateb h(Main);
        h.show();
        h.activateWindow();
        QVERIFY(QTest::qWaitFor([&] { return h.ADOQueryHist.isOpen(); }));
        TPolozkyPlateb p(&h);
        p.show();
        QCOMPARE(poEnteru(&p, p.Konec), QStringList{"zavřeno"});
    }
};

QTEST_MAIN(TestEnter)
#include "tst_enter.moc"
