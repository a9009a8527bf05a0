// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <memory>

#include "DBGridNew.h"
#include "Hodiny.h"
#include "Okna.h"
#include "Pomocnik.h"
#include "SearchPanel.h"
#include "Zpravy.h"
#include "fMain.h"
#include "fUzivatele.h"
#include "fUzivateleDetNew.h"

namespace {
const QString NEVYPLNENO = QStringLiteral("Všechny položky musí být vyplněny !");

QString jedna(const QString& sql) {
    db::Query q(&Main->ADOConnection1);
    q.setSql(sql);
    q.open();
    return q.recordCount() ? q.field(0).asString() : QStringLiteral("<none>");
}

// "id:ecislo:jmeno:prijmeni:dat_nar:aktivita" for every row of the table, by id.
QStringList tabulka() {
    db::Query q(&Main->ADOConnection1);
    q.setSql(QStringLiteral(
        "select id, ecislo, jmeno, prijmeni, dat_nar, aktivita from Uzivatele order by id"));
    q.open();
    QStringList r;
    for (q.first(); !q.eof(); q.next()) {
        QStringList h;
        for (int i = 0; i < 6; ++i)
            h << (i == 4 && !q.field(i).isNull()
                      ? q.field(i).asDateTime().date().toString(Qt::ISODate)
                      : q.field(i).asString());
        r << h.join(QLatin1Char(':'));
    }
    return r;
}

void clen(int id, const QString& ecislo, const QString& jmeno, const QString& prijmeni,
          int aktivita = 100, const QString& datNar = QStringLiteral("'1980-02-01'")) {
    Main->ADOConnection1.execute(
        QStringLiteral("insert into Uzivatele (id, jmeno, prijmeni, ecislo, dat_nar, aktivita, "
                       "dat_zmen) values (%1, '%2', '%3', '%4', %5, %6, '2020-01-01 08:00:00')")
            .arg(id)
            .arg(jmeno, prijmeni, ecislo, datNar)
            .arg(aktivita));
}

int pocetZprav(const QString& text) {
    int n = 0;
    for (const Zpravy::Zaznam& z : Zpravy::zaznamy())
        if (z.text == text) ++n;
    return n;
}

// The member list, shown and activated as when the user opens it.
std::unique_ptr<TUzivatele> otevriSeznam() {
    auto s = std::make_unique<TUzivatele>(Main);
    s->show();
    s->activateWindow();
    if (!QTest::qWaitFor([&] { return s->ADOQueryUziv.isOpen(); })) return nullptr;
    return s;
}

// One column of the list's grid, top to bottom.
QStringList sloupecGridu(TUzivatele& s, int sloupec) {
    QStringList r;
    QAbstractItemModel* m = s.DBGrid1->model();
    for (int i = 0; i < m->rowCount(); ++i) r << m->data(m->index(i, sloupec)).toString();
    return r;
}

// What the member dialog showed when the test's action had run on it.
struct StavDialogu {
    bool otevren = false;
    bool zustalOtevren = false;
    QString ecislo, jmeno, prijmeni, id;
    QDate datum;
    bool ecisloJenProCteni = false;
    QColor pozadiEcisla;
    QString zaostreno;  // the box the dialog opened on
};

// Fills the next member dialog, presses "Uložit" and closes the dialog when the save left it
// open.
void vyplnAUloz(StavDialogu& stav, const std::function<void(TUzivateleDetNew*)>& vyplneni) {
    priOtevreni<TUzivateleDetNew>([&stav, vyplneni](TUzivateleDetNew* d) {
        stav.otevren = true;
        // The keyboard reaches the dialog a moment after it is activated.
        if (QTest::qWaitFor([d] {
                return QApplication::focusWidget() && QApplication::focusWidget()->window() == d;
            }))
            stav.zaostreno = QApplication::focusWidget()->objectName();
        stav.ecisloJenProCteni = d->ecislo->isReadOnly();
        stav.pozadiEcisla = d->ecislo->palette().color(QPalette::Base);
        stav.datum = d->dat_nar->date();
        if (vyplneni) vyplneni(d);
        QTest::mouseClick(d->Ulozit, Qt::LeftButton);
        stav.zustalOtevren = d->isVisible();
        stav.ecislo = d->ecislo->text();
        stav.jmeno = d->jmeno->text();
        stav.prijmeni = d->prijmeni->text();
        stav.id = d->id->text();
        if (d->isVisible()) d->reject();
    });
}

std::function<void(TUzivateleDetNew*)> novy(const QString& ecislo, const QString& jmeno,
                                            const QString& prijmeni,
                                            const QDate& datum = QDate(1990, 4, 7)) {
    return [=](TUzivateleDetNew* d) {
        d->ecislo->setText(ecislo);
        d->jmeno->setText(jmeno);
        d->prijmeni->setText(prijmeni);
        d->dat_nar->setDate(datum);
    };
}
}  // namespace

class TestUzivatele : public QObject {
    Q_OBJECT
    Pomocnik::PracovniSlozka* slozka = nullptr;
    TMain* w = nullptr;

private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }

    void init() {
        slozka = new Pomocnik::PracovniSlozka;
        Hodiny::nastav(QDateTime(QDate(2027, 3, 1), QTime(10, 15, 30)));
        w = new TMain;
        Zpravy::vymazZaznamy();
    }
    void cleanup() {
        delete w;
        delete slozka;
    }

    // The toolbar opens the list modally; it is loaded on activation, reachable through the
    // global while open, and a new member shows up in it at once.
    void toolbarOpensTheListAndANewMemberAppearsInIt() {
        clen(1, QStringLiteral("123"), QStringLiteral("Jan"), QStringLiteral("Novák"));
        TUzivatele* otevreny = nullptr;
        QStringList predtim, potom;
        StavDialogu stav;
        priOtevreni<TUzivatele>([&](TUzivatele* s) {
            otevreny = s;
            QVERIFY(QTest::qWaitFor([s] { return s->ADOQueryUziv.isOpen(); }));
            QCOMPARE(Uzivatele, s);
            QCOMPARE(s->windowTitle(), QStringLiteral("Uživatelé"));
            predtim = sloupecGridu(*s, 0);
            vyplnAUloz(stav,
                       novy(QStringLiteral("555"), QStringLiteral("Eva"), QStringLiteral("Malá")));
            QTest::mouseClick(s->Novy, Qt::LeftButton);
            potom = sloupecGridu(*s, 0);
            QTest::mouseClick(s->Konec, Qt::LeftButton);
        });
        w->TBUzivateleClick();
        QVERIFY(otevreny);
        QCOMPARE(Uzivatele, nullptr);
        QVERIFY(stav.otevren);
        QVERIFY(!stav.zustalOtevren);
        QCOMPARE(predtim, QStringList{QStringLiteral("123")});
        QCOMPARE(potom, (QStringList{QStringLiteral("123"), QStringLiteral("555")}));
    }

    void listShowsLiveMembersAndIsReadOnce() {
        clen(1, QStringLiteral("123"), QStringLiteral("Jan"), QStringLiteral("Novák"));
        clen(2, QStringLiteral("124"), QStringLiteral("Eva"), QStringLiteral("Stará"), 900);
        clen(3, QStringLiteral("125"), QStringLiteral("Petr"), QStringLiteral("Nový"), 100,
             QStringLiteral("'1975-12-24'"));
        auto s = otevriSeznam();
        QVERIFY(s);
        QCOMPARE(sloupecGridu(*s, 0), (QStringList{QStringLiteral("123"), QStringLiteral("125")}));
        QCOMPARE(sloupecGridu(*s, 3).last(), QStringLiteral("24.12.1975"));
        // A later activation does not read the list again.
        clen(4, QStringLiteral("126"), QStringLiteral("Jiří"), QStringLiteral("Další"));
        s->FormActivate();
        QCOMPARE(s->DBGrid1->model()->rowCount(), 2);
    }

    // Only an empty text fails, all empty edits give one message, and blanks are content.
    void completenessCheck_data() {
        QTest::addColumn<QString>("ecislo");
        QTest::addColumn<QString>("jmeno");
        QTest::addColumn<QString>("prijmeni");
        QTest::addColumn<bool>("ulozeno");
        QTest::newRow("empty surname") << "300"
                                       << "Jan"
                                       << "" << false;
        QTest::newRow("two empty edits") << "300"
                                         << ""
                                         << "" << false;
        QTest::newRow("all empty") << ""
                                   << ""
                                   << "" << false;
        QTest::newRow("empty evidence number") << ""
                                               << "Jan"
                                               << "Novák" << false;
        QTest::newRow("surname of blanks") << "300"
                                           << "Jan"
                                           << "   " << true;
    }
    void completenessCheck() {
        QFETCH(QString, ecislo);
        QFETCH(QString, jmeno);
        QFETCH(QString, prijmeni);
        QFETCH(bool, ulozeno);
        auto s = otevriSeznam();
        QVERIFY(s);
        StavDialogu stav;
        vyplnAUloz(stav, novy(ecislo, jmeno, prijmeni));
        s->NovyClick();
        QVERIFY(stav.otevren);
        QCOMPARE(stav.zustalOtevren, !ulozeno);
        QCOMPARE(pocetZprav(NEVYPLNENO), ulozeno ? 0 : 1);
        QCOMPARE(Zpravy::zaznamy().size(), ulozeno ? 0 : 1);
        QCOMPARE(tabulka(), ulozeno ? QStringList{QStringLiteral("1:300:Jan:   :1990-04-07:100")}
                                    : QStringList());
    }

    // A new member starts empty on today's date and is stored with the program's clock.
    void newMemberIsStoredAsTyped() {
        auto s = otevriSeznam();
        QVERIFY(s);
        StavDialogu stav;
        vyplnAUloz(stav, [](TUzivateleDetNew* d) {
            QVERIFY(d->ecislo->text().isEmpty() && d->jmeno->text().isEmpty() &&
                    d->prijmeni->text().isEmpty());
            QVERIFY(!d->ecislo->isReadOnly());
            QTest::keyClicks(d->ecislo, QStringLiteral("12345678901"));
            QTest::keyClicks(d->jmeno, QStringLiteral("Jan"));
            d->prijmeni->setText(QStringLiteral("Novák"));
        });
        s->NovyClick();
        QCOMPARE(stav.datum, QDate(2027, 3, 1));
        QVERIFY(!stav.zustalOtevren);
        // The evidence number is limited to ten characters.
        QCOMPARE(tabulka(), QStringList{QStringLiteral("1:1234567890:Jan:Novák:2027-03-01:100")});
        QCOMPARE(jedna(QStringLiteral("select dat_zmen from Uzivatele")),
                 QStringLiteral("01.03.2027 10:15:30"));
    }

    // The next id counts removed members too; the first member of an empty table gets 1.
    void newIdFollowsTheHighestOfAllRows_data() {
        QTest::addColumn<int>("clenu");
        QTest::addColumn<bool>("posledniOdstranen");
        QTest::addColumn<QString>("ocekavaneId");
        QTest::newRow("empty table") << 0 << false << "1";
        QTest::newRow("1 to 5, 5 removed") << 5 << true << "6";
        QTest::newRow("1 to 3") << 3 << false << "4";
    }
    void newIdFollowsTheHighestOfAllRows() {
        QFETCH(int, clenu);
        QFETCH(bool, posledniOdstranen);
        QFETCH(QString, ocekavaneId);
        for (int i = 1; i <= clenu; ++i)
            clen(i, QString::number(100 + i), QStringLiteral("J"), QStringLiteral("P"),
                 posledniOdstranen && i == clenu ? 900 : 100);
        auto s = otevriSeznam();
        QVERIFY(s);
        StavDialogu stav;
        vyplnAUloz(stav,
                   novy(QStringLiteral("900"), QStringLiteral("Nový"), QStringLiteral("Člen")));
        s->NovyClick();
        QVERIFY(!stav.zustalOtevren);
        QCOMPARE(jedna(QStringLiteral("select id from Uzivatele where ecislo = '900'")),
                 ocekavaneId);
    }

    // A live member's number is refused with all input kept, also when typed with blanks around
    // it; a removed member's number is free.
    void evidenceNumberUniqueAmongLiveMembers_data() {
        QTest::addColumn<QString>("ecislo");
        QTest::addColumn<bool>("odmitnuto");
        QTest::newRow("number of a live member") << "123" << true;
        QTest::newRow("number of a live member with a trailing blank") << "123 " << true;
        QTest::newRow("number of a removed member") << "200" << false;
        QTest::newRow("a new number") << "201" << false;
    }
    void evidenceNumberUniqueAmongLiveMembers() {
        QFETCH(QString, ecislo);
        QFETCH(bool, odmitnuto);
        clen(1, QStringLiteral("123"), QStringLiteral("Jan"), QStringLiteral("Novák"));
        clen(2, QStringLiteral("200"), QStringLiteral("Eva"), QStringLiteral("Stará"), 900);
        clen(3, QStringLiteral("A12"), QStringLiteral("Ota"), QStringLiteral("Malý"));
        clen(4, QStringLiteral("b7"), QStringLiteral("Iva"), QStringLiteral("Stará"), 900);
        const QStringList puvodni = tabulka();
        auto s = otevriSeznam();
        QVERIFY(s);
        StavDialogu stav;
        vyplnAUloz(stav, novy(ecislo, QStringLiteral("Petr"), QStringLiteral("Malý")));
        s->NovyClick();
        QCOMPARE(stav.zustalOtevren, odmitnuto);
        const QString zprava = QStringLiteral("Evidenční číslo \"") + ecislo.trimmed() +
                               QStringLiteral("\" již existuje!");
        QCOMPARE(pocetZprav(zprava), odmitnuto ? 1 : 0);
        if (odmitnuto) {
            QCOMPARE(Zpravy::zaznamy().first().typZpravy, 0);
            QCOMPARE(stav.ecislo, ecislo.trimmed());
            QCOMPARE(stav.jmeno, QStringLiteral("Petr"));
            QCOMPARE(stav.prijmeni, QStringLiteral("Malý"));
            QCOMPARE(tabulka(), puvodni);
        } else {
            QCOMPARE(tabulka(), puvodni + QStringList{QStringLiteral("5:") + ecislo +
                                                      QStringLiteral(":Petr:Malý:1990-04-07:100")});
            QCOMPARE(s->DBGrid1->model()->rowCount(), 3);
        }
    }

    // The evidence number is the variable symbol of the member's payments: blanks around it are
    // dropped, anything but 1 to 10 digits is refused with a message and all input kept.
    void evidenceNumberIsAVariableSymbol_data() {
        QTest::addColumn<QString>("napsano");
        QTest::addColumn<QString>("ulozeno");  // empty: refused
        QTest::newRow("trailing blank") << "300417 "
                                        << "300417";
        QTest::newRow("blanks around") << "  42 "
                                       << "42";
        QTest::newRow("ten digits") << "1234567890"
                                    << "1234567890";
        QTest::newRow("leading zero") << "0042"
                                      << "0042";
        QTest::newRow("letters") << "A12"
                                 << "";
        QTest::newRow("blank inside") << "12 34"
                                      << "";
        QTest::newRow("only blanks") << "   "
                                     << "";
        QTest::newRow("sign") << "-5"
                              << "";
        QTest::newRow("other digits") << QStringLiteral("١٢٣") << "";
    }
    void evidenceNumberIsAVariableSymbol() {
        QFETCH(QString, napsano);
        QFETCH(QString, ulozeno);
        auto s = otevriSeznam();
        QVERIFY(s);
        StavDialogu stav;
        vyplnAUloz(stav, novy(napsano, QStringLiteral("Petr"), QStringLiteral("Malý")));
        s->NovyClick();
        QCOMPARE(stav.zustalOtevren, ulozeno.isEmpty());
        if (ulozeno.isEmpty()) {
            QCOMPARE(Zpravy::zaznamy().size(), 1);
            QCOMPARE(Zpravy::zaznamy().first().text,
                     QStringLiteral("Evidenční číslo „") + napsano.trimmed() +
                         QStringLiteral("“ musí být tvořeno 1 až 10 číslicemi, bez mezer a "
                                        "jiných znaků: banka ho přebírá jako variabilní symbol "
                                        "platby !"));
            QCOMPARE(stav.ecislo, napsano);
            QCOMPARE(stav.jmeno, QStringLiteral("Petr"));
            QCOMPARE(tabulka(), QStringList());
        } else {
            QCOMPARE(Zpravy::zaznamy().size(), 0);
            QCOMPARE(tabulka(), QStringList{QStringLiteral("1:") + ulozeno +
                                            QStringLiteral(":Petr:Malý:1990-04-07:100")});
        }
    }

    // The detail dialog shows the current row, keeps the evidence number and changes only the
    // names and the birth date; a missing birth date opens on the zero of the date scale.
    void detailChangesNamesAndBirthDateOnly_data() {
        QTest::addColumn<QString>("datNar");
        QTest::addColumn<QDate>("ukazaneDatum");
        QTest::addColumn<QDate>("noveDatum");
        QTest::newRow("with a birth date")
            << "'1985-06-15'" << QDate(1985, 6, 15) << QDate(1986, 7, 16);
        QTest::newRow("without a birth date, one given")
            << "null" << QDate(1899, 12, 30) << QDate(1950, 1, 1);
    }
    void detailChangesNamesAndBirthDateOnly() {
        QFETCH(QString, datNar);
        QFETCH(QDate, ukazaneDatum);
        QFETCH(QDate, noveDatum);
        clen(1, QStringLiteral("123"), QStringLiteral("Jan"), QStringLiteral("Novák"));
        clen(2, QStringLiteral("124"), QStringLiteral("Eva"), QStringLiteral("Nováková"), 100,
             datNar);
        clen(3, QStringLiteral("125"), QStringLiteral("Petr"), QStringLiteral("Malý"));
        auto s = otevriSeznam();
        QVERIFY(s);
        s->ADOQueryUziv.setRecNo(2);
        StavDialogu stav;
        QString ukazane;
        vyplnAUloz(stav, [&](TUzivateleDetNew* d) {
            ukazane =
                QStringList{d->id->text(), d->ecislo->text(), d->jmeno->text(), d->prijmeni->text()}
                    .join(QLatin1Char(':'));
            QVERIFY(!d->id->isVisible());
            QTest::keyClicks(d->ecislo, QStringLiteral("9"));
            d->jmeno->setText(QStringLiteral("Jana"));
            d->prijmeni->setText(QStringLiteral("Dvořáková"));
            d->dat_nar->setDate(noveDatum);
        });
        s->DetailClick();
        QCOMPARE(ukazane, QStringLiteral("2:124:Eva:Nováková"));
        QCOMPARE(stav.datum, ukazaneDatum);
        QVERIFY(stav.ecisloJenProCteni);
        QCOMPARE(stav.pozadiEcisla, QColor(192, 192, 192));
        // It opens on the first box the user can change.
        QCOMPARE(stav.zaostreno, QStringLiteral("jmeno"));
        QVERIFY(!stav.zustalOtevren);
        QCOMPARE(tabulka().at(1), QStringLiteral("2:124:Jana:Dvořáková:") +
                                      noveDatum.toString(Qt::ISODate) + QStringLiteral(":100"));
        QCOMPARE(jedna(QStringLiteral("select dat_zmen from Uzivatele where id = 2")),
                 QStringLiteral("01.01.2020 8:00:00"));
        // The list shows the change and stays on the same record number.
        QCOMPARE(sloupecGridu(*s, 1).at(1), QStringLiteral("Jana"));
        QCOMPARE(s->ADOQueryUziv.recNo(), 2);
        QCOMPARE(s->DBGrid1->currentIndex().row(), 1);
    }

    // Double click on a row and Enter in the search box open the detail of the current row.
    void doubleClickAndEnterOpenTheDetail_data() {
        QTest::addColumn<bool>("zHledani");
        QTest::newRow("double click") << false;
        QTest::newRow("Enter in the search box") << true;
    }
    void doubleClickAndEnterOpenTheDetail() {
        QFETCH(bool, zHledani);
        clen(1, QStringLiteral("123"), QStringLiteral("Jan"), QStringLiteral("Novák"));
        clen(2, QStringLiteral("124"), QStringLiteral("Eva"), QStringLiteral("Malá"));
        auto s = otevriSeznam();
        QVERIFY(s);
        QString ukazane;
        priOtevreni<TUzivateleDetNew>([&](TUzivateleDetNew* d) {
            ukazane = d->ecislo->text();
            d->prijmeni->setText(QStringLiteral("Jiná"));
            // Changed behind the list's back: only a reopened list would show it.
            Main->ADOConnection1.execute(
                QStringLiteral("update Uzivatele set jmeno = 'Změněná' where id = 2"));
            d->KonecClick();
        });
        if (zHledani) {
            s->ADOQueryUziv.setRecNo(2);
            s->SearchPanel1->setSearchPanelVisible(true);
            s->SearchPanel1->SearchBoxSetFocus();
            QTest::keyClick(s->SearchPanel1->searchBox(), Qt::Key_Return);
        } else {
            QTableView* g = s->DBGrid1;
            const QPoint bod = g->visualRect(g->model()->index(1, 1)).center();
            QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, bod);
            QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, bod);
        }
        QCOMPARE(ukazane, QStringLiteral("124"));
        // "Konec" saves nothing and the list was not reopened.
        QCOMPARE(tabulka().at(1), QStringLiteral("2:124:Změněná:Malá:1980-02-01:100"));
        QCOMPARE(sloupecGridu(*s, 1), (QStringList{QStringLiteral("Jan"), QStringLiteral("Eva")}));
    }

    // Removing asks once; "Ano" marks the member removed and the list keeps the record number,
    // or goes to the first row when it has become shorter than that.
    void removingAsksAndKeepsTheRecordNumber_data() {
        QTest::addColumn<int>("radek");
        QTest::addColumn<int>("odpoved");
        QTest::addColumn<bool>("klavesou");
        QTest::addColumn<int>("radekPotom");
        QTest::newRow("Ano on the second row") << 2 << 0 << false << 2;
        QTest::newRow("Ano by the Delete key") << 2 << 0 << true << 2;
        QTest::newRow("Ano on the last row") << 3 << 0 << false << 1;
        QTest::newRow("Ne") << 2 << 1 << false << 2;
    }
    void removingAsksAndKeepsTheRecordNumber() {
        QFETCH(int, radek);
        QFETCH(int, odpoved);
        QFETCH(bool, klavesou);
        QFETCH(int, radekPotom);
        clen(1, QStringLiteral("123"), QStringLiteral("Jan"), QStringLiteral("Novák"));
        clen(2, QStringLiteral("124"), QStringLiteral("Eva"), QStringLiteral("Malá"));
        clen(3, QStringLiteral("125"), QStringLiteral("Petr"), QStringLiteral("Velký"));
        auto s = otevriSeznam();
        QVERIFY(s);
        s->ADOQueryUziv.setRecNo(radek);
        const QString ecislo = s->ADOQueryUziv.fieldByName(QStringLiteral("ecislo")).asString();
        const QString otazka = QStringLiteral("Opravdu odstranit uživatele \"") +
                               s->ADOQueryUziv.fieldByName(QStringLiteral("jmeno")).asString() +
                               QLatin1Char(' ') +
                               s->ADOQueryUziv.fieldByName(QStringLiteral("prijmeni")).asString() +
                               QStringLiteral("\" (") + ecislo + QStringLiteral(") ?");
        Zpravy::pridejOdpoved(odpoved);
        if (klavesou) {
            s->DBGrid1->setFocus();
            QTest::keyClick(s->DBGrid1, Qt::Key_Delete);
        } else {
            QTest::mouseClick(s->Odstranit, Qt::LeftButton);
        }
        QCOMPARE(Zpravy::zaznamy().size(), 1);
        QCOMPARE(Zpravy::zaznamy().first().text, otazka);
        QCOMPARE(Zpravy::zaznamy().first().typZpravy, 1);
        QCOMPARE(Zpravy::zaznamy().first().typTlacitek, 1);
        const bool odstranen = odpoved == 0;
        QCOMPARE(jedna(QStringLiteral("select aktivita from Uzivatele where ecislo = '") + ecislo +
                       QLatin1Char('\'')),
                 odstranen ? QStringLiteral("900") : QStringLiteral("100"));
        QCOMPARE(s->DBGrid1->model()->rowCount(), odstranen ? 2 : 3);
        QVERIFY(!sloupecGridu(*s, 0).contains(ecislo) || !odstranen);
        QCOMPARE(s->ADOQueryUziv.recNo(), radekPotom);
        QCOMPARE(s->DBGrid1->currentIndex().row(), radekPotom - 1);
    }

    // With nothing listed, Detail, double click, Odstranit and the Delete key do nothing.
    void emptyListIgnoresDetailAndRemove() {
        clen(1, QStringLiteral("123"), QStringLiteral("Jan"), QStringLiteral("Novák"), 900);
        auto s = otevriSeznam();
        QVERIFY(s);
        QCOMPARE(s->DBGrid1->model()->rowCount(), 0);
        bool otevreno = false;
        priOtevreni<TUzivateleDetNew>([&](TUzivateleDetNew* d) {
            otevreno = true;
            d->reject();
        });
        s->DBGrid1->setFocus();
        QTest::keyClick(s->DBGrid1, Qt::Key_Delete);
        QTest::mouseClick(s->Odstranit, Qt::LeftButton);
        QTest::mouseClick(s->Detail, Qt::LeftButton);
        s->DBGrid1DblClick();
        QTest::qWait(50);
        QVERIFY(!otevreno);
        QVERIFY(Zpravy::zaznamy().isEmpty());
        QCOMPARE(tabulka().first(), QStringLiteral("1:123:Jan:Novák:1980-02-01:900"));
        // "Nový" still opens the dialog; it also takes up the waiting action.
        s->NovyClick();
        QVERIFY(otevreno);
    }

    // Apostrophes in names are kept as typed: stored, shown, changed, asked about.
    void apostropheRoundTrip() {
        auto s = otevriSeznam();
        QVERIFY(s);
        StavDialogu stav;
        vyplnAUloz(stav,
                   novy(QStringLiteral("123"), QStringLiteral("Seán"), QStringLiteral("O'Neil")));
        s->NovyClick();
        QVERIFY(!stav.zustalOtevren);
        QCOMPARE(tabulka(), QStringList{QStringLiteral("1:123:Seán:O'Neil:1990-04-07:100")});
        QCOMPARE(sloupecGridu(*s, 2), QStringList{QStringLiteral("O'Neil")});

        StavDialogu znovu;
        vyplnAUloz(znovu, novy(QStringLiteral("123"), QStringLiteral("X"), QStringLiteral("Y")));
        s->NovyClick();
        QVERIFY(znovu.zustalOtevren);
        QCOMPARE(pocetZprav(QStringLiteral("Evidenční číslo \"123\" již existuje!")), 1);

        StavDialogu zmena;
        vyplnAUloz(zmena, [](TUzivateleDetNew* d) {
            d->prijmeni->setText(QStringLiteral("O'Neil'; drop table Uzivatele; --"));
        });
        s->DetailClick();
        QVERIFY(!zmena.zustalOtevren);
        QCOMPARE(tabulka(), QStringList{QStringLiteral(
                                "1:123:Seán:O'Neil'; drop table Uzivatele; --:1990-04-07:100")});

        Zpravy::vymazZaznamy();
        Zpravy::pridejOdpoved(0);
        s->OdstranitClick();
        QCOMPARE(
            Zpravy::zaznamy().first().text,
            QStringLiteral("Opravdu odstranit uživatele \"Seán O'Neil'; drop table Uzivatele; --\" "
                           "(123) ?"));
        QCOMPARE(jedna(QStringLiteral("select aktivita from Uzivatele")), QStringLiteral("900"));
    }

    // A refused insert or update is reported and the dialog stays open with the input; the
    // statement is logged once and the list is not reopened.
    void failedSaveKeepsTheDialogOpen_data() {
        QTest::addColumn<bool>("detail");
        QTest::newRow("insert") << false;
        QTest::newRow("update") << true;
    }
    void failedSaveKeepsTheDialogOpen() {
        QFETCH(bool, detail);
        clen(1, QStringLiteral("123"), QStringLiteral("Jan"), QStringLiteral("Novák"));
        Main->ADOConnection1.execute(
            QStringLiteral("create trigger odmitni before %1 on Uzivatele when new.jmeno = "
                           "'Karel' begin select raise(abort, 'zamitnuto'); end")
                .arg(detail ? QStringLiteral("update") : QStringLiteral("insert")));
        auto s = otevriSeznam();
        QVERIFY(s);
        // Changed behind the list's back: only a reopened list would show it.
        Main->ADOConnection1.execute(
            QStringLiteral("update Uzivatele set jmeno = 'Honza' where id = 1"));
        const QStringList puvodni = tabulka();
        StavDialogu stav;
        vyplnAUloz(stav, [detail](TUzivateleDetNew* d) {
            if (!detail) d->ecislo->setText(QStringLiteral("777"));
            d->jmeno->setText(QStringLiteral("Karel"));
            d->prijmeni->setText(QStringLiteral("Zeman"));
        });
        if (detail)
            s->DetailClick();
        else
            s->NovyClick();
        QVERIFY(stav.zustalOtevren);
        QCOMPARE(stav.jmeno, QStringLiteral("Karel"));
        QCOMPARE(stav.prijmeni, QStringLiteral("Zeman"));
        QCOMPARE(tabulka(), puvodni);
        QCOMPARE(Zpravy::zaznamy().size(), 1);
        QVERIFY(Zpravy::zaznamy().first().text.startsWith(
            QStringLiteral("Došlo k chybě! (kontaktuje prosím správce)\r{")));
        QVERIFY(Zpravy::zaznamy().first().text.contains(QStringLiteral("zamitnuto")));
        const QStringList radky = slozka->log().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(radky.size(), 1);
        QVERIFY(
            radky.first().contains(detail ? QStringLiteral(": update Uzivatele set jmeno = 'Karel'")
                                          : QStringLiteral(": insert into Uzivatele")));
        QCOMPARE(sloupecGridu(*s, 1), QStringList{QStringLiteral("Jan")});
    }

    // A uniqueness check that cannot run stops the save: no member is stored unchecked.
    void failedUniquenessCheckStopsTheSave() {
        auto s = otevriSeznam();
        QVERIFY(s);
        Main->ADOConnection1.execute(QStringLiteral("alter table Uzivatele rename to Jini"));
        StavDialogu stav;
        vyplnAUloz(stav, novy(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("B")));
        s->NovyClick();
        QVERIFY(stav.zustalOtevren);
        QCOMPARE(Zpravy::zaznamy().size(), 1);
        const QStringList radky = slozka->log().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(radky.size(), 1);
        QVERIFY(radky.first().contains(QStringLiteral("select ecislo from Uzivatele")));
    }
};

QTEST_MAIN(TestUzivatele)
#include "tst_uzivatele.moc"
