// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>

#include "DBGridNew.h"
#include "Hodiny.h"
#include "Pomocnik.h"
#include "SqlHodnoty.h"
#include "StringGridNew.h"
#include "VzorovaData.h"
#include "fCisBrigrad.h"
#include "fCisClenstvi.h"
#include "fCisPovolenek.h"
#include "fHistoriePlateb.h"
#include "fMain.h"
#include "fNovaPlatba.h"
#include "fPolozkyPlateb.h"
#include "fUzivatele.h"

// Every list window shows its column titles and the values of the sample data whole, at the
// desktop's font: each title and value fits its column, and the window opens wide enough to
// show all its columns side by side.
namespace {

void proved(const QString& sql) {
    Main->ADOConnection1.execute(sql);
}

QStringList sloupecTextu(const QString& sql) {
    db::Query q(&Main->ADOConnection1);
    q.setSql(sql);
    q.open();
    QStringList t;
    for (q.first(); !q.eof(); q.next()) t << q.field(0).asString();
    return t;
}

// Members of the kinds a register holds, the longest evidence number among them.
void vlozCleny() {
    proved(QStringLiteral(
        "insert into Uzivatele (id, jmeno, prijmeni, ecislo, dat_nar, aktivita, dat_zmen) values "
        "(1, 'Jan', 'Novák', '123', '1980-02-01', 100, now()), "
        "(2, 'Maximilián', 'Procházka-Dvořáček', '1234567890', '1975-12-30', 100, now()), "
        "(3, 'Bohumila', 'Nováková', 'A-4711/2015', null, 100, now())"));
}

// One stored payment holding every priced entry of the evidence year's code lists, and the
// handling fee.
void vlozPlatbuSeVsim() {
    proved(QStringLiteral(
        "insert into HistoriePlatebHead (cislo_platby, dat_zmena, rok, ucet, vs, ks, ss, castka, "
        "id_usr) select 1, '2027-12-30 23:59:58', 2027, ucet, '1234567890', '0127', "
        "'0102030405', 123456.5, 2 from Nastaveni"));
    int id = 0;
    auto vloz = [&](int typ, const QString& idPov, const QString& tabulka) {
        db::Query q(&Main->ADOConnection1);
        q.setSql(QStringLiteral("select id, nazev, castka from %1 where rok = 2027").arg(tabulka));
        q.open();
        for (q.first(); !q.eof(); q.next())
            proved(QStringLiteral("insert into HistoriePlateb (id_platby, rok, typ_platby, id, "
                                  "id_pov, nazev, castka, cislo_platby) values (%1, 2027, %2, %3, "
                                  "%4, %5, %6, 1)")
                       .arg(++id)
                       .arg(typ)
                       .arg(q.field(0).asInteger())
                       .arg(idPov, Sql::text(q.field(1).asString()),
                            Sql::number(q.field(2).asFloat())));
    };
    vloz(1, QStringLiteral("null"), QStringLiteral("ClenskePrispevky"));
    vloz(2, QStringLiteral("null"), QStringLiteral("Brigady"));
    db::Query typy(&Main->ADOConnection1);
    typy.setSql(QStringLiteral("select id_pov, tabulka from C_povolenky_txt"));
    typy.open();
    for (typy.first(); !typy.eof(); typy.next())
        vloz(3, typy.field(0).asString(), typy.field(1).asString());
    vloz(4, QStringLiteral("null"), QStringLiteral("C_jinePlatby"));
    proved(QStringLiteral("insert into HistoriePlateb (id_platby, rok, typ_platby, id, nazev, "
                          "castka, cislo_platby) select %1, 2027, 4, 0, nazev, castka, 1 from "
                          "ManipulacniPopl where rok = 2027")
               .arg(++id));
}

// The title's place in its column as the title row paints it: from the style's margin, aligned
// as the row aligns its titles, clear of vpravo pixels at the right end (where the sort
// indicators go). The values with the 3 pixels a cell keeps free on either side and the grid
// line.
void overSloupce(QTableView* t, int vpravo, const QString& okno, int sirkaPredZobrazenim) {
    const QAbstractItemModel* m = t->model();
    QHeaderView* h = t->horizontalHeader();
    const QFontMetrics ft(h->font());
    const QFontMetrics fh(t->font());
    const int okraj = h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
    const Qt::Alignment zarovnani = h->defaultAlignment();
    int sloupcu = 0;
    for (int c = 0; c < m->columnCount(); ++c) {
        if (t->isColumnHidden(c)) continue;
        ++sloupcu;
        const int w = t->columnWidth(c);
        const QString titulek = m->headerData(c, Qt::Horizontal).toString();
        const int tw = ft.horizontalAdvance(titulek);
        const int x0 = (zarovnani & Qt::AlignLeft)    ? okraj
                       : (zarovnani & Qt::AlignRight) ? w - okraj - tw - vpravo
                                                      : (w - vpravo - tw) / 2;
        QVERIFY2(x0 >= okraj && x0 + tw <= w - std::max(okraj, vpravo),
                 qPrintable(QStringLiteral("%1: title \"%2\" (%3 px) in %4 px")
                                .arg(okno, titulek)
                                .arg(tw)
                                .arg(w)));
        // The view's own measure of its cells, which its painting elides by: the texts' widths
        // in fractions of a pixel, the item's margins of the style in use, the grid line.
        const int podleVykresleni = static_cast<const QAbstractItemView*>(t)->sizeHintForColumn(c);
        QVERIFY2(w >= podleVykresleni,
                 qPrintable(QStringLiteral("%1: column \"%2\" of %3 px, its cells need %4 px")
                                .arg(okno, titulek)
                                .arg(w)
                                .arg(podleVykresleni)));
        for (int r = 0; r < m->rowCount(); ++r) {
            const QString text = m->index(r, c).data().toString();
            QVERIFY2(fh.horizontalAdvance(text) + 6 <= w - 1,
                     qPrintable(QStringLiteral("%1: \"%2\" (%3 px) in column \"%4\" of %5 px")
                                    .arg(okno, text)
                                    .arg(fh.horizontalAdvance(text))
                                    .arg(titulek)
                                    .arg(w)));
        }
    }
    QVERIFY(sloupcu > 0);
    // All columns side by side: nothing to scroll sideways. A window that has grown for them is
    // no wider than they need.
    QTRY_COMPARE(t->horizontalScrollBar()->maximum(), 0);
    if (t->window()->width() > sirkaPredZobrazenim) {
        int soucet = 0;
        for (int c = 0; c < m->columnCount(); ++c)
            if (!t->isColumnHidden(c)) soucet += t->columnWidth(c);
        const int volno = t->viewport()->width() - soucet;
        QVERIFY2(volno <= 40,
                 qPrintable(QStringLiteral("%1: %2 px to spare").arg(okno).arg(volno)));
    }
}

// The sort indicators of the program's grid stand this far from a title's right end when
// several columns sort (the number of the column takes the rest).
int mistoIndikatoru(TDBGridNew* g) {
    return g->SortImageRightOffset() + 7;
}

}  // namespace

class TestRozvrzeni : public QObject {
    Q_OBJECT
    Pomocnik::PracovniSlozka* slozka = nullptr;
    TMain* w = nullptr;
    QFont puvodni;

private slots:
    void initTestCase() {
        Pomocnik::pripravProstredi();
        puvodni = QApplication::font();
    }

    // The default font of the desktop, and a larger one as some desktops have.
    void initTestCase_data() {
        QTest::addColumn<int>("body");
        QTest::newRow("default font") << 0;
        QTest::newRow("larger desktop font") << 11;
    }
    void init() {
        QFETCH_GLOBAL(int, body);
        QFont f = puvodni;
        if (body > 0) f.setPointSize(body);
        QApplication::setFont(f);
        slozka = new Pomocnik::PracovniSlozka;
        w = Pomocnik::hlavniOknoSeVzorovymiCiselniky();
        QCOMPARE(w->rok, QStringLiteral("2027"));
        vlozCleny();
        vlozPlatbuSeVsim();
    }
    void cleanup() {
        delete w;
        delete slozka;
        QApplication::setFont(puvodni);
    }

    void clenove() {
        TUzivatele okno(w);
        const int pred = okno.width();
        okno.show();
        QVERIFY(QTest::qWaitForWindowActive(&okno));
        QTRY_COMPARE(okno.DBGrid1->model()->rowCount(), 3);
        overSloupce(okno.DBGrid1, mistoIndikatoru(okno.DBGrid1), QStringLiteral("Uživatelé"), pred);
    }

    void historieAPolozky() {
        THistoriePlateb historie(w);
        const int pred = historie.width();
        historie.show();
        QVERIFY(QTest::qWaitForWindowActive(&historie));
        QTRY_COMPARE(historie.DBGrid1->model()->rowCount(), 1);
        overSloupce(historie.DBGrid1, mistoIndikatoru(historie.DBGrid1),
                    QStringLiteral("Historie plateb"), pred);
        if (QTest::currentTestFailed()) return;

        TPolozkyPlateb polozky(&historie);
        const int predPolozkami = polozky.width();
        polozky.show();
        QVERIFY(QTest::qWaitForWindowExposed(&polozky));
        QVERIFY(polozky.DBGrid1->model()->rowCount() > 20);
        overSloupce(polozky.DBGrid1, mistoIndikatoru(polozky.DBGrid1),
                    QStringLiteral("Položky platby"), predPolozkami);
        if (QTest::currentTestFailed()) return;
        // Widened, it still stands centred on the history.
        QVERIFY(polozky.width() > predPolozkami);
        QVERIFY2(qAbs(polozky.geometry().center().x() - historie.geometry().center().x()) <= 2,
                 qPrintable(QStringLiteral("%1 / %2")
                                .arg(polozky.geometry().center().x())
                                .arg(historie.geometry().center().x())));
    }

    void vyberZCiselniku() {
        TNovaPlatba platba(w);
        {
            TCisClenstvi v(&platba);
            const int pred = v.width();
            v.show();
            QVERIFY(QTest::qWaitForWindowExposed(&v));
            QCOMPARE(
                v.DBGrid1->model()->rowCount(),
                sloupecTextu(QStringLiteral("select nazev from ClenskePrispevky where rok = 2027"))
                    .size());
            overSloupce(v.DBGrid1, 0, QStringLiteral("Číselník členství"), pred);
            if (QTest::currentTestFailed()) return;
        }
        {
            TCisBrigrad v(&platba);
            const int pred = v.width();
            v.show();
            QVERIFY(QTest::qWaitForWindowExposed(&v));
            QCOMPARE(v.DBGrid1->model()->rowCount(), 2);  // the two brigade compensations
            overSloupce(v.DBGrid1, 0, QStringLiteral("Číselník brigád"), pred);
            if (QTest::currentTestFailed()) return;
        }
        // Every permit type that has prices.
        for (const QString& idPov :
             sloupecTextu(QStringLiteral("select id_pov from C_povolenky_txt order by id_pov"))) {
            TCisPovolenek v(&platba);
            v.id_pov = idPov;
            const int pred = v.width();
            v.show();
            QVERIFY(QTest::qWaitForWindowExposed(&v));
            overSloupce(v.DBGrid1, 0, QStringLiteral("Číselník povolenek ") + idPov, pred);
            if (QTest::currentTestFailed()) return;
        }
    }

    // The linked payments of the payment dialog: titles in the header row's bold font, every
    // other payment of the year with its amount.
    void navazanePlatby() {
        TNovaPlatba d(w);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        TStringGridNew* g = d.NavazanePlatby;
        db::Query q(&w->ADOConnection1);
        q.setSql(QStringLiteral("select nazev, castka from C_jinePlatby where rok = 2027"));
        q.open();
        g->setRowCount(q.recordCount() + 1);
        for (int r = 1; !q.eof(); q.next(), ++r) {
            g->setCells(0, r, q.field(0).asString());
            g->setCells(1, r, q.field(1).asString());
        }
        const QFontMetrics fh(g->FixedFont());
        const QFontMetrics fd(g->font());
        for (int c = 0; c < 2; ++c) {
            const int w = g->columnWidth(c);
            QVERIFY2(fh.horizontalAdvance(g->Cells(c, 0)) + 4 <= w, qPrintable(g->Cells(c, 0)));
            for (int r = 1; r < g->rowCount(); ++r)
                QVERIFY2(fd.horizontalAdvance(g->Cells(c, r)) + 6 <= w - 1,
                         qPrintable(g->Cells(c, r)));
        }
        QTRY_COMPARE(g->horizontalScrollBar()->maximum(), 0);
    }

    // A chosen entry shows in its slot from the start of its name, and the sample names fit
    // the box whole.
    void nazvyVSlotech() {
        TNovaPlatba d(w);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        const struct {
            QLineEdit* box;
            QString sql;
        } sloty[] = {
            {d.NazevClenstvi,
             QStringLiteral("select nazev from ClenskePrispevky where rok = 2027")},
            {d.NazevBrigad, QStringLiteral("select nazev from Brigady where rok = 2027")},
            {d.NazevPovolenka1, QStringLiteral("select nazev from C_povolKKnaTVZ union select "
                                               "nazev from C_povolCKnaTVZ union select nazev "
                                               "from C_povolKO")},
        };
        for (const auto& s : sloty) {
            const int ramecek =
                s.box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, s.box);
            for (const QString& nazev : sloupecTextu(s.sql)) {
                s.box->setText(nazev);
                QCOMPARE(s.box->cursorPosition(), 0);
                QCOMPARE(s.box->toolTip(), nazev);
                QVERIFY2(s.box->fontMetrics().horizontalAdvance(nazev) + 2 * ramecek + 4 <=
                             s.box->width(),
                         qPrintable(nazev));
            }
        }
    }
};

// The cases run on a screen of a usual desktop's size (the bare offscreen screen is smaller
// than any desktop).
int main(int argc, char* argv[]) {
    QTemporaryDir slozka;
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
        QFile konfigurace(slozka.filePath(QStringLiteral("obrazovka.json")));
        if (konfigurace.open(QIODevice::WriteOnly)) {
            konfigurace.write(
                "{\"screens\": [{\"name\": \"plocha\", \"x\": 0, \"y\": 0, "
                "\"width\": 1280, \"height\": 1024, \"logicalDpi\": 96, "
                "\"logicalBaseDpi\": 96, \"dpr\": 1}]}");
            konfigurace.close();
            qputenv("QT_QPA_PLATFORM",
                    "offscreen:configfile=" + QFile::encodeName(konfigurace.fileName()));
        }
    }
    QApplication aplikace(argc, argv);
    TestRozvrzeni test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_rozvrzeni.moc"
