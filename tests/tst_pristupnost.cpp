// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QtTest>

#include "Hodiny.h"
#include "Okna.h"
#include "Pomocnik.h"
#include "VzorovaData.h"
#include "Zpravy.h"
#include "fHistoriePlateb.h"
#include "fMain.h"
#include "fNapoveda.h"
#include "fNovaPlatba.h"
#include "fUzivatele.h"

// What screen readers are told: the payment dialog's fields by their row and column, the help
// window as a window.
namespace {
QString nazev(QObject* o) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
    return i ? i->text(QAccessible::Name) : QStringLiteral("<none>");
}
}  // namespace

class TestPristupnost : public QObject {
    Q_OBJECT
    Pomocnik::PracovniSlozka* slozka = nullptr;
    TMain* w = nullptr;

private slots:
    // The dialog only reads: one database serves every case.
    void initTestCase() {
        Pomocnik::pripravProstredi();
        slozka = new Pomocnik::PracovniSlozka;
        w = Pomocnik::hlavniOknoSeVzorovymiCiselniky();
    }
    void cleanupTestCase() {
        delete w;
        delete slozka;
    }

    void poleNovePlatby_data() {
        QTest::addColumn<QString>("pole");
        QTest::addColumn<QString>("jmeno");
        QTest::newRow("member") << "ecislo"
                                << "Uživatel";
        QTest::newRow("membership name") << "NazevClenstvi"
                                         << "Členství – název";
        QTest::newRow("membership price") << "CenaClenstvi"
                                          << "Členství – cena";
        QTest::newRow("brigades name") << "NazevBrigad"
                                       << "Brigády – název";
        QTest::newRow("brigades price") << "CenaBrigad"
                                        << "Brigády – cena";
        for (int i = 1; i <= 3; ++i) {
            const QString radek = QStringLiteral("Povolenka %1").arg(i);
            QTest::addRow("permit %d name", i)
                << "NazevPovolenka" + QString::number(i) << radek + " – název";
            QTest::addRow("permit %d type", i) << "typ" + QString::number(i) << radek + " – typ";
            QTest::addRow("permit %d price", i)
                << "CenaPovolenka" + QString::number(i) << radek + " – cena";
        }
        QTest::newRow("handling fee") << "CenaManipulPopl"
                                      << "Manipulační poplatek – cena";
        QTest::newRow("total") << "Celkem"
                               << "Celkem";
    }
    void poleNovePlatby() {
        QFETCH(QString, pole);
        QFETCH(QString, jmeno);
        TNovaPlatba d(Main);
        d.show();
        QCOMPARE(nazev(d.findChild<QWidget*>(pole)), jmeno);
    }

    // No two fields of the item group are announced alike, and none is labelled by the
    // group's title (a screen reader prefers a label to the field's own name).
    void polePlatebJsouRozlisena() {
        TNovaPlatba d(Main);
        d.show();
        QAccessibleInterface* skupina = QAccessible::queryAccessibleInterface(d.Platby);
        QStringList jmena;
        for (QWidget* pole : d.Platby->findChildren<QWidget*>()) {
            if (!qobject_cast<QLineEdit*>(pole) && !qobject_cast<QComboBox*>(pole)) continue;
            const QString j = nazev(pole);
            QVERIFY2(!j.isEmpty() && !jmena.contains(j), qPrintable(pole->objectName() + ": " + j));
            jmena << j;
            const auto popisky =
                QAccessible::queryAccessibleInterface(pole)->relations(QAccessible::Label);
            for (const auto& popisek : popisky)
                QVERIFY2(popisek.first != skupina, qPrintable(pole->objectName()));
        }
        QCOMPARE(jmena.size(), 15);
    }

    // A combo box is named by its chosen text; its row's label tells the permit slots apart.
    void typPovolenkyMaPopisekRadku() {
        TNovaPlatba d(Main);
        d.show();
        for (int i = 1; i <= 3; ++i) {
            QComboBox* typ = d.slotPovolenky(i).typ;
            typ->setCurrentIndex(0);
            QStringList popisky;
            for (const auto& p :
                 QAccessible::queryAccessibleInterface(typ)->relations(QAccessible::Label))
                popisky << p.first->text(QAccessible::Name);
            QCOMPARE(popisky, QStringList{QStringLiteral("Povolenka %1").arg(i)});
        }
    }

    void oknoNapovedy() {
        auto* napoveda = new TNapoveda(Main);
        napoveda->show();
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(napoveda);
        QVERIFY(i);
        QCOMPARE(i->role(), QAccessible::Window);
        QCOMPARE(i->text(QAccessible::Name), QStringLiteral("Nápověda"));
        napoveda->close();
    }

    // ------------------------------------------------------------ the main window by keyboard

    // The main window opens with the keyboard on its first command; Tab walks the toolbar's
    // commands round; Space on one opens its window.
    void nastrojovaListaTabulatorem() {
        w->AktualizaceZkontrolovana = true;
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        auto zaostreno = [] {
            QWidget* f = QApplication::focusWidget();
            return f ? f->objectName() : QStringLiteral("<none>");
        };
        QStringList poradi{zaostreno()};
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget()
                                                        : static_cast<QWidget*>(w),
                            Qt::Key_Tab);
            poradi << zaostreno();
        }
        QCOMPARE(poradi, (QStringList{"TBUzivatele", "TBNovaPlatba", "TBHistoriePlateb", "TBKonec",
                                      "TBUzivatele"}));
        bool otevreno = false;
        priOtevreni<TUzivatele>([&otevreno](TUzivatele* u) {
            otevreno = true;
            u->reject();
        });
        auto* uzivatele = w->findChild<QWidget*>(QStringLiteral("TBUzivatele"));
        uzivatele->setFocus(Qt::TabFocusReason);
        QTest::keyClick(uzivatele, Qt::Key_Space);
        QVERIFY(QTest::qWaitFor([&] { return otevreno; }));
        w->hide();
    }

    // Each command has a shortcut, named in its button's tooltip.
    void zkratkyNastrojoveListy_data() {
        QTest::addColumn<QString>("tlacitko");
        QTest::addColumn<int>("klavesa");
        QTest::addColumn<QString>("napoveda");
        QTest::newRow("members") << "TBUzivatele" << int(Qt::Key_U) << "Uživatelé (Ctrl+U)";
        QTest::newRow("new payment") << "TBNovaPlatba" << int(Qt::Key_N) << "Nová platba (Ctrl+N)";
        QTest::newRow("history") << "TBHistoriePlateb" << int(Qt::Key_H)
                                 << "Historie plateb (Ctrl+H)";
    }
    void zkratkyNastrojoveListy() {
        QFETCH(QString, tlacitko);
        QFETCH(int, klavesa);
        QFETCH(QString, napoveda);
        QCOMPARE(w->findChild<QWidget*>(tlacitko)->toolTip(), napoveda);
        w->AktualizaceZkontrolovana = true;
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        Zpravy::vymazZaznamy();
        QString otevreno;
        auto zavri = [&otevreno](QDialog* d) {
            otevreno = QString::fromLatin1(d->metaObject()->className());
            d->reject();
        };
        const bool novaPlatba = tlacitko == QLatin1String("TBNovaPlatba");
        if (!novaPlatba) priOtevreni<QDialog>(zavri);
        QTest::keyClick(w, Qt::Key(klavesa), Qt::ControlModifier);
        // With no member entered, a new payment says so instead of opening its dialog.
        if (novaPlatba) {
            QCOMPARE(Zpravy::zaznamy().size(), 1);
            QCOMPARE(Zpravy::zaznamy().first().text,
                     QStringLiteral("Musí být zadán alespoň jeden uživatel."));
        } else {
            QVERIFY(QTest::qWaitFor([&] { return !otevreno.isEmpty(); }));
            QCOMPARE(otevreno, tlacitko == QLatin1String("TBUzivatele")
                                   ? QStringLiteral("TUzivatele")
                                   : QStringLiteral("THistoriePlateb"));
        }
        w->hide();
    }
};

QTEST_MAIN(TestPristupnost)
#include "tst_pristupnost.moc"
