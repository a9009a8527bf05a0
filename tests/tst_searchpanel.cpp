// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

#include "fObrazky.h"
#include "tst_grid_seznam.h"

class TestSearchPanel : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }

    void typingSearchesAfterThePause_data() {
        QTest::addColumn<int>("prodleva");
        QTest::addColumn<int>("hledani");
        QTest::newRow("quick typing, one search after the pause") << 250 << 1;
        QTest::newRow("no pause, a search per key") << 0 << 3;
    }
    void typingSearchesAfterThePause() {
        QFETCH(int, prodleva);
        QFETCH(int, hledani);
        SeznamClenu s;
        QStringList hlasene;
        s.panel->OnSearch = [&](QObject* odesilatel, const QString& text) {
            QCOMPARE(odesilatel, s.panel);
            hlasene << text;
        };
        s.panel->setSearchDelay(prodleva);
        s.panel->setSearchPanelVisible(true);
        QTest::keyClicks(s.panel->searchBox(), QStringLiteral("nov"));
        if (prodleva > 0) {
            QCOMPARE(s.grid->FilteredCount(), 6);
            QTest::qWait(prodleva / 2);
            QCOMPARE(s.grid->FilteredCount(), 6);
        }
        QTRY_COMPARE(s.grid->FilteredCount(), 3);
        QTest::qWait(prodleva + 100);
        QCOMPARE(hlasene.size(), hledani);
        QCOMPARE(hlasene.last(), QStringLiteral("nov"));
        QCOMPARE(s.grid->SearchText(), QStringLiteral("nov"));
    }

    void escapeAndCrossShowAllRowsAndHideTheRowKeepingTheText_data() {
        QTest::addColumn<bool>("krizkem");
        QTest::newRow("Esc") << false;
        QTest::newRow("cross button") << true;
    }
    void escapeAndCrossShowAllRowsAndHideTheRowKeepingTheText() {
        QFETCH(bool, krizkem);
        SeznamClenu s;
        s.panel->setSearchDelay(0);
        s.panel->setSearchPanelVisible(true);
        s.panel->SearchBoxSetFocus();
        QTest::keyClicks(s.panel->searchBox(), QStringLiteral("nov"));
        QCOMPARE(s.grid->FilteredCount(), 3);
        if (krizkem)
            s.panel->findChild<QAction*>(QStringLiteral("krizek"))->trigger();
        else
            QTest::keyClick(s.panel->searchBox(), Qt::Key_Escape);
        QCOMPARE(s.grid->model()->rowCount(), 6);
        QVERIFY(!s.dotaz->filtered());
        QVERIFY(!s.panel->SearchPanelVisible());
        QVERIFY(!s.panel->panelTop()->isVisible());
        QCOMPARE(s.panel->SearchBoxText(), QStringLiteral("nov"));
        // Called up again from the titles, the kept text filters at once.
        QTest::mouseDClick(s.titulky()->viewport(), Qt::LeftButton, {}, s.stredTitulku(0));
        QVERIFY(s.panel->SearchPanelVisible());
        QCOMPARE(s.grid->FilteredCount(), 3);
    }

    void escapeDoesNotCloseTheWindow() {
        QDialog okno;
        auto* panel = new TSearchPanel(&okno);
        new TDBGridNew(panel);
        okno.show();
        panel->setSearchPanelVisible(true);
        QTest::keyClick(panel->searchBox(), Qt::Key_Escape);
        QVERIFY(okno.isVisible());
        QCOMPARE(okno.result(), 0);
    }

    void enterRaisesTheGridsDoubleClick() {
        SeznamClenu s;
        s.panel->setSearchPanelVisible(true);
        QTest::keyClick(s.panel->searchBox(), Qt::Key_Return);  // no handler: nothing happens
        struct Prijemce : QObject {
            QObject* odesilatel = nullptr;
            int pocet = 0;
            void dvojklik() {
                ++pocet;
                odesilatel = sender();
            }
        } prijemce;
        connect(s.grid, &TDBGridNew::DblClick, &prijemce, &Prijemce::dvojklik);
        QTest::keyClick(s.panel->searchBox(), Qt::Key_Return);
        QCOMPARE(prijemce.pocet, 1);
        QCOMPARE(prijemce.odesilatel, s.grid);
    }

    void upAndDownMoveTheGridAndKeepTheCaret() {
        SeznamClenu s;
        s.panel->setSearchDelay(100000);
        s.panel->setSearchPanelVisible(true);
        QLineEdit* box = s.panel->searchBox();
        box->setText(QStringLiteral("abc"));
        box->setCursorPosition(1);
        const struct {
            Qt::Key klic;
            int radek;
        } kroky[] = {{Qt::Key_Down, 2}, {Qt::Key_Down, 3}, {Qt::Key_Up, 2},
                     {Qt::Key_Up, 1},   {Qt::Key_Up, 1},   {Qt::Key_Down, 2}};
        for (const auto& k : kroky) {
            QTest::keyClick(box, k.klic);
            QCOMPARE(s.dotaz->recNo(), k.radek);
            QCOMPARE(s.grid->currentIndex().row(), k.radek - 1);
            QCOMPARE(box->cursorPosition(), 1);
        }
        s.dotaz->close();
        QTest::keyClick(box, Qt::Key_Down);  // a closed data set is left alone
        QCOMPARE(s.dotaz->recNo(), 0);
    }

    void leavingTheBoxAnnouncesItWithoutSearching() {
        SeznamClenu s;
        s.panel->setSearchDelay(100000);
        QStringList udalosti;
        s.panel->OnSearch = [&](QObject*, const QString& text) { udalosti << "hledat " + text; };
        s.panel->OnExitSearch = [&](QObject*) { udalosti << QStringLiteral("konec"); };
        s.panel->setSearchPanelVisible(true);
        s.panel->SearchBoxSetFocus();
        QTRY_VERIFY(s.panel->searchBox()->hasFocus());
        s.panel->searchBox()->setText(QStringLiteral("jan"));
        s.grid->setFocus();
        QTRY_COMPARE(udalosti,
                     QStringList({QStringLiteral("hledat jan"), QStringLiteral("konec")}));
        QCOMPARE(s.grid->SearchText(), QString());
        QCOMPARE(s.grid->FilteredCount(), 6);
    }

    void buttonsFollowThePictureList_data() {
        QTest::addColumn<int>("obrazku");
        QTest::addColumn<QStringList>("tlacitka");
        QTest::newRow("own list") << -1 << QStringList{"lupa", "krizek"};
        QTest::newRow("one picture") << 1 << QStringList{"lupa"};
        QTest::newRow("empty list") << 0 << QStringList{};
    }
    void buttonsFollowThePictureList() {
        QFETCH(int, obrazku);
        QFETCH(QStringList, tlacitka);
        TSearchPanel panel;
        TImageList seznam(18, 17);
        if (obrazku >= 0) {
            TObrazky obrazky;
            for (int i = 0; i < obrazku; ++i) seznam.Add(obrazky.ImageListSearch->obrazek(i));
            panel.setSearchBoxImageList(&seznam);
        }
        QStringList jmena;
        for (QAction* a : panel.searchBox()->actions()) jmena << a->objectName();
        QCOMPARE(jmena, tlacitka);
    }

    void defaultsAndLayout() {
        SeznamClenu s;
        TSearchPanel novy;
        QCOMPARE(novy.size(), QSize(300, 50));
        QCOMPARE(novy.SearchDelay(), 250u);
        QCOMPARE(novy.SearchBoxWidth(), 200);
        QVERIFY(!novy.SearchPanelVisible());
        QCOMPARE(novy.grid(), nullptr);
        QCOMPARE(s.panel->grid(), s.grid);
        QCOMPARE(s.grid->geometry().top(), 0);
        s.panel->setSearchPanelVisible(true);
        QCOMPARE(s.panel->panelTop()->height(), 27);
        QCOMPARE(s.grid->geometry().top(), 27);
        QCOMPARE(s.grid->geometry().bottom(), s.panel->height() - 1);
        QCOMPARE(s.panel->searchBox()->width(), 200);
        QCOMPARE(s.panel->searchBox()->geometry().right(), s.panel->width() - 1 - 3);
        s.panel->setSearchBoxWidth(150);
        QCOMPARE(s.panel->searchBox()->width(), 150);
    }
};

QTEST_MAIN(TestSearchPanel)
#include "tst_searchpanel.moc"
