#include <QApplication>
#include <QHeaderView>
#include <QStyleFactory>
#include <QtTest>

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

    void defaults() {
        TStringGridNew g;
        QCOMPARE(g.DefaultRowHeight(), 17);
        g.setRowCount(2);
        QCOMPARE(g.rowHeight(1), 17);
        QVERIFY(g.FixedFont().bold());
        QVERIFY(g.FixedFontColorDleTheme());
        QCOMPARE(g.FixedRows(), 1);
        QVERIFY(g.jePevna(3, 0));
        QVERIFY(!g.jePevna(1, 1));
        g.setFixedCols(0);
        QVERIFY(!g.jePevna(0, 1));
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(11);
        f.setBold(true);
        g.setFixedFont(f);
        QCOMPARE(g.FixedFont(), f);
    }

    void headerTextColourFollowsTheLook() {
        TStringGridNew g;
        QStyle* obycejny = QStyleFactory::create(QStringLiteral("Windows"));
        QStyle* jiny = QStyleFactory::create(QStringLiteral("Fusion"));
        QVERIFY(obycejny && jiny);
        g.setStyle(obycejny);
        QCOMPARE(g.barvaPevnehoTextu(), QApplication::palette().color(QPalette::WindowText));
        g.setStyle(jiny);
        QCOMPARE(g.barvaPevnehoTextu(), jiny->standardPalette().color(QPalette::WindowText));
        g.setFixedFontColorDleTheme(false);
        QCOMPARE(g.barvaPevnehoTextu(), QApplication::palette().color(QPalette::WindowText));
        g.setFixedFontColorDleTheme(true);
        g.setFixedFontColor(QColor(10, 20, 30));  // a colour of its own stays as it is
        QCOMPARE(g.barvaPevnehoTextu(), QColor(10, 20, 30));
        g.setStyle(nullptr);
        delete obycejny;
        delete jiny;
    }
};

QTEST_MAIN(TestStringGrid)
#include "tst_stringgrid.moc"
