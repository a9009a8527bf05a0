// SPDX-License-Identifier: GPL-3.0-or-later
// A register is never opened damaged and never written where it cannot be: damaged pages, a file
// too short to be a database, a journal of an unfinished write that belongs to another state of
// the file (a backup restored after a crash), and a register the program may not write.
#include <QProcess>
#include <QtTest>
#include <memory>

#include "Databaze.h"
#include "MalyDisk.h"
#include "Pomocnik.h"
#include "SouborDatabaze.h"
#include "Zpravy.h"
#include "fMain.h"
#include "uAllYouNeed.h"

namespace {

const QString kPoskozen =
    QStringLiteral("Nastala chyba při otevření DB: soubor data.mdb je poškozen (");

using Pomocnik::obsah;
using Pomocnik::zapis;

// One value of a select on a register, read without changing it.
QString hodnota(const QString& soubor, const QString& sql) {
    db::Connection c;
    c.open(soubor, db::Connection::Rezim::JenCteni);
    db::Query q(&c);
    q.setSql(sql);
    q.open();
    return q.field(0).asString();
}

// Adds payments od..do (three items each) for members 1 to 50, in one transaction.
void pridejPlatby(db::Connection& c, int od, int po) {
    c.beginTransaction();
    const QString cisla =
        QStringLiteral(
            "with recursive n(i) as (select %1 union all select i + 1 from n where i < %2) ")
            .arg(od)
            .arg(po);
    c.execute(QStringLiteral(
                  "insert into HistoriePlatebHead (cislo_platby, dat_zmena, rok, ucet, vs, ks, ss, "
                  "castka, id_usr) ") +
              cisla +
              QStringLiteral("select i, '2027-03-01 10:00:00', 2027, '190-2718281824/0800', "
                             "cast(1000 + i % 50 as text), '0127', '01', 3250, 1 + i % 50 from n"));
    c.execute(
        QStringLiteral("insert into HistoriePlateb (id_platby, rok, typ_platby, id, nazev, castka, "
                       "cislo_platby, dat_zmena) ") +
        cisla +
        QStringLiteral(", k(j) as (select 0 union all select 1 union all select 2) "
                       "select 3 * i + j, 2027, case j when 0 then 1 else 4 end, 1, "
                       "'Položka platby číslo ' || i || ' – ' || j, 1200 - j * 100, i, "
                       "'2027-03-01 10:00:00' from n, k"));
    c.commit();
}

// A register of 50 members and 400 payments in the current folder, made by the program and
// closed again: enough pages that damage can hit a table, an index or the schema.
void zalozRegistr() {
    {
        TMain w;
        QVERIFY(!ProgramKonci());
    }
    db::Connection c;
    c.open(QStringLiteral("data.mdb"), db::Connection::Rezim::Vyhradni);
    c.execute(QStringLiteral(
        "insert into Uzivatele (id, jmeno, prijmeni, ecislo, dat_nar, aktivita) "
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 50) "
        "select i, 'Jan', 'Novák ' || i, cast(1000 + i as text), '1980-02-01', 100 from n"));
    pridejPlatby(c, 1, 400);
}

// The engine's thorough check of a file, on a copy (so nothing of the file changes).
bool celistvy(const QString& soubor) {
    QTemporaryDir d;
    const QString kopie = d.filePath(QStringLiteral("k.mdb"));
    if (!QFile::copy(soubor, kopie)) return false;
    try {
        db::Connection c;
        c.open(kopie, db::Connection::Rezim::JenCteni);
        db::Query q(&c);
        q.setSql(QStringLiteral("PRAGMA integrity_check"));
        q.open();
        return q.field(0).asString() == QLatin1String("ok");
    } catch (const Chyba&) {
        return false;
    }
}

// The program started in the current folder and its first activation; the messages it showed.
QStringList spust() {
    Zpravy::vymazZaznamy();
    ZrusKonecProgramu();
    {
        TMain w;
        if (!ProgramKonci()) {
            // No server is reached: the update check's failure is the end of a sound start.
            w.AdresyWebu.AdresaIni = QStringLiteral("http://127.0.0.1:9/verze.ini");
            w.FormActivate();
        }
    }
    QStringList r;
    for (const auto& z : Zpravy::zaznamy())
        r << QStringLiteral("%1: %2").arg(z.typZpravy).arg(z.text);
    return r;
}

bool jePoskozen(const QStringList& zpravy) {
    return zpravy.size() == 1 && zpravy[0].startsWith(QStringLiteral("2: ") + kPoskozen);
}

// A journal of an unfinished write beside the register, as a crash leaves it: the sqlite3 shell
// begins a write to every item row with a cache so small that the changed pages reach the file,
// and is killed before it commits.
bool pripravNedokoncenyZapis() {
    QProcess shell;
    shell.setProcessChannelMode(QProcess::MergedChannels);
    shell.start(QStringLiteral("sqlite3"), {QStringLiteral("data.mdb")});
    if (!shell.waitForStarted(10000)) return false;
    shell.write(
        "PRAGMA cache_size = 2;\nBEGIN;\n"
        "UPDATE HistoriePlateb SET nazev = nazev || ' (opraveno)', castka = castka + 1;\n"
        "UPDATE HistoriePlatebHead SET castka = castka + 3;\n.print HOTOVO\n");
    QElapsedTimer cas;
    cas.start();
    QByteArray vystup;
    while (!vystup.contains("HOTOVO") && cas.elapsed() < 20000) {
        shell.waitForReadyRead(200);
        vystup += shell.readAll();
    }
    shell.kill();
    shell.waitForFinished(10000);
    return vystup.contains("HOTOVO") && QFileInfo(QStringLiteral("data.mdb-journal")).size() > 0;
}

}  // namespace

class TestRegistr : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        Pomocnik::pripravProstredi();
        qputenv("PARMEX_CASOVY_LIMIT_MS", "2000");
    }

    // 64 bytes turned over in one page, page by page: every copy the engine's thorough check
    // finds damaged is refused at the first activation (or already at the open), with the
    // message that says what to do, and the file stays byte for byte as it was.
    void poskozeneStranky() {
        Pomocnik::PracovniSlozka s;
        zalozRegistr();
        const QByteArray cisty = obsah(QStringLiteral("data.mdb"));
        const int stranka =
            hodnota(QStringLiteral("data.mdb"), QStringLiteral("PRAGMA page_size")).toInt();
        const int stranek = int(cisty.size() / stranka);
        QVERIFY(stranek > 20);
        int poskozenych = 0;
        // Page 1 holds the file's header: damage there is no database at all.
        for (int p = 2; p <= stranek; ++p) {
            QByteArray data = cisty;
            const int od = (p - 1) * stranka + stranka / 2;
            for (int i = od; i < od + 64; ++i) data[i] = char(data[i] ^ 0x5a);
            zapis(QStringLiteral("data.mdb"), data);
            if (celistvy(QStringLiteral("data.mdb"))) continue;
            ++poskozenych;
            const QStringList zpravy = spust();
            QVERIFY2(jePoskozen(zpravy), qPrintable(QStringLiteral("page %1: ").arg(p) +
                                                    zpravy.join(QLatin1Char('\n'))));
            QVERIFY2(zpravy[0].contains(QStringLiteral("obnovte data.mdb ze zálohy")),
                     qPrintable(zpravy[0]));
            QCOMPARE(NavratovyKod(), 1);
            QVERIFY2(obsah(QStringLiteral("data.mdb")) == data, qPrintable(QString::number(p)));
            QVERIFY(!QFileInfo::exists(QStringLiteral("data.mdb-journal")));
        }
        QVERIFY(poskozenych > 10);
        // The sound register starts as ever.
        zapis(QStringLiteral("data.mdb"), cisty);
        const QStringList zpravy = spust();
        QVERIFY2(!jePoskozen(zpravy), qPrintable(zpravy.join(QLatin1Char('\n'))));
    }

    // Only an empty file is no database yet; a file of a few bytes is a damaged one, never
    // made anew over.
    void kratkySoubor_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("1 byte") << QByteArray("S");
        QTest::newRow("15 bytes") << QByteArray("SQLite format 3");
        QTest::newRow("511 bytes") << QByteArray(511, '\0');
    }
    void kratkySoubor() {
        QFETCH(QByteArray, data);
        Pomocnik::PracovniSlozka s;
        zapis(QStringLiteral("data.mdb"), data);
        const QStringList zpravy = spust();
        QVERIFY2(jePoskozen(zpravy), qPrintable(zpravy.join(QLatin1Char('\n'))));
        QVERIFY2(zpravy[0].contains(QStringLiteral("(soubor má jen %1 B)").arg(data.size())),
                 qPrintable(zpravy[0]));
        QCOMPARE(NavratovyKod(), 1);
        QCOMPARE(obsah(QStringLiteral("data.mdb")), data);
    }

    // A journal left by a crash is completed as ever: the register opens as it was before the
    // unfinished write. The same journal beside a backup restored over the register would
    // damage it: the program refuses and changes nothing, and once the member deletes the
    // journal (as the message says), the backup opens.
    void nedokoncenyZapis() {
        Pomocnik::PracovniSlozka s;
        zalozRegistr();
        QVERIFY(QFile::copy(QStringLiteral("data.mdb"), QStringLiteral("zaloha.mdb")));
        {
            db::Connection c;
            c.open(QStringLiteral("data.mdb"), db::Connection::Rezim::Vyhradni);
            pridejPlatby(c, 401, 700);
        }
        const QString soucet = QStringLiteral("select sum(castka) from HistoriePlateb");
        const QString pred = hodnota(QStringLiteral("data.mdb"), soucet);
        if (!pripravNedokoncenyZapis()) QSKIP("The sqlite3 shell could not leave a journal.");
        const QByteArray zurnal = obsah(QStringLiteral("data.mdb-journal"));
        const QByteArray poPadu = obsah(QStringLiteral("data.mdb"));

        // The backup restored over it, the journal left beside it.
        QVERIFY(QFile::remove(QStringLiteral("data.mdb")));
        QVERIFY(QFile::copy(QStringLiteral("zaloha.mdb"), QStringLiteral("data.mdb")));
        QStringList zpravy = spust();
        QCOMPARE(zpravy.size(), 1);
        QVERIFY2(zpravy[0].startsWith(QStringLiteral(
                     "2: Nastala chyba při otevření DB: vedle souboru data.mdb leží soubor "
                     "data.mdb-journal s nedokončeným zápisem, který k němu nepatří")),
                 qPrintable(zpravy[0]));
        QCOMPARE(NavratovyKod(), 1);
        QCOMPARE(obsah(QStringLiteral("data.mdb")), obsah(QStringLiteral("zaloha.mdb")));
        QCOMPARE(obsah(QStringLiteral("data.mdb-journal")), zurnal);
        QCOMPARE(QDir().entryList({QStringLiteral("data.mdb.kontrola*")}, QDir::AllEntries),
                 QStringList{});

        // The crash itself: the journal with its own file.
        zapis(QStringLiteral("data.mdb"), poPadu);
        zpravy = spust();
        QVERIFY2(!jePoskozen(zpravy) && !zpravy.join(QString()).contains(QStringLiteral("journal")),
                 qPrintable(zpravy.join(QLatin1Char('\n'))));
        QVERIFY(!QFileInfo::exists(QStringLiteral("data.mdb-journal")));
        QCOMPARE(hodnota(QStringLiteral("data.mdb"), soucet), pred);
        QCOMPARE(hodnota(QStringLiteral("data.mdb"),
                         QStringLiteral("select count(*) from HistoriePlatebHead")),
                 QStringLiteral("700"));

        // The backup with the stray journal deleted.
        QVERIFY(QFile::remove(QStringLiteral("data.mdb")));
        QVERIFY(QFile::copy(QStringLiteral("zaloha.mdb"), QStringLiteral("data.mdb")));
        zpravy = spust();
        QVERIFY2(!jePoskozen(zpravy), qPrintable(zpravy.join(QLatin1Char('\n'))));
        QCOMPARE(hodnota(QStringLiteral("data.mdb"),
                         QStringLiteral("select count(*) from HistoriePlatebHead")),
                 QStringLiteral("400"));
    }

    // A register on a disk nobody may write (root included): said at the start, before the
    // member composes anything, and nothing is written.
    void registrJenProCteni() {
        MalyDisk disk(8 * 1024 * 1024);
        if (!disk.pripojen()) QSKIP(disk.duvod());
        {
            Pomocnik::PracovniSlozka s;
            zalozRegistr();
            QVERIFY(
                QFile::copy(QStringLiteral("data.mdb"), disk.cesta(QStringLiteral("data.mdb"))));
        }
        const QByteArray pred = obsah(disk.cesta(QStringLiteral("data.mdb")));
        Pomocnik::zapisProgramSVerzi(disk.cesta(QStringLiteral("ParmexRozu")),
                                     QStringLiteral("Parmex Rozu - MO Varnov"),
                                     QStringLiteral("1.0.4.30"));
        if (!disk.jenProCteni()) QSKIP(disk.duvod());
        const QString puvodni = QDir::currentPath();
        QDir::setCurrent(disk.cesta());
        NastavSouborProgramu(disk.cesta(QStringLiteral("ParmexRozu")));
        const QStringList zpravy = spust();
        QDir::setCurrent(puvodni);
        NastavSouborProgramu(QString());
        QCOMPARE(zpravy.size(), 1);
        QVERIFY2(zpravy[0].startsWith(QStringLiteral(
                     "2: Nastala chyba při otevření DB: do souboru data.mdb nelze zapisovat (")),
                 qPrintable(zpravy[0]));
        QCOMPARE(NavratovyKod(), 1);
        QCOMPARE(obsah(disk.cesta(QStringLiteral("data.mdb"))), pred);
    }
};

QTEST_MAIN(TestRegistr)
#include "tst_registr.moc"
