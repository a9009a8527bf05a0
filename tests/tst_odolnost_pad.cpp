// SPDX-License-Identifier: GPL-3.0-or-later
// A process killed in the middle of the first start, the code-list import or saving a payment
// leaves data.mdb whole: it passes the database's integrity check and holds the state before
// the operation or the state after it, never a part of it.
//
// The test re-runs its own executable as a child ("--dite-import", "--dite-platba" or
// "--dite-start" and a folder); the child repeats the operation until the parent kills it with
// SIGKILL at a chosen moment. The number of kills and the time spent are bounded.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QTimer>
#include <QtTest>
#include <cstdio>

#include "Databaze.h"
#include "Hodiny.h"
#include "PlnaPlatba.h"
#include "Pomocnik.h"
#include "PrevzetiDat.h"
#include "Radky.h"
#include "StringGridNew.h"
#include "VzorovaData.h"
#include "Zpravy.h"
#include "fFormularPlateb.h"
#include "fMain.h"
#include "fNovaPlatba.h"
#include "uAllYouNeed.h"

namespace {

const int kZabiti = 20;               // kills per operation
const qint64 kCasovyLimitMs = 25000;  // and no more time than this per operation

// Tables the import writes, dumped row by row in a fixed order.
const char* const kTabulkyImportu[] = {
    "RokEvidence",    "ManipulacniPopl", "ClenskePrispevky", "Brigady",        "c_povolKKnaTVZ",
    "c_povolKPnaTVZ", "c_povolCKnaTVZ",  "c_povolCPnaTVZ",   "c_povolRKnaTVZ", "c_povolRPnaTVZ",
    "c_povolCizK",    "c_povolCizP",     "c_povolKO",        "c_povolPO",      "C_povolenky_txt",
    "C_povol_v_jp",   "C_jinePlatby"};

QStringList radky(db::Connection& c, const QString& sql) {
    return vsechnyRadky(c, sql);
}

QString vypisImportu(db::Connection& c) {
    QStringList v;
    for (const char* t : kTabulkyImportu) {
        QStringList r = radky(c, QStringLiteral("select * from %1").arg(QLatin1String(t)));
        r.sort();
        v << QLatin1String(t) << r;
    }
    return v.join(QLatin1Char('\n'));
}

QString jedna(db::Connection& c, const QString& sql) {
    return radky(c, sql).value(0);
}

void oznamPripravenost() {
    std::fputs("pripraven\n", stdout);
    std::fflush(stdout);
}

// The child: imports the larger code-list file again and again, each time with the next
// version stamp.
int diteImport(const QString& slozka) {
    QDir::setCurrent(slozka);
    NastavSouborProgramu(slozka + QStringLiteral("/ParmexRozu"));
    TMain w;
    oznamPripravenost();
    for (int verze = 2;; ++verze) w.ImportCiselniku(QString::number(verze));
}

// The child: saves the same payment again and again; the payment form is closed at once.
int ditePlatba(const QString& slozka) {
    QDir::setCurrent(slozka);
    NastavSouborProgramu(slozka + QStringLiteral("/ParmexRozu"));
    TMain w;
    w.rok = QStringLiteral("2027");  // as the first activation sets it
    QTimer zavri;
    QObject::connect(&zavri, &QTimer::timeout, [] {
        if (auto* f = qobject_cast<TFormularPlateb*>(QApplication::activeModalWidget()))
            f->reject();
    });
    zavri.start(0);
    oznamPripravenost();
    for (;;) {
        TNovaPlatba d(&w);
        VyplnPlnouPlatbu(d);
        Zpravy::pridejOdpoved(0);
        d.UlozitClick();
    }
}

// The child: the first start again and again, data.mdb removed after each.
int diteStart(const QString& slozka) {
    QDir::setCurrent(slozka);
    NastavSouborProgramu(slozka + QStringLiteral("/ParmexRozu"));
    oznamPripravenost();
    for (;;) {
        { TMain w; }
        QFile::remove(QStringLiteral("data.mdb"));
    }
}

// The child: the first start again and again on a data.mdb of 0 bytes.
int diteStartNaPrazdnem(const QString& slozka) {
    QDir::setCurrent(slozka);
    NastavSouborProgramu(slozka + QStringLiteral("/ParmexRozu"));
    oznamPripravenost();
    for (;;) {
        {
            QFile prazdny(QStringLiteral("data.mdb"));
            prazdny.open(QIODevice::WriteOnly);
        }
        { TMain w; }
        QFile::remove(QStringLiteral("data.mdb"));
    }
}

// The child: one take-over of the old register in data.mdb, then it waits to be killed. A Jet
// file is taken over by the start itself; a register of our own format (the only kind with
// members and payments that can be made here) is handed to the take-over directly.
int ditePrevzeti(const QString& slozka, bool jet) {
    QDir::setCurrent(slozka);
    NastavSouborProgramu(slozka + QStringLiteral("/ParmexRozu"));
    Zpravy::pridejOdpoved(0);
    if (jet) {
        oznamPripravenost();
        TMain w;
    } else {
        TMain w;
        w.ADOQuery1.close();
        w.ADOConnection1.close();
        oznamPripravenost();
        PrevzetiDat(w);
    }
    std::fputs("hotovo\n", stdout);
    std::fflush(stdout);
    for (;;) QThread::sleep(1);
}

// The members, payments and everything else of a register, as text.
QString vypisRegistru(db::Connection& c) {
    QStringList v;
    for (const char* t : {"Uzivatele", "HistoriePlatebHead", "HistoriePlateb", "RokEvidence",
                          "Nastaveni", "ClenskePrispevky", "C_povolenky_txt", "C_jinePlatby"}) {
        QStringList r = radky(c, QStringLiteral("select * from %1").arg(QLatin1String(t)));
        r.sort();
        v << QLatin1String(t) << r;
    }
    return v.join(QLatin1Char('\n'));
}

QByteArray obsah(const QString& soubor) {
    QFile f(soubor);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestOdolnostPad : public QObject {
    Q_OBJECT

    // Starts the child on the folder, waits until it is working, lets it run for the delay
    // and kills it.
    static void zabij(const QString& prepinac, const QString& slozka, int zpozdeniMs) {
        QProcess dite;
        dite.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        dite.start(QCoreApplication::applicationFilePath(), {prepinac, slozka});
        QVERIFY(dite.waitForStarted(10000));
        QVERIFY2(dite.waitForReadyRead(20000), "the child did not start working");
        QThread::msleep(zpozdeniMs);
        QVERIFY2(dite.state() == QProcess::Running, "the child ended on its own");
        dite.kill();  // SIGKILL
        QVERIFY(dite.waitForFinished(10000));
        QCOMPARE(dite.exitStatus(), QProcess::CrashExit);
    }

    static void overIntegritu(db::Connection& c) {
        QCOMPARE(jedna(c, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
        QCOMPARE(jedna(c, QStringLiteral("PRAGMA foreign_key_check")), QString());
    }

private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }

    // The local database holds the sample code lists; the child imports a file with many more
    // rows, so every kill lands before, during or after one of its transactions.
    void zabitiBehemImportu() {
        Pomocnik::PracovniSlozka s;
        Hodiny::nastav(QDateTime(QDate(2027, 3, 1), QTime(10, 0)));
        QString pred, po;
        {
            TMain w;
            VzorovaData::vytvor(QStringLiteral("dataCis.mdb"));
            w.ImportCiselniku(QStringLiteral("1"));
            pred = vypisImportu(w.ADOConnection1);
            // "After": the same import the child repeats, done here once on a copy.
            w.ADOConnection1.close();
            QVERIFY(QFile::copy(QStringLiteral("data.mdb"), QStringLiteral("pred.mdb")));
            w.ADOConnection1.open(QStringLiteral("data.mdb"), db::Connection::Rezim::Vyhradni);
            VzorovaData::vytvor(QStringLiteral("dataCis.mdb"), 2027, 200);
            w.ImportCiselniku(QStringLiteral("2"));
            po = vypisImportu(w.ADOConnection1);
            w.ADOConnection1.close();
            QVERIFY(QFile::remove(QStringLiteral("data.mdb")));
            QVERIFY(QFile::rename(QStringLiteral("pred.mdb"), QStringLiteral("data.mdb")));
        }
        QVERIFY(pred != po);
        QVERIFY(Zpravy::zaznamy().isEmpty());

        QElapsedTimer cas;
        cas.start();
        int poZabiti = 0;
        for (int i = 0; i < kZabiti && cas.elapsed() < kCasovyLimitMs; ++i) {
            zabij(QStringLiteral("--dite-import"), s.cesta(), (i * 37) % 400 + 1);
            db::Connection c;
            c.open(QStringLiteral("data.mdb"), db::Connection::Rezim::Vyhradni);
            overIntegritu(c);
            const QString stav = vypisImportu(c);
            const QString verze = jedna(c, QStringLiteral("select verzecis from Nastaveni"));
            if (stav == po) {
                ++poZabiti;
                QVERIFY2(verze.toInt() >= 2, qPrintable(verze));
            } else {
                QVERIFY2(stav == pred, "the database holds a part of an import");
                QCOMPARE(verze, QStringLiteral("1"));
            }
        }
        qInfo("kills: import committed before %d of them", poZabiti);
    }

    // A first start killed while it builds data.mdb leaves no data.mdb (or the empty one it
    // found) or a complete one at the newest schema, and the next start works.
    void zabitiPriPrvnimStartu_data() {
        QTest::addColumn<QString>("prepinac");
        QTest::newRow("no data.mdb") << QStringLiteral("--dite-start");
        QTest::newRow("data.mdb of 0 bytes") << QStringLiteral("--dite-start-prazdny");
    }
    void zabitiPriPrvnimStartu() {
        QFETCH(QString, prepinac);
        Pomocnik::PracovniSlozka s;
        QElapsedTimer cas;
        cas.start();
        int celych = 0;
        for (int i = 0; i < kZabiti && cas.elapsed() < kCasovyLimitMs; ++i) {
            zabij(prepinac, s.cesta(), (i * 23) % 250 + 1);
            if (QFileInfo(QStringLiteral("data.mdb")).size() > 0) {
                ++celych;
                db::Connection c;
                c.open(QStringLiteral("data.mdb"), db::Connection::Rezim::Vyhradni);
                overIntegritu(c);
                QCOMPARE(jedna(c, QStringLiteral("select DB from verze")), QStringLiteral("4"));
            }
            {
                TMain w;
                QVERIFY(!ProgramKonci());
                QVERIFY2(Zpravy::zaznamy().isEmpty(), qPrintable(Zpravy::zaznamy().value(0).text));
            }
            QVERIFY(QFile::remove(QStringLiteral("data.mdb")));
        }
        qInfo("kills that found a complete data.mdb: %d", celych);
    }

    // A take-over of the earlier program's register killed at any moment: the old file is
    // never changed, and the next start either opens a complete new register holding all of
    // its data or offers the take-over again, which then completes.
    void zabitiPriPrevzeti_data() {
        QTest::addColumn<bool>("jet");
        QTest::newRow("Jet file, through the start") << true;
        QTest::newRow("register with members and payments") << false;
    }
    void zabitiPriPrevzeti() {
        QFETCH(bool, jet);
        const QString jetSoubor = QStringLiteral(PARMEX_JET_DATA "/DateTestDatabase.mdb");
        if (jet && !QFileInfo::exists(jetSoubor))
            QSKIP("The real Jet files are not beside the source tree.");
        Pomocnik::PracovniSlozka s;
        Hodiny::nastav(QDateTime(QDate(2027, 3, 1), QTime(10, 0)));
        const QString data = QStringLiteral("data.mdb");
        const QString zaloha = QStringLiteral("data.mdb.jet");
        const QString puvodniSoubor = s.cesta(QStringLiteral("puvodni.mdb"));
        QString registr;  // what the old register holds
        if (jet) {
            QVERIFY(QFile::copy(jetSoubor, puvodniSoubor));
        } else {
            {
                TMain w;
                VzorovaData::vytvor(QStringLiteral("dataCis.mdb"));
                w.ImportCiselniku(QStringLiteral("1"));
                w.ADOConnection1.execute(QStringLiteral(
                    "insert into Uzivatele (id, jmeno, prijmeni, ecislo, dat_nar, aktivita) "
                    "values (1, 'Jan', 'Novák', '123', '1980-02-01', 100)"));
                w.rok = QStringLiteral("2027");
                for (int i = 0; i < 3; ++i) {
                    TNovaPlatba d(&w);
                    VyplnPlnouPlatbu(d);
                    QTimer zavri;
                    QObject::connect(&zavri, &QTimer::timeout, [] {
                        if (auto* f =
                                qobject_cast<TFormularPlateb*>(QApplication::activeModalWidget()))
                            f->reject();
                    });
                    zavri.start(0);
                    Zpravy::pridejOdpoved(0);
                    d.UlozitClick();
                }
                registr = vypisRegistru(w.ADOConnection1);
            }
            QVERIFY(registr.contains(QStringLiteral("Novák")));
            QCOMPARE(Zpravy::zaznamy().size(), 3);  // the three saves' questions
            QVERIFY(QFile::remove(QStringLiteral("dataCis.mdb")));
            QVERIFY(QFile::rename(data, puvodniSoubor));
        }
        const QByteArray puvodni = obsah(puvodniSoubor);
        auto novaSlozka = [&] {
            for (const QString& f : {data, zaloha, QStringLiteral("data.mdb.novy"),
                                     QStringLiteral("data.mdb-journal")})
                QFile::remove(f);
            QVERIFY(QFile::copy(puvodniSoubor, data));
        };

        // How long one take-over takes here, so that the kills fall before, during and after.
        novaSlozka();
        qint64 trvani = 0;
        {
            QProcess dite;
            dite.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            dite.start(
                QCoreApplication::applicationFilePath(),
                {jet ? QStringLiteral("--dite-prevzeti-jet") : QStringLiteral("--dite-prevzeti"),
                 s.cesta()});
            QVERIFY(dite.waitForReadyRead(20000));
            QElapsedTimer t;
            t.start();
            while (!dite.readAll().contains("hotovo")) QVERIFY(dite.waitForReadyRead(30000));
            trvani = t.elapsed();
            dite.kill();
            dite.waitForFinished(10000);
        }

        QElapsedTimer cas;
        cas.start();
        int predPrejmenovanim = 0, mezi = 0, poPrevzeti = 0;
        for (int i = 0; i < kZabiti && cas.elapsed() < kCasovyLimitMs; ++i) {
            novaSlozka();
            zabij(jet ? QStringLiteral("--dite-prevzeti-jet") : QStringLiteral("--dite-prevzeti"),
                  s.cesta(), 1 + i * (2 * trvani + 20) / kZabiti);
            // The old file, never changed, under its own name or the backup name.
            const bool stary = obsah(data) == puvodni;
            QVERIFY2(stary || obsah(zaloha) == puvodni, "the old register was changed");
            const bool nabidka = (stary && jet) || (!stary && QFileInfo(data).size() == 0);
            ++(stary ? predPrejmenovanim : nabidka ? mezi : poPrevzeti);
            Zpravy::vymazZaznamy();
            if (nabidka) Zpravy::pridejOdpoved(0);
            {
                TMain w;
                const auto z = Zpravy::zaznamy();
                QVERIFY2(z.size() == (nabidka ? 1 : 0), qPrintable(z.value(0).text));
                if (nabidka) QVERIFY2(z[0].typZpravy == 1, qPrintable(z[0].text));
                QVERIFY(!ProgramKonci());
                overIntegritu(w.ADOConnection1);
                if (jet)
                    QCOMPARE(jedna(w.ADOConnection1, QStringLiteral("select DB from verze")),
                             QStringLiteral("4"));
                else
                    QCOMPARE(vypisRegistru(w.ADOConnection1), registr);
            }
            QCOMPARE(obsah(stary && !jet ? data : zaloha), puvodni);
        }
        qInfo(
            "a take-over of %lld ms; kills before the renaming %d, between its two steps %d, "
            "after it %d",
            trvani, predPrejmenovanim, mezi, poPrevzeti);
    }

    // Every payment the child saved is whole: its header, its nine items adding up to its
    // amount, and no item without its header.
    void zabitiBehemUkladaniPlatby() {
        Pomocnik::PracovniSlozka s;
        Hodiny::nastav(QDateTime(QDate(2027, 3, 1), QTime(10, 0)));
        {
            TMain w;
            VzorovaData::vytvor(QStringLiteral("dataCis.mdb"));
            w.ImportCiselniku(QStringLiteral("1"));
            w.ADOConnection1.execute(
                QStringLiteral("insert into Uzivatele (id, jmeno, prijmeni, ecislo, dat_nar, "
                               "aktivita) values (1, 'Jan', 'Novák', '123', '1980-02-01', 100)"));
        }
        QElapsedTimer cas;
        cas.start();
        int plateb = 0;
        for (int i = 0; i < kZabiti && cas.elapsed() < kCasovyLimitMs; ++i) {
            zabij(QStringLiteral("--dite-platba"), s.cesta(), (i * 29) % 600 + 1);
            db::Connection c;
            c.open(QStringLiteral("data.mdb"), db::Connection::Rezim::Vyhradni);
            overIntegritu(c);
            const int nyni =
                jedna(c, QStringLiteral("select count(*) from HistoriePlatebHead")).toInt();
            QVERIFY(nyni >= plateb);
            plateb = nyni;
            QCOMPARE(jedna(c, QStringLiteral(
                                  "select count(*) from HistoriePlatebHead h where (select "
                                  "count(*) from HistoriePlateb p where p.cislo_platby = "
                                  "h.cislo_platby) <> 9 or (select sum(castka) from "
                                  "HistoriePlateb p where p.cislo_platby = h.cislo_platby) <> "
                                  "h.castka")),
                     QStringLiteral("0"));
            QCOMPARE(jedna(c, QStringLiteral("select count(*) from HistoriePlateb where "
                                             "cislo_platby not in (select cislo_platby from "
                                             "HistoriePlatebHead)")),
                     QStringLiteral("0"));
            QCOMPARE(jedna(c, QStringLiteral("select count(*) from HistoriePlateb")).toInt(),
                     9 * plateb);
        }
        QVERIFY2(plateb > 0, "no payment was saved before any kill");
        qInfo("payments saved across the kills: %d", plateb);
    }
};

int main(int argc, char** argv) {
    const QByteArray prepinac = argc == 3 ? QByteArray(argv[1]) : QByteArray();
    if (prepinac.startsWith("--dite-")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        Pomocnik::pripravProstredi();
        Hodiny::nastav(QDateTime(QDate(2027, 3, 1), QTime(10, 0)));
        const QString slozka = QString::fromLocal8Bit(argv[2]);
        if (prepinac == "--dite-start") return diteStart(slozka);
        if (prepinac == "--dite-start-prazdny") return diteStartNaPrazdnem(slozka);
        if (prepinac == "--dite-prevzeti") return ditePrevzeti(slozka, false);
        if (prepinac == "--dite-prevzeti-jet") return ditePrevzeti(slozka, true);
        if (prepinac == "--dite-import") return diteImport(slozka);
        if (prepinac == "--dite-platba") return ditePlatba(slozka);
        return 2;
    }
    QApplication app(argc, argv);
    TestOdolnostPad t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_odolnost_pad.moc"
