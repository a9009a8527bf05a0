// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include "ArchivZip.h"
#include "Databaze.h"
#include "Pomocnik.h"
#include "ServerHttp.h"
#include "VerzniBlok.h"
#include "VzorovaData.h"

// The real program started from a terminal in another folder, as "../program/ParmexRozu", on a
// machine without a locale of its own: everything it and its updater write lands beside the
// program, never in the folder it was started from. Three starts against a server on
// 127.0.0.1: one that cannot reach the announcement (the error log), one that imports new code
// lists through the real updater, one that updates the program itself.
namespace {

QByteArray oznameni(const QString& verzeProg, const QString& verzeCis) {
    return QStringLiteral(
               "[parmex-rozu]\r\nverzeprog=%1\r\ndatumprog=01.12.2026\r\n"
               "souborprog=Novy.zip\r\ndatumcis=01.12.2026\r\nsouborcis=cis.zip\r\n"
               "verzecis=%2\r\n")
        .arg(verzeProg, verzeCis)
        .toUtf8();
}

QByteArray precti(const QString& soubor) {
    QFile f(soubor);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return f.readAll();
}

QStringList obsahSlozky(const QString& slozka) {
    return QDir(slozka).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

}  // namespace

class TestJinaSlozka : public QObject {
    Q_OBJECT
    QTemporaryDir koren;
    ServerHttp server;

    QString program(const QString& jmeno = QString()) const {
        return koren.filePath(QStringLiteral("program/") + jmeno);
    }
    QString jinde() const { return koren.filePath(QStringLiteral("jinde")); }

    // Starts the program from the other folder and waits for it; returns its messages
    // ("ZobrazDialog[kind,buttons,answer]: text", one per line).
    QString spust(const QString& odpovedi) {
        QProcess proces;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PARMEX_ODPOVEDI"), odpovedi);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("PARMEX_ADRESA_SERVERU"), server.adresa(QString()));
        env.insert(QStringLiteral("PARMEX_KONEC_PO_STARTU"), QStringLiteral("1"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        env.remove(QStringLiteral("LANG"));
        proces.setProcessEnvironment(env);
        proces.setWorkingDirectory(jinde());
        // Output into a file outside both folders: the updater inherits it and may write after
        // the program has ended.
        const QString vystup = koren.filePath(QStringLiteral("vystup.txt"));
        QFile::remove(vystup);
        proces.setStandardOutputFile(vystup);
        proces.setStandardErrorFile(vystup);
        proces.start(QStringLiteral("../program/ParmexRozu"), {});
        if (!proces.waitForFinished(60000)) {
            proces.kill();
            proces.waitForFinished();
            return QStringLiteral("<the program did not end>");
        }
        if (proces.exitStatus() != QProcess::NormalExit) return QStringLiteral("<crashed>");
        QStringList zpravy;
        for (const QString& r : QString::fromUtf8(precti(vystup)).split(QLatin1Char('\n')))
            if (r.startsWith(QStringLiteral("ZobrazDialog["))) zpravy << r;
        return zpravy.join(QLatin1Char('\n'));
    }

private slots:
    void initTestCase() {
        Pomocnik::pripravProstredi();
        QVERIFY(koren.isValid());
        QVERIFY(QDir().mkpath(program()));
        QVERIFY(QDir().mkpath(jinde()));
        QVERIFY(QFile::copy(QStringLiteral(PARMEX_EXE), program(QStringLiteral("ParmexRozu"))));
        VzorovaData::vytvor(koren.filePath(QStringLiteral("zdroj.mdb")));
        server.pridejSoubor(
            QStringLiteral("/parmex/cis.zip"),
            ArchivZip::obsah({{QStringLiteral("dataCis.mdb"),
                               precti(koren.filePath(QStringLiteral("zdroj.mdb")))}},
                             koren.filePath(QStringLiteral("a.tmp"))));
        server.pridejSoubor(
            QStringLiteral("/parmex/novy.zip"),
            ArchivZip::obsah({{QStringLiteral("ParmexRozu"), Pomocnik::novyProgram(), 0755}},
                             koren.filePath(QStringLiteral("b.tmp"))));
    }

    // Without the announcement the program logs the failure and ends; its database and its
    // log lie beside it, the log's time in the Czech formats.
    void bezOznameni() {
        const QString zpravy = spust(QString());
        QVERIFY2(
            zpravy.startsWith(QStringLiteral(
                "ZobrazDialog[2,0,0]: Při zjišťování aktualizací došlo k neočekávané výjimce")),
            qPrintable(zpravy));
        QCOMPARE(obsahSlozky(jinde()), QStringList());
        QCOMPARE(obsahSlozky(program()), (QStringList{"Error.log", "ParmexRozu", "data.mdb"}));
        const QString log = QString::fromLocal8Bit(precti(program(QStringLiteral("Error.log"))));
        QVERIFY2(QRegularExpression(QStringLiteral(R"(^\d\d\.\d\d\.\d{4} \d{1,2}:\d\d:\d\d: Při )"))
                     .match(log)
                     .hasMatch(),
                 qPrintable(log));
    }

    // New code lists: the updater fetches dataCis.mdb into the program's folder, the program
    // imports it from there and deletes it.
    void noveCiselniky() {
        server.pridejSoubor(QStringLiteral("/parmex/verze.ini"), oznameni("1.0.4.30", "1"));
        QCOMPARE(spust(QString()), QString());
        QCOMPARE(obsahSlozky(jinde()), QStringList());
        QVERIFY(!QFileInfo::exists(program(QStringLiteral("dataCis.mdb"))));
        QVERIFY(!QFileInfo::exists(program(QStringLiteral("tmp"))));
        db::Connection c;
        c.open(program(QStringLiteral("data.mdb")), db::Connection::Rezim::JenCteni);
        db::Query q(&c);
        q.setSql(QStringLiteral("select verzecis, mesto from Nastaveni"));
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.field(0).asString(), QStringLiteral("1"));
        QCOMPARE(q.field(1).asString(), QString::fromUtf8(VzorovaData::kMesto));
    }

    // A program update: the updater replaces the installed program, not a file in the folder
    // the old one was started from, and starts the new one.
    void aktualizaceProgramu() {
        server.pridejSoubor(QStringLiteral("/parmex/verze.ini"), oznameni("1.0.5.0", "1"));
        const QString zpravy = spust(QStringLiteral("0"));
        QVERIFY2(
            zpravy.startsWith(QStringLiteral(
                "ZobrazDialog[1,1,0]: Byly nalezeny nové aktualizace, chcete je nainstalovat")),
            qPrintable(zpravy));
        QTRY_VERIFY_WITH_TIMEOUT(
            QFileInfo::exists(program(QStringLiteral("novy-program-bezi.txt"))), 30000);
        QCOMPARE(precti(program(QStringLiteral("ParmexRozu"))), Pomocnik::novyProgram());
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(program(QStringLiteral("tmp"))), 5000);
        QCOMPARE(obsahSlozky(jinde()), QStringList());
    }
};

QTEST_MAIN(TestJinaSlozka)
#include "tst_jinaslozka.moc"
