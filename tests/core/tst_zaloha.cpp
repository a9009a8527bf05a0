// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QtTest>

#include "Chyba.h"
#include "Jadro.h"
#include "Zaloha.h"

// A backup of the register made while it is open, and its restoring: what a backup holds, which
// files are refused, what stays when a step fails, and a journal beside the register that must
// not reach the restored file.

static void nactiSablonu() {
    Q_INIT_RESOURCE(parmex);
}

namespace {

const QDate kDen(2027, 3, 1);

// The folder's entries; the journal the engine keeps beside an open register is left out.
QStringList souboryVeSlozce(const QString& slozka) {
    QStringList r =
        QDir(slozka).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    r.removeAll(QStringLiteral("data.mdb-journal"));
    return r;
}

// The members of a register file, read from its bytes (nothing beside it is used).
QStringList clenoveSouboru(const QString& soubor) {
    QFile f(soubor);
    if (!f.open(QIODevice::ReadOnly)) return {QStringLiteral("<unreadable>")};
    db::Connection c;
    c.openImage(f.readAll());
    return vsechnyRadky(c, QStringLiteral("select ecislo from Uzivatele order by id"));
}

void pridejClena(db::Connection& c, int id, const QString& ecislo) {
    c.execute(db::Prikaz(
        QStringLiteral("insert into Uzivatele (id, jmeno, prijmeni, ecislo, aktivita) values "
                       "(?, 'Jan', 'Novák', ?, 100)"),
        {db::Hodnota::cislo(QString::number(id)), db::Hodnota::text(ecislo)}));
}

}  // namespace

class TestZaloha : public QObject {
    Q_OBJECT

    std::unique_ptr<Jadro::NovaRelace> r;
    std::unique_ptr<QTemporaryDir> zalohy;

    QString registr() const { return r->cesta(QStringLiteral("data.mdb")); }

private slots:
    void initTestCase() {
        nactiSablonu();
        Jadro::pripravProstredi();
    }
    void init() {
        r = std::make_unique<Jadro::NovaRelace>();
        zalohy = std::make_unique<QTemporaryDir>();
        pridejClena(r->relace.spojeni, 1, QStringLiteral("101"));
    }
    void cleanup() {
        r.reset();
        zalohy.reset();
    }

    // ------------------------------------------------------------ the backup

    // A backup made while the register is open holds its committed state, is named with the
    // day, gets a free name when one stands there, and leaves no temporary file.
    void zalohaOtevrenehoRegistru() {
        const QString prvni = Zaloha::zalohuj(r->relace.spojeni, zalohy->path(), kDen);
        QCOMPARE(QFileInfo(prvni).fileName(), QStringLiteral("data-zaloha-2027-03-01.mdb"));
        pridejClena(r->relace.spojeni, 2, QStringLiteral("102"));
        const QString druha = Zaloha::zalohuj(r->relace.spojeni, zalohy->path(), kDen);
        QCOMPARE(QFileInfo(druha).fileName(), QStringLiteral("data-zaloha-2027-03-01-2.mdb"));
        QCOMPARE(souboryVeSlozce(zalohy->path()),
                 (QStringList{"data-zaloha-2027-03-01-2.mdb", "data-zaloha-2027-03-01.mdb"}));
        QCOMPARE(clenoveSouboru(prvni), QStringList{"101"});
        QCOMPARE(clenoveSouboru(druha), (QStringList{"101", "102"}));
        QCOMPARE(Zaloha::chybaSouboru(druha), QString());
        // The register stays open and usable.
        pridejClena(r->relace.spojeni, 3, QStringLiteral("103"));
        QCOMPARE(r->jedna(QStringLiteral("select count(*) from Uzivatele")), QStringLiteral("3"));
    }

    // A folder that cannot take the backup: the reason, and nothing left there.
    void zalohaDoNezapisovatelneSlozky_data() {
        QTest::addColumn<QString>("slozka");
        QTest::newRow("missing folder") << "neni";
        QTest::newRow("below a regular file") << "soubor/pod";
    }
    void zalohaDoNezapisovatelneSlozky() {
        QFETCH(QString, slozka);
        QFile soubor(zalohy->filePath(QStringLiteral("soubor")));
        QVERIFY(soubor.open(QIODevice::WriteOnly));
        soubor.close();
        QVERIFY_THROWS_EXCEPTION(
            Chyba, Zaloha::zalohuj(r->relace.spojeni, zalohy->filePath(slozka), kDen));
        QCOMPARE(souboryVeSlozce(zalohy->path()), QStringList{"soubor"});
    }

    // A temporary file an interrupted backup left is no backup and does not stop the next.
    void prerusenaZaloha() {
        QFile zbytek(zalohy->filePath(QStringLiteral("data-zaloha-2027-03-01.mdb.part")));
        QVERIFY(zbytek.open(QIODevice::WriteOnly));
        zbytek.write("SQLite format 3\0zbytek");
        zbytek.close();
        const QString z = Zaloha::zalohuj(r->relace.spojeni, zalohy->path(), kDen);
        QCOMPARE(souboryVeSlozce(zalohy->path()), QStringList{"data-zaloha-2027-03-01.mdb"});
        QCOMPARE(clenoveSouboru(z), QStringList{"101"});
    }

    // ------------------------------------------------------------ the check of a file

    void chybaSouboru_data() {
        QTest::addColumn<QString>("uprava");  // a statement run on a backup, or a kind of file
        QTest::addColumn<QString>("duvod");
        QTest::newRow("a good backup") << ""
                                       << "";
        QTest::newRow("not a database") << "<text>"
                                        << "Soubor není databází programu (nelze ho otevřít).";
        QTest::newRow("empty file") << "<empty>"
                                    << "Soubor není databází programu (chybí tabulka verze).";
        QTest::newRow("missing") << "<missing>"
                                 << "<unreadable>";
        QTest::newRow("a folder") << "<folder>"
                                  << "<unreadable>";
        QTest::newRow("damaged pages")
            << "<damaged>"
            << "Soubor je poškozený (kontrola databáze nahlásila chyby).";
        QTest::newRow("another program's database")
            << "drop table verze"
            << "Soubor není databází programu (chybí tabulka verze).";
        QTest::newRow("no members table") << "drop table Uzivatele"
                                          << "Soubor není databází programu (chybí tabulka "
                                             "Uzivatele).";
        QTest::newRow("older schema")
            << "update verze set DB = 3"
            << "Soubor je databází jiné verze programu (verze 3, očekávána 4).";
        QTest::newRow("no version row")
            << "delete from verze"
            << "Soubor je databází jiné verze programu (verze žádná, očekávána 4).";
    }
    void chybaSouboru() {
        QFETCH(QString, uprava);
        QFETCH(QString, duvod);
        const QString soubor = zalohy->filePath(QStringLiteral("vybrany.mdb"));
        if (uprava == QLatin1String("<text>") || uprava == QLatin1String("<empty>")) {
            QFile f(soubor);
            QVERIFY(f.open(QIODevice::WriteOnly));
            if (uprava == QLatin1String("<text>")) f.write("Toto není databáze.\n");
        } else if (uprava == QLatin1String("<folder>")) {
            QVERIFY(QDir().mkpath(soubor));
        } else if (uprava != QLatin1String("<missing>")) {
            r->relace.spojeni.zalohujDo(soubor);
            if (uprava == QLatin1String("<damaged>")) {
                // Garbage over the pages after the first: the header still reads.
                QFile f(soubor);
                QVERIFY(f.open(QIODevice::ReadWrite));
                const qint64 velikost = f.size();
                f.seek(4096);
                f.write(QByteArray(int(velikost - 4096), '\x5a'));
            } else if (!uprava.isEmpty()) {
                db::Connection c;
                c.open(soubor, db::Connection::Rezim::Vyhradni);
                c.execute(uprava);
            }
        }
        const QString zjisteno = Zaloha::chybaSouboru(soubor);
        if (duvod == QLatin1String("<unreadable>"))
            QCOMPARE(zjisteno, QStringLiteral("Soubor \"%1\" nelze přečíst.").arg(soubor));
        else if (uprava == QLatin1String("<damaged>"))
            QVERIFY2(!zjisteno.isEmpty(), "a damaged file passed the check");
        else
            QCOMPARE(zjisteno, duvod);
    }

    // ------------------------------------------------------------ restoring

    // The backup's state replaces the register, which stays beside it under its own name; the
    // connection works on the restored register.
    void obnoveni() {
        const QString z = Zaloha::zalohuj(r->relace.spojeni, zalohy->path(), kDen);
        pridejClena(r->relace.spojeni, 2, QStringLiteral("102"));
        const QString puvodni = Zaloha::obnov(r->relace.spojeni, z, kDen);
        QCOMPARE(QFileInfo(puvodni).fileName(), QStringLiteral("data.mdb.pred-obnovou-2027-03-01"));
        QVERIFY(r->relace.spojeni.isOpen());
        QCOMPARE(r->radky(QStringLiteral("select ecislo from Uzivatele order by id")),
                 QStringList{"101"});
        QCOMPARE(clenoveSouboru(puvodni), (QStringList{"101", "102"}));
        QCOMPARE(clenoveSouboru(z), QStringList{"101"});
        // Nothing temporary stays; the backup itself is untouched.
        QCOMPARE(souboryVeSlozce(QFileInfo(registr()).absolutePath()),
                 (QStringList{"data.mdb", "data.mdb.pred-obnovou-2027-03-01"}));
        // Written to and restored again: the kept register takes the next free name.
        pridejClena(r->relace.spojeni, 3, QStringLiteral("103"));
        const QString druhy = Zaloha::obnov(r->relace.spojeni, z, kDen);
        QCOMPARE(QFileInfo(druhy).fileName(), QStringLiteral("data.mdb.pred-obnovou-2027-03-01-2"));
        QCOMPARE(clenoveSouboru(druhy), (QStringList{"101", "103"}));
    }

    // A file that fails the check changes nothing: the register stays open with its data and
    // no file is added beside it.
    void odmitnutySouborNicNemeni() {
        const QString z = zalohy->filePath(QStringLiteral("cizi.mdb"));
        r->relace.spojeni.zalohujDo(z);
        {
            db::Connection c;
            c.open(z, db::Connection::Rezim::Vyhradni);
            c.execute(QStringLiteral("update verze set DB = 2"));
        }
        QString chyba;
        try {
            Zaloha::obnov(r->relace.spojeni, z, kDen);
        } catch (const Chyba& e) {
            chyba = e.zprava();
        }
        QCOMPARE(chyba,
                 QStringLiteral("Soubor je databází jiné verze programu (verze 2, očekávána 4)."));
        QVERIFY(r->relace.spojeni.isOpen());
        QCOMPARE(r->jedna(QStringLiteral("select count(*) from Uzivatele")), QStringLiteral("1"));
        QCOMPARE(souboryVeSlozce(QFileInfo(registr()).absolutePath()), QStringList{"data.mdb"});
        // The register itself is no backup to restore.
        QVERIFY_THROWS_EXCEPTION(Chyba, Zaloha::obnov(r->relace.spojeni, registr(), kDen));
        QVERIFY(r->relace.spojeni.isOpen());
    }

    // When the copy of the backup cannot be written beside the register (a folder stands where
    // it goes), the register stays as it was and open.
    void selhaniPredNahrazenim() {
        const QString z = Zaloha::zalohuj(r->relace.spojeni, zalohy->path(), kDen);
        pridejClena(r->relace.spojeni, 2, QStringLiteral("102"));
        QVERIFY(QDir().mkpath(registr() + QStringLiteral(".obnova")));
        QVERIFY(QDir().mkpath(registr() + QStringLiteral(".obnova/x")));
        QVERIFY_THROWS_EXCEPTION(Chyba, Zaloha::obnov(r->relace.spojeni, z, kDen));
        QVERIFY(r->relace.spojeni.isOpen());
        QCOMPARE(r->radky(QStringLiteral("select ecislo from Uzivatele order by id")),
                 (QStringList{"101", "102"}));
    }

    // A journal standing beside the register when it is replaced belongs to the old register:
    // it goes with the kept register and is never rolled into the restored one.
    void zurnalVedleRegistru() {
        const QString z = Zaloha::zalohuj(r->relace.spojeni, zalohy->path(), kDen);
        for (int i = 2; i <= 400; ++i) pridejClena(r->relace.spojeni, i, QString::number(i));
        // A hot journal of the register's present state: a copy of the register is changed in
        // a transaction with a tiny page cache, so its journal is written and synced, and that
        // journal is copied beside the register while the transaction is still open.
        const QString kopie = r->cesta(QStringLiteral("kopie.mdb"));
        r->relace.spojeni.zalohujDo(kopie);
        QByteArray zurnal;
        {
            db::Connection c;
            c.open(kopie, db::Connection::Rezim::Vyhradni);
            c.execute(QStringLiteral("PRAGMA cache_size = 2"));
            c.beginTransaction();
            c.execute(QStringLiteral("delete from Uzivatele where id > 1"));
            c.execute(QStringLiteral("create table vypln (x)"));
            for (int i = 0; i < 50; ++i)
                c.execute(QStringLiteral("insert into vypln values (randomblob(3000))"));
            QFile j(kopie + QStringLiteral("-journal"));
            QVERIFY(j.open(QIODevice::ReadOnly));
            zurnal = j.readAll();
            c.rollback();
        }
        QVERIFY(zurnal.size() > 4096);
        // The journal is hot: beside a copy of the backup it is rolled into it at the first read.
        const QString pokus = r->cesta(QStringLiteral("pokus.mdb"));
        QVERIFY(QFile::copy(z, pokus));
        {
            QFile j(pokus + QStringLiteral("-journal"));
            QVERIFY(j.open(QIODevice::WriteOnly));
            j.write(zurnal);
        }
        {
            db::Connection c;
            bool zmeneno = true;
            try {
                c.open(pokus, db::Connection::Rezim::Vyhradni);
                zmeneno = vsechnyRadky(c, QStringLiteral("select count(*) from Uzivatele")) !=
                          QStringList{"1"};
            } catch (const Chyba&) {
            }
            QVERIFY2(zmeneno, "the journal of the test is not hot");
        }

        // The register opened afresh has no journal of its own open; the one that appears
        // beside it meanwhile stays there when the connection closes.
        r->relace.spojeni.close();
        r->relace.spojeni.open(registr(), db::Connection::Rezim::Vyhradni);
        QFile j(registr() + QStringLiteral("-journal"));
        QVERIFY(j.open(QIODevice::WriteOnly));
        j.write(zurnal);
        j.close();
        const QString puvodni = Zaloha::obnov(r->relace.spojeni, z, kDen);
        QCOMPARE(r->radky(QStringLiteral("select ecislo from Uzivatele order by id")),
                 QStringList{"101"});
        QCOMPARE(r->radky(QStringLiteral("PRAGMA integrity_check")), QStringList{"ok"});
        QVERIFY(QFileInfo::exists(puvodni + QStringLiteral("-journal")));
        QCOMPARE(QFile(puvodni).size(), QFile(kopie).size());
    }
};

QTEST_GUILESS_MAIN(TestZaloha)
#include "tst_zaloha.moc"
