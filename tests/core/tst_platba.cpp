// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include "ImportCiselniku.h"
#include "Jadro.h"
#include "Platba.h"
#include "VzorovaData.h"

// The rules of a payment and its saving, on a payment value as the dialog builds it, without any
// window.
namespace {

TPolozkaPlatby polozka(const QString& nazev, const QString& cena, const QString& id,
                       const QString& eIndex, const QString& kod = QString(),
                       const QString& kategorie = QString(), qint64 idPov = 0) {
    return {nazev, cena, id, eIndex, kod, kategorie, idPov};
}

// A member, a membership with its linked payment, a brigade, two permits with theirs, the fee.
TPlatba plnaPlatba() {
    TPlatba p;
    p.uzivatelVybran = true;
    p.idUzivatele = 1;
    p.ecislo = QStringLiteral("123");
    p.clenstvi = polozka(QStringLiteral("Členský příspěvek – dospělí"), QStringLiteral("1200"),
                         QStringLiteral("1"), QStringLiteral("1"));
    p.brigady = polozka(QStringLiteral("Brigáda 'U Jezu'"), QStringLiteral("312,25"),
                        QStringLiteral("2"), QString());
    p.povolenky[0] = polozka(QStringLiteral("Kaprová krajská – dospělí"), QStringLiteral("1900"),
                             QStringLiteral("1"), QStringLiteral("7"), QStringLiteral("MRK-D"),
                             QStringLiteral("dospělí"), 1);
    p.povolenky[2] =
        polozka(QStringLiteral("Krátkodobá kaprová – 1 den"), QStringLiteral("250"),
                QStringLiteral("1"), QStringLiteral("12"), QStringLiteral("KO-1"), QString(), 13);
    p.navazane = {{QStringLiteral("Příspěvek na ostrahu revírů"), QStringLiteral("150"),
                   QStringLiteral("1"), QStringLiteral("4"), QStringLiteral("C_clenske_prisp")},
                  {QStringLiteral("Příspěvek na zarybnění"), QStringLiteral("312,5"),
                   QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("C_povolKKnaTVZ")}};
    p.manipulacniPoplatek = QStringLiteral("50");
    p.celkem = p.soucet();
    return p;
}

const QString kPolozky = QStringLiteral(
    "select id_platby, rok, typ_platby, id, id_pov, nazev, castka, cislo_platby, e_index, "
    "kod_veku, kodOznaceni, kategorie, dat_zmena from HistoriePlateb order by id_platby");

}  // namespace

class TestPlatba : public QObject {
    Q_OBJECT

    std::unique_ptr<Jadro::NovaRelace> r;

private slots:
    void initTestCase() { Jadro::pripravProstredi(); }

    void init() {
        Hodiny::nastav(QDateTime(QDate(2027, 3, 1), QTime(10, 0)));
        r = std::make_unique<Jadro::NovaRelace>();
        VzorovaData::vytvor(r->cesta(QStringLiteral("dataCis.mdb")));
        ImportCiselniku(r->relace, QStringLiteral("1"), r->cesta(QStringLiteral("dataCis.mdb")));
        QCOMPARE(r->hlaseni.poradi(), QStringList());
        r->proved(
            QStringLiteral("insert into Uzivatele (id, jmeno, prijmeni, ecislo, aktivita) "
                           "values (1, 'Jan', 'Novák', '123', 100)"));
    }
    void cleanup() {
        r.reset();
        Hodiny::nastav(QDateTime());
    }

    // ------------------------------------------------------------ the rules

    // The total of the five slots, the fee and the linked payments, read with the user's
    // decimal separator; what is no number counts 0.
    void soucet_data() {
        QTest::addColumn<QStringList>("ceny");  // five slots, the fee, then linked amounts
        QTest::addColumn<QString>("celkem");
        QTest::newRow("whole crowns")
            << QStringList{"1200", "1000", "", "", "", "50", "150"} << "2400";
        QTest::newRow("decimal comma")
            << QStringList{"", "312,5", "", "", "0,25", "50", "0,25"} << "363";
        QTest::newRow("fee alone") << QStringList{"", "", "", "", "", "50"} << "50";
        QTest::newRow("no number counts nothing")
            << QStringList{"abc", "100", "", "", "", "0", "1 000"} << "100";
    }
    void soucet() {
        QFETCH(QStringList, ceny);
        QFETCH(QString, celkem);
        TPlatba p;
        const QVector<const TPolozkaPlatby*> sloty = p.sloty();
        TPolozkaPlatby* upravitelne[] = {&p.clenstvi, &p.brigady, &p.povolenky[0], &p.povolenky[1],
                                         &p.povolenky[2]};
        QCOMPARE(sloty.size(), 5);
        for (int i = 0; i < 5; ++i) upravitelne[i]->cena = ceny.at(i);
        p.manipulacniPoplatek = ceny.at(5);
        for (int i = 6; i < ceny.size(); ++i) p.navazane.append({{}, ceny.at(i), {}, {}, {}});
        QCOMPARE(p.soucet(), celkem);
    }

    // SS: the e_index of each filled slot in slot order, padded to two digits.
    void ss_data() {
        QTest::addColumn<QStringList>("sloty");  // per slot "price:e_index"
        QTest::addColumn<QString>("ss");
        QTest::newRow("padded") << QStringList{"1:5", "1:12", ":3", "1:7", ":"} << "051207";
        QTest::newRow("empty slots skipped") << QStringList{":1", ":2", ":3", ":4", "1:9"} << "09";
        QTest::newRow("no index is 00") << QStringList{"1:", ":", ":", ":", ":"} << "00";
        QTest::newRow("three digits kept") << QStringList{"1:123", "1:4", ":", ":", ":"} << "12304";
        QTest::newRow("nothing filled") << QStringList{":1", ":", ":", ":", ":"} << "";
    }
    void ss() {
        QFETCH(QStringList, sloty);
        QFETCH(QString, ss);
        TPlatba p;
        TPolozkaPlatby* s[] = {&p.clenstvi, &p.brigady, &p.povolenky[0], &p.povolenky[1],
                               &p.povolenky[2]};
        for (int i = 0; i < 5; ++i) {
            s[i]->cena = sloty.at(i).section(QLatin1Char(':'), 0, 0);
            s[i]->e_index = sloty.at(i).section(QLatin1Char(':'), 1, 1);
        }
        QCOMPARE(p.ss(), ss);
    }

    // What makes a payment refused, in the order the dialog checks it.
    void duvodOdmitnuti_data() {
        QTest::addColumn<bool>("clen");
        QTest::addColumn<QString>("ecislo");
        QTest::addColumn<QString>("celkem");
        QTest::addColumn<QString>("poplatek");
        QTest::addColumn<QString>("eIndex");  // of the membership, the only filled slot
        QTest::addColumn<QString>("duvod");
        const QString spatneCislo = QStringLiteral(
            "“ nemůže být variabilním symbolem platby (banka přijme jen 1 až 10 číslic), platbu "
            "nelze uložit. Zadejte prosím uživatele se správným evidenčním číslem.");
        QTest::newRow("fine") << true << "123"
                              << "1250"
                              << "50"
                              << "1"
                              << "";
        QTest::newRow("no member, checked first") << false << "300417 "
                                                  << "50"
                                                  << "50"
                                                  << "123456789012"
                                                  << "Musí být vybrán uživatel !";
        QTest::newRow("evidence number with a blank")
            << true << "300417 "
            << "1250"
            << "50"
            << "1" << QStringLiteral("Evidenční číslo „300417 ") + spatneCislo;
        QTest::newRow("evidence number with letters, before the items")
            << true << "A12"
            << "50"
            << "50"
            << "1" << QStringLiteral("Evidenční číslo „A12") + spatneCislo;
        QTest::newRow("evidence number of eleven digits")
            << true << "12345678901"
            << "1250"
            << "50"
            << "1" << QStringLiteral("Evidenční číslo „12345678901") + spatneCislo;
        QTest::newRow("evidence number of ten digits") << true << "1234567890"
                                                       << "1250"
                                                       << "50"
                                                       << "1"
                                                       << "";
        QTest::newRow("only the fee") << true << "123"
                                      << "50"
                                      << "50"
                                      << "1"
                                      << "Musí být zadána alespoň jedna položka platby !";
        QTest::newRow("hellers above the fee") << true << "123"
                                               << "50,5"
                                               << "50"
                                               << "1"
                                               << "";
        QTest::newRow("no fee, nothing chosen") << true << "123"
                                                << "0"
                                                << "0"
                                                << "1"
                                                << "Musí být zadána alespoň jedna položka platby !";
        QTest::newRow("ten characters") << true << "123"
                                        << "100"
                                        << "0"
                                        << "1234567890"
                                        << "";
        QTest::newRow("eleven characters")
            << true << "123"
            << "100"
            << "0"
            << "12345678901"
            << "Specifický symbol 12345678901 je delší než 10 znaků, platbu nelze uložit. "
               "Odeberte některou z položek platby a platbu zadejte zvlášť.";
    }
    void duvodOdmitnuti() {
        QFETCH(bool, clen);
        QFETCH(QString, ecislo);
        QFETCH(QString, celkem);
        QFETCH(QString, poplatek);
        QFETCH(QString, eIndex);
        QFETCH(QString, duvod);
        TPlatba p;
        p.uzivatelVybran = clen;
        p.ecislo = ecislo;
        p.clenstvi.cena = QStringLiteral("100");
        p.clenstvi.e_index = eIndex;
        p.celkem = celkem;
        p.manipulacniPoplatek = poplatek;
        QCOMPARE(p.duvodOdmitnuti(), duvod);
    }

    // A linked payment belongs to the table that brought it, in any letter case; an empty row
    // (the dialog's one row when nothing is linked) to none, not even to an empty key.
    void patriK() {
        const TNavazanaPlatba n{QStringLiteral("x"), QStringLiteral("1"), QStringLiteral("1"),
                                QStringLiteral("2"), QStringLiteral("C_povolKO")};
        QVERIFY(n.patriK(QStringLiteral("c_povolko")));
        QVERIFY(!n.patriK(QStringLiteral("C_povolPO")));
        QVERIFY(!n.patriK(QString()));
        const TNavazanaPlatba prazdna{};
        QVERIFY(prazdna.prazdna());
        QVERIFY(!prazdna.patriK(QString()));
    }

    // The code lists' links of an entry in the evidence year, whatever the key's letter case.
    void navazanePlatby() {
        const QVector<TNavazanaPlatba> clenstvi =
            NactiNavazanePlatby(r->relace, QStringLiteral("1"), QStringLiteral("c_clenske_prisp"));
        QCOMPARE(clenstvi.size(), 1);
        QCOMPARE(clenstvi[0].nazev, QStringLiteral("Příspěvek na ostrahu revírů"));
        QCOMPARE(clenstvi[0].castka, QStringLiteral("150"));
        QCOMPARE(clenstvi[0].idJp, QStringLiteral("4"));
        QCOMPARE(clenstvi[0].typPovolenky, QStringLiteral("C_clenske_prisp"));
        const QVector<TNavazanaPlatba> povolenka =
            NactiNavazanePlatby(r->relace, QStringLiteral("1"), QStringLiteral("C_povolKKnaTVZ"));
        QCOMPARE(povolenka.size(), 2);
        QCOMPARE(povolenka[1].castka, QStringLiteral("20"));
        r->relace.rok = QStringLiteral("2025");
        QVERIFY(
            NactiNavazanePlatby(r->relace, QStringLiteral("1"), QStringLiteral("C_povolKKnaTVZ"))
                .isEmpty());
        QCOMPARE(r->hlaseni.poradi(), QStringList());
    }

    // A lookup that fails is reported as the query helper reports it and finds nothing.
    void navazanePlatbySelzou() {
        r->proved(QStringLiteral("drop table C_jinePlatby"));
        QVERIFY(
            NactiNavazanePlatby(r->relace, QStringLiteral("1"), QStringLiteral("x'y")).isEmpty());
        QCOMPARE(
            r->hlaseni.poradi(),
            (QStringList{"log: select v.*, j.nazev, j.castka from C_povol_v_jp v, C_jinePlatby j "
                         "where v.id_p = 1 and v.typ_povolenky = 'x''y' collate nocase and v.rok = "
                         "2027 and v.aktivita = 100 and j.id = v.id_jp and j.rok = 2027",
                         "0: Došlo k chybě! (kontaktuje prosím správce)\r{no such table: "
                         "C_jinePlatby}"}));
    }

    // ------------------------------------------------------------ saving

    // Every slot, the linked payments and the fee, numbered on from what is stored, each value
    // as it was composed.
    void ulozeni() {
        r->proved(QStringLiteral(
            "insert into HistoriePlatebHead (cislo_platby, dat_zmena, rok, ucet, vs, ks, ss, "
            "castka, id_usr) values (6, now(), 2026, 'u', '1', '0626', '01', 10, 1)"));
        r->proved(
            QStringLiteral("insert into HistoriePlateb (id_platby, rok, typ_platby, id, "
                           "nazev, castka, cislo_platby) values (40, 2026, 4, 0, 'x', 10, 6)"));
        const TPlatba p = plnaPlatba();
        QCOMPARE(p.celkem, QStringLiteral("4174,75"));
        const std::optional<TUlozenaPlatba> u = UlozPlatbu(r->relace, p);
        QVERIFY(u);
        QCOMPARE(u->cisloPlatby, QStringLiteral("7"));
        QCOMPARE(u->ucet, QStringLiteral("190-2718281824/0800"));
        QCOMPARE(r->hlaseni.poradi(), QStringList());
        QVERIFY(!r->relace.spojeni.inTransaction());
        QCOMPARE(r->radky(QStringLiteral("select cislo_platby, dat_zmena, rok, ucet, vs, ks, ss, "
                                         "castka, id_usr, typeof(castka) from HistoriePlatebHead "
                                         "where cislo_platby = 7")),
                 QStringList{"7|01.03.2027 10:00:00|2027|190-2718281824/0800|123|0727|01000712|"
                             "4174,75|1|real"});
        const QString kdy = QStringLiteral("01.03.2027 10:00:00");
        QCOMPARE(
            r->radky(kPolozky).mid(1),
            (QStringList{
                "41|2027|1|1|null|Členský příspěvek – dospělí|1200|7|1|1|null|null|" + kdy,
                "42|2027|2|2|null|Brigáda 'U Jezu'|312,25|7|null|null|null|null|" + kdy,
                "43|2027|3|1|1|Kaprová krajská – dospělí|1900|7|7|null|MRK-D|dospělí|" + kdy,
                "44|2027|3|1|13|Krátkodobá kaprová – 1 den|250|7|12|null|KO-1||" + kdy,
                "45|2027|4|1|null|Příspěvek na ostrahu revírů|150|7|null|null|null|null|" + kdy,
                "46|2027|4|1|null|Příspěvek na zarybnění|312,5|7|null|null|null|null|" + kdy,
                "47|2027|4|0|null|Manipulační poplatek|50|7|null|null|null|null|" + kdy}));
    }

    // A year without a handling fee gets no fee item; a single linked row without an amount
    // stands for none.
    void bezPoplatkuANavazanych() {
        r->proved(QStringLiteral("delete from ManipulacniPopl"));
        TPlatba p = plnaPlatba();
        p.navazane = {TNavazanaPlatba{}};
        p.manipulacniPoplatek = QStringLiteral("0");
        p.celkem = p.soucet();
        QVERIFY(UlozPlatbu(r->relace, p));
        QCOMPARE(
            r->jedna(QStringLiteral("select count(*) from HistoriePlateb where typ_platby = 4")),
            QStringLiteral("0"));
        QCOMPARE(r->jedna(QStringLiteral("select castka from HistoriePlatebHead")),
                 QStringLiteral("3662,25"));
    }

    // A statement that fails in the middle: nothing stays, the statement (its values written in
    // as the program always logged them) and the reason go to the log, then the message.
    void selhaniUprostred() {
        TPlatba p = plnaPlatba();
        p.povolenky[0].idPov = 99;  // no such permit type: the item's foreign key fails
        QVERIFY(!UlozPlatbu(r->relace, p));
        QCOMPARE(r->jedna(QStringLiteral("select count(*) from HistoriePlatebHead")),
                 QStringLiteral("0"));
        QCOMPARE(r->jedna(QStringLiteral("select count(*) from HistoriePlateb")),
                 QStringLiteral("0"));
        QVERIFY(!r->relace.spojeni.inTransaction());
        QCOMPARE(r->hlaseni.poradi(),
                 (QStringList{
                     "log: insert into HistoriePlateb (id_platby, rok, typ_platby, id, id_pov, "
                     "nazev, castka, cislo_platby, e_index, kod_veku, kodOznaceni, kategorie, "
                     "dat_zmena) values (3, 2027, 3, 1, 99, 'Kaprová krajská – dospělí', 1900, 1, "
                     "7, null, 'MRK-D', 'dospělí', now())",
                     "log: FOREIGN KEY constraint failed",
                     "2: Došlo k neočekávané výjimce. [FOREIGN KEY constraint failed]"}));
        // The context goes on: the same payment, mended, is saved as number 1.
        r->hlaseni.vymaz();
        QCOMPARE(UlozPlatbu(r->relace, plnaPlatba())->cisloPlatby, QStringLiteral("1"));
    }

    // A price that is no number stops the save before its statement runs.
    void cenaNeniCislo() {
        TPlatba p = plnaPlatba();
        p.brigady.cena = QStringLiteral("tisíc");
        QVERIFY(!UlozPlatbu(r->relace, p));
        QCOMPARE(r->jedna(QStringLiteral("select count(*) from HistoriePlatebHead")),
                 QStringLiteral("0"));
        QCOMPARE(r->hlaseni.poradi(),
                 (QStringList{"log: Hodnota \"tisíc\" není číslo.",
                              "2: Došlo k neočekávané výjimce. [Hodnota \"tisíc\" není číslo.]"}));
    }
};

int main(int argc, char** argv) {
    QCoreApplication aplikace(argc, argv);
    TestPlatba t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_platba.moc"
