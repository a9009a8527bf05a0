// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include "Rozmery.h"
#include "Zpravy.h"
#include "tst_grid_seznam.h"

namespace {
const QLocale kCesky(QLocale::Czech, QLocale::Czechia);
const QLocale kAnglicky(QLocale::English, QLocale::UnitedStates);

QByteArray obsah(const QString& soubor) {
    QFile f(soubor);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// The text in Windows-1250, by the toolkit's own converter.
QByteArray vCp1250(const QString& text) {
    QStringEncoder prevod("windows-1250");
    const QByteArray b = prevod.encode(text);
    return prevod.hasError() ? QByteArray("<chyba převodu>") : b;
}
}  // namespace

class TestGrid : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }
    void cleanup() {
        QLocale::setDefault(kCesky);
        Zpravy::vymazZaznamy();
    }

    // ------------------------------------------------------------ title clicks

    void plainClickSortsOnlyAfterTheDelay() {
        SeznamClenu s;
        s.grid->setProdlevaPredClickSort(300);
        s.klikniNaTitulek(0);
        QCOMPARE(s.dotaz->sort(), QString());
        QTest::qWait(150);
        QCOMPARE(s.dotaz->sort(), QString());
        QTRY_COMPARE(s.dotaz->sort(), QStringLiteral("prijmeni"));
        QCOMPARE(s.sloupec(QStringLiteral("id")), QStringLiteral("5,6,3,1,4,2"));
    }

    void ctrlOrShiftClickSortsAfterFiftyMilliseconds_data() {
        QTest::addColumn<int>("klavesa");
        QTest::newRow("Ctrl") << int(Qt::ControlModifier);
        QTest::newRow("Shift") << int(Qt::ShiftModifier);
    }
    void ctrlOrShiftClickSortsAfterFiftyMilliseconds() {
        QFETCH(int, klavesa);
        SeznamClenu s;
        s.grid->setProdlevaPredClickSort(60000);
        s.klikniNaTitulek(1, Qt::KeyboardModifiers(klavesa));
        QTRY_COMPARE_WITH_TIMEOUT(s.dotaz->sort(), QStringLiteral("jmeno"), 3000);
    }

    // Each click: P, J, D, C for the columns, "^" with Ctrl, "+" with Shift. Every click of a
    // sequence changes the sort, so the test waits for each before the next.
    void clickSequencesBuildTheSortList_data() {
        QTest::addColumn<QString>("kliky");
        QTest::addColumn<QString>("vyraz");
        QTest::addColumn<QString>("poradiId");
        QTest::newRow("one click") << "P"
                                   << "prijmeni"
                                   << "5,6,3,1,4,2";
        QTest::newRow("second click turns it") << "P,P"
                                               << "prijmeni DESC"
                                               << "2,4,1,3,6,5";
        QTest::newRow("other column replaces it") << "P,P,J"
                                                  << "jmeno"
                                                  << "3,1,6,4,5,2";
        QTest::newRow("ctrl adds") << "P,^J"
                                   << "prijmeni, jmeno"
                                   << "5,6,3,1,4,2";
        QTest::newRow("ctrl turns the added") << "P,^J,^J"
                                              << "prijmeni, jmeno DESC"
                                              << "5,6,3,1,4,2";
        QTest::newRow("plain click on a list of two") << "P,^J,^J,P"
                                                      << "prijmeni"
                                                      << "5,6,3,1,4,2";
        QTest::newRow("shift adds") << "J,+P"
                                    << "jmeno, prijmeni"
                                    << "3,6,1,4,5,2";
        QTest::newRow("ctrl on the first turns it") << "J,+P,^J"
                                                    << "jmeno DESC, prijmeni"
                                                    << "2,5,4,6,1,3";
        QTest::newRow("nulls first") << "C"
                                     << "castka"
                                     << "6,2,5,4,1,3";
        QTest::newRow("nulls last descending") << "C,C"
                                               << "castka DESC"
                                               << "3,1,4,5,2,6";
        QTest::newRow("dates") << "D"
                               << "dat_nar"
                               << "6,5,2,1,4,3";
    }
    void clickSequencesBuildTheSortList() {
        QFETCH(QString, kliky);
        QFETCH(QString, vyraz);
        QFETCH(QString, poradiId);
        SeznamClenu s;
        s.grid->setProdlevaPredClickSort(40);
        const QString sloupce = QStringLiteral("PJDC");
        for (const QString& klik : kliky.split(QLatin1Char(','))) {
            Qt::KeyboardModifiers klavesy;
            if (klik.startsWith(QLatin1Char('^'))) klavesy = Qt::ControlModifier;
            if (klik.startsWith(QLatin1Char('+'))) klavesy = Qt::ShiftModifier;
            const QString pred = s.dotaz->sort();
            s.klikniNaTitulek(sloupce.indexOf(klik.back()), klavesy);
            QTRY_VERIFY(s.dotaz->sort() != pred);
        }
        QCOMPARE(s.dotaz->sort(), vyraz);
        QCOMPARE(s.grid->Trideni()->vyraz(), vyraz);
        QCOMPARE(s.sloupec(QStringLiteral("id")), poradiId);
        // The grid shows the query's order.
        QCOMPARE(s.grid->model()->data(s.grid->model()->index(0, 0)).toString(),
                 s.dotaz->text(0, s.dotaz->fieldIndex(QStringLiteral("prijmeni"))));
    }

    void doubleClickOnTitleCallsUpSearchInsteadOfSorting() {
        SeznamClenu s;
        s.grid->setProdlevaPredClickSort(200);
        QTest::mouseDClick(s.titulky()->viewport(), Qt::LeftButton, {}, s.stredTitulku(0));
        QTest::qWait(400);
        QCOMPARE(s.dotaz->sort(), QString());
        QCOMPARE(s.grid->Trideni()->Count(), 0);
        QVERIFY(s.panel->SearchPanelVisible());
        QVERIFY(s.panel->panelTop()->isVisible());
        QTRY_COMPARE(QApplication::focusWidget(), s.panel->searchBox());
    }

    void middleButtonInTitleCallsUpSearchAndRunsTheBoxText() {
        SeznamClenu s;
        s.panel->setSearchDelay(100000);
        s.panel->setSearchBoxText(QStringLiteral("nov"));
        QCOMPARE(s.grid->FilteredCount(), 6);
        QTest::mouseClick(s.titulky()->viewport(), Qt::MiddleButton, {}, s.stredTitulku(1));
        QVERIFY(s.panel->SearchPanelVisible());
        QCOMPARE(s.grid->SearchText(), QStringLiteral("nov"));
        QCOMPARE(s.grid->FilteredCount(), 3);
        QTRY_COMPARE(QApplication::focusWidget(), s.panel->searchBox());
    }

    void titleCallsUpNothingOutsideASearchPanelOrWhenSwitchedOff() {
        {
            SeznamClenu s(false);
            QTest::mouseDClick(s.titulky()->viewport(), Qt::LeftButton, {}, s.stredTitulku(0));
            QTest::qWait(300);
            QCOMPARE(s.dotaz->sort(), QString());
        }
        SeznamClenu s;
        s.grid->setAutoShowSearchBox(false);
        QTest::mouseClick(s.titulky()->viewport(), Qt::MiddleButton, {}, s.stredTitulku(0));
        QVERIFY(!s.panel->SearchPanelVisible());
    }

    void titleClickWithoutSortingOrOpenQueryDoesNothing() {
        {
            SeznamClenu s;
            s.grid->setProdlevaPredClickSort(20);
            s.grid->setAutoAdoSort(false);
            s.klikniNaTitulek(0);
            QTest::qWait(150);
            QCOMPARE(s.dotaz->sort(), QString());
            QCOMPARE(s.grid->Trideni()->Count(), 0);
        }
        SeznamClenu s;
        s.grid->setProdlevaPredClickSort(20);
        s.dotaz->close();
        s.klikniNaTitulek(0);
        QTest::qWait(150);
        QCOMPARE(s.grid->Trideni()->Count(), 0);
        QVERIFY(Zpravy::zaznamy().isEmpty());
    }

    // ------------------------------------------------------------ applying the sort

    void reopenedQueryGetsItsSortBackAtTheNextTitlePainting() {
        SeznamClenu s;
        s.grid->Trideni()->Add(QStringLiteral("prijmeni"), stDESC);
        QCOMPARE(s.grid->SpustitTrideni(true, true), QString());
        // What the list windows do after a change: reopen, detach and attach.
        s.dotaz->close();
        s.dotaz->open();
        s.grid->odpojit();
        s.grid->pripojit();
        QCOMPARE(s.dotaz->sort(), QString());
        s.titulky()->viewport()->repaint();
        QCOMPARE(s.dotaz->sort(), QStringLiteral("prijmeni DESC"));
        QCOMPARE(s.sloupec(QStringLiteral("id")), QStringLiteral("2,4,1,3,6,5"));
    }

    // A rejected list is not tried again at each painting, but a list changed since is: after
    // a reopen it is applied again like any other.
    void aChangedListIsReappliedAfterARejectedOne_data() {
        QTest::addColumn<bool>("prirazenim");
        QTest::newRow("items changed") << false;
        QTest::newRow("list assigned") << true;
    }
    void aChangedListIsReappliedAfterARejectedOne() {
        QFETCH(bool, prirazenim);
        SeznamClenu s;
        s.grid->Trideni()->Add(QStringLiteral("neni"), stASC);
        QVERIFY(!s.grid->SpustitTrideni(false, true).isEmpty());
        if (prirazenim) {
            TTrideniArray jine;
            jine.Add(QStringLiteral("prijmeni"), stDESC);
            s.grid->setTrideni(jine);
        } else {
            s.grid->Trideni()->Items(0)->setSloupec(QStringLiteral("prijmeni"));
            s.grid->Trideni()->Items(0)->setSmer(stDESC);
        }
        QCOMPARE(s.grid->SpustitTrideni(true, true), QString());
        s.dotaz->close();
        s.dotaz->open();
        s.grid->odpojit();
        s.grid->pripojit();
        s.titulky()->viewport()->repaint();
        QCOMPARE(s.dotaz->sort(), QStringLiteral("prijmeni DESC"));
        QCOMPARE(s.sloupec(QStringLiteral("id")), QStringLiteral("2,4,1,3,6,5"));
        QVERIFY(Zpravy::zaznamy().isEmpty());
    }

    void withoutIndicatorsALostSortStaysLost() {
        SeznamClenu s;
        s.grid->setTrideniIkony(nullptr);
        QVERIFY(s.grid->ikonaNahoru().isNull());
        s.grid->Trideni()->Add(QStringLiteral("prijmeni"), stASC);
        s.grid->SpustitTrideni(true, true);
        s.dotaz->close();
        s.dotaz->open();
        s.grid->pripojit();
        s.titulky()->viewport()->repaint();
        QCOMPARE(s.dotaz->sort(), QString());
    }

    void sortFailureGivesItsTextOrRaisesIt() {
        SeznamClenu s;
        s.grid->Trideni()->Add(QStringLiteral("neni"), stASC);
        const QString text = s.grid->SpustitTrideni(false, true);
        QVERIFY2(text.startsWith(QStringLiteral("Došlo k výjimce: ")), qPrintable(text));
        QVERIFY(text.endsWith(QStringLiteral("\r(příkaz: neni)")));
        QVERIFY_THROWS_EXCEPTION(Chyba, s.grid->SpustitTrideni(true, true));
        // The grid is attached again and shows every row.
        QCOMPARE(s.grid->model()->rowCount(), 6);
    }

    void sortFailureAfterATitleClickIsReported() {
        SeznamClenu s;
        s.grid->setSloupce({{QStringLiteral("neni"), QStringLiteral("Nic"), 50}});
        s.grid->setProdlevaPredClickSort(20);
        s.klikniNaTitulek(0);
        QTRY_COMPARE(Zpravy::zaznamy().size(), 1);
        QVERIFY(Zpravy::zaznamy().at(0).text.startsWith(QStringLiteral("Došlo k výjimce: ")));
        QCOMPARE(Zpravy::zaznamy().at(0).typZpravy, 2);
        // Painting the titles does not try the rejected list again and again.
        s.titulky()->viewport()->repaint();
        QTest::qWait(50);
        QCOMPARE(Zpravy::zaznamy().size(), 1);
    }

    // Sorting ranks each distinct value once; values equal by the collation (letter case) keep
    // the order of the statement, and a field mixing numbers and texts still sorts.
    void sortRanksKeepTiesInStatementOrder_data() {
        QTest::addColumn<QString>("vyraz");
        QTest::addColumn<QString>("poradi");
        QTest::newRow("case ties") << "t"
                                   << "A1,a2,b3,B4,č5,d6";
        QTest::newRow("case ties descending") << "t DESC"
                                              << "d6,č5,b3,B4,A1,a2";
        QTest::newRow("mixed field") << "m, t"
                                     << "A1,a2,b3,B4,č5,d6";
    }
    void sortRanksKeepTiesInStatementOrder() {
        QFETCH(QString, vyraz);
        QFETCH(QString, poradi);
        Pomocnik::PracovniSlozka slozka;
        QFile(QStringLiteral("t.db")).open(QIODevice::WriteOnly);
        db::Connection c;
        c.open(QStringLiteral("t.db"), db::Connection::Rezim::Vyhradni);
        c.execute(QStringLiteral("create table x (n integer, t varchar(5), m)"));
        c.execute(
            QStringLiteral("insert into x values (3, 'b', 1), (1, 'A', 1), (5, 'č', 'x'), "
                           "(4, 'B', 1), (6, 'd', 'x'), (2, 'a', 1)"));
        db::Query q(&c);
        q.setSql(QStringLiteral("select * from x order by n"));
        q.open();
        q.setSort(vyraz);
        QStringList h;
        for (int r = 0; r < q.recordCount(); ++r) h << q.text(r, 1) + q.text(r, 0);
        QCOMPARE(h.join(QLatin1Char(',')), poradi);
    }

    void sortKeepsTheSelectedRow() {
        SeznamClenu s;
        QVERIFY(s.dotaz->locate({QStringLiteral("id")}, {4}));
        s.grid->Trideni()->Add(QStringLiteral("prijmeni"), stDESC);
        s.grid->SpustitTrideni(true, true);
        QCOMPARE(s.aktualniId(), QStringLiteral("4"));
        QCOMPARE(s.dotaz->recNo(), 2);
        QCOMPARE(s.grid->currentIndex().row(), 1);
    }

    // ------------------------------------------------------------ searching

    void searchKeepsRowsContainingTheTextInAnyField_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("hledany");
        QTest::addColumn<QString>("poradiId");
        QTest::newRow("lower case, hidden field too") << kCesky << "nov"
                                                      << "1,4,5";
        QTest::newRow("upper case") << kCesky << "NOV"
                                    << "1,4,5";
        QTest::newRow("accented and plain differ") << kCesky << "dvor"
                                                   << "";
        QTest::newRow("accented in any case") << kCesky << "DVOŘ"
                                              << "3";
        QTest::newRow("hidden state field") << kCesky << "100"
                                            << "1,2,3,5,6";
        QTest::newRow("amount, decimal comma") << kCesky << "12,25"
                                               << "4";
        QTest::newRow("amount, decimal point") << kAnglicky << "12.25"
                                               << "4";
        QTest::newRow("comma under a point locale") << kAnglicky << "12,25"
                                                    << "";
        QTest::newRow("date with time") << kCesky << "24.12.1990 10:30"
                                        << "3";
        QTest::newRow("date, other locale") << kAnglicky << "24.12.1990"
                                            << "3";
        QTest::newRow("empty text shows all") << kCesky << ""
                                              << "1,2,3,4,5,6";
    }
    void searchKeepsRowsContainingTheTextInAnyField() {
        QFETCH(QLocale, locale);
        QFETCH(QString, hledany);
        QFETCH(QString, poradiId);
        QLocale::setDefault(locale);
        SeznamClenu s;
        s.grid->RunSearch(QStringLiteral("x"));  // a search before must not linger
        s.grid->RunSearch(hledany);
        QCOMPARE(s.grid->SearchText(), hledany);
        QCOMPARE(s.sloupec(QStringLiteral("id")), poradiId);
        const int pocet = poradiId.isEmpty() ? 0 : int(poradiId.count(QLatin1Char(',')) + 1);
        QCOMPARE(s.grid->FilteredCount(), pocet);
        QCOMPARE(s.grid->model()->rowCount(), pocet);
        QCOMPARE(s.dotaz->filtered(), !hledany.isEmpty());
    }

    void searchFollowsTheSortAndSortFollowsTheSearch() {
        SeznamClenu s;
        s.grid->Trideni()->Add(QStringLiteral("prijmeni"), stDESC);
        s.grid->SpustitTrideni(true, true);
        s.grid->RunSearch(QStringLiteral("lhota"));
        QCOMPARE(s.sloupec(QStringLiteral("id")), QStringLiteral("4,1,6"));
        s.grid->Trideni()->Clear();
        s.grid->Trideni()->Add(QStringLiteral("jmeno"), stASC);
        s.grid->SpustitTrideni(true, true);
        QCOMPARE(s.sloupec(QStringLiteral("id")), QStringLiteral("1,6,4"));
        s.grid->RunSearch(QString());
        QCOMPARE(s.sloupec(QStringLiteral("id")), QStringLiteral("3,1,6,4,5,2"));
    }

    void filteredCountWithoutOpenDataIsZero() {
        SeznamClenu s;
        QCOMPARE(s.grid->FilteredCount(), 6);
        s.dotaz->close();
        QCOMPARE(s.grid->FilteredCount(), 0);
        TDBGridNew prazdny;
        QCOMPARE(prazdny.FilteredCount(), 0);
        prazdny.RunSearch(QStringLiteral("x"));  // no data set: nothing happens
    }

    void matchIsTheFirstOccurrenceInTheCellsOwnLetters_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hledany");
        QTest::addColumn<int>("pozice");
        QTest::addColumn<QString>("cast");
        QTest::newRow("start") << "Nováková"
                               << "nov" << 0 << "Nov";
        QTest::newRow("inside, first only") << "Ivanov Novák"
                                            << "NOV" << 3 << "nov";
        QTest::newRow("accented") << "dvořák"
                                  << "OŘÁ" << 2 << "ořá";
        QTest::newRow("none") << "Svoboda"
                              << "x" << -1 << "";
        QTest::newRow("empty search") << "Svoboda"
                                      << "" << -1 << "";
    }
    void matchIsTheFirstOccurrenceInTheCellsOwnLetters() {
        QFETCH(QString, text);
        QFETCH(QString, hledany);
        QFETCH(int, pozice);
        QFETCH(QString, cast);
        const TDBGridNew::Shoda s = TDBGridNew::najdiShodu(text, hledany);
        QCOMPARE(s.pozice, pozice);
        QCOMPARE(s.cast, cast);
    }

    void cellsShowTheUsersDateAndNumberFormats_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("sloupec");
        QTest::addColumn<QString>("text");
        QTest::newRow("date at midnight") << kCesky << 1 << 2 << "05.03.1980";
        QTest::newRow("date with time") << kCesky << 3 << 2 << "24.12.1990 10:30:00";
        QTest::newRow("amount") << kCesky << 4 << 3 << "12,25";
        QTest::newRow("whole amount") << kCesky << 3 << 3 << "250";
        QTest::newRow("null") << kCesky << 6 << 3 << "";
        QTest::newRow("amount, point locale") << kAnglicky << 4 << 3 << "12.25";
        QTest::newRow("date, point locale") << kAnglicky << 1 << 2 << "05.03.1980";
    }
    void cellsShowTheUsersDateAndNumberFormats() {
        QFETCH(QLocale, locale);
        QFETCH(int, id);
        QFETCH(int, sloupec);
        QFETCH(QString, text);
        QLocale::setDefault(locale);
        SeznamClenu s;
        const QModelIndex i = s.grid->model()->index(id - 1, sloupec);
        QCOMPARE(s.grid->model()->data(i).toString(), text);
    }

    // ------------------------------------------------------------ reloading

    void reloadReturnsToTheRowWithTheSameKey_data() {
        QTest::addColumn<bool>("zachovat");
        QTest::addColumn<QString>("klice");
        QTest::addColumn<QString>("id");
        QTest::newRow("by key") << true << "id"
                                << "4";
        QTest::newRow("by two keys, text and number") << true << "prijmeni;id"
                                                      << "4";
        QTest::newRow("keeping off") << false << "id"
                                     << "0";
        QTest::newRow("no key columns") << true << ""
                                        << "0";
        QTest::newRow("unknown key column") << true << "neni"
                                            << "0";
    }
    void reloadReturnsToTheRowWithTheSameKey() {
        QFETCH(bool, zachovat);
        QFETCH(QString, klice);
        QFETCH(QString, id);
        SeznamClenu s;
        s.grid->setZachovatOznacenyRadekPoReload(zachovat);
        s.grid->setKlicoveAtributyDeleneStrednikem(klice);
        QVERIFY(s.dotaz->locate({QStringLiteral("id")}, {4}));
        s.spojeni.execute(
            QStringLiteral("insert into clen values (0, 'Aaa', 'Bbb', null, 1, 'X', 100)"));
        s.grid->Reload();
        QCOMPARE(s.dotaz->recordCount(), 7);
        QCOMPARE(s.grid->model()->rowCount(), 7);
        QCOMPARE(s.aktualniId(), id);
        QCOMPARE(s.grid->currentIndex().row(), s.dotaz->recNo() - 1);
    }

    void reloadByFieldValueLocatesByLeadingPart() {
        SeznamClenu s;
        s.grid->Reload(QStringLiteral("prijmeni"), QStringLiteral("sv"));
        QCOMPARE(s.aktualniId(), QStringLiteral("2"));
        s.grid->Reload(QStringLiteral("neni"), QStringLiteral("x"));  // errors are ignored
        QCOMPARE(s.grid->model()->rowCount(), 6);
    }

    void reloadKeepsSortAndSearch() {
        SeznamClenu s;
        s.grid->Trideni()->Add(QStringLiteral("prijmeni"), stDESC);
        s.grid->SpustitTrideni(true, true);
        s.grid->RunSearch(QStringLiteral("lhota"));
        s.spojeni.execute(QStringLiteral("update clen set mesto = 'Brod' where id = 1"));
        s.grid->Reload();
        QCOMPARE(s.sloupec(QStringLiteral("id")), QStringLiteral("4,6"));
    }

    // ------------------------------------------------------------ columns

    void columnWidthsSurviveReopening() {
        SeznamClenu s;
        const int prvni = s.grid->columnWidth(0);
        QVERIFY(prvni >= 120);
        s.titulky()->resizeSection(1, 155);
        s.dotaz->close();
        s.dotaz->open();
        s.grid->odpojit();
        s.grid->pripojit();
        QCOMPARE(s.grid->columnWidth(0), prvni);
        QCOMPARE(s.grid->columnWidth(1), 155);
        s.grid->RunSearch(QStringLiteral("nov"));
        QCOMPARE(s.grid->columnWidth(1), 155);
        s.grid->setSloupce({{QStringLiteral("jmeno"), QStringLiteral("Jméno"), 70},
                            {QStringLiteral("mesto"), QStringLiteral("Obec"), 60, false}});
        QCOMPARE(s.grid->columnWidth(0), Rozmery::sirka(70, s.grid->font()));
        QVERIFY(s.grid->isColumnHidden(1));
    }

    // Columns are as wide as their titles (beside the sort indicators) and values need; a column
    // the user has sized keeps his width when the rows are read anew.
    void columnsFitTitlesAndValues() {
        SeznamClenu s;
        const QString dlouhe = QStringLiteral("Nováková-Procházková Dvořáčková");
        s.spojeni.execute(
            QStringLiteral("update clen set prijmeni = '%1' where id = 2").arg(dlouhe));
        s.dotaz->close();
        s.dotaz->open();
        const QFontMetrics fm(s.grid->font());
        QVERIFY(s.grid->columnWidth(0) >= fm.horizontalAdvance(dlouhe) + 6);
        // The title "Datum narození" starts at the left and ends before the indicators' place.
        const QFontMetrics fmt(s.titulky()->font());
        QVERIFY(s.titulky()->defaultAlignment() & Qt::AlignLeft);
        QVERIFY(s.grid->columnWidth(2) >= fmt.horizontalAdvance(QStringLiteral("Datum narození")) +
                                              s.grid->SortImageRightOffset());

        // The user narrows the surname column by dragging its edge.
        const int okraj = s.titulky()->sectionViewportPosition(0) + s.titulky()->sectionSize(0) - 1;
        const int y = s.titulky()->height() / 2;
        QTest::mousePress(s.titulky()->viewport(), Qt::LeftButton, {}, QPoint(okraj, y));
        QTest::mouseMove(s.titulky()->viewport(), QPoint(okraj - 60, y));
        QTest::mouseRelease(s.titulky()->viewport(), Qt::LeftButton, {}, QPoint(okraj - 60, y));
        const int uzivatelova = s.grid->columnWidth(0);
        QVERIFY2(uzivatelova < fm.horizontalAdvance(dlouhe),
                 qPrintable(QString::number(uzivatelova)));
        s.dotaz->close();
        s.dotaz->open();
        s.grid->Reload();
        QCOMPARE(s.grid->columnWidth(0), uzivatelova);
    }

    void doubleClickAndKeyReleaseReachTheWindow() {
        SeznamClenu s;
        QSignalSpy dvojklik(s.grid, &TDBGridNew::DblClick);
        QSignalSpy klavesa(s.grid, &TDBGridNew::KeyUp);
        const QRect bunka = s.grid->visualRect(s.grid->model()->index(2, 0));
        QTest::mouseDClick(s.grid->viewport(), Qt::LeftButton, {}, bunka.center());
        QCOMPARE(dvojklik.size(), 1);
        QCOMPARE(s.dotaz->recNo(), 3);
        QTest::keyClick(s.grid, Qt::Key_Delete);
        QCOMPARE(klavesa.size(), 1);
        QCOMPARE(klavesa.at(0).at(0).toInt(), int(Qt::Key_Delete));
        // A double click on the titles is the grid's own unless the window asks for it.
        QTest::mouseDClick(s.titulky()->viewport(), Qt::LeftButton, {}, s.stredTitulku(0));
        QCOMPARE(dvojklik.size(), 1);
        s.grid->setEnableTitleDblClick(true);
        QTest::mouseDClick(s.titulky()->viewport(), Qt::LeftButton, {}, s.stredTitulku(0));
        QCOMPARE(dvojklik.size(), 2);
    }

    // Holding a key down repeats it as pairs of press and release; the window hears of the key
    // once, when the user lets it go.
    void heldKeyIsReleasedOnce() {
        SeznamClenu s;
        QSignalSpy klavesa(s.grid, &TDBGridNew::KeyUp);
        auto posli = [&](QEvent::Type typ, bool opakovani) {
            QKeyEvent e(typ, Qt::Key_Delete, Qt::NoModifier, QString(), opakovani);
            QApplication::sendEvent(s.grid, &e);
        };
        posli(QEvent::KeyPress, false);
        for (int i = 0; i < 3; ++i) {
            posli(QEvent::KeyRelease, true);
            posli(QEvent::KeyPress, true);
        }
        QCOMPARE(klavesa.size(), 0);
        posli(QEvent::KeyRelease, false);
        QCOMPARE(klavesa.size(), 1);
        QCOMPARE(klavesa.at(0).at(0).toInt(), int(Qt::Key_Delete));
    }

    void defaults() {
        TDBGridNew g;
        QCOMPARE(g.objectName(), QStringLiteral("DBGrid1"));
        QVERIFY(g.AutoAdoSort() && g.AutoImageSort() && g.AutoShowSearchBox());
        QVERIFY(!g.EnableTitleDblClick() && !g.PamatovatTrideni());
        QVERIFY(g.ImmediateScroll() && g.verticalScrollBar()->hasTracking());
        QCOMPARE(g.ProdlevaPredClickSort(), 200);
        QCOMPARE(g.SearchTextColor(), QColor(Qt::red));
        QVERIFY(g.SearchTextHighlight());
        QCOMPARE(g.SortImageRightOffset(), 16);
        QCOMPARE(g.SortImageBottomOffset(), 16);
        QVERIFY(g.ZachovatOznacenyRadekPoReload() && g.ZachovatOznacenyRadekPoTrideni());
        QCOMPARE(g.ikonaNahoru().size(), QSize(16, 16));
        QVERIFY(g.horizontalHeader()->font().bold());
        g.setImmediateScroll(false);
        QVERIFY(!g.verticalScrollBar()->hasTracking());
    }

    // ------------------------------------------------------------ saving

    // The file is written in Windows-1250 (compared here with the toolkit's own converter).
    void savedFileHoldsTitlesAndTheShownRows_data() {
        QTest::addColumn<QString>("hledany");
        QTest::addColumn<QString>("oddelovac");
        QTest::addColumn<QString>("ocekavany");
        QTest::newRow("filtered, short form") << "lhota"
                                              << ""
                                              << QStringLiteral(
                                                     "Příjmení;Jméno;Datum narození;Částka;\r\n"
                                                     "Novák;Jan;05.03.1980;100,5;\r\n"
                                                     "NOVÁKOVÁ;Jana;15.06.1985;12,25;\r\n"
                                                     "Beneš;Jan;;;\r\n");
        QTest::newRow("tab separator") << "dvoř"
                                       << "\t"
                                       << QStringLiteral(
                                              "Příjmení\tJméno\tDatum narození\tČástka\t\r\n"
                                              "dvořák\tEva\t24.12.1990 10:30:00\t250\t\r\n");
        QTest::newRow("nothing found")
            << "zzz"
            << "," << QStringLiteral("Příjmení,Jméno,Datum narození,Částka,\r\n");
    }
    void savedFileHoldsTitlesAndTheShownRows() {
        QFETCH(QString, hledany);
        QFETCH(QString, oddelovac);
        QFETCH(QString, ocekavany);
        SeznamClenu s;
        s.grid->RunSearch(hledany);
        s.dotaz->setRecNo(s.dotaz->recordCount());
        const int kde = s.dotaz->recNo();
        const QString soubor = s.slozka.cesta(QStringLiteral("seznam.csv"));
        {
            QFile stary(soubor);  // a longer older file is replaced, not overwritten in part
            stary.open(QIODevice::WriteOnly);
            stary.write(QByteArray(4000, 'x'));
        }
        const bool ok = oddelovac.isEmpty() ? s.grid->UlozDoSouboru(soubor, false)
                                            : s.grid->UlozDoSouboru(soubor, oddelovac, false);
        QVERIFY(ok);
        QCOMPARE(obsah(soubor), vCp1250(ocekavany));
        QCOMPARE(s.dotaz->recNo(), kde);
        QCOMPARE(s.grid->model()->rowCount(), s.dotaz->recordCount());
    }

    // Czech letters take one byte each in Windows-1250 whatever the system's code page; a
    // character the code page lacks becomes "?".
    void savedFileIsInWindows1250() {
        SeznamClenu s;
        s.spojeni.execute(QStringLiteral(
            "update clen set prijmeni = 'Šťastný – Ř', jmeno = 'Ōta 😀' where id = 5"));
        s.dotaz->requery();
        s.grid->RunSearch(QStringLiteral("šťastn"));
        const QString soubor = s.slozka.cesta(QStringLiteral("seznam.csv"));
        QVERIFY(s.grid->UlozDoSouboru(soubor, false));
        QCOMPARE(obsah(soubor), QByteArray("P\xF8\xEDjmen\xED;Jm\xE9no;Datum narozen\xED;"
                                           "\xC8\xE1stka;\r\n"
                                           "\x8A\x9D"
                                           "astn\xFD \x96 \xD8;?ta ?;07.07.1970;3;\r\n"));
    }

    void saveFailsWithoutDataOrWritableFile() {
        SeznamClenu s;
        QFile(s.slozka.cesta(QStringLiteral("soubor"))).open(QIODevice::WriteOnly);
        QVERIFY(!s.grid->UlozDoSouboru(s.slozka.cesta(QStringLiteral("soubor/pod.csv")), false));
        QDir(s.slozka.cesta()).mkdir(QStringLiteral("slozka.csv"));
        QVERIFY(!s.grid->UlozDoSouboru(s.slozka.cesta(QStringLiteral("slozka.csv")), false));
        s.dotaz->close();
        QVERIFY(!s.grid->UlozDoSouboru(s.slozka.cesta(QStringLiteral("zavreno.csv")), false));
        QVERIFY(!QFile::exists(s.slozka.cesta(QStringLiteral("zavreno.csv"))));
    }
};

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"
