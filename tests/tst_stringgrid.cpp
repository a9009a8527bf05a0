// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QHeaderView>
#include <QStyleFactory>
#include <QtTest>
#include <memory>

#include "Pomocnik.h"
#include "StringGridNew.h"

namespace {
// A grid of one column whose rows hold the given texts ("" leaves a cell without text).
void napln(TStringGridNew& g, const QStringList& radky) {
    g.setColumnCount(2);
    g.setRowCount(radky.size());
    for (int r = 0; r < radky.size(); ++r) {
        if (radky[r].isEmpty()) continue;
        g.setCells(0, r, radky[r]);
        g.setCells(1, r, radky[r] + QLatin1Char('!'));
    }
}

// What a painted cell shows: its background, the bounds of the text's ink and the ink's
// strongest colour (the middle of a stroke, where the text has its own colour unblended).
struct Inkoust {
    QColor pozadi;
    QRect oblast;
    QColor barva;
};

int vzdalenost(const QColor& a, const QColor& b) {
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue());
}

bool blizko(const QColor& a, const QColor& b) {
    return vzdalenost(a, b) <= 30;
}

Inkoust inkoust(TStringGridNew& g, int sloupec, int radek) {
    const QImage obraz = g.viewport()->grab().toImage();
    // Inside the cell's borders.
    const QRect bunka =
        g.visualRect(g.model()->index(radek, sloupec)).adjusted(1, 1, -2, -2) & obraz.rect();
    Inkoust i;
    i.pozadi = obraz.pixelColor(bunka.topLeft() + QPoint(1, 1));
    int nejdal = 0;
    for (int y = bunka.top(); y <= bunka.bottom(); ++y)
        for (int x = bunka.left(); x <= bunka.right(); ++x) {
            const QColor c = obraz.pixelColor(x, y);
            const int d = vzdalenost(c, i.pozadi);
            if (d < 60) continue;
            i.oblast |= QRect(x, y, 1, 1);
            if (d > nejdal) {
                nejdal = d;
                i.barva = c;
            }
        }
    return i;
}

QStringList obsah(const TStringGridNew& g) {
    QStringList radky;
    for (int r = 0; r < g.rowCount(); ++r) {
        QString t = g.Cells(0, r);
        if (!g.Cells(1, r).isEmpty() && g.Cells(1, r) != t + QLatin1Char('!'))
            t += QStringLiteral("<rozbito>");
        radky << t;
    }
    return radky;
}
}  // namespace

class TestStringGrid : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }

    void deleteRow_data() {
        QTest::addColumn<QStringList>("pred");
        QTest::addColumn<int>("radek");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<QStringList>("po");
        const QStringList ctyri{"hlava", "a", "b", "c"};
        QTest::newRow("first data row") << ctyri << 1 << 2 << QStringList{"hlava", "b", "c"};
        QTest::newRow("middle row") << ctyri << 2 << 2 << QStringList{"hlava", "a", "c"};
        QTest::newRow("last row") << ctyri << 3 << 2 << QStringList{"hlava", "a", "b"};
        QTest::newRow("only data row is emptied")
            << QStringList{"hlava", "a"} << 1 << 2 << QStringList{"hlava", ""};
        QTest::newRow("minimum 0 drops down to the header")
            << QStringList{"hlava", "a"} << 1 << 0 << QStringList{"hlava"};
        QTest::newRow("at the minimum the rows move up, the last is emptied")
            << ctyri << 1 << 4 << QStringList{"hlava", "b", "c", ""};
        QTest::newRow("row outside the grid") << ctyri << 7 << 2 << ctyri;
    }
    void deleteRow() {
        QFETCH(QStringList, pred);
        QFETCH(int, radek);
        QFETCH(int, minimum);
        QFETCH(QStringList, po);
        TStringGridNew g;
        napln(g, pred);
        g.DeleteRow(radek, minimum);
        QCOMPARE(obsah(g), po);
    }

    void deleteRowDefaultKeepsTwoRows() {
        TStringGridNew g;
        napln(g, {"hlava", "a"});
        g.DeleteRow(1);
        QCOMPARE(g.rowCount(), 2);
        QCOMPARE(g.Cells(0, 1), QString());
        QCOMPARE(g.Cells(1, 1), QString());
    }

    void exchangeRows_data() {
        QTest::addColumn<int>("prvni");
        QTest::addColumn<int>("druhy");
        QTest::addColumn<QStringList>("po");
        QTest::newRow("neighbours") << 1 << 2 << QStringList{"hlava", "b", "a", ""};
        QTest::newRow("either order") << 2 << 1 << QStringList{"hlava", "b", "a", ""};
        QTest::newRow("with an empty row") << 1 << 3 << QStringList{"hlava", "", "b", "a"};
        QTest::newRow("with itself") << 2 << 2 << QStringList{"hlava", "a", "b", ""};
    }
    void exchangeRows() {
        QFETCH(int, prvni);
        QFETCH(int, druhy);
        QFETCH(QStringList, po);
        TStringGridNew g;
        napln(g, {"hlava", "a", "b", ""});
        g.ExchangeRows(prvni, druhy);
        QCOMPARE(obsah(g), po);
    }

    // New rows take the default height of 17 pixels; the header row is painted in the fixed
    // font, bold by default, and in a font set later.
    void fixedFontPaintsTheHeader() {
        TStringGridNew g;
        QCOMPARE(g.DefaultRowHeight(), 17);
        g.setFixedCols(0);
        g.setColumnCount(1);
        g.setRowCount(3);
        g.setColumnWidth(0, 200);
        QCOMPARE(g.rowHeight(2), 17);
        const QString text = QStringLiteral("Částka");
        g.setCells(0, 0, text);
        g.setCells(0, 1, text);
        g.resize(260, 120);
        // The same text is wider in bold than in the cell below.
        const QRect hlavicka = inkoust(g, 0, 0).oblast;
        const QRect data = inkoust(g, 0, 1).oblast;
        QVERIFY2(hlavicka.width() > data.width(),
                 qPrintable(QStringLiteral("%1 / %2").arg(hlavicka.width()).arg(data.width())));
        QFont f = QApplication::font();
        f.setPixelSize(15);
        f.setBold(false);
        g.setFixedFont(f);
        g.setRowHeight(0, 30);
        const QRect vetsi = inkoust(g, 0, 0).oblast;
        QVERIFY2(vetsi.height() > data.height(),
                 qPrintable(QStringLiteral("%1 / %2").arg(vetsi.height()).arg(data.height())));
        // Not bold any more: about as wide as the data text scaled to the larger size.
        QVERIFY(vetsi.width() < hlavicka.width() * 15 / 12 + 2);
    }

    // The header text takes its colour from the palette in use, whatever the style: under a dark
    // colour scheme it is light on the dark header. A colour of its own stays as it is.
    void headerTextColourFollowsThePalette_data() {
        QTest::addColumn<QString>("styl");
        QTest::addColumn<bool>("naOkne");  // the dark palette set on the window, not the program
        QTest::addColumn<bool>("dleTheme");
        QTest::newRow("Fusion") << "Fusion" << false << true;
        QTest::newRow("Windows") << "Windows" << false << true;
        QTest::newRow("Fusion, palette of the window") << "Fusion" << true << true;
        QTest::newRow("not by the look") << "Fusion" << false << false;
    }
    void headerTextColourFollowsThePalette() {
        QFETCH(QString, styl);
        QFETCH(bool, naOkne);
        QFETCH(bool, dleTheme);
        std::unique_ptr<QStyle> vzhled(QStyleFactory::create(styl));
        QVERIFY(vzhled);
        const QColor svetla(235, 235, 235);
        QPalette tmava = vzhled->standardPalette();
        for (const auto skupina : {QPalette::Active, QPalette::Inactive}) {
            tmava.setColor(skupina, QPalette::Window, QColor(45, 45, 45));
            tmava.setColor(skupina, QPalette::WindowText, svetla);
            tmava.setColor(skupina, QPalette::Button, QColor(60, 60, 60));
            tmava.setColor(skupina, QPalette::ButtonText, svetla);
            tmava.setColor(skupina, QPalette::Base, QColor(30, 30, 30));
            tmava.setColor(skupina, QPalette::Text, svetla);
        }
        // The program's palette returns whatever the case's outcome.
        struct Vratit {
            QPalette puvodni = QApplication::palette();
            ~Vratit() { QApplication::setPalette(puvodni); }
        } vratit;
        const QPalette& puvodni = vratit.puvodni;
        QWidget okno;
        auto* g = new TStringGridNew(&okno);
        g->setStyle(vzhled.get());
        if (naOkne)
            okno.setPalette(tmava);
        else
            QApplication::setPalette(tmava);
        g->setFixedFontColorDleTheme(dleTheme);
        g->setColumnCount(1);
        g->setRowCount(2);
        g->setColumnWidth(0, 200);
        g->setCells(0, 0, QStringLiteral("Název"));
        g->resize(260, 80);
        okno.show();
        QVERIFY(QTest::qWaitForWindowExposed(&okno));
        const Inkoust i = inkoust(*g, 0, 0);
        // With the look's own shade the text follows the window's palette only when asked to;
        // the program's palette it always follows.
        const QColor cekana = (naOkne && !dleTheme) ? puvodni.color(QPalette::WindowText) : svetla;
        QVERIFY2(blizko(i.barva, cekana), qPrintable(i.barva.name()));
        QVERIFY2(blizko(i.pozadi, QColor(60, 60, 60)), qPrintable(i.pozadi.name()));

        g->setFixedFontColor(QColor(200, 40, 40));
        QVERIFY2(blizko(inkoust(*g, 0, 0).barva, QColor(200, 40, 40)),
                 qPrintable(inkoust(*g, 0, 0).barva.name()));
        g->setStyle(nullptr);
    }
};

QTEST_MAIN(TestStringGrid)
#include "tst_stringgrid.moc"
