// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>
#include <functional>

#include "Databaze.h"
#include "Hodiny.h"
#include "Pomocnik.h"
#include "Schema.h"
#include "SqlHodnoty.h"

namespace {
// A fresh database file in the working folder, opened exclusively.
void otevriNovou(db::Connection& c, const QString& soubor = QStringLiteral("data.mdb")) {
    QFile::remove(soubor);
    QVERIFY(QFile::copy(QStringLiteral(":/EXEFILE/dataDB"), soubor));
    QFile(soubor).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    c.open(soubor, db::Connection::Rezim::Vyhradni);
}

QString jedna(db::Connection& c, const QString& sql) {
    db::Query q(&c);
    q.setSql(sql);
    q.open();
    return q.field(0).asString();
}
}  // namespace

class TestDatabaze : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(parmex);
        Pomocnik::pripravProstredi();
    }

    void sqlText_data() {
        QTest::addColumn<QString>("hodnota");
        QTest::addColumn<QString>("literal");
        QTest::newRow("plain") << "Novák"
                               << "'Novák'";
        QTest::newRow("apostrophe") << "O'Brien"
                                    << "'O''Brien'";
        QTest::newRow("injection") << "x'); delete from Uzivatele; --"
                                   << "'x''); delete from Uzivatele; --'";
        QTest::newRow("empty") << ""
                               << "''";
    }
    void sqlText() {
        QFETCH(QString, hodnota);
        QFETCH(QString, literal);
        QCOMPARE(Sql::text(hodnota), literal);
    }

    // Whatever a text holds, it is stored and read back as typed and the statement does nothing
    // else.
    void textyProjdouBezeZmeny() {
        Pomocnik::PracovniSlozka s;
        db::Connection c;
        otevriNovou(c);
        c.execute(QStringLiteral("create table Uzivatele (id numeric(5), jmeno varchar(35))"));
        const QStringList jmena = {QStringLiteral("O'Brien"),
                                   QStringLiteral("x'); delete from Uzivatele; --"),
                                   QStringLiteral("''"), QStringLiteral("Šťastný \"Ž\"")};
        for (int i = 0; i < jmena.size(); ++i)
            c.execute(QStringLiteral("insert into Uzivatele (id, jmeno) values (") +
                      Sql::number(qint64(i)) + QStringLiteral(", ") + Sql::text(jmena[i]) +
                      QStringLiteral(")"));
        db::Query q(&c);
        q.setSql(QStringLiteral("select jmeno from Uzivatele order by id"));
        q.open();
        QStringList prectene;
        for (q.first(); !q.eof(); q.next())
            prectene << q.fieldByName(QStringLiteral("jmeno")).asString();
        QCOMPARE(prectene, jmena);
    }

    void sqlNumber_data() {
        QTest::addColumn<QString>("jazyk");
        QTest::addColumn<QString>("hodnota");
        QTest::addColumn<QString>("literal");
        QTest::newRow("cs comma") << "cs_CZ"
                                  << "312,50"
                                  << "312.5";
        QTest::newRow("cs point") << "cs_CZ"
                                  << "312.50"
                                  << "312.5";
        QTest::newRow("cs whole") << "cs_CZ"
                                  << "370"
                                  << "370";
        QTest::newRow("cs negative") << "cs_CZ"
                                     << "-7"
                                     << "-7";
        QTest::newRow("cs blanks") << "cs_CZ"
                                   << " 12 "
                                   << "12";
        QTest::newRow("cs empty") << "cs_CZ"
                                  << ""
                                  << "null";
        QTest::newRow("en point") << "en_US"
                                  << "312.55"
                                  << "312.55";
        QTest::newRow("en whole") << "en_US"
                                  << "5"
                                  << "5";
        QTest::newRow("large id") << "cs_CZ"
                                  << "123456789012"
                                  << "123456789012";
    }
    void sqlNumber() {
        QFETCH(QString, jazyk);
        QFETCH(QString, hodnota);
        QFETCH(QString, literal);
        QLocale::setDefault(QLocale(jazyk));
        const QString vysledek = Sql::number(hodnota);
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        QCOMPARE(vysledek, literal);
    }

    void sqlNumberOdmitneNecislo_data() {
        QTest::addColumn<QString>("hodnota");
        QTest::newRow("letters") << "abc";
        QTest::newRow("statement") << "1; drop table x";
        QTest::newRow("two separators") << "1,2,3";
    }
    void sqlNumberOdmitneNecislo() {
        QFETCH(QString, hodnota);
        QVERIFY_THROWS_EXCEPTION(Chyba, Sql::number(hodnota));
    }

    void sqlDatum() {
        QCOMPARE(Sql::date(QDate(2016, 3, 5)), QStringLiteral("'2016-03-05'"));
        QCOMPARE(Sql::date(QDate()), QStringLiteral("null"));
        QCOMPARE(Sql::dateTime(QDateTime(QDate(2016, 3, 5), QTime(9, 7, 3))),
                 QStringLiteral("'2016-03-05 09:07:03'"));
    }

    // Amounts come back exactly and are shown with the user's separator.
    void castkyAZobrazeni_data() {
        QTest::addColumn<QString>("jazyk");
        QTest::addColumn<QString>("vstup");
        QTest::addColumn<QString>("zobrazeno");
        QTest::addColumn<double>("hodnota");
        QTest::newRow("cs fraction") << "cs_CZ"
                                     << "312,50"
                                     << "312,5" << 312.5;
        QTest::newRow("cs whole") << "cs_CZ"
                                  << "370"
                                  << "370" << 370.0;
        QTest::newRow("cs cents") << "cs_CZ"
                                  << "0,1"
                                  << "0,1" << 0.1;
        QTest::newRow("en fraction") << "en_US"
                                     << "312.55"
                                     << "312.55" << 312.55;
    }
    void castkyAZobrazeni() {
        QFETCH(QString, jazyk);
        QFETCH(QString, vstup);
        QFETCH(QString, zobrazeno);
        QFETCH(double, hodnota);
        Pomocnik::PracovniSlozka s;
        QLocale::setDefault(QLocale(jazyk));
        db::Connection c;
        otevriNovou(c);
        c.execute(
            QStringLiteral("create table ManipulacniPopl (nazev varchar(30) not null, castka "
                           "numeric(12,2) not null, rok numeric(4) not null)"));
        c.execute(QStringLiteral("insert into ManipulacniPopl (nazev, castka, rok) values ('x', ") +
                  Sql::number(vstup) + QStringLiteral(", 2027)"));
        db::Query q(&c);
        q.setSql(QStringLiteral("select castka from ManipulacniPopl"));
        q.open();
        const QString text = q.fieldByName(QStringLiteral("castka")).asString();
        const double cislo = q.fieldByName(QStringLiteral("castka")).asFloat();
        QCOMPARE(q.fieldByName(QStringLiteral("castka")).dataType(), db::TypPole::Desetinne);
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        QCOMPARE(text, zobrazeno);
        QCOMPARE(cislo, hodnota);
    }

    void datumyPodleUzivatele() {
        Pomocnik::PracovniSlozka s;
        db::Connection c;
        otevriNovou(c);
        c.execute(QStringLiteral("create table t (i numeric, d datetime)"));
        c.execute(QStringLiteral("insert into t values (1, '2016-03-05 00:00:00')"));
        c.execute(QStringLiteral("insert into t values (2, '2016-03-05 09:07:03')"));
        c.execute(QStringLiteral("insert into t values (3, null)"));
        db::Query q(&c);
        q.setSql(QStringLiteral("select d from t order by i"));
        q.open();
        QCOMPARE(q.field(0).asString(), QStringLiteral("05.03.2016"));
        q.next();
        QCOMPARE(q.field(0).asString(), QStringLiteral("05.03.2016 9:07:03"));
        QCOMPARE(q.field(0).asDateTime(), QDateTime(QDate(2016, 3, 5), QTime(9, 7, 3)));
        q.next();
        QVERIFY(q.field(0).isNull());
        QCOMPARE(q.field(0).asString(), QString());
    }

    // now() and date() are the program's clock in local time; date(x) keeps its own meaning.
    void nowADateZHodin() {
        Pomocnik::PracovniSlozka s;
        Hodiny::nastav(QDateTime(QDate(2026, 11, 30), QTime(23, 59, 58)));
        db::Connection c;
        otevriNovou(c);
        QCOMPARE(jedna(c, QStringLiteral("select now()")), QStringLiteral("2026-11-30 23:59:58"));
        QCOMPARE(jedna(c, QStringLiteral("select date()")), QStringLiteral("2026-11-30"));
        QCOMPARE(jedna(c, QStringLiteral("select date('2016-03-05', '+1 day')")),
                 QStringLiteral("2016-03-06"));
    }

    // Another process can neither open nor read the file while a connection holds it, and the
    // holder goes on working without losing anything.
    void vyhradniPristup() {
        Pomocnik::PracovniSlozka s;
        db::Connection c;
        otevriNovou(c);
        c.execute(QStringLiteral("create table t (a numeric)"));
        c.execute(QStringLiteral("insert into t values (1)"));
        QProcess druhy;
        druhy.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--druhy-proces"), s.cesta(QStringLiteral("data.mdb"))});
        QVERIFY(druhy.waitForFinished(20000));
        QCOMPARE(druhy.exitCode(), 22);
        c.execute(QStringLiteral("insert into t values (2)"));
        QCOMPARE(jedna(c, QStringLiteral("select count(*) from t")), QStringLiteral("2"));
    }

    // A file that is not a database fails at open and is never changed.
    void neniDatabaze() {
        Pomocnik::PracovniSlozka s;
        const QByteArray obsah = QByteArray("Standard Jet DB").repeated(300);
        QFile f(QStringLiteral("data.mdb"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(obsah);
        f.close();
        db::Connection c;
        try {
            c.open(QStringLiteral("data.mdb"), db::Connection::Rezim::Vyhradni);
            QFAIL("opened a file that is not a database");
        } catch (const Chyba& e) {
            QCOMPARE(e.zprava(), QStringLiteral("file is not a database"));
        }
        QVERIFY(!c.isOpen());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), obsah);
    }

    // The schema's foreign keys are real constraints after the table rebuild.
    void ciziKlice() {
        Pomocnik::PracovniSlozka s;
        db::Connection c;
        otevriNovou(c);
        for (int krok = 1; krok <= 3; ++krok)
            for (const QString& p : PrikazyUpravy(krok)) c.execute(p);
        c.execute(
            QStringLiteral("insert into C_povolenky_txt (id_pov, nazev, tabulka) values (1, "
                           "'Kaprová', 'C_povolKKnaTVZ')"));
        c.execute(
            QStringLiteral("insert into C_povolenky_txt (id_pov, nazev, tabulka) values (2, "
                           "'Pstruhová', 'C_povolPO')"));
        c.execute(QStringLiteral(
            "insert into HistoriePlatebHead (cislo_platby, dat_zmena, rok, ucet, vs, ks, ss, "
            "castka, id_usr) values (1, now(), 2027, 'u', '1', '0127', '05', 370, 1)"));
        c.execute(
            QStringLiteral("insert into HistoriePlateb (id_platby, rok, typ_platby, id, id_pov, "
                           "nazev, castka, cislo_platby) values (1, 2027, 3, 4, 1, 'p', 370, 1)"));
        c.execute(QStringLiteral(
            "insert into HistoriePlateb (id_platby, rok, typ_platby, id, id_pov, nazev, castka, "
            "cislo_platby) values (2, 2027, 4, 0, null, 'm', 20, 1)"));
        QVERIFY_THROWS_EXCEPTION(
            Chyba, c.execute(QStringLiteral("delete from C_povolenky_txt where id_pov = 1")));
        c.execute(QStringLiteral("delete from C_povolenky_txt where id_pov = 2"));
        QVERIFY_THROWS_EXCEPTION(
            Chyba,
            c.execute(QStringLiteral("insert into HistoriePlateb (id_platby, rok, typ_platby, id, "
                                     "cislo_platby) values (3, 2027, 9, 0, 1)")));
        QVERIFY_THROWS_EXCEPTION(
            Chyba,
            c.execute(QStringLiteral("insert into HistoriePlateb (id_platby, rok, typ_platby, id, "
                                     "cislo_platby) values (3, 2027, 4, 0, 77)")));
        QCOMPARE(jedna(c, QStringLiteral("select count(*) from HistoriePlateb")),
                 QStringLiteral("2"));
    }

    // Adding a key to a table whose rows already break it fails and leaves the table as it was.
    void klicNadPorusenymiRadky() {
        Pomocnik::PracovniSlozka s;
        db::Connection c;
        otevriNovou(c);
        c.execute(QStringLiteral("create table Rodic (id numeric, primary key (id))"));
        c.execute(QStringLiteral("create table Dite (id numeric, rodic numeric)"));
        c.execute(QStringLiteral("insert into Dite values (1, 5)"));
        QVERIFY_THROWS_EXCEPTION(
            Chyba,
            c.execute(QStringLiteral(
                "alter table Dite ADD constraint f_r foreign key (rodic) references Rodic (id)")));
        QVERIFY(!jedna(c, QStringLiteral("select sql from sqlite_master where name = 'Dite'"))
                     .contains(QLatin1String("f_r")));
        QCOMPARE(jedna(c, QStringLiteral("select count(*) from Dite")), QStringLiteral("1"));
        QVERIFY_THROWS_EXCEPTION(
            Chyba, c.execute(QStringLiteral(
                       "alter table Neni ADD constraint f foreign key (a) references Rodic (id)")));
    }

    void jedenPrikazNaText() {
        Pomocnik::PracovniSlozka s;
        db::Connection c;
        otevriNovou(c);
        c.execute(QStringLiteral("create table t (a numeric);"));
        QVERIFY_THROWS_EXCEPTION(
            Chyba, c.execute(QStringLiteral("insert into t values (1); drop table t")));
        QCOMPARE(jedna(c, QStringLiteral("select count(*) from t")), QStringLiteral("0"));
    }

    void transakce() {
        Pomocnik::PracovniSlozka s;
        db::Connection c;
        otevriNovou(c);
        c.execute(QStringLiteral("create table t (a numeric)"));
        c.beginTransaction();
        QVERIFY(c.inTransaction());
        c.execute(QStringLiteral("insert into t values (1)"));
        c.rollback();
        QVERIFY(!c.inTransaction());
        c.rollback();  // nothing open: nothing happens
        c.beginTransaction();
        c.execute(QStringLiteral("insert into t values (2)"));
        c.commit();
        QCOMPARE(jedna(c, QStringLiteral("select sum(a) from t")), QStringLiteral("2"));
    }

    // A statement that runs on and on is interrupted at the connection's limit, whether it
    // yields rows or not; the connection stays usable, and reopening it lifts the limit.
    void limitPrikazu() {
        Pomocnik::PracovniSlozka s;
        db::Connection c;
        otevriNovou(c);
        c.nastavLimitPrikazu(200);
        const QString bezKonce = QStringLiteral(
            "with recursive r(n) as (select 1 union all select n + 1 from r where n < 1e12) "
            "select count(*) from r");
        db::Query q(&c);
        q.setSql(bezKonce);
        for (const std::function<void()>& spust :
             {std::function<void()>([&] { q.open(); }), std::function<void()>([&] {
                  c.execute(QStringLiteral("create table t as ") + bezKonce);
              })}) {
            try {
                spust();
                QFAIL("the statement was not interrupted");
            } catch (const Chyba& e) {
                QCOMPARE(e.zprava(),
                         QStringLiteral("Příkaz SQL nebyl dokončen do 1 s, byl přerušen."));
            }
        }
        QCOMPARE(jedna(c, QStringLiteral("select count(*) from sqlite_master where name = 't'")),
                 QStringLiteral("0"));
        // A statement within the limit runs as usual.
        QCOMPARE(jedna(c, QStringLiteral("with recursive r(n) as (select 1 union all select n + 1 "
                                         "from r where n < 1000) select count(*) from r")),
                 QStringLiteral("1000"));
        c.close();
        QCOMPARE(c.limitPrikazu(), 0);
    }
};

// The query object: navigation, fields, sort, filter, locate.
class TestDotaz : public QObject {
    Q_OBJECT
    db::Connection c;
    Pomocnik::PracovniSlozka* s = nullptr;

private slots:
    void initTestCase() {
        Pomocnik::pripravProstredi();
        s = new Pomocnik::PracovniSlozka;
        otevriNovou(c);
        c.execute(
            QStringLiteral("create table Uzivatele (id numeric(5), jmeno varchar(35), prijmeni "
                           "varchar(35), dat_nar datetime)"));
        const char* radky[] = {"(1, 'Jan', 'Novák', '1980-01-02')", "(2, 'Petr', 'Dvořák', null)",
                               "(3, 'jana', 'Nováková', '1990-05-06')",
                               "(4, 'Čeněk', 'Černý', '1970-07-08')",
                               "(5, 'Adam', 'Novák', '2001-01-01')"};
        for (const char* r : radky)
            c.execute(QStringLiteral("insert into Uzivatele values ") + QString::fromUtf8(r));
    }
    void cleanupTestCase() {
        c.close();
        delete s;
    }

    void navigace() {
        db::Query q(&c);
        q.setSql(QStringLiteral("select * from Uzivatele order by id"));
        QCOMPARE(q.recNo(), 0);
        QVERIFY_THROWS_EXCEPTION(Chyba, q.fieldByName(QStringLiteral("id")));
        q.open();
        QCOMPARE(q.recordCount(), 5);
        QCOMPARE(q.recNo(), 1);
        QVERIFY(!q.eof());
        int prosle = 0;
        for (q.first(); !q.eof(); q.next()) ++prosle;
        QCOMPARE(prosle, 5);
        QCOMPARE(q.recNo(), 5);
        q.setRecNo(3);
        QCOMPARE(q.fieldByName(QStringLiteral("ID")).asInteger(), 3);
        q.setRecNo(99);  // out of range: stays
        QCOMPARE(q.recNo(), 3);
        q.last();
        QCOMPARE(q.fieldByName(QStringLiteral("id")).asInteger(), 5);
        q.prior();
        QCOMPARE(q.recNo(), 4);
        QVERIFY_THROWS_EXCEPTION(Chyba, q.fieldByName(QStringLiteral("neni")));
        q.close();
        QVERIFY(!q.isOpen());
        QCOMPARE(q.recordCount(), 0);
    }

    void prazdnyVysledek() {
        db::Query q(&c);
        q.setSql(QStringLiteral("select max(id) as id from Uzivatele where id > 100"));
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QVERIFY(q.fieldByName(QStringLiteral("id")).isNull());
        QCOMPARE(q.fieldByName(QStringLiteral("id")).asInteger(), 0);
        q.setSql(QStringLiteral("select * from Uzivatele where id > 100"));
        q.open();
        QCOMPARE(q.recordCount(), 0);
        QVERIFY(q.eof());
        QCOMPARE(q.fieldByName(QStringLiteral("jmeno")).asString(), QString());
    }

    void trideni_data() {
        QTest::addColumn<QString>("vyraz");
        QTest::addColumn<QList<int>>("poradi");
        QTest::newRow("surname") << "prijmeni" << QList<int>{4, 2, 1, 5, 3};
        QTest::newRow("surname, name DESC") << "prijmeni, jmeno DESC" << QList<int>{4, 2, 1, 5, 3};
        QTest::newRow("name, case-insensitive") << "jmeno" << QList<int>{5, 4, 1, 3, 2};
        QTest::newRow("id DESC") << "id DESC" << QList<int>{5, 4, 3, 2, 1};
        QTest::newRow("date, null first") << "dat_nar" << QList<int>{2, 4, 1, 3, 5};
    }
    void trideni() {
        QFETCH(QString, vyraz);
        QFETCH(QList<int>, poradi);
        db::Query q(&c);
        q.setSql(QStringLiteral("select * from Uzivatele"));
        q.open();
        q.setSort(vyraz);
        QList<int> ids;
        for (q.first(); !q.eof(); q.next())
            ids << int(q.fieldByName(QStringLiteral("id")).asInteger());
        QCOMPARE(ids, poradi);
        QCOMPARE(q.sort(), vyraz);
    }

    void trideniChyby() {
        db::Query q(&c);
        q.setSql(QStringLiteral("select * from Uzivatele"));
        QVERIFY_THROWS_EXCEPTION(Chyba, q.setSort(QStringLiteral("id")));  // closed
        q.open();
        QVERIFY_THROWS_EXCEPTION(Chyba, q.setSort(QStringLiteral("neni")));
        QVERIFY_THROWS_EXCEPTION(Chyba, q.setSort(QStringLiteral("id sideways")));
    }

    // Sort and filter survive a requery; a close and open drops the sort but keeps the filter.
    void requeryAZnovuOtevreni() {
        db::Query q(&c);
        q.setSql(QStringLiteral("select * from Uzivatele"));
        q.open();
        q.setSort(QStringLiteral("id DESC"));
        q.setFilterPredicate([](const db::Query& d, int r) {
            return d.storedText(r, d.fieldIndex(QStringLiteral("prijmeni")))
                .startsWith(QLatin1String("Nov"));
        });
        q.setFiltered(true);
        QCOMPARE(q.recordCount(), 3);
        QCOMPARE(q.fieldByName(QStringLiteral("id")).asInteger(), 5);
        q.requery();
        QCOMPARE(q.recordCount(), 3);
        QCOMPARE(q.fieldByName(QStringLiteral("id")).asInteger(), 5);
        q.close();
        q.open();
        QCOMPARE(q.sort(), QString());
        QCOMPARE(q.recordCount(), 3);
        QCOMPARE(q.fieldByName(QStringLiteral("id")).asInteger(), 1);
        q.setFiltered(false);
        QCOMPARE(q.recordCount(), 5);
    }

    void locate_data() {
        QTest::addColumn<QStringList>("pole");
        QTest::addColumn<QVariantList>("hodnoty");
        QTest::addColumn<int>("id");
        QTest::newRow("text, other case") << QStringList{"jmeno"} << QVariantList{"JANA"} << 3;
        QTest::newRow("leading part") << QStringList{"prijmeni"} << QVariantList{"nováková"} << 3;
        QTest::newRow("leading part of two") << QStringList{"prijmeni"} << QVariantList{"Nov"} << 1;
        QTest::newRow("number") << QStringList{"id"} << QVariantList{4.0} << 4;
        QTest::newRow("two keys") << QStringList{"prijmeni", "jmeno"}
                                  << QVariantList{"Novák", "Adam"} << 5;
        QTest::newRow("missing") << QStringList{"jmeno"} << QVariantList{"Zdeněk"} << 0;
    }
    void locate() {
        QFETCH(QStringList, pole);
        QFETCH(QVariantList, hodnoty);
        QFETCH(int, id);
        db::Query q(&c);
        q.setSql(QStringLiteral("select * from Uzivatele order by id"));
        q.open();
        q.setRecNo(2);
        const bool nalezeno = q.locate(pole, hodnoty);
        QCOMPARE(nalezeno, id != 0);
        QCOMPARE(q.fieldByName(QStringLiteral("id")).asInteger(), id != 0 ? id : 2);
    }
};

// The second process of vyhradniPristup: tries to open the file exclusively, then read only.
// Exit code: tens for the exclusive open (10 opened, 20 refused as locked, 30 other error),
// units for the read-only open (1 opened, 2 refused).
int druhyProces(const QString& soubor) {
    int kod = 0;
    try {
        db::Connection druha;
        druha.open(soubor, db::Connection::Rezim::Vyhradni);
        kod = 10;
    } catch (const Chyba& e) {
        kod = e.zprava().contains(QStringLiteral("jiným programem")) ? 20 : 30;
    }
    try {
        db::Connection cteni;
        cteni.open(soubor, db::Connection::Rezim::JenCteni);
        kod += 1;
    } catch (const Chyba&) {
        kod += 2;
    }
    return kod;
}

int main(int argc, char** argv) {
    if (argc == 3 && QByteArray(argv[1]) == "--druhy-proces")
        return druhyProces(QString::fromLocal8Bit(argv[2]));
    QApplication app(argc, argv);
    int vysledek = 0;
    {
        TestDatabaze t;
        vysledek |= QTest::qExec(&t, argc, argv);
    }
    {
        TestDotaz t;
        vysledek |= QTest::qExec(&t, argc, argv);
    }
    return vysledek;
}

#include "tst_databaze.moc"
