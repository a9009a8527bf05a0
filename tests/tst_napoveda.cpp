// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QtTest>

#include "Pomocnik.h"
#include "Zpravy.h"
#include "fMain.h"
#include "fNapoveda.h"

namespace {
QList<QWidget*> oknaNapovedy() {
    QList<QWidget*> okna;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("Napoveda")) okna << w;
    return okna;
}

void smazOdlozene() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Selection start and length of the text view.
QPair<int, int> vyber(QTextEdit* t) {
    const QTextCursor c = t->textCursor();
    return {c.selectionStart(), c.selectionEnd() - c.selectionStart()};
}
}  // namespace

class TestNapoveda : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }
    void init() {
        Zpravy::vymazZaznamy();
        HledaniZavreno = false;
    }
    void cleanup() {
        for (QWidget* w : oknaNapovedy()) delete w;
    }

    void textPrirucky() {
        TNapoveda okno(nullptr);
        okno.show();
        QTextDocument* d = okno.TextNapovedy->document();
        const QStringList ocekavane = {
            QStringLiteral("Parmex ROZU:"),
            QString(),
            QStringLiteral("\tProgram vyžaduje ke správné funkci internetové připojení pro "
                           "kontrolu aktuálnosti"),
            QStringLiteral("číselníků i samotné aplikace."),
            QString(),
            QStringLiteral("\tNejprve je potřeba zadat uživatele - tedy informace o \"své\" "
                           "osobě (nejdůležitější je"),
            QStringLiteral("správné vyplnění evidenčního čísla dle rybářského lístku). Bez "
                           "zadání těchto informací nebude"),
            QStringLiteral("možno sestavit internetovou platbu."),
            QString(),
            QStringLiteral("\tAplikace umožňuje více uživatelů (např: otec, syn, dcera), při "
                           "tvorbě platby se vybírá"),
            QStringLiteral("aktuální člen na základě evidenčního čísla."),
            QString(),
            QStringLiteral("\tPo výběru evidenčního čísla a zadání požadovaných položek platby "
                           "se tlačítkem uložit"),
            QStringLiteral("zadané údaje uloží a zobrazí se formulář s údaji pro realizaci "
                           "internetové platby obsahující"),
            QStringLiteral("potřebné údaje, jako je variabilní, konstantní a specifický symbol, "
                           "částka atd. Tento formulář je"),
            QStringLiteral("možno později zobrazit i z historie plateb."),
            QString(),
            QStringLiteral("\tNejlépe je při přepisování údajů do formuláře internetového "
                           "bankovnictví použít"),
            QStringLiteral("kopírování přes schránku (clipboard, čímže se eliminují případné "
                           "chyby) - kliknutím myši do"),
            QStringLiteral("kteréhokoliv políčka formuláře pro přepis plateb se hodnota daného "
                           "pole automaticky vloží do"),
            QStringLiteral("schránky, takže následné vložení hodnoty do formuláře banky v "
                           "internetovém prohlížeči je"),
            QStringLiteral("možno kliknutím do příslušného pole a stiskem klávesové zkratky "
                           "Ctrl + V."),
        };
        QCOMPARE(d->toPlainText().split(QLatin1Char('\n')), ocekavane);

        // The title is bold and underlined, the guide itself is not.
        const QTextBlock titulek = d->firstBlock();
        const QTextCharFormat ft = titulek.begin().fragment().charFormat();
        QVERIFY(ft.fontUnderline());
        QCOMPARE(ft.fontWeight(), int(QFont::Bold));
        QTextCursor c(d);
        c.setPosition(d->toPlainText().indexOf(QStringLiteral("Program")) + 1);
        QVERIFY(!c.charFormat().fontUnderline());
        QVERIFY(c.charFormat().fontWeight() < int(QFont::Bold));

        QVERIFY(okno.TextNapovedy->isReadOnly());
    }

    // The window opens wide enough for the guide in the font in use: the lines break only where
    // the guide breaks them and none runs past the window. Narrowed, it wraps the lines rather
    // than hide their ends.
    void textSeVejde() {
        TNapoveda okno(nullptr);
        okno.show();
        QVERIFY(QTest::qWaitForWindowExposed(&okno));
        QTextDocument* d = okno.TextNapovedy->document();
        int radku = 0;
        for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) radku += b.layout()->lineCount();
        QCOMPARE(radku, d->toPlainText().split(QLatin1Char('\n')).size());
        QCOMPARE(okno.TextNapovedy->horizontalScrollBar()->maximum(), 0);
        QVERIFY(okno.width() <= okno.screen()->availableGeometry().width());

        okno.resize(okno.minimumSize());
        QCoreApplication::processEvents();
        QCOMPARE(okno.TextNapovedy->horizontalScrollBar()->maximum(), 0);
    }

    void F1OtevreJedinouNapovedu() {
        Pomocnik::PracovniSlozka slozka;
        TMain hlavni;
        hlavni.AktualizaceZkontrolovana = true;  // no update check on activation
        hlavni.show();
        QVERIFY(QTest::qWaitForWindowActive(&hlavni));

        QTest::keyClick(&hlavni, Qt::Key_F1);
        QCOMPARE(oknaNapovedy().size(), 1);
        QPointer<QWidget> prvni = oknaNapovedy().first();
        QVERIFY(prvni->isVisible());
        QVERIFY(!prvni->isModal());
        QCOMPARE(prvni->parentWidget(), &hlavni);

        // Back in the main window, F1 again brings the same window forward.
        QApplication::setActiveWindow(&hlavni);
        QTest::keyClick(&hlavni, Qt::Key_F1);
        hlavni.findChild<QAction*>(QStringLiteral("Obsah"))->trigger();
        QCOMPARE(oknaNapovedy().size(), 1);
        QCOMPARE(oknaNapovedy().first(), prvni.data());

        // Once closed, the window is gone and F1 opens a new one.
        prvni->close();
        smazOdlozene();
        QVERIFY(prvni.isNull());
        QVERIFY(oknaNapovedy().isEmpty());
        hlavni.ObsahExecute();
        QCOMPARE(oknaNapovedy().size(), 1);
    }

    void hledani_data() {
        QTest::addColumn<QString>("hledany");
        QTest::addColumn<bool>("celaSlova");
        QTest::addColumn<QString>("ocekavany");  // the first occurrence, case ignored
        QTest::newRow("part of a word") << "plat" << false << "plat";
        QTest::newRow("letter case ignored") << "PLATBY" << false << "platby";
        QTest::newRow("whole word") << "symbol" << true << "symbol";
        QTest::newRow("whole word not inside a longer word") << "plat" << true << QString();
        QTest::newRow("no occurrence") << "rybolov" << false << QString();
    }
    void hledani() {
        QFETCH(QString, hledany);
        QFETCH(bool, celaSlova);
        QFETCH(QString, ocekavany);
        TNapoveda okno(nullptr);
        okno.show();
        okno.Hledat->trigger();
        TFindDialog* d = okno.FindDialog1;
        QVERIFY(d->isVisible());
        QVERIFY(!d->isModal());
        QVERIFY(!d->MatchCase->isEnabled());
        QVERIFY(!d->Direction->isEnabled());
        QVERIFY(d->WholeWord->isEnabled());
        QVERIFY(!d->NajitDalsi->isEnabled());  // nothing typed yet
        QTest::keyClicks(d->FindText, hledany);
        if (celaSlova) d->WholeWord->setChecked(true);

        // The caret somewhere in the text, then "Ne" to the question if it comes.
        const QString text = okno.TextNapovedy->toPlainText();
        QTextCursor c = okno.TextNapovedy->textCursor();
        c.setPosition(5);
        okno.TextNapovedy->setTextCursor(c);
        Zpravy::pridejOdpoved(1);
        QTest::mouseClick(d->NajitDalsi, Qt::LeftButton);

        if (ocekavany.isEmpty()) {
            const auto z = Zpravy::zaznamy();
            QCOMPARE(z.size(), 1);
            QCOMPARE(z[0].text, QStringLiteral("Další výskyt textu \"") + hledany +
                                    QStringLiteral("\" nebyl nalezen, pokračovat od začátku?"));
            QCOMPARE(z[0].typZpravy, 1);
            QCOMPARE(z[0].typTlacitek, 1);
            QCOMPARE(vyber(okno.TextNapovedy), qMakePair(5, 0));
        } else {
            QVERIFY(Zpravy::zaznamy().isEmpty());
            const int kde = text.indexOf(ocekavany, 5, Qt::CaseInsensitive);
            QVERIFY(kde > 0);
            QCOMPARE(vyber(okno.TextNapovedy), qMakePair(kde, int(hledany.size())));
            QCOMPARE(okno.TextNapovedy->textCursor().selectedText().toLower(), ocekavany);
        }
    }

    void hledaniProchaziVyskytyAZacinaZnovu() {
        TNapoveda okno(nullptr);
        okno.show();
        okno.HledatExecute();
        okno.FindDialog1->FindText->setText(QStringLiteral("platby"));
        const QString text = okno.TextNapovedy->toPlainText();
        QList<int> vyskyty;
        for (int i = text.indexOf(QLatin1String("platby")); i >= 0;
             i = text.indexOf(QLatin1String("platby"), i + 1))
            vyskyty << i;
        QVERIFY(vyskyty.size() >= 2);

        for (int kde : vyskyty) {
            okno.FindDialog1->NajitDalsi->click();
            QCOMPARE(vyber(okno.TextNapovedy), qMakePair(kde, 6));
        }
        QVERIFY(Zpravy::zaznamy().isEmpty());

        // After the last one: the question, and "Ano" starts again from the top.
        Zpravy::pridejOdpoved(0);
        okno.FindDialog1->NajitDalsi->click();
        QCOMPARE(Zpravy::zaznamy().size(), 1);
        QCOMPARE(vyber(okno.TextNapovedy), qMakePair(vyskyty.first(), 6));

        // "Ne" at the end leaves the caret just after the last occurrence.
        Zpravy::vymazZaznamy();
        for (int i = 1; i < vyskyty.size(); ++i) okno.FindDialog1->NajitDalsi->click();
        Zpravy::pridejOdpoved(1);
        okno.FindDialog1->NajitDalsi->click();
        QCOMPARE(Zpravy::zaznamy().size(), 1);
        QCOMPARE(vyber(okno.TextNapovedy), qMakePair(vyskyty.last() + 6, 0));

        // Opening the search again starts at the top.
        okno.HledatExecute();
        okno.FindDialog1->NajitDalsi->click();
        QCOMPARE(vyber(okno.TextNapovedy), qMakePair(vyskyty.first(), 6));
    }

    void chybejiciTextSeptaSeZnovuPoAno() {
        TNapoveda okno(nullptr);
        okno.show();
        okno.HledatExecute();
        okno.FindDialog1->FindText->setText(QStringLiteral("rybolov"));
        Zpravy::pridejOdpoved(0);
        Zpravy::pridejOdpoved(0);
        Zpravy::pridejOdpoved(1);
        okno.FindDialog1->NajitDalsi->click();
        QCOMPARE(Zpravy::zaznamy().size(), 3);
        QCOMPARE(vyber(okno.TextNapovedy), qMakePair(0, 0));
    }

    void escapeAZavreniHledani() {
        QPointer<TNapoveda> okno = new TNapoveda(nullptr);
        okno->show();
        okno->HledatExecute();

        // The Esc that closes the find dialog is released in the text: the window stays.
        QTest::keyClick(okno->FindDialog1->FindText, Qt::Key_Escape);
        QVERIFY(!okno->FindDialog1->isVisible());
        QVERIFY(HledaniZavreno);
        QTest::keyRelease(okno->TextNapovedy, Qt::Key_Escape);
        smazOdlozene();
        QVERIFY(!okno.isNull());
        QVERIFY(okno->isVisible());
        QVERIFY(!HledaniZavreno);

        // Other keys do nothing; the next Esc closes and destroys the window.
        QTest::keyClick(okno->TextNapovedy, Qt::Key_Return);
        QTest::keyClick(okno->TextNapovedy, Qt::Key_A);
        smazOdlozene();
        QVERIFY(!okno.isNull());
        QTest::keyClick(okno->TextNapovedy, Qt::Key_Escape);
        smazOdlozene();
        QVERIFY(okno.isNull());
    }

    void priznakPrezijeOkno() {
        // The find dialog closed with "Zrušit" and no Esc followed: the first Esc in the next
        // help window only clears the flag.
        {
            TNapoveda prvni(nullptr);
            prvni.show();
            prvni.HledatExecute();
            prvni.FindDialog1->Zrusit->click();
            QVERIFY(HledaniZavreno);
        }
        QPointer<TNapoveda> druhe = new TNapoveda(nullptr);
        druhe->show();
        QTest::keyClick(druhe->TextNapovedy, Qt::Key_Escape);
        smazOdlozene();
        QVERIFY(!druhe.isNull());
        QTest::keyClick(druhe->TextNapovedy, Qt::Key_Escape);
        smazOdlozene();
        QVERIFY(druhe.isNull());
    }

    void tlacitkoOK() {
        QPointer<TNapoveda> okno = new TNapoveda(nullptr);
        okno->show();
        QVERIFY(okno->minimumSize() == QSize(600, 400));
        // The button stays centred under the text whatever the width.
        for (int sirka : {612, 801}) {
            okno->resize(sirka, 450);
            QCoreApplication::processEvents();
            QCOMPARE(okno->OK->x(), okno->PanelBottom->width() / 2 - okno->OK->width() / 2);
            QCOMPARE(okno->PanelBottom->width(), sirka);
        }
        QTest::mouseClick(okno->OK, Qt::LeftButton);
        smazOdlozene();
        QVERIFY(okno.isNull());
    }
};

QTEST_MAIN(TestNapoveda)
#include "tst_napoveda.moc"
