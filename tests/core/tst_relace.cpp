// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include "Chyba.h"
#include "ImportCiselniku.h"
#include "Jadro.h"
#include "Spolecne.h"
#include "Vydani.h"
#include "VzorovaData.h"

// The context the core works in: its query helper and what it reports, the schema upgrade and
// its progress, the import's report, and the check of code lists before they are published.
namespace {}  // namespace

// The empty database of our own format, embedded in the core.
static void nactiSablonu() {
    Q_INIT_RESOURCE(parmex);
}

namespace {

// Records what the upgrade reports, in order.
class ZaznamPrubehu : public PrubehUpravy {
public:
    QStringList udalosti;
    void zacatek() override { udalosti << QStringLiteral("začátek"); }
    void krokZacina() override { udalosti << QStringLiteral("krok"); }
    void krokHotov() override { udalosti << QStringLiteral("hotovo"); }
    void celkem(int hotovo) override { udalosti << QStringLiteral("celkem %1").arg(hotovo); }
    void konec() override { udalosti << QStringLiteral("konec"); }
};

}  // namespace

class TestRelace : public QObject {
    Q_OBJECT

    std::unique_ptr<Jadro::NovaRelace> r;

private slots:
    void initTestCase() { Jadro::pripravProstredi(); }
    void init() { r = std::make_unique<Jadro::NovaRelace>(); }
    void cleanup() { r.reset(); }

    // ------------------------------------------------------------ the query helper

    // A failing statement: its text, values written in, goes to the log first; then either the
    // user is told and the call returns, or the caller gets the engine's text.
    void chybaDotazu_data() {
        QTest::addColumn<bool>("dal");
        QTest::newRow("told to the user") << false;
        QTest::newRow("handed to the caller") << true;
    }
    void chybaDotazu() {
        QFETCH(bool, dal);
        const db::Prikaz prikaz(QStringLiteral("select * from neni where a = ? and b = ?"),
                                {db::Hodnota::text(QStringLiteral("O'Brien")),
                                 db::Hodnota::cislo(QStringLiteral("312,5"))});
        const QString log =
            QStringLiteral("log: select * from neni where a = 'O''Brien' and b = 312.5");
        for (int pokus = 0; pokus < 2; ++pokus) {
            r->hlaseni.vymaz();
            QString chyba;
            db::Query q;
            db::Radky radky(&r->relace.spojeni);
            try {
                if (pokus == 0)
                    r->relace.gosql(prikaz, 1, q, dal);
                else
                    r->relace.gosql(prikaz, radky, dal);
            } catch (const Chyba& e) {
                chyba = e.zprava();
            }
            QVERIFY(!q.isOpen() && !radky.isOpen());
            if (dal) {
                QCOMPARE(chyba, QStringLiteral("no such table: neni"));
                QCOMPARE(r->hlaseni.poradi(), QStringList{log});
            } else {
                QCOMPARE(chyba, QString());
                QCOMPARE(r->hlaseni.poradi(),
                         (QStringList{log, QStringLiteral("0: Došlo k chybě! (kontaktuje prosím "
                                                          "správce)\r{no such table: neni}")}));
            }
        }
        // A query without a connection works on the context's database.
        db::Query q;
        r->relace.gosql(QStringLiteral("select count(*) from verze"), 1, q, false);
        QCOMPARE(q.field(0).asString(), QStringLiteral("1"));
    }

    // Rows read one at a time fail where the engine fails, with the same report.
    void chybaUprostredRadku() {
        r->proved(QStringLiteral("create table t (x integer)"));
        r->proved(QStringLiteral("insert into t values (1), (2), (3)"));
        db::Radky radky(&r->relace.spojeni);
        r->relace.gosql(
            {QStringLiteral("select case when x > ? then abs(-9223372036854775807 - 1) else x end "
                            "from t"),
             {db::Hodnota::cislo(qint64(1))}},
            radky, false);
        QCOMPARE(radky.cele(0), 1);
        QCOMPARE(r->hlaseni.poradi(), QStringList());
        r->relace.dalsi(radky, false);
        QVERIFY(radky.eof());
        QCOMPARE(
            r->hlaseni.poradi(),
            (QStringList{"log: select case when x > 1 then abs(-9223372036854775807 - 1) else "
                         "x end from t",
                         "0: Došlo k chybě! (kontaktuje prosím správce)\r{integer overflow}"}));
    }

    // ------------------------------------------------------------ the schema

    void ulozenaVerze() {
        QCOMPARE(UlozenaVerzeSchematu(r->relace), 4);
        r->proved(QStringLiteral("delete from verze"));
        QCOMPARE(UlozenaVerzeSchematu(r->relace), 0);
        r->proved(QStringLiteral("drop table verze"));
        QCOMPARE(UlozenaVerzeSchematu(r->relace), 1);
        QCOMPARE(r->hlaseni.poradi(), QStringList());
    }

    // The steps a stored version needs, each reported; the end is reported however it ends.
    void prubehUpravy_data() {
        QTest::addColumn<int>("verze");
        QTest::addColumn<QStringList>("udalosti");
        const QStringList krok{"krok", "hotovo"};
        QTest::newRow("template") << 1
                                  << (QStringList{"začátek"} + krok + QStringList{"celkem 1"} +
                                      krok + krok + QStringList{"celkem 2", "konec"});
        QTest::newRow("version 3")
            << 3 << (QStringList{"začátek", "celkem 1"} + krok + QStringList{"celkem 2", "konec"});
        QTest::newRow("current") << 4 << QStringList{"začátek", "celkem 1", "celkem 2", "konec"};
    }
    void prubehUpravy() {
        QFETCH(int, verze);
        QFETCH(QStringList, udalosti);
        // The template, brought to the version by the steps before it.
        nactiSablonu();
        const QString soubor = r->cesta(QStringLiteral("sablona.mdb"));
        UlozZdrojDoSouboru(QStringLiteral("EXEFILE"), QStringLiteral("dataDB"), soubor);
        ZaznamHlaseni hlaseni;
        Relace relace(hlaseni);
        relace.spojeni.open(soubor, db::Connection::Rezim::Vyhradni);
        for (int krok = 1; krok < verze; ++krok)
            for (const QString& prikaz : PrikazyUpravy(krok)) relace.spojeni.execute(prikaz);
        ZaznamPrubehu prubeh;
        PovysDatabazi(relace, UlozenaVerzeSchematu(relace), &prubeh);
        QCOMPARE(prubeh.udalosti, udalosti);
        QCOMPARE(hlaseni.poradi(), QStringList());
        db::Query q(&relace.spojeni);
        q.setSql(QStringLiteral("select count(*) || ':' || max(DB) from verze"));
        q.open();
        QCOMPARE(q.field(0).asString(), QStringLiteral("1:4"));
    }
    void prubehPriChybe() {
        ZaznamPrubehu prubeh;
        try {
            PovysDatabazi(r->relace, 2, &prubeh);  // step 2 again: its column exists
            QFAIL("the upgrade ran twice");
        } catch (const Chyba& e) {
            QCOMPARE(e.zprava(), QStringLiteral("duplicate column name: stav"));
        }
        QCOMPARE(prubeh.udalosti, (QStringList{"začátek", "celkem 1", "krok", "konec"}));
    }

    // ------------------------------------------------------------ the import's report

    void importHlasi_data() {
        QTest::addColumn<QString>("uprava");  // what is done to the sample file
        QTest::addColumn<QStringList>("poradi");
        const QString vyjimka =
            QStringLiteral("0: Při importu nových číselníků došlo k neočekávané výjimce. (%1)");
        QTest::newRow("no year")
            << "delete from RokEvidence"
            << QStringList{"log: Soubor číselníků neobsahuje žádný rok evidence.",
                           vyjimka.arg("Soubor číselníků neobsahuje žádný rok evidence.")};
        QTest::newRow("no brigades")
            << "drop table Brigady"
            << QStringList{
                   "log: select * from Brigady where rok = 2027 and e_index is not null "
                   "and aktivita = 100 order by e_index",
                   "log: no such table: Brigady", vyjimka.arg("no such table: Brigady")};
        QTest::newRow("a link's table name with an apostrophe")
            << "update C_povol_v_jp set typ_povolenky = 'C_povolKKnaTVZ_a''b' where id_p = 5"
            << QStringList{};
        QTest::newRow("an amount that is no number")
            << "update C_jinePlatby set castka = 'hodně' where id = 2 and rok = 2027"
            << QStringList{"log: Hodnota \"hodně\" není číslo.",
                           vyjimka.arg("Hodnota \"hodně\" není číslo.")};
    }
    void importHlasi() {
        QFETCH(QString, uprava);
        QFETCH(QStringList, poradi);
        const QString soubor = r->cesta(QStringLiteral("dataCis.mdb"));
        VzorovaData::vytvor(soubor);
        {
            db::Connection c;
            c.open(soubor, db::Connection::Rezim::Vyhradni);
            c.execute(uprava);
        }
        r->relace.rok = QStringLiteral("2026");
        ImportCiselniku(r->relace, QStringLiteral("3"), soubor);
        QCOMPARE(r->hlaseni.poradi(), poradi);
        QVERIFY(!r->relace.spojeniCis.isOpen());
        QVERIFY(!r->relace.spojeni.inTransaction());
        if (poradi.isEmpty()) {
            QCOMPARE(r->relace.rok, QStringLiteral("2027"));
            QCOMPARE(r->jedna(QStringLiteral("select verzecis from Nastaveni")),
                     QStringLiteral("3"));
            QCOMPARE(
                r->jedna(QStringLiteral("select typ_povolenky from C_povol_v_jp where id_p = 5")),
                QStringLiteral("C_povolKKnaTVZ_a'b"));
        } else {
            // Nothing of the file stays, and the year is the one before.
            QCOMPARE(r->relace.rok, QStringLiteral("2026"));
            QCOMPARE(r->jedna(QStringLiteral("select count(*) from ClenskePrispevky")),
                     QStringLiteral("0"));
        }
    }

    // ------------------------------------------------------------ publishing

    // The code lists are checked by the core's own import, without any window.
    void kontrolaCiselniku() {
        const QString dobry = r->cesta(QStringLiteral("vzor.mdb"));
        VzorovaData::vytvor(dobry);
        QString rok;
        QCOMPARE(Vydani::zkontrolujCiselniky(dobry, &rok), QString());
        QCOMPARE(rok, QStringLiteral("2027"));
        const QString bezBrigad = r->cesta(QStringLiteral("bezbrigad.mdb"));
        VzorovaData::vytvor(bezBrigad);
        {
            db::Connection c;
            c.open(bezBrigad, db::Connection::Rezim::Vyhradni);
            c.execute(QStringLiteral("drop table Brigady"));
        }
        QCOMPARE(Vydani::zkontrolujCiselniky(bezBrigad), QStringLiteral("no such table: Brigady"));
        QCOMPARE(Vydani::zkontrolujCiselniky(r->cesta(QStringLiteral("chybi.mdb"))).left(6),
                 QStringLiteral("Soubor"));
    }
};

int main(int argc, char** argv) {
    QCoreApplication aplikace(argc, argv);
    TestRelace t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_relace.moc"
