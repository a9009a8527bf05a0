// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>
#include <functional>
#include <memory>

#include "Databaze.h"
#include "Hodiny.h"
#include "Pomocnik.h"
#include "PrevzetiDat.h"
#include "Schema.h"
#include "Zdroje.h"
#include "Zpravy.h"
#include "fMain.h"
#include "uAllYouNeed.h"

// Taking over the register of the earlier program, and a Jet code-list file on the import's
// path. No Jet file with our tables can be made here, so the old register is a database of our
// own format read through the same reading layer; the real Jet files show the start-up path.
namespace {

const QString kData = QStringLiteral("data.mdb");
const QString kZaloha = QStringLiteral("data.mdb.jet");
const QString kSelhani = QStringLiteral(
    "Převzetí dat předchozího programu se nezdařilo, původní soubor data.mdb "
    "zůstal beze změny. (");

const QStringList kZnameTabulky = {
    QStringLiteral("Uzivatele"),        QStringLiteral("ManipulacniPopl"),
    QStringLiteral("ClenskePrispevky"), QStringLiteral("Brigady"),
    QStringLiteral("C_povolKKnaTVZ"),   QStringLiteral("C_povolPO"),
    QStringLiteral("RokEvidence"),      QStringLiteral("Nastaveni"),
    QStringLiteral("C_povolenky_txt"),  QStringLiteral("HistoriePlatebHead"),
    QStringLiteral("HistoriePlateb"),   QStringLiteral("C_povol_v_jp"),
    QStringLiteral("C_jinePlatby"),     QStringLiteral("TypPlatby")};

QString jetSlozka() {
    return QStringLiteral(PARMEX_JET_DATA);
}

QByteArray obsah(const QString& soubor) {
    QFile f(soubor);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The rows of a table of a database file, each value with its type, sorted.
QStringList vypis(const QString& soubor, const QString& tabulka) {
    db::Connection c;
    c.open(soubor, db::Connection::Rezim::JenCteni);
    db::Query q(&c);
    q.setSql(QStringLiteral("select * from ") + tabulka);
    q.open();
    QStringList radky;
    for (int r = 0; r < q.recordCount(); ++r) {
        QStringList h;
        for (int i = 0; i < q.fieldCount(); ++i) {
            const QVariant v = q.value(r, i);
            h << q.fieldName(i) + QLatin1Char('=') +
                     (v.isNull()
                          ? QStringLiteral("NULL")
                          : QString::fromLatin1(v.typeName()) + QLatin1Char(':') + v.toString());
        }
        radky << h.join(QLatin1Char('|'));
    }
    radky.sort();
    return radky;
}

// A database of our own format at the schema version reached after the given upgrade steps,
// with these statements run on it.
void vytvorDatabazi(const QString& soubor, int kroky, const QStringList& prikazy) {
    Zdroje::ulozDoSouboru(QStringLiteral("EXEFILE"), QStringLiteral("dataDB"), soubor);
    db::Connection c;
    c.open(soubor, db::Connection::Rezim::Vyhradni);
    for (int k = 1; k <= kroky; ++k)
        for (const QString& p : PrikazyUpravy(k)) c.execute(p);
    for (const QString& p : prikazy) c.execute(p);
}

// The register of a member who paid for a family over two years.
const QStringList kStaraData = {
    QStringLiteral("insert into Uzivatele values (1, 'Jan', 'Novák', '1234', '1899-12-30 "
                   "00:00:00', 100, '2015-01-05 10:00:00')"),
    QStringLiteral("insert into Uzivatele values (2, 'Petr', null, '1235', null, 900, null)"),
    QStringLiteral("insert into Uzivatele values (3, 'Žofie', 'O''Brien', '1236', '1975-06-01 "
                   "00:00:00', 100, '2016-02-29 23:59:59')"),
    QStringLiteral("insert into ManipulacniPopl values ('Manipulační poplatek', 20, 2016)"),
    QStringLiteral("insert into ClenskePrispevky values (1, 2016, 'Dospělý', 500, 100, 1, 1)"),
    QStringLiteral("insert into ClenskePrispevky values (2, 2016, 'Mládež', 312.5, 100, 2, "
                   "null)"),
    QStringLiteral("insert into Brigady values (1, 2016, 'Brigáda', 600, 100, 1)"),
    QStringLiteral("insert into C_povolKKnaTVZ values (1, 2016, 'Kaprová', 'KK', null, "
                   "1200.5, 100, 3)"),
    QStringLiteral("insert into RokEvidence values (2015, 1)"),
    QStringLiteral("insert into RokEvidence values (2016, 0)"),
    QStringLiteral("insert into Nastaveni values ('123456789/0300', '2016-01-03 00:00:00', 7, "
                   "'Varnov')"),
    QStringLiteral("insert into C_povolenky_txt values (1, 'Kaprová krajská', "
                   "'C_povolKKnaTVZ')"),
    QStringLiteral("insert into HistoriePlatebHead values (1, '2016-01-05 10:11:12', 2016, "
                   "'123456789/0300', '1234', '0558', '1001', 1720.5, 1)"),
    QStringLiteral("insert into HistoriePlateb values (1, 2016, 1, 1, null, 'Dospělý', 500, 1, "
                   "1, 1, null, null, '2016-01-05 10:11:12')"),
    QStringLiteral("insert into HistoriePlateb values (2, 2016, 3, 1, 1, 'Kaprová', 1200.5, 1, "
                   "3, null, 'KK', '', '2016-01-05 10:11:12')"),
    QStringLiteral("insert into HistoriePlateb values (3, 2016, 4, 0, null, 'Manipulační "
                   "poplatek', 20, 1, null, null, null, null, '2016-01-05 10:11:12')"),
    QStringLiteral("insert into C_povol_v_jp values (1, 1, 2016, 'C_povolKKnaTVZ', 900, 4)"),
    QStringLiteral("insert into C_jinePlatby values (1, 'Známka', 50, 100, 2016, 'ne')")};

// A working folder whose main window has made its database; the window's connection is then
// closed so that a test can put an old register in its place.
struct Prostredi {
    Pomocnik::PracovniSlozka slozka;
    std::unique_ptr<TMain> okno;
    Prostredi() {
        Hodiny::nastav(QDateTime(QDate(2027, 1, 15), QTime(10, 30)));
        okno = std::make_unique<TMain>();
        okno->ADOQuery1.close();
        okno->ADOConnection1.close();
        QFile::remove(kData);
        Zpravy::vymazZaznamy();
    }
    QStringList soubory() const {
        QStringList s =
            QDir(slozka.cesta()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        s.sort();
        return s;
    }
};

}  // namespace

using Priprava = std::function<void()>;
Q_DECLARE_METATYPE(Priprava)

class TestJetPrevzeti : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }
    void cleanup() { Pomocnik::pripravProstredi(); }

    // Every known table arrives with every value as it was, under a decimal comma and a
    // decimal point; the old file is kept byte for byte beside the new one.
    void prevzeti_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("Czech") << QLocale(QLocale::Czech, QLocale::Czechia);
        QTest::newRow("decimal point") << QLocale(QLocale::English, QLocale::UnitedStates);
    }
    void prevzeti() {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        Prostredi p;
        vytvorDatabazi(kData, 3, kStaraData);
        const QByteArray puvodni = obsah(kData);

        Zpravy::pridejOdpoved(0);
        QCOMPARE(PrevzetiDat(*p.okno), Prevzeti::Hotovo);

        const auto zpravy = Zpravy::zaznamy();
        QCOMPARE(zpravy.size(), 1);
        QCOMPARE(zpravy[0].typZpravy, 1);
        QCOMPARE(zpravy[0].typTlacitek, 1);
        QVERIFY(!p.okno->ADOConnection1.isOpen());
        QCOMPARE(obsah(kZaloha), puvodni);
        QCOMPARE(p.soubory(), (QStringList{QStringLiteral("ParmexRozu"), kData, kZaloha}));

        for (const QString& t : kZnameTabulky) QCOMPARE(vypis(kData, t), vypis(kZaloha, t));
        // The zero of the date scale, a member without a birth date and an exact amount.
        QVERIFY(vypis(kData, QStringLiteral("Uzivatele"))
                    .value(0)
                    .contains(QStringLiteral("dat_nar=QString:1899-12-30 00:00:00")));
        QVERIFY(vypis(kData, QStringLiteral("ClenskePrispevky"))
                    .value(1)
                    .contains(QStringLiteral("castka=double:312.5")));
        // The new database's own version.
        QCOMPARE(vypis(kData, QStringLiteral("verze")).size(), 1);
        QVERIFY(vypis(kData, QStringLiteral("verze"))
                    .value(0)
                    .startsWith(QStringLiteral("DB=qlonglong:4|")));

        // The program then starts on the new database as on any other.
        p.okno.reset();
        TMain dalsi;
        QVERIFY(!ProgramKonci());
        QVERIFY(dalsi.ADOConnection1.isOpen());
        QCOMPARE(Zpravy::zaznamy().size(), 1);
    }

    // A register from before the years had a state and before the links and other payments.
    void starsiSchema() {
        Prostredi p;
        QStringList prikazy;
        for (const QString& s : kStaraData)
            if (!s.contains(QLatin1String("C_povol_v_jp")) &&
                !s.contains(QLatin1String("C_jinePlatby")) &&
                !s.contains(QLatin1String("RokEvidence")))
                prikazy << s;
        prikazy << QStringLiteral("insert into RokEvidence values (2015)")
                << QStringLiteral("insert into RokEvidence values (2016)");
        vytvorDatabazi(kData, 1, prikazy);
        Zpravy::pridejOdpoved(0);
        QCOMPARE(PrevzetiDat(*p.okno), Prevzeti::Hotovo);
        QCOMPARE(vypis(kData, QStringLiteral("RokEvidence")),
                 (QStringList{QStringLiteral("rok=qlonglong:2015|stav=qlonglong:0"),
                              QStringLiteral("rok=qlonglong:2016|stav=qlonglong:0")}));
        QVERIFY(vypis(kData, QStringLiteral("C_povol_v_jp")).isEmpty());
        QCOMPARE(vypis(kData, QStringLiteral("HistoriePlateb")).size(), 3);
        QVERIFY(vypis(kData, QStringLiteral("verze"))
                    .value(0)
                    .startsWith(QStringLiteral("DB=qlonglong:4|")));
    }

    // A copy that fails leaves the old file under its name and nothing else behind.
    void selhani_data() {
        QTest::addColumn<QStringList>("prikazy");
        QTest::addColumn<QString>("vZprave");
        auto volna = [](const QString& tabulka, const QString& sloupce, const QString& radek) {
            QStringList s = kStaraData;
            s << QStringLiteral("drop table ") + tabulka
              << QStringLiteral("create table %1 (%2)").arg(tabulka, sloupce)
              << QStringLiteral("insert into %1 values (%2)").arg(tabulka, radek);
            return s;
        };
        QTest::newRow("member without a first name")
            << volna(QStringLiteral("Uzivatele"),
                     QStringLiteral("id numeric(5), jmeno varchar(35), prijmeni varchar(35), "
                                    "ecislo varchar(10), dat_nar datetime, aktivita numeric(3), "
                                    "dat_zmen datetime"),
                     QStringLiteral("7, null, 'X', '1', null, 100, null"))
            << "NOT NULL";
        QTest::newRow("a birth date that is no date")
            << (QStringList(kStaraData) << QStringLiteral(
                    "insert into Uzivatele values (8, 'A', 'B', '9', 'loni', 100, null)"))
            << "loni";
        QTest::newRow("a payment item without its payment")
            << volna(QStringLiteral("HistoriePlateb"),
                     QStringLiteral("id_platby numeric, rok numeric(4), typ_platby numeric(2), "
                                    "id numeric(5), id_pov numeric(2), nazev varchar(50), castka "
                                    "numeric(12,2), cislo_platby numeric, e_index numeric(3), "
                                    "kod_veku numeric(1), kodOznaceni varchar(10), kategorie "
                                    "varchar(10), dat_zmena datetime"),
                     QStringLiteral("9, 2016, 1, 1, null, 'X', 1, 99, null, null, null, null, "
                                    "null"))
            << "FOREIGN KEY";
    }
    void selhani() {
        QFETCH(QStringList, prikazy);
        QFETCH(QString, vZprave);
        Prostredi p;
        vytvorDatabazi(kData, 3, prikazy);
        const QByteArray puvodni = obsah(kData);
        Zpravy::pridejOdpoved(0);
        QCOMPARE(PrevzetiDat(*p.okno), Prevzeti::Selhalo);

        QCOMPARE(obsah(kData), puvodni);
        QCOMPARE(p.soubory(),
                 (QStringList{QStringLiteral("Error.log"), QStringLiteral("ParmexRozu"), kData}));
        const auto zpravy = Zpravy::zaznamy();
        QCOMPARE(zpravy.size(), 2);
        QCOMPARE(zpravy[1].typZpravy, 2);
        QVERIFY2(zpravy[1].text.startsWith(kSelhani) && zpravy[1].text.contains(vZprave),
                 qPrintable(zpravy[1].text));
        QVERIFY2(p.slozka.log().contains(vZprave), qPrintable(p.slozka.log()));
        QVERIFY(!p.okno->ADOConnection1.isOpen());
    }

    // The backup name is taken: nothing is renamed, overwritten or created.
    void zalohaExistuje_data() {
        QTest::addColumn<Priprava>("priprava");
        QTest::newRow("a file") << Priprava([] {
            QFile f(kZaloha);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("starší záloha");
        });
        QTest::newRow("a folder") << Priprava([] { QVERIFY(QDir().mkdir(kZaloha)); });
    }
    void zalohaExistuje() {
        QFETCH(Priprava, priprava);
        Prostredi p;
        vytvorDatabazi(kData, 3, kStaraData);
        priprava();
        const QByteArray puvodni = obsah(kData);
        const QByteArray zaloha = obsah(kZaloha);
        Zpravy::pridejOdpoved(0);
        QCOMPARE(PrevzetiDat(*p.okno), Prevzeti::Selhalo);
        QCOMPARE(obsah(kData), puvodni);
        QCOMPARE(obsah(kZaloha), zaloha);
        QCOMPARE(p.soubory(), (QStringList{QStringLiteral("ParmexRozu"), kData, kZaloha}));
        const auto zpravy = Zpravy::zaznamy();
        QCOMPARE(zpravy.size(), 2);
        QCOMPARE(zpravy[1].typZpravy, 2);
        QVERIFY2(zpravy[1].text.contains(QStringLiteral("data.mdb.jet již existuje")),
                 qPrintable(zpravy[1].text));
    }

    // A take-over broken off after the old file got its backup name and before the new
    // database was in place: the next start offers it again from the backup, which it never
    // changes; "Ne" ends the program with nothing changed.
    void nedokoncenePrevzeti_data() {
        QTest::addColumn<QString>("data");  // what stands at data.mdb: nothing or an empty file
        QTest::addColumn<bool>("zbytekNoveho");
        QTest::addColumn<int>("odpoved");
        QTest::newRow("no data.mdb") << QString() << false << 0;
        QTest::newRow("data.mdb of 0 bytes, a half-made new one") << QString("") << true << 0;
        QTest::newRow("Ne") << QString() << true << 1;
    }
    void nedokoncenePrevzeti() {
        QFETCH(QString, data);
        QFETCH(bool, zbytekNoveho);
        QFETCH(int, odpoved);
        Pomocnik::PracovniSlozka slozka;
        vytvorDatabazi(kZaloha, 3, kStaraData);
        const QByteArray puvodni = obsah(kZaloha);
        if (!data.isNull()) {
            QFile f(kData);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        if (zbytekNoveho) {
            QFile f(QStringLiteral("data.mdb.novy"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(obsah(kZaloha).left(8192));
        }
        Zpravy::pridejOdpoved(odpoved);
        {
            TMain okno;
            const auto zpravy = Zpravy::zaznamy();
            QCOMPARE(zpravy.size(), 1);
            QCOMPARE(zpravy[0].typZpravy, 1);
            QCOMPARE(zpravy[0].text,
                     QStringLiteral("Byla nalezena databáze předchozího programu (data.mdb.jet), "
                                    "jejíž převzetí nebylo dokončeno. Chcete převzít její data do "
                                    "nové databáze? Soubor data.mdb.jet zůstane beze změny."));
            QCOMPARE(ProgramKonci(), odpoved != 0);
            QCOMPARE(NavratovyKod(), 0);
            QCOMPARE(okno.ADOConnection1.isOpen(), odpoved == 0);
        }
        QCOMPARE(obsah(kZaloha), puvodni);
        if (odpoved == 0) {
            for (const QString& t : kZnameTabulky) QCOMPARE(vypis(kData, t), vypis(kZaloha, t));
            QVERIFY(!QFileInfo::exists(QStringLiteral("data.mdb.novy")));
        } else {
            QCOMPARE(QFileInfo::exists(kData), !data.isNull());
            QCOMPARE(obsah(kData), QByteArray());
        }
    }

    // The program starts on a real Jet file: it asks once; "Ne" ends it with the file as it
    // was, "Ano" keeps the file as the backup and goes on with a new database.
    void startNaJetSouboru_data() {
        QTest::addColumn<int>("odpoved");
        QTest::newRow("Ne") << 1;
        QTest::newRow("Ano") << 0;
    }
    void startNaJetSouboru() {
        QFETCH(int, odpoved);
        const QString jet = jetSlozka() + QStringLiteral("/DateTestDatabase.mdb");
        if (!QFileInfo::exists(jet)) QSKIP("The real Jet files are not beside the source tree.");
        Pomocnik::PracovniSlozka slozka;
        QVERIFY(QFile::copy(jet, kData));
        const QByteArray puvodni = obsah(kData);

        Zpravy::pridejOdpoved(odpoved);
        TMain okno;
        const auto zpravy = Zpravy::zaznamy();
        QCOMPARE(zpravy.size(), 1);
        QCOMPARE(zpravy[0].typZpravy, 1);
        QCOMPARE(zpravy[0].typTlacitek, 1);
        QVERIFY2(!zpravy[0].text.contains(QStringLiteral("není databáze")),
                 qPrintable(zpravy[0].text));
        if (odpoved == 1) {
            QVERIFY(ProgramKonci());
            QCOMPARE(obsah(kData), puvodni);
            QVERIFY(!QFileInfo::exists(kZaloha));
            QVERIFY(!okno.ADOConnection1.isOpen());
        } else {
            QVERIFY(!ProgramKonci());
            QCOMPARE(obsah(kZaloha), puvodni);
            QVERIFY(okno.ADOConnection1.isOpen());
            QVERIFY(okno.windowTitle().startsWith(TMain::NavrhovyTitulek + QStringLiteral(" [")));
            db::Query q(&okno.ADOConnection1);
            q.setSql(QStringLiteral("select DB from verze"));
            q.open();
            QCOMPARE(q.field(0).asInteger(), 4);
        }
    }

    // A Jet file whose reading crashes the reading process (a copy broken off at a page
    // boundary): the take-over at start and the code-list import each end with their own
    // failure message, and the file stays as it was.
    void poskozenyJetSoubor_data() {
        QTest::addColumn<bool>("prevzeti");
        QTest::newRow("the take-over at start") << true;
        QTest::newRow("the code-list import") << false;
    }
    void poskozenyJetSoubor() {
        QFETCH(bool, prevzeti);
        const QString jet = jetSlozka() + QStringLiteral("/nwind.mdb");
        if (!QFileInfo::exists(jet)) QSKIP("The real Jet files are not beside the source tree.");
        Pomocnik::PracovniSlozka slozka;
        const QByteArray kus = obsah(jet).left(842 * 2048);
        const QString soubor = prevzeti ? kData : QStringLiteral("dataCis.mdb");
        auto zapis = [&] {
            QFile f(soubor);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(kus);
        };
        const QString duvod =
            QStringLiteral(
                "(Soubor %1 nelze přečíst: čtení skončilo chybou, soubor je zřejmě "
                "poškozen.)")
                .arg(soubor);
        if (prevzeti) {
            zapis();
            Zpravy::pridejOdpoved(0);
            TMain okno;
            QVERIFY(ProgramKonci());
            QCOMPARE(NavratovyKod(), 1);
            const auto zpravy = Zpravy::zaznamy();
            QCOMPARE(zpravy.size(), 2);
            QCOMPARE(zpravy[1].text, kSelhani + duvod.mid(1));
            QCOMPARE(slozka.log().count(QStringLiteral("\r\n")), 1);
            QVERIFY(!QFileInfo::exists(kZaloha));
            QVERIFY(!QFileInfo::exists(QStringLiteral("data.mdb.novy")));
        } else {
            TMain okno;
            Zpravy::vymazZaznamy();
            zapis();
            okno.rok = QStringLiteral("2026");
            okno.ImportCiselniku(QStringLiteral("9"));
            QVERIFY(!ProgramKonci());
            const auto zpravy = Zpravy::zaznamy();
            QCOMPARE(zpravy.size(), 1);
            QVERIFY2(zpravy[0].text.startsWith(QStringLiteral(
                         "Při importu nových číselníků došlo k neočekávané výjimce. (")) &&
                         zpravy[0].text.contains(duvod.mid(1, duvod.size() - 2)),
                     qPrintable(zpravy[0].text));
            QVERIFY(!okno.ADOConnectionCis.isOpen());
            QCOMPARE(okno.rok, QStringLiteral("2026"));
        }
        QCOMPARE(obsah(soubor), kus);
    }

    // A Jet file as the code lists: read through the reader, the import's statements run on it
    // and its failure path reports the missing table; the local database and the file stay.
    void jetCiselnikyNaCesteImportu() {
        const QString jet = jetSlozka() + QStringLiteral("/nwind.mdb");
        if (!QFileInfo::exists(jet)) QSKIP("The real Jet files are not beside the source tree.");
        Pomocnik::PracovniSlozka slozka;
        TMain okno;
        Zpravy::vymazZaznamy();
        QVERIFY(QFile::copy(jet, QStringLiteral("dataCis.mdb")));
        okno.rok = QStringLiteral("2026");
        okno.ImportCiselniku(QStringLiteral("9"));
        const auto zpravy = Zpravy::zaznamy();
        QCOMPARE(zpravy.size(), 1);
        QVERIFY2(zpravy[0].text.startsWith(QStringLiteral(
                     "Při importu nových číselníků došlo k neočekávané výjimce. (")) &&
                     zpravy[0].text.contains(QStringLiteral("no such table: RokEvidence")),
                 qPrintable(zpravy[0].text));
        QCOMPARE(okno.rok, QStringLiteral("2026"));
        QVERIFY(!okno.ADOConnectionCis.isOpen());
        QVERIFY(!okno.ADOConnection1.inTransaction());
        QCOMPARE(obsah(QStringLiteral("dataCis.mdb")), obsah(jet));
        db::Query q(&okno.ADOConnection1);
        q.setSql(QStringLiteral("select count(*) from RokEvidence"));
        q.open();
        QCOMPARE(q.field(0).asInteger(), 0);
    }
};

QTEST_MAIN(TestJetPrevzeti)
#include "tst_jetprevzeti.moc"
