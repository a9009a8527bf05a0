// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include "ArchivZip.h"
#include "Pomocnik.h"
#include "ServerHttp.h"
#include "VerzniBlok.h"

// A program update end to end: the real ParmexRozu, pointed at a server on 127.0.0.1, is
// answered "Ano", writes out its embedded updater, starts it and closes; the updater replaces
// the program file from the archive and starts it again.
namespace {

QByteArray precti(const QString& soubor) {
    QFile f(soubor);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return f.readAll();
}

}  // namespace

class TestAktualizaceProgramu : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }

    void aktualizaceProgramu() {
        Pomocnik::PracovniSlozka s;
        const QString program = s.cesta(QStringLiteral("ParmexRozu"));
        QVERIFY(QFile::remove(program));
        QVERIFY(QFile::copy(QStringLiteral(PARMEX_EXE), program));

        const QByteArray kNovyProgram = Pomocnik::novyProgram();
        ServerHttp server;
        server.pridejSoubor(QStringLiteral("/parmex/verze.ini"),
                            "[PARMEX-ROZU]\r\nverzeprog=1.0.5.0\r\ndatumprog=01.12.2026\r\n"
                            "souborprog=Novy.ZIP\r\ndatumcis=01.12.2026\r\nsouborcis=cis.zip\r\n"
                            "verzecis=1\r\n");
        // The announced name arrives in small letters.
        server.pridejSoubor(QStringLiteral("/parmex/novy.zip"),
                            ArchivZip::obsah({{QStringLiteral("ParmexRozu"), kNovyProgram, 0755}},
                                             s.cesta(QStringLiteral("a.tmp"))));

        QProcess proces;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PARMEX_ODPOVEDI"), QStringLiteral("0"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("PARMEX_ADRESA_SERVERU"), server.adresa(QString()));
        proces.setProcessEnvironment(env);
        proces.setWorkingDirectory(s.cesta());
        // Output into a file, not a pipe: the updater inherits it and keeps writing after the
        // program has ended, when a pipe would already be closed.
        const QString vystup = s.cesta(QStringLiteral("vystup.txt"));
        proces.setStandardOutputFile(vystup);
        proces.setStandardErrorFile(vystup);
        proces.start(program, {});
        QVERIFY(proces.waitForFinished(30000));
        QCOMPARE(proces.exitCode(), 0);
        QString zpravy = QString::fromUtf8(precti(vystup));
        QVERIFY2(
            zpravy.contains(QStringLiteral(
                "ZobrazDialog[1,1,0]: Byly nalezeny nové aktualizace, chcete je nainstalovat")),
            qPrintable(zpravy));
        QCOMPARE(zpravy.count(QStringLiteral("ZobrazDialog[")), 1);

        // The updater replaces the program and starts the new one.
        QTRY_VERIFY_WITH_TIMEOUT(
            QFileInfo::exists(s.cesta(QStringLiteral("novy-program-bezi.txt"))), 20000);
        QCOMPARE(precti(program), kNovyProgram);
        QCOMPARE(server.pozadavky(), (QStringList{QStringLiteral("/parmex/verze.ini"),
                                                  QStringLiteral("/parmex/novy.zip")}));
        // The updater stays for the next normal close; its folder is gone, the database stays.
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(s.cesta(QStringLiteral("tmp"))), 5000);
        QVERIFY(QFileInfo(s.cesta(QStringLiteral("Obnovnik"))).isExecutable());
        QVERIFY(QFileInfo::exists(s.cesta(QStringLiteral("data.mdb"))));
        QVERIFY(s.log().isEmpty());
        // Neither the program nor the updater had anything more to say.
        zpravy = QString::fromUtf8(precti(vystup));
        QCOMPARE(zpravy.count(QStringLiteral("ZobrazDialog[")), 1);
    }

    // The updater's command line cannot carry a quote inside a path: a program in a folder whose
    // path holds one says so at start and ends, before it writes anything there.
    void slozkaSUvozovkou() {
        Pomocnik::PracovniSlozka s;
        const QString slozka = s.cesta(QStringLiteral("Moje \"platby\""));
        QVERIFY(QDir().mkpath(slozka));
        const QString program = slozka + QStringLiteral("/ParmexRozu");
        QVERIFY(QFile::copy(QStringLiteral(PARMEX_EXE), program));

        // Newer code lists are announced: the updater would get a broken path.
        ServerHttp server;
        server.pridejSoubor(
            QStringLiteral("/parmex/verze.ini"),
            "[parmex-rozu]\r\nverzeprog=1.0.4.30\r\ndatumprog=\r\nsouborprog=p.zip\r\n"
            "datumcis=\r\nsouborcis=cis.zip\r\nverzecis=99\r\n");
        QProcess proces;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PARMEX_ODPOVEDI"), QStringLiteral("0,1,1,1"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("PARMEX_ADRESA_SERVERU"), server.adresa(QString()));
        proces.setProcessEnvironment(env);
        proces.start(program, {});
        const bool skoncil = proces.waitForFinished(30000);
        if (!skoncil) proces.kill();
        QVERIFY(skoncil);
        QVERIFY(proces.exitCode() != 0);
        // The message as the program prints it, each line break as a backslash and "r".
        QStringList zpravy;
        for (const QString& r : QString::fromUtf8(proces.readAllStandardError()).split('\n'))
            if (r.startsWith(QStringLiteral("ZobrazDialog["))) zpravy << r;
        QCOMPARE(
            zpravy,
            QStringList{QStringLiteral("ZobrazDialog[2,0,0]: Program nelze spustit z umístění, "
                                       "jehož cesta obsahuje uvozovky (\"):\\r") +
                        program +
                        QStringLiteral("\\rAktualizace by do něj nebylo možné nainstalovat. "
                                       "Přesuňte prosím program do složky bez uvozovek v "
                                       "názvu.")});
        QCOMPARE(QDir(slozka).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("ParmexRozu")});
        QCOMPARE(server.pozadavky(), QStringList{});
    }
};

QTEST_MAIN(TestAktualizaceProgramu)
#include "tst_aktualizaceprogramu.moc"
