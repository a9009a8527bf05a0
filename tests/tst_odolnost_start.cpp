// SPDX-License-Identifier: GPL-3.0-or-later
// The program started on what it may find in its folder: its exit status after each kind of
// ending, a data.mdb that belongs to another program or is empty, a folder another start holds,
// and programs started at the same moment.
#include <QtGlobal>
#ifndef Q_OS_WIN
#include <unistd.h>
#endif

#include <QSemaphore>
#include <QStandardPaths>
#include <QtTest>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "Databaze.h"
#include "Pomocnik.h"
#include "Radky.h"
#include "ServerHttp.h"
#include "SouborDatabaze.h"
#include "Zpravy.h"
#include "fMain.h"
#include "uAllYouNeed.h"

namespace {

const QString kIni = QStringLiteral("/parmex/verze.ini");

QString jetSlozka() {
    return QStringLiteral(PARMEX_JET_DATA);
}

QByteArray obsah(const QString& soubor) {
    QFile f(soubor);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// An announcement of the given program version; the code lists are never current in a fresh
// folder, so a program that gets past it goes on to fetch them.
QByteArray oznameni(const QString& verzeProg) {
    return QStringLiteral(
               "[parmex-rozu]\r\nverzeprog=%1\r\ndatumprog=01.12.2026\r\n"
               "souborprog=program.zip\r\ndatumcis=01.12.2026\r\n"
               "souborcis=ciselniky.zip\r\nverzecis=1\r\n")
        .arg(verzeProg)
        .toUtf8();
}

// The real program, copied into the folder, started there with these answers to its messages
// and the test's server as the organisation's server. Its messages go to its error output.
struct Program {
    QProcess proces;
    // spoustec: a command that starts the program for it (setpriv as another user, say).
    Program(const QString& slozka, const QString& odpovedi, const QString& server,
            const QStringList& spoustec = {}) {
        const QString program = QDir(slozka).filePath(QStringLiteral("ParmexRozu"));
        if (!QFileInfo::exists(program) || obsah(program) != obsah(QStringLiteral(PARMEX_EXE))) {
            QFile::remove(program);
            QFile::copy(QStringLiteral(PARMEX_EXE), program);
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PARMEX_ODPOVEDI"), odpovedi);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("PARMEX_ADRESA_SERVERU"), server);
        proces.setProcessEnvironment(env);
        proces.setWorkingDirectory(slozka);
        if (spoustec.isEmpty())
            proces.start(program, {});
        else
            proces.start(spoustec.first(), spoustec.mid(1) + QStringList{program});
    }
    ~Program() {
        if (proces.state() != QProcess::NotRunning) {
            proces.kill();
            proces.waitForFinished(10000);
        }
    }
    // Its messages, one per line: "ZobrazDialog[kind,buttons,answer]: text".
    QStringList zpravy() {
        QStringList r;
        for (const QString& radek : QString::fromUtf8(proces.readAllStandardError()).split('\n'))
            if (radek.startsWith(QLatin1String("ZobrazDialog["))) r << radek;
        return r;
    }
};

// A database of another program in the folder: its tables, none named verze.
void zalozCiziDatabazi(const QString& slozka) {
    db::Connection c;
    {
        QFile f(QDir(slozka).filePath(QStringLiteral("data.mdb")));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    c.open(QDir(slozka).filePath(QStringLiteral("data.mdb")), db::Connection::Rezim::Vyhradni);
    c.execute(QStringLiteral("create table zakaznici (id integer primary key, jmeno text)"));
    c.execute(QStringLiteral("insert into zakaznici values (1, 'Jan Novák')"));
    c.execute(QStringLiteral("create table Uzivatele (id integer)"));
}

const QString kObsazeno = QStringLiteral(
    "ZobrazDialog[2,0,0]: Nastala chyba při otevření DB: soubor data.mdb je otevřen jiným "
    "programem (");

using Priprava = std::function<void(const QString& slozka)>;

}  // namespace

Q_DECLARE_METATYPE(Priprava)

class TestOdolnostStart : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }

    // The exit status tells an ending because of an error from one the user chose.
    void navratovyKod_data() {
        QTest::addColumn<Priprava>("priprava");
        QTest::addColumn<QString>("odpovedi");
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("kod");
        QTest::addColumn<QString>("zprava");
        const Priprava nic = [](const QString&) {};
        QTest::newRow("data.mdb cannot be opened")
            << Priprava([](const QString& slozka) { QVERIFY(QDir(slozka).mkdir("data.mdb")); })
            << QString() << oznameni(QStringLiteral("1.0.4.30")) << 1
            << "ZobrazDialog[2,0,0]: Nastala chyba při otevření DB: ";
        QTest::newRow("no announcement on the server")
            << nic << QString() << QByteArray() << 1 << "ZobrazDialog[2,0,0]: ";
        QTest::newRow("announcement of too few lines")
            << nic << QString() << QByteArray("[parmex-rozu]\r\n") << 1
            << "ZobrazDialog[0,0,0]: Nepodařilo se ověřit aktualizace";
        QTest::newRow("take-over of the earlier register declined")
            << Priprava([](const QString& slozka) {
                   QVERIFY(QFile::copy(jetSlozka() + QStringLiteral("/DateTestDatabase.mdb"),
                                       QDir(slozka).filePath(QStringLiteral("data.mdb"))));
               })
            << QStringLiteral("1") << oznameni(QStringLiteral("1.0.4.30")) << 0
            << "ZobrazDialog[1,1,1]: Byla nalezena databáze předchozího programu";
        QTest::newRow("database of another program")
            << Priprava(zalozCiziDatabazi) << QString() << oznameni(QStringLiteral("1.0.4.30")) << 1
            << "ZobrazDialog[2,0,0]: Nastala chyba při otevření DB: soubor data.mdb je databáze "
               "jiného programu";
        QTest::newRow("update declined")
            << nic << QStringLiteral("1") << oznameni(QStringLiteral("9.0.0.0")) << 0
            << "ZobrazDialog[1,1,1]: Byly nalezeny nové aktualizace";
    }
    void navratovyKod() {
        if (QByteArray(QTest::currentDataTag()).contains("earlier register") &&
            !QFileInfo::exists(jetSlozka()))
            QSKIP("The real Jet files are not beside the source tree.");
        QFETCH(Priprava, priprava);
        QFETCH(QString, odpovedi);
        QFETCH(QByteArray, ini);
        QFETCH(int, kod);
        QFETCH(QString, zprava);
        QTemporaryDir slozka;
        priprava(slozka.path());
        ServerHttp server;
        if (ini.isEmpty())
            server.nastavStav(kIni, 404);
        else
            server.pridejSoubor(kIni, ini);
        Program p(slozka.path(), odpovedi, server.adresa(QString()));
        QVERIFY(p.proces.waitForFinished(30000));
        const QStringList zpravy = p.zpravy();
        QCOMPARE(p.proces.exitStatus(), QProcess::NormalExit);
        QVERIFY2(p.proces.exitCode() == kod,
                 qPrintable(QStringLiteral("exit status %1\n").arg(p.proces.exitCode()) +
                            zpravy.join('\n')));
        QCOMPARE(zpravy.size(), 1);
        QVERIFY2(zpravy[0].startsWith(zprava), qPrintable(zpravy[0]));
    }

    // A register an ordinary user may not write: the file read only, or the folder (where
    // every write keeps its journal) read only while the file is not. Said at the start, with
    // the reason, before the member composes anything; nothing is written. Run as the user
    // nobody, for whom the rights count (they do not for root).
    void registrBezPravaZapisu_data() {
        QTest::addColumn<QFile::Permissions>("pravaSouboru");
        QTest::addColumn<QFile::Permissions>("pravaSlozky");
        QTest::addColumn<QString>("duvod");
        const QFile::Permissions cteni = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        const QFile::Permissions zapis = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        const QFile::Permissions pruchod = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
        QTest::newRow("file read only")
            << cteni << (cteni | zapis | pruchod)
            << "soubor je jen pro čtení nebo k němu nemáte právo zápisu";
        QTest::newRow("folder read only")
            << (cteni | zapis) << (cteni | pruchod) << "do složky \"%1\" nelze zapisovat";
    }
    void registrBezPravaZapisu() {
        QFETCH(QFile::Permissions, pravaSouboru);
        QFETCH(QFile::Permissions, pravaSlozky);
        QFETCH(QString, duvod);
#ifdef Q_OS_WIN
        QSKIP("A user's rights are set otherwise on Windows.");
#else
        if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty() || ::geteuid() != 0)
            QSKIP("Needs root and setpriv to start the program as an ordinary user.");
#endif
        QTemporaryDir slozka;
        const QString data = QDir(slozka.path()).filePath(QStringLiteral("data.mdb"));
        // The register made by a first start of the program itself (which then meets no server).
        {
            Program prvni(slozka.path(), QString(), QStringLiteral("http://127.0.0.1:9"));
            QVERIFY(prvni.proces.waitForFinished(30000));
        }
        const QByteArray pred = obsah(data);
        QVERIFY(QFile::setPermissions(data, pravaSouboru));
        QVERIFY(QFile::setPermissions(slozka.path(), pravaSlozky));
        Program p(slozka.path(), QString(), QStringLiteral("http://127.0.0.1:9"),
                  {QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"),
                   QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups")});
        QVERIFY(p.proces.waitForFinished(30000));
        QFile::setPermissions(slozka.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QStringList zpravy = p.zpravy();
        QCOMPARE(p.proces.exitCode(), 1);
        QCOMPARE(zpravy.size(), 1);
        QVERIFY2(
            zpravy[0].startsWith(
                QStringLiteral("ZobrazDialog[2,0,0]: Nastala chyba při otevření DB: do "
                               "souboru data.mdb nelze zapisovat (") +
                duvod.arg(QDir::toNativeSeparators(QFileInfo(slozka.path()).canonicalFilePath()))),
            qPrintable(zpravy.join('\n')));
        QCOMPARE(obsah(data), pred);
    }

    // A database of another program is refused with a clear message, before anything is
    // written into it.
    void ciziDatabaze() {
        Pomocnik::PracovniSlozka s;
        zalozCiziDatabazi(s.cesta());
        const QByteArray pred = obsah(QStringLiteral("data.mdb"));
        const QStringList predSoubory =
            QDir().entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        {
            TMain w;
            QVERIFY(ProgramKonci());
            QCOMPARE(NavratovyKod(), 1);
            QVERIFY(!w.ADOConnection1.isOpen());
        }
        const auto z = Zpravy::zaznamy();
        QCOMPARE(z.size(), 1);
        QCOMPARE(z[0].typZpravy, 2);
        QCOMPARE(z[0].text,
                 QStringLiteral("Nastala chyba při otevření DB: soubor data.mdb je databáze jiného "
                                "programu (nemá tabulku verze). Soubor zůstal beze změny; přesuňte "
                                "jej prosím jinam a spusťte program znovu."));
        QCOMPARE(obsah(QStringLiteral("data.mdb")), pred);
        QCOMPARE(QDir().entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), predSoubory);
    }

    // A data.mdb of 0 bytes, or the empty template, is no database yet: the program makes its
    // own and starts.
    void prazdnaDatabaze_data() {
        QTest::addColumn<bool>("sablona");
        QTest::newRow("0 bytes") << false;
        QTest::newRow("the empty template") << true;
    }
    void prazdnaDatabaze() {
        QFETCH(bool, sablona);
        Pomocnik::PracovniSlozka s;
        if (sablona) {
            QVERIFY(QFile::copy(QStringLiteral(":/EXEFILE/dataDB"), QStringLiteral("data.mdb")));
            QFile(QStringLiteral("data.mdb")).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        } else {
            QFile f(QStringLiteral("data.mdb"));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        {
            TMain w;
            QVERIFY(!ProgramKonci());
            QVERIFY(w.ADOConnection1.isOpen());
        }
        QVERIFY2(Zpravy::zaznamy().isEmpty(), qPrintable(Zpravy::zaznamy().value(0).text));
        QCOMPARE(jednaHodnota(QStringLiteral("data.mdb"), QStringLiteral("select DB from verze")),
                 QStringLiteral("4"));
        QVERIFY(!QFileInfo::exists(QStringLiteral("data.mdb.novy")));
    }

    // The folder is held by another start (one asking its user about a take-over holds it as
    // long as the question is open): a start waits a while for it, then says that the database
    // is in use and ends, having touched nothing.
    void slozkaDrzena_data() {
        QTest::addColumn<int>("drzetMs");
        QTest::newRow("released meanwhile") << 300;
        QTest::newRow("held throughout") << SouborDatabaze::ZamekSlozky::kCekaniMs + 2000;
    }
    void slozkaDrzena() {
        QFETCH(int, drzetMs);
        Pomocnik::PracovniSlozka s;
        QSemaphore drzi;
        std::thread jiny([&] {
            SouborDatabaze::ZamekSlozky zamek(s.cesta());
            drzi.release();
            QThread::msleep(drzetMs);
        });
        drzi.acquire();
        const bool uvolneno = drzetMs < SouborDatabaze::ZamekSlozky::kCekaniMs;
        {
            TMain w;
            QCOMPARE(ProgramKonci(), !uvolneno);
            QCOMPARE(w.ADOConnection1.isOpen(), uvolneno);
        }
        jiny.join();
        const auto z = Zpravy::zaznamy();
        if (uvolneno) {
            QVERIFY2(z.isEmpty(), qPrintable(z.value(0).text));
            QCOMPARE(
                jednaHodnota(QStringLiteral("data.mdb"), QStringLiteral("select DB from verze")),
                QStringLiteral("4"));
        } else {
            QCOMPARE(NavratovyKod(), 1);
            QCOMPARE(z.size(), 1);
            QCOMPARE(z[0].text, QStringLiteral("Nastala chyba při otevření DB: soubor data.mdb je "
                                               "otevřen jiným programem (jiná kopie programu jej "
                                               "právě zakládá nebo otevírá)"));
            QVERIFY(!QFileInfo::exists(QStringLiteral("data.mdb")));
        }
    }

    // Programs started at the same moment in a fresh folder: exactly one makes the database and
    // goes on to the update check (where the silent server holds it), every other one says that
    // the database is in use. Nothing half made is left behind.
    void soubezneStarty_data() {
        QTest::addColumn<int>("programu");
        QTest::addColumn<int>("pokusu");
        QTest::newRow("two") << 2 << 8;
        QTest::newRow("four") << 4 << 4;
    }
    void soubezneStarty() {
        QFETCH(int, programu);
        QFETCH(int, pokusu);
        ServerHttp server;
        server.nastavTicho(kIni);
        for (int i = 0; i < pokusu; ++i) {
            QTemporaryDir slozka;
            const QString program = QDir(slozka.path()).filePath(QStringLiteral("ParmexRozu"));
            QVERIFY(QFile::copy(QStringLiteral(PARMEX_EXE), program));
            const int dotazuPred = server.pozadavky().size();
            std::vector<std::unique_ptr<Program>> programy;
            for (int k = 0; k < programu; ++k)
                programy.push_back(
                    std::make_unique<Program>(slozka.path(), QString(), server.adresa(QString())));
            auto skoncilo = [&] {
                int n = 0;
                for (const auto& p : programy) n += p->proces.state() == QProcess::NotRunning;
                return n;
            };
            QTRY_VERIFY_WITH_TIMEOUT(
                skoncilo() == programu ||
                    (skoncilo() == programu - 1 && server.pozadavky().size() > dotazuPred),
                30000);
            for (const auto& p : programy) {
                const QStringList zpravy = p->zpravy();
                if (p->proces.state() == QProcess::NotRunning) {
                    QVERIFY2(zpravy.size() == 1 && zpravy[0].startsWith(kObsazeno),
                             qPrintable(zpravy.join('\n')));
                    QCOMPARE(p->proces.exitCode(), 1);
                } else {
                    QVERIFY2(zpravy.isEmpty(), qPrintable(zpravy.join('\n')));
                    p->proces.kill();
                    QVERIFY(p->proces.waitForFinished(10000));
                }
            }
            QCOMPARE(server.pozadavky().size(), dotazuPred + 1);
            const QString data = QDir(slozka.path()).filePath(QStringLiteral("data.mdb"));
            QCOMPARE(jednaHodnota(data, QStringLiteral("select DB from verze")),
                     QStringLiteral("4"));
            QCOMPARE(QDir(slozka.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                     (QStringList{QStringLiteral("data.mdb"), QStringLiteral("ParmexRozu")}));
        }
    }
};

QTEST_MAIN(TestOdolnostStart)
#include "tst_odolnost_start.moc"
