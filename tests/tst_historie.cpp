// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QPushButton>
#include <QSizeGrip>
#include <QtTest>

#include "DBGridNew.h"
#include "Formaty.h"
#include "Hodiny.h"
#include "Okna.h"
#include "Pomocnik.h"
#include "SearchPanel.h"
#include "Shell.h"
#include "TiskFormulare.h"
#include "VzorovaData.h"
#include "Zpravy.h"
#include "fFormularPlateb.h"
#include "fHistoriePlateb.h"
#include "fMain.h"
#include "fPolozkyPlateb.h"

namespace {
void proved(const QString& sql) {
    Main->ADOConnection1.execute(sql);
}

// A stored payment header as saving writes it.
struct Hlavicka {
    int cislo;
    QString castka;
    int idUsr;
    QString ucet = QStringLiteral("190-2718281824/0800");
    QString vs = QStringLiteral("123");
    QString ss = QStringLiteral("051207");
    QString datZmena = QStringLiteral("2027-03-01 10:15:30");
};

void vlozHlavicku(const Hlavicka& h) {
    proved(
        QStringLiteral("insert into HistoriePlatebHead (cislo_platby, dat_zmena, rok, ucet, vs, "
                       "ks, ss, castka, id_usr) values (%1, '%2', 2027, '%3', '%4', '%5', "
                       "'%6', %7, %8)")
            .arg(h.cislo)
            .arg(h.datZmena, h.ucet, h.vs,
                 QStringLiteral("%1").arg(h.cislo, 4, 10, QLatin1Char('0')) + QStringLiteral("27"),
                 h.ss, h.castka)
            .arg(h.idUsr));
}

void vlozPolozku(int idPlatby, int cislo, int typ, int id, const QString& idPov,
                 const QString& nazev, const QString& castka) {
    proved(QStringLiteral("insert into HistoriePlateb (id_platby, rok, typ_platby, id, id_pov, "
                          "nazev, castka, cislo_platby) values (%1, 2027, %2, %3, %4, '%5', %6, "
                          "%7)")
               .arg(idPlatby)
               .arg(typ)
               .arg(id)
               .arg(idPov, nazev, castka)
               .arg(cislo));
}

// The texts of one column of a grid, row by row.
QStringList sloupec(TDBGridNew* grid, int c) {
    QStringList r;
    for (int i = 0; i < grid->model()->rowCount(); ++i)
        r << grid->model()->index(i, c).data().toString();
    return r;
}

QStringList titulky(TDBGridNew* grid) {
    QStringList r;
    for (int i = 0; i < grid->model()->columnCount(); ++i)
        r << grid->model()->headerData(i, Qt::Horizontal).toString();
    return r;
}

// While it lives, closes every modal window other than the given one and records its name, so
// that a window that should not open shows up in the test instead of blocking it.
class HlidacOken {
public:
    explicit HlidacOken(QWidget* povolene) {
        QObject::connect(&m_casovac, &QTimer::timeout, [this, povolene] {
            QWidget* okno = QApplication::activeModalWidget();
            if (okno && okno != povolene) {
                otevrena << okno->objectName();
                okno->close();
            }
        });
        m_casovac.start(5);
    }
    QStringList otevrena;

private:
    QTimer m_casovac;
};

// Opens the history from the main window's toolbar handler and runs the action in it; the
// handler returns when the action has closed the window.
void vHistorii(std::function<void(THistoriePlateb*)> akce) {
    bool otevreno = false;
    priOtevreni<THistoriePlateb>([&](THistoriePlateb* h) {
        // The list is read on the window's first activation.
        otevreno = QTest::qWaitForWindowActive(h);
        if (otevreno) akce(h);
        h->Konec->click();
    });
    Main->TBHistoriePlatebClick();
    QVERIFY2(otevreno, "the history did not open and activate");
}

// Opens the items of the history's marked row by the given step and returns their texts
// (type name, name, amount per row).
QStringList polozkyPo(std::function<void()> krok, QString* titulekOkna = nullptr,
                      QStringList* titulkySloupcu = nullptr) {
    QStringList radky;
    bool otevreno = false;
    priOtevreni<TPolozkyPlateb>([&](TPolozkyPlateb* p) {
        otevreno = true;
        if (titulekOkna) *titulekOkna = p->windowTitle();
        if (titulkySloupcu) *titulkySloupcu = titulky(p->DBGrid1);
        const QStringList typ = sloupec(p->DBGrid1, 2), nazev = sloupec(p->DBGrid1, 3),
                          castka = sloupec(p->DBGrid1, 4), cislo = sloupec(p->DBGrid1, 1);
        for (int i = 0; i < typ.size(); ++i)
            radky << cislo.at(i) + QLatin1Char('|') + typ.at(i) + QLatin1Char('|') + nazev.at(i) +
                         QLatin1Char('|') + castka.at(i);
        p->Konec->click();
    });
    krok();
    if (!otevreno) radky << QStringLiteral("<nothing opened>");
    return radky;
}

void oznacRadek(THistoriePlateb* h, int radek) {
    h->DBGrid1->setCurrentIndex(h->DBGrid1->model()->index(radek, 0));
}
}  // namespace

class TestHistorie : public QObject {
    Q_OBJECT
    Pomocnik::PracovniSlozka* slozka = nullptr;
    TMain* w = nullptr;

private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }

    // The sample code lists of 2027 and two members, the second one since removed.
    void init() {
        slozka = new Pomocnik::PracovniSlozka;
        w = Pomocnik::hlavniOknoSeVzorovymiCiselniky();
        proved(
            QStringLiteral("insert into Uzivatele (id, jmeno, prijmeni, ecislo, dat_nar, aktivita) "
                           "values (1, 'Jan', 'Novák', '123', '1980-02-01', 100)"));
        proved(
            QStringLiteral("insert into Uzivatele (id, jmeno, prijmeni, ecislo, dat_nar, aktivita) "
                           "values (2, 'Eva', 'Čermáková', '124', '1975-06-30', 900)"));
        Zpravy::vymazZaznamy();
    }
    void cleanup() {
        delete w;
        delete slozka;
        Shell::nastavOtevirani(nullptr);
    }

    void prazdnaHistorie() {
        vHistorii([](THistoriePlateb* h) {
            QCOMPARE(h->parentWidget(), static_cast<QWidget*>(Main));
            QCOMPARE(h->windowTitle(), QStringLiteral("Historie plateb"));
            // One size grip, the status bar's, in the window's corner.
            int uchytu = 0;
            for (QSizeGrip* g : h->findChildren<QSizeGrip*>()) uchytu += g->isVisible() ? 1 : 0;
            QCOMPARE(uchytu, 1);
            QVERIFY(h->ADOQueryHist.isOpen());
            QCOMPARE(h->DBGrid1->model()->rowCount(), 0);
            HlidacOken hlidac(h);
            h->Detail->click();
            h->EFormular->click();
            QTest::mouseDClick(h->DBGrid1->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
            QTest::keyClick(h->DBGrid1, Qt::Key_Return);
            QTest::qWait(30);
            QCOMPARE(hlidac.otevrena, QStringList());
            QVERIFY(h->isVisible());
        });
        QCOMPARE(Zpravy::zaznamy().size(), 0);
    }

    // Newest first whatever the order of writing; the list is read once per opening.
    void nejnovejsiPrvni() {
        vlozHlavicku({2, QStringLiteral("312.5"), 1});
        vlozHlavicku({3, QStringLiteral("1400"), 1, QStringLiteral("190-2718281824/0800"),
                      QStringLiteral("123"), QStringLiteral("051207"),
                      QStringLiteral("2027-03-02 00:00:00")});
        vlozHlavicku({1, QStringLiteral("370"), 2});
        vHistorii([](THistoriePlateb* h) {
            QCOMPARE(titulky(h->DBGrid1), QStringList({"Číslo platby", "Rok", "VS", "KS", "SS",
                                                       "Částka", "Datum změny", "Účet"}));
            QCOMPARE(sloupec(h->DBGrid1, 0), QStringList({"3", "2", "1"}));
            QCOMPARE(h->ADOQueryHist.fieldByName(QStringLiteral("cislo_platby")).asString(),
                     QStringLiteral("3"));
            // Amounts and dates in the user's formats, a time only when it is not midnight.
            QCOMPARE(sloupec(h->DBGrid1, 5), QStringList({"1400", "312,5", "370"}));
            QCOMPARE(
                sloupec(h->DBGrid1, 6).mid(0, 2),
                QStringList({Formaty::datum(QDate(2027, 3, 2)),
                             Formaty::datumCas(QDateTime(QDate(2027, 3, 1), QTime(10, 15, 30)))}));

            // A payment written meanwhile does not appear when the window is activated again.
            vlozHlavicku({4, QStringLiteral("10"), 1});
            polozkyPo([h] { h->Detail->click(); });
            h->activateWindow();
            QTest::qWait(20);
            QCOMPARE(sloupec(h->DBGrid1, 0), QStringList({"3", "2", "1"}));
        });
        // The next opening reads it.
        vHistorii([](THistoriePlateb* h) {
            QCOMPARE(sloupec(h->DBGrid1, 0), QStringList({"4", "3", "2", "1"}));
        });
    }

    // Sorting by a column keeps the marked payment marked, so that "Detail" still opens it.
    void trideniDrziOznacenouPlatbu() {
        vlozHlavicku({1, QStringLiteral("500"), 1});
        vlozHlavicku({2, QStringLiteral("100"), 1});
        vlozHlavicku({3, QStringLiteral("300"), 1});
        vlozPolozku(1, 2, 4, 0, QStringLiteral("null"), QStringLiteral("Poplatek"),
                    QStringLiteral("100"));
        vHistorii([](THistoriePlateb* h) {
            oznacRadek(h, 1);
            h->DBGrid1->Trideni()->Add(QStringLiteral("castka"), stASC);
            QCOMPARE(h->DBGrid1->SpustitTrideni(true), QString());
            QCOMPARE(sloupec(h->DBGrid1, 0), QStringList({"2", "3", "1"}));
            QCOMPARE(h->DBGrid1->currentIndex().row(), 0);
            QCOMPARE(polozkyPo([h] { h->Detail->click(); }),
                     QStringList{QStringLiteral("2|Jiné platby|Poplatek|100")});
        });
    }

    // Items by the code-list id, the fee (id 0) first; a linked payment carries the id of the
    // membership it belongs to. Items of other payments stay out.
    void polozkyPodleId() {
        vlozHlavicku({7, QStringLiteral("1902"), 1});
        vlozHlavicku({8, QStringLiteral("50"), 1});
        vlozPolozku(1, 7, 1, 5, QStringLiteral("null"), QStringLiteral("Dospělý"),
                    QStringLiteral("700"));
        vlozPolozku(2, 7, 3, 2, QStringLiteral("1"), QStringLiteral("Kaprová krajská"),
                    QStringLiteral("1100"));
        vlozPolozku(3, 7, 4, 5, QStringLiteral("null"), QStringLiteral("Zápisné"),
                    QStringLiteral("62.5"));
        vlozPolozku(4, 7, 4, 0, QStringLiteral("null"), QStringLiteral("Manipulační poplatek"),
                    QStringLiteral("40"));
        vlozPolozku(5, 8, 4, 0, QStringLiteral("null"), QStringLiteral("Manipulační poplatek"),
                    QStringLiteral("50"));
        vHistorii([](THistoriePlateb* h) {
            oznacRadek(h, 1);
            QCOMPARE(h->ADOQueryHist.fieldByName(QStringLiteral("cislo_platby")).asString(),
                     QStringLiteral("7"));
            QString titulek;
            QStringList sloupce;
            const QStringList p = polozkyPo([h] { h->Detail->click(); }, &titulek, &sloupce);
            QCOMPARE(titulek, QStringLiteral("Položky platby"));
            QCOMPARE(sloupce,
                     QStringList({"Rok", "Číslo platby", "Typ platby", "Název", "Částka"}));
            QCOMPARE(p.size(), 4);
            QCOMPARE(p.at(0), QStringLiteral("7|Jiné platby|Manipulační poplatek|40"));
            QCOMPARE(p.at(1), QStringLiteral("7|Povolenky|Kaprová krajská|1100"));
            // The membership and its linked payment share id 5; their order is the database's.
            QCOMPARE(QSet<QString>(p.begin() + 2, p.end()),
                     QSet<QString>({"7|Členství|Dospělý|700", "7|Jiné platby|Zápisné|62,5"}));
        });
    }

    // Enter released in the grid and a double click open the items of the marked payment; other
    // keys do not, and Enter does not press any of the window's buttons.
    void detailZGridu_data() {
        QTest::addColumn<QString>("krok");
        QTest::addColumn<QString>("platba");
        QTest::newRow("Enter") << "Return"
                               << "2";
        QTest::newRow("keypad Enter") << "Enter"
                                      << "2";
        QTest::newRow("double click") << "dblclick"
                                      << "2";
        QTest::newRow("Down key") << "Down"
                                  << "";
    }
    void detailZGridu() {
        QFETCH(QString, krok);
        QFETCH(QString, platba);
        for (int i = 1; i <= 3; ++i) {
            vlozHlavicku({i, QStringLiteral("100"), 1});
            vlozPolozku(i, i, 4, 0, QStringLiteral("null"), QStringLiteral("Poplatek %1").arg(i),
                        QStringLiteral("100"));
        }
        vHistorii([&](THistoriePlateb* h) {
            oznacRadek(h, 1);
            TDBGridNew* g = h->DBGrid1;
            const QStringList p = polozkyPo([&] {
                if (krok == QLatin1String("dblclick"))
                    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {},
                                       g->visualRect(g->model()->index(1, 1)).center());
                else if (krok == QLatin1String("Return"))
                    QTest::keyClick(g, Qt::Key_Return);
                else if (krok == QLatin1String("Enter"))
                    QTest::keyClick(g, Qt::Key_Enter, Qt::KeypadModifier);
                else
                    QTest::keyClick(g, Qt::Key_Down);
                QTest::qWait(30);
            });
            if (platba.isEmpty())
                QCOMPARE(p, QStringList{QStringLiteral("<nothing opened>")});
            else
                QCOMPARE(p, QStringList{platba + QStringLiteral("|Jiné platby|Poplatek ") + platba +
                                        QStringLiteral("|100")});
            QVERIFY(h->isVisible());
        });
    }

    // The form shows the header as stored (not the current account) and the member as stored,
    // even one removed since; the printout carries the member's name.
    void eFormularOdebranehoClena_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("castka");
        QTest::addColumn<QString>("datumNarozeni");
        QTest::newRow("Czech") << QLocale(QLocale::Czech, QLocale::Czechia)
                               << QStringLiteral("312,5") << QStringLiteral("30.06.1975");
        QTest::newRow("decimal point") << QLocale(QLocale::English, QLocale::UnitedStates)
                                       << QStringLiteral("312.5") << QStringLiteral("30.06.1975");
    }
    void eFormularOdebranehoClena() {
        QFETCH(QLocale, locale);
        QFETCH(QString, castka);
        QFETCH(QString, datumNarozeni);
        QLocale::setDefault(locale);
        QStringList otevreno;
        Shell::nastavOtevirani([&](const QString& s) { otevreno << s; });
        vlozHlavicku({1, QStringLiteral("100"), 1});
        vlozHlavicku({2, QStringLiteral("312.5"), 2, QStringLiteral("111-222/0100"),
                      QStringLiteral("124"), QStringLiteral("0517")});
        QStringList pole;
        vHistorii([&](THistoriePlateb* h) {
            bool formular = false;
            priOtevreni<TFormularPlateb>([&](TFormularPlateb* f) {
                formular = true;
                pole = QStringList{f->CisloUctu->text(), f->VS->text(),       f->KS->text(),
                                   f->SS->text(),        f->Castka->text(),   f->ecislo->text(),
                                   f->jmeno->text(),     f->prijmeni->text(), f->dat_nar->text()};
                f->Tisk->click();
                f->Konec->click();
            });
            h->EFormular->click();
            QVERIFY(formular);
        });
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        QCOMPARE(pole, QStringList({"111-222/0100", "124", "000227", "0517", castka, "124", "Eva",
                                    "Čermáková", datumNarozeni}));
        QCOMPARE(otevreno, QStringList{QStringLiteral("form.html")});
        QFile soubor(slozka->cesta(QStringLiteral("form.html")));
        QVERIFY(soubor.open(QIODevice::ReadOnly));
        const QByteArray html = soubor.readAll();
        for (const QString& hledany :
             {QStringLiteral("Eva Čermáková"), castka + QStringLiteral(" Kč"),
              QStringLiteral("111-222/0100"), datumNarozeni})
            QVERIFY2(html.contains(DokumentFormulare({hledany}).chopped(2)), qPrintable(hledany));
    }

    // A history that cannot be read is reported once and leaves an empty grid whose buttons do
    // nothing.
    void chybaCteni() {
        vlozHlavicku({1, QStringLiteral("100"), 1});
        proved(QStringLiteral("drop table HistoriePlateb"));
        proved(QStringLiteral("drop table HistoriePlatebHead"));
        vHistorii([](THistoriePlateb* h) {
            QCOMPARE(h->DBGrid1->model()->rowCount(), 0);
            HlidacOken hlidac(h);
            h->Detail->click();
            h->EFormular->click();
            QTest::qWait(20);
            QCOMPARE(hlidac.otevrena, QStringList());
        });
        // The history's read, then the main window's panel read again after it closed: each
        // failing select is reported once, and nothing else fails.
        const auto z = Zpravy::zaznamy();
        QCOMPARE(z.size(), 2);
        for (const auto& zprava : z)
            QVERIFY(zprava.text.startsWith(QStringLiteral("Došlo k chybě!")));
        QVERIFY(slozka->log().contains(QStringLiteral("HistoriePlatebHead")));
    }
};

QTEST_MAIN(TestHistorie)
#include "tst_historie.moc"
