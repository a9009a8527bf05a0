// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "Pomocnik.h"
#include "VerzniBlok.h"
#include "fAbout.h"
#include "fMain.h"
#include "fZmenyProg.h"
#include "uAllYouNeed.h"

namespace {
// The opacities of a complete fade-in followed by a complete fade-out.
QList<int> celeZatmivani() {
    QList<int> a;
    for (int i = 4; i <= 252; i += 4) a << i;
    a << 255;
    for (int i = 252; i >= 4; i -= 4) a << i;
    a << 0;
    return a;
}

void zapisSoubor(const QString& cesta, const QByteArray& obsah) {
    QFile f(cesta);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(obsah);
}
}  // namespace

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }

    void verze_data() {
        QTest::addColumn<QByteArray>("program");  // empty: no program file at all
        QTest::addColumn<QString>("ocekavana");
        QMap<QString, QString> cesky{{QStringLiteral("Translation"), QStringLiteral("040504e2")},
                                     {QStringLiteral("FileVersion"), QStringLiteral(PARMEX_VERZE)}};
        QMap<QString, QString> velkaPismena = cesky;
        velkaPismena[QStringLiteral("Translation")] = QStringLiteral("040504E2");
        QMap<QString, QString> jinyJazyk = cesky;
        jinyJazyk[QStringLiteral("Translation")] = QStringLiteral("040904b0");
        QMap<QString, QString> bezVerze{
            {QStringLiteral("Translation"), QStringLiteral("040504e2")}};
        const QByteArray okraj(32, 'x');
        QTest::newRow("version of the build")
            << okraj + VerzniBlok::sestav(cesky) + okraj << QStringLiteral(PARMEX_VERZE);
        QTest::newRow("code page in capitals")
            << VerzniBlok::sestav(velkaPismena) << QStringLiteral(PARMEX_VERZE);
        QTest::newRow("other language block") << VerzniBlok::sestav(jinyJazyk) << QString();
        QTest::newRow("no FileVersion entry") << VerzniBlok::sestav(bezVerze) << QString();
        QTest::newRow("no version block") << okraj << QStringLiteral("verze");
        QTest::newRow("no program file") << QByteArray() << QStringLiteral("verze");
    }
    void verze() {
        QFETCH(QByteArray, program);
        QFETCH(QString, ocekavana);
        QTemporaryDir dir;
        const QString soubor = dir.filePath(QStringLiteral("ParmexRozu"));
        if (!program.isEmpty()) zapisSoubor(soubor, program);
        NastavSouborProgramu(soubor);
        Tabout box(nullptr);
        NastavSouborProgramu(QString());
        QCOMPARE(box.verze->text(), ocekavana);
        QCOMPARE(box.popisP->text(), QStringLiteral("Evidence TVZ - ROZU"));
        QCOMPARE(box.popisS->text(), box.popisP->text());
        QCOMPARE(box.windowOpacity(), 0.0);
    }

    void verzeSkutecnehoProgramu() {
        // The built program carries its version where the about box reads it.
        const QString program =
            QCoreApplication::applicationDirPath() + QStringLiteral("/../app/ParmexRozu");
        if (!QFileInfo::exists(program)) QSKIP("the program is not built");
        NastavSouborProgramu(program);
        Tabout box(nullptr);
        NastavSouborProgramu(QString());
        QCOMPARE(box.verze->text(), QStringLiteral(PARMEX_VERZE));
    }

    void zatmivani_data() {
        QTest::addColumn<int>("zpozdeniMs");
        QTest::addColumn<bool>("klavesouEsc");
        QTest::newRow("OK before the fade-in began") << 0 << false;
        QTest::newRow("OK during the fade-in") << 150 << false;
        QTest::newRow("Esc during the fade-in") << 150 << true;
    }
    void zatmivani() {
        QFETCH(int, zpozdeniMs);
        QFETCH(bool, klavesouEsc);
        Tabout box(nullptr);
        QList<int> kroky;
        connect(&box, &Tabout::pruhlednostNastavena, this, [&](int a) { kroky << a; });
        QTimer::singleShot(zpozdeniMs, &box, [&] {
            if (klavesouEsc)
                QTest::keyClick(&box, Qt::Key_Escape);
            else
                box.Cancel->click();
        });
        box.exec();
        // The full fade-in, then the full fade-out, even where opacity does nothing.
        QCOMPARE(kroky, celeZatmivani());
        QCOMPARE(box.windowOpacity(), 0.0);
        QVERIFY(!box.isVisible());
    }

    void zmenyProgramu() {
        TZmenyProg zmeny(nullptr);
        const QString hvezdicky(67, QLatin1Char('*'));
        const QString cara(46, QLatin1Char('-'));
        const QStringList ocekavane = {
            hvezdicky,
            QStringLiteral("************************* EVIDENCE TVZ ROZU *************************"),
            hvezdicky,
            QString(),
            QStringLiteral("Verze 1.0.4.30 - 03.05.2016"),
            cara,
            QStringLiteral("* na hlavní obrazovku byl přidán odkaz na webové stránky organizace"),
            QStringLiteral("* upraveno logo organizace"),
            QStringLiteral("* přidáno načítání a zobrazení napojených plateb"),
            QString(),
            QStringLiteral("Verze 1.0.3.11 - 23.11.2015"),
            cara,
            QStringLiteral("* nová grafika tabulek s daty"),
            QStringLiteral("* upraveny fonty některých formulářů"),
            QStringLiteral("* upraveno formátování datumů"),
            QStringLiteral(
                "* pro zadání data narození uživatele bylo použito pole s možností zobrazení"),
            QStringLiteral("   kalendáře"),
            QStringLiteral("* není již nutno měnit formát data ve windows 8 a výše"),
            QString(),
            QStringLiteral("Verze 1.0.2.46 - 06.03.2014"),
            cara,
            QStringLiteral(
                "* upraven popis položek na detailu uživatele - zejména \"evidenční číslo\","),
            QStringLiteral(
                "  které je důležité pro správné spárování platby k danému uživateli na svazu"),
            QString(),
            QStringLiteral("Verze 1.0.1.44 - 25.02.2014"),
            cara,
            QStringLiteral(
                "* číslo účtu z formuláře platby pro elektronické bankovnictví se kopíruje"),
            QStringLiteral("  do schránky \"clipboard\" bez kódu banky (/0800)"),
            QString(),
            QStringLiteral("Verze 1.0.1.41 - 12.02.2014"),
            cara,
            QStringLiteral("* zapracován tisk formuláře plateb"),
            QString(),
            QStringLiteral("Verze 1.0.1.40 - 10.02.2014"),
            cara,
            QStringLiteral("* vytvořena evidence:"),
            QStringLiteral("    - administrace uživatelů"),
            QStringLiteral("    - zakládání plateb"),
            QStringLiteral("    - přehled historických plateb"),
            QStringLiteral("    - automatické aktualizace"),
        };
        QCOMPARE(zmeny.Memo1->toPlainText().split(QLatin1Char('\n')), ocekavane);
        QVERIFY(zmeny.Memo1->isReadOnly());
        // The newest entry is this build's version.
        QCOMPARE(ocekavane[4].mid(6, ocekavane[4].indexOf(QLatin1String(" - ")) - 6),
                 QStringLiteral(PARMEX_VERZE));
    }

    void zmenyZavreEsc_data() {
        QTest::addColumn<QString>("zamereni");
        QTest::newRow("text box has the focus") << "Memo1";
        QTest::newRow("button has the focus") << "OK";
    }
    void zmenyZavreEsc() {
        QFETCH(QString, zamereni);
        Pomocnik::PracovniSlozka slozka;
        TMain hlavni;
        bool otevreno = false;
        bool zavrenoEsc = false;
        QTimer::singleShot(0, &hlavni, [&] {
            QWidget* okno = QApplication::activeModalWidget();
            QVERIFY(okno);
            QCOMPARE(okno->objectName(), QStringLiteral("ZmenyProg"));
            QCOMPARE(okno->parentWidget(), &hlavni);
            otevreno = true;
            QWidget* w = okno->findChild<QWidget*>(zamereni);
            w->setFocus();
            // Keys other than Esc leave it open.
            QTest::keyClick(w, Qt::Key_Down);
            QVERIFY(okno->isVisible());
            QTest::keyClick(w, Qt::Key_Escape);
            zavrenoEsc = !okno->isVisible();
            if (!zavrenoEsc) static_cast<QDialog*>(okno)->reject();  // fail, not hang
        });
        hlavni.findChild<QAction*>(QStringLiteral("ZmenyProgram"))->trigger();
        QVERIFY(otevreno);
        QVERIFY(zavrenoEsc);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(!hlavni.findChild<TZmenyProg*>());  // destroyed after closing
    }

    void oAplikaciZHlavnihoOkna() {
        Pomocnik::PracovniSlozka slozka;
        TMain hlavni;
        QString verze;
        QTimer::singleShot(0, &hlavni, [&] {
            auto* box = qobject_cast<Tabout*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->parentWidget(), &hlavni);
            verze = box->verze->text();
            box->Cancel->click();
        });
        hlavni.findChild<QAction*>(QStringLiteral("OAplikaci"))->trigger();
        QCOMPARE(verze, QStringLiteral("1.0.4.30"));
        QVERIFY(!hlavni.findChild<Tabout*>());
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
