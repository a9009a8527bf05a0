// SPDX-License-Identifier: GPL-3.0-or-later
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

#include "ArchivZip.h"
#include "Obnovnik.h"
#include "Pomocnik.h"
#include "ServerHttp.h"
#include "VerzniBlok.h"

using ArchivZip::Polozka;

// Runs the real updater as a separate process in a working folder of its own, against a
// server on 127.0.0.1 and with archives made here; its messages are answered through
// PARMEX_ODPOVEDI and read from its error output.
namespace {

const char* const otazka =
    "Při odstranění původního souboru došlo k chybě - buď je spuštěn nebo nemáte právo k "
    "přepisu, zkusit znovu?";
const char* const vyjimka = "Při rozbalování archívu došlo k výjimce: ";

// A stand-in for a program of the given organisation: it writes its arguments, one a line,
// beside itself, and carries a version block (after its end, where the shell never reads).
QByteArray program(const QString& produkt) {
    QMap<QString, QString> blok;
    blok.insert("FileVersion", "1.0.5.0");
    blok.insert("ProductName", produkt);
    return "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/argumenty.txt\"\nexit 0\n" +
           VerzniBlok::sestav(blok);
}
// The new program of the organisation the working folder's program belongs to.
const QByteArray skript = program("Parmex Rozu - MO Varnov");

QByteArray precti(const QString& soubor) {
    QFile f(soubor);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return f.readAll();
}

void zapis(const QString& soubor, const QByteArray& obsah) {
    QFile f(soubor);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(obsah);
}

struct Beh {
    bool skoncil = false;
    int kod = -1;
    QStringList zpravy;  // "ZobrazDialog[kind,buttons,answer]: text"
};

class Obnovnik {
public:
    Obnovnik() {
        QFile::copy(QStringLiteral(OBNOVNIK_EXE), s.cesta("Obnovnik"));
        zapis(s.cesta("dataCis.mdb"), "stara data");
    }

    // limitMs: the download's idle time-out; celkemMs: its overall deadline (0: the updater's
    // own).
    void spust(const QStringList& argumenty, const QString& odpovedi = QString(),
               int limitMs = 30000, int celkemMs = 0) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PARMEX_ODPOVEDI", odpovedi);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("PARMEX_CASOVY_LIMIT_MS", QString::number(limitMs));
        if (celkemMs > 0) env.insert("PARMEX_CELKOVY_LIMIT_MS", QString::number(celkemMs));
        proces.setProcessEnvironment(env);
        proces.setWorkingDirectory(s.cesta());
        if (spoustec.isEmpty())
            proces.start(s.cesta("Obnovnik"), argumenty);
        else
            proces.start(spoustec.first(),
                         spoustec.mid(1) + QStringList{s.cesta("Obnovnik")} + argumenty);
        proces.waitForStarted();
    }

    Beh dokonci(int casMs = 30000) {
        Beh b;
        b.skoncil = proces.waitForFinished(casMs);
        if (!b.skoncil) {
            proces.kill();
            proces.waitForFinished();
        }
        b.kod = proces.exitCode();
        b.zpravy = zpravy(proces.readAllStandardError());
        return b;
    }

    Beh beh(const QStringList& argumenty, const QString& odpovedi = QString(), int limitMs = 30000,
            int celkemMs = 0) {
        spust(argumenty, odpovedi, limitMs, celkemMs);
        return dokonci();
    }

    static QStringList zpravy(const QByteArray& vystup) {
        QStringList z;
        for (const QString& r : QString::fromUtf8(vystup).split('\n'))
            if (r.startsWith("ZobrazDialog[")) z << r;
        return z;
    }

    // The arguments of the windowed run, with two for the started program.
    QStringList okenni(const QString& cesta) const {
        return {server.adresa(cesta), "tmp\\",          "ParmexRozu.zip", "ParmexRozu",
                "ParmexRozu",         "první argument", "druhý"};
    }
    QStringList tichy(const QString& cesta) const {
        return {server.adresa(cesta), "tmp\\", "dataCis.zip", s.cesta("dataCis.mdb")};
    }
    bool archiv(const QString& cesta, const QVector<Polozka>& polozky) {
        const QByteArray b = ArchivZip::obsah(polozky, s.cesta("archiv.tmp"));
        server.pridejSoubor(cesta, b);
        return !b.isEmpty();
    }

    Pomocnik::PracovniSlozka s;
    ServerHttp server;
    QProcess proces;
    QStringList spoustec;  // a command that starts the updater for the test (strace), if any
};

}  // namespace

class TestObnovnikBeh : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }

    void tichyBehNahradiCiselniky() {
        Obnovnik o;
        QVERIFY(o.archiv("/dataCis.zip", {{"DataCis.MDB", "nova data"}}));
        const Beh b = o.beh(o.tichy("/dataCis.zip"));
        QVERIFY(b.skoncil);
        QCOMPARE(b.zpravy, QStringList{});
        QCOMPARE(precti(o.s.cesta("dataCis.mdb")), QByteArray("nova data"));
        // Archive, unpacked file and the temporary folder are gone.
        QVERIFY(!QFileInfo::exists(o.s.cesta("tmp")));
        QCOMPARE(o.server.pozadavky(), QStringList{"/dataCis.zip"});
    }

    void okenniBehNahradiASpustiProgram() {
        Obnovnik o;
        QVERIFY(
            o.archiv("/ParmexRozu.zip", {{"ParmexRozu", skript, 0755}, {"cti.txt", "jen text"}}));
        const Beh b = o.beh(o.okenni("/ParmexRozu.zip"));
        QVERIFY(b.skoncil);
        QCOMPARE(b.zpravy, QStringList{});
        QCOMPARE(precti(o.s.cesta("ParmexRozu")), skript);
        QVERIFY(QFileInfo(o.s.cesta("ParmexRozu")).isExecutable());
        QVERIFY(!QFileInfo::exists(o.s.cesta("tmp")));
        // The replaced program was started with arguments 6 and 7, each whole.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(o.s.cesta("argumenty.txt")), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(precti(o.s.cesta("argumenty.txt")),
                                  QString("první argument\ndruhý\n").toUtf8(), 5000);
    }

    void spatnyPocetArgumentu_data() {
        QTest::addColumn<QStringList>("argumenty");
        QTest::newRow("none") << QStringList{};
        QTest::newRow("three") << QStringList{"http://127.0.0.1:1/a.zip", "tmp\\", "a.zip"};
        QTest::newRow("empty quoted ones do not count")
            << QStringList{"http://127.0.0.1:1/a.zip", "tmp\\", "a.zip", "\"\"", ""};
    }
    void spatnyPocetArgumentu() {
        QFETCH(QStringList, argumenty);
        Obnovnik o;
        const Beh b = o.beh(argumenty);
        QVERIFY(b.skoncil);
        QCOMPARE(b.zpravy,
                 QStringList{"ZobrazDialog[0,0,0]: Spuštěno se špatným počtem parametrů..."});
        QCOMPARE(o.server.pozadavky(), QStringList{});
    }

    // Every failure of the silent run: one message, the end, the old file untouched.
    void tichyBehSelze_data() {
        QTest::addColumn<QVector<Polozka>>("polozky");
        QTest::addColumn<QByteArray>("surovy");
        QTest::addColumn<QString>("zprava");
        QTest::newRow("404") << QVector<Polozka>{} << QByteArray() << "Error downloading URL: ";
        QTest::newRow("silent server")
            << QVector<Polozka>{} << QByteArray("ticho") << "Error downloading URL: ";
        // A byte every 100 ms: the idle time-out never strikes, the overall deadline does.
        QTest::newRow("trickling server")
            << QVector<Polozka>{} << QByteArray("pomalu") << "Error downloading URL: ";
        QTest::newRow("corrupt archive") << QVector<Polozka>{} << QByteArray("zadny zip")
                                         << QString(vyjimka) + "Chyba dělení v archívu";
        QTest::newRow("zip-slip") << QVector<Polozka>{{"dataCis.mdb", "zla data"},
                                                      {"../venku.txt", "x"}}
                                  << QByteArray()
                                  << QString(vyjimka) + "Chyby na jednom nebo více souborech";
        QTest::newRow("symbolic link")
            << QVector<Polozka>{{"odkaz", "..", 0777, true},
                                {"odkaz/venku.txt", "x"},
                                {"dataCis.mdb", "zla data"}}
            << QByteArray() << QString(vyjimka) + "Chyby na jednom nebo více souborech";
        QTest::newRow("file only inside a folder")
            << QVector<Polozka>{{"sub/dataCis.mdb", "nova data"}} << QByteArray()
            << "Nový soubor \"tmp/dataCis.mdb\" v rozbaleném archívu chybí";
    }
    void tichyBehSelze() {
        QFETCH(QVector<Polozka>, polozky);
        QFETCH(QByteArray, surovy);
        QFETCH(QString, zprava);
        Obnovnik o;
        if (!polozky.isEmpty()) QVERIFY(o.archiv("/dataCis.zip", polozky));
        if (surovy == "ticho") {
            o.server.nastavTicho("/dataCis.zip");
        } else if (surovy == "pomalu") {
            o.server.pridejSoubor("/dataCis.zip", QByteArray(100000, 'p'));
            o.server.nastavPomalu("/dataCis.zip", 100);
        } else if (!surovy.isEmpty()) {
            o.server.pridejSoubor("/dataCis.zip", surovy);
        }
        const Beh b = o.beh(o.tichy("/dataCis.zip"), QString(), 500, 2000);
        QVERIFY(b.skoncil);
        QCOMPARE(b.zpravy.size(), 1);
        QVERIFY2(b.zpravy[0].startsWith("ZobrazDialog[2,0,0]: " + zprava), qPrintable(b.zpravy[0]));
        QCOMPARE(precti(o.s.cesta("dataCis.mdb")), QByteArray("stara data"));
        QVERIFY(!QFileInfo::exists(o.s.cesta("venku.txt")));
        if (zprava.startsWith("Error"))
            QCOMPARE(b.zpravy[0], "ZobrazDialog[2,0,0]: Error downloading URL: " +
                                      o.server.adresa("/dataCis.zip"));
    }

    // The archive holds something else than a program of this organisation: the old program
    // stays and is not started, the updater says why and cleans up.
    void okenniBehCiziProgram_data() {
        QTest::addColumn<QByteArray>("obsah");
        QTest::addColumn<QString>("zprava");
        QByteArray nahodne(4096, 0);
        for (char& c : nahodne) c = char(QRandomGenerator::global()->bounded(256));
        QTest::newRow("random bytes") << nahodne << "není program \"Parmex Rozu - MO Varnov\"";
        QTest::newRow("other organisation")
            << program("Parmex Rozu - MO Kelmina")
            << "je program \"Parmex Rozu - MO Kelmina\", ne \"Parmex Rozu - MO Varnov\"";
    }
    void okenniBehCiziProgram() {
        QFETCH(QByteArray, obsah);
        QFETCH(QString, zprava);
        Obnovnik o;
        QVERIFY(o.archiv("/ParmexRozu.zip", {{"ParmexRozu", obsah, 0755}}));
        const QByteArray stary = precti(o.s.cesta("ParmexRozu"));
        const Beh b = o.beh(o.okenni("/ParmexRozu.zip"));
        QVERIFY(b.skoncil);
        QCOMPARE(b.zpravy.size(), 1);
        QVERIFY2(b.zpravy[0].startsWith("ZobrazDialog[2,0,0]: Nový soubor \"tmp/ParmexRozu\" ") &&
                     b.zpravy[0].contains(zprava) &&
                     b.zpravy[0].endsWith("původní soubor \"ParmexRozu\" zůstává beze změny."),
                 qPrintable(b.zpravy[0]));
        QCOMPARE(precti(o.s.cesta("ParmexRozu")), stary);
        QVERIFY(!QFileInfo::exists(o.s.cesta("tmp")));
        QTest::qWait(300);
        QVERIFY(!QFileInfo::exists(o.s.cesta("argumenty.txt")));
    }

    // A bad archive leaves a folder where the code-list file goes; the next, good archive is
    // not blocked by it.
    void spatnyArchivNeblokujeDalsi() {
        Obnovnik o;
        QVERIFY(o.archiv("/dataCis.zip", {{"dataCis.mdb/", {}}, {"dataCis.mdb/x", "x"}}));
        Beh b = o.beh(o.tichy("/dataCis.zip"));
        QVERIFY(b.skoncil);
        QCOMPARE(b.zpravy.size(), 1);
        QVERIFY2(b.zpravy[0].contains("v rozbaleném archívu chybí"), qPrintable(b.zpravy[0]));
        QCOMPARE(precti(o.s.cesta("dataCis.mdb")), QByteArray("stara data"));

        QVERIFY(o.archiv("/dataCis.zip", {{"dataCis.mdb", "nova data"}}));
        b = o.beh(o.tichy("/dataCis.zip"));
        QVERIFY(b.skoncil);
        QCOMPARE(b.zpravy, QStringList{});
        QCOMPARE(precti(o.s.cesta("dataCis.mdb")), QByteArray("nova data"));
        QVERIFY(!QFileInfo::exists(o.s.cesta("tmp")));
    }

    // A small archive whose entry unpacks to more than the largest file allowed: refused before
    // anything is written.
    void prilisVelkySoubor() {
        Obnovnik o;
        QByteArray archiv = ArchivZip::obsah(
            {{"dataCis.mdb", QByteArray(int(obnovnik::kNejvetsiSoubor) + 1, '\0')}},
            o.s.cesta("a.tmp"));
        QVERIFY(archiv.size() < 1024 * 1024);
        o.server.pridejSoubor("/dataCis.zip", archiv);
        const Beh b = o.beh(o.tichy("/dataCis.zip"));
        QVERIFY(b.skoncil);
        QCOMPARE(b.zpravy, QStringList{"ZobrazDialog[2,0,0]: " + QString(vyjimka) +
                                       "Soubor v archívu je po rozbalení větší než povolená "
                                       "velikost"});
        QCOMPARE(precti(o.s.cesta("dataCis.mdb")), QByteArray("stara data"));
        QVERIFY(!QFileInfo::exists(o.s.cesta("tmp/dataCis.mdb")));
    }

    void okenniBehBezProgramuVArchivu() {
        Obnovnik o;
        QVERIFY(o.archiv("/ParmexRozu.zip", {{"ParmexRozu", skript, 0644}, {"a.txt", "a"}}));
        const Beh b = o.beh(o.okenni("/ParmexRozu.zip"));
        QVERIFY(b.skoncil);
        QCOMPARE(b.zpravy, QStringList{"ZobrazDialog[2,0,0]: " + QString(vyjimka) +
                                       "Nebyl nalezen žádný soubor"});
        QVERIFY(precti(o.s.cesta("ParmexRozu")) != skript);
        QVERIFY(!QFileInfo::exists(o.s.cesta("argumenty.txt")));
    }

    void okenniBehPriChybeStazeniZustaneOtevreny() {
        Obnovnik o;
        o.spust(o.okenni("/chybi.zip"));
        QByteArray vystup;
        // Wait for the whole line of the message.
        auto zpravaPrisla = [&] {
            vystup += o.proces.readAllStandardError();
            const int od = vystup.indexOf("ZobrazDialog");
            return (od >= 0 && vystup.indexOf('\n', od) > 0) ||
                   o.proces.state() == QProcess::NotRunning;
        };
        QTRY_VERIFY_WITH_TIMEOUT(zpravaPrisla(), 15000);
        QTest::qWait(300);
        QCOMPARE(o.proces.state(), QProcess::Running);
        o.dokonci(0);
        QCOMPARE(Obnovnik::zpravy(vystup),
                 QStringList{"ZobrazDialog[2,0,0]: Error downloading URL: " +
                             o.server.adresa("/chybi.zip")});
    }

    void okenniBehNelzeNahradit() {
        Obnovnik o;
        QVERIFY(o.archiv("/ParmexRozu.zip", {{"ParmexRozu", skript, 0755}}));
        // A folder standing where the copy beside the program goes: the new file cannot be
        // written, which is what the user is asked about (not the removal of the old file).
        QVERIFY(QDir().mkpath(o.s.cesta("ParmexRozu.obnova")));
        const QByteArray stary = precti(o.s.cesta("ParmexRozu"));
        const Beh b = o.beh(o.okenni("/ParmexRozu.zip"), "0,1");
        QVERIFY(b.skoncil);
        const QString nelzeZapsat =
            QStringLiteral("Nový soubor nelze zapsat vedle původního souboru \"ParmexRozu\" (");
        QCOMPARE(b.zpravy.size(), 2);
        QVERIFY2(b.zpravy[0].startsWith("ZobrazDialog[1,1,0]: " + nelzeZapsat) &&
                     b.zpravy[1].startsWith("ZobrazDialog[1,1,1]: " + nelzeZapsat) &&
                     b.zpravy[1].endsWith(
                         QStringLiteral("Původní soubor zůstává beze změny; zkusit znovu?")),
                 qPrintable(b.zpravy.join('\n')));
        QCOMPARE(precti(o.s.cesta("ParmexRozu")), stary);
        QTest::qWait(300);
        QVERIFY(!QFileInfo::exists(o.s.cesta("argumenty.txt")));
    }

    // The new file is on the disk before its name replaces the old one, and the new name is
    // on the disk right after: a power cut at any moment leaves the old or the whole new file.
    // Seen in the system calls the updater makes (strace).
    void nahradaZapsanaNaDisk() {
        if (QStandardPaths::findExecutable(QStringLiteral("strace")).isEmpty())
            QSKIP("strace is not installed.");
        Obnovnik o;
        QVERIFY(o.archiv("/dataCis.zip", {{"dataCis.mdb", "nova data"}}));
        const QString zaznam = o.s.cesta("volani.txt");
        o.spoustec = {QStringLiteral("strace"),
                      QStringLiteral("-f"),
                      QStringLiteral("-y"),
                      QStringLiteral("-e"),
                      QStringLiteral("trace=fsync,fdatasync,rename,renameat,renameat2"),
                      QStringLiteral("-o"),
                      zaznam};
        const Beh b = o.beh(o.tichy("/dataCis.zip"));
        QVERIFY(b.skoncil);
        QCOMPARE(precti(o.s.cesta("dataCis.mdb")), QByteArray("nova data"));
        const QStringList volani = QString::fromUtf8(precti(zaznam)).split('\n');
        auto kde = [&](const QRegularExpression& vzor, int od) {
            for (int i = od; i < volani.size(); ++i)
                if (vzor.match(volani[i]).hasMatch()) return i;
            return -1;
        };
        const QString cil = QRegularExpression::escape(o.s.cesta("dataCis.mdb"));
        const QString slozka =
            QRegularExpression::escape(QFileInfo(o.s.cesta()).canonicalFilePath());
        const int prejmenovani =
            kde(QRegularExpression(QStringLiteral("rename.*dataCis\\.mdb\\.obnova\".*\"") + cil +
                                   QStringLiteral("\".*= 0")),
                0);
        QVERIFY2(prejmenovani >= 0, qPrintable(volani.join('\n')));
        const int zapisSouboru =
            kde(QRegularExpression(
                    QStringLiteral("f(data)?sync\\(\\d+<[^>]*dataCis\\.mdb\\.obnova>\\) = 0")),
                0);
        QVERIFY2(zapisSouboru >= 0 && zapisSouboru < prejmenovani, qPrintable(volani.join('\n')));
        const int zapisSlozky = kde(QRegularExpression(QStringLiteral("f(data)?sync\\(\\d+<") +
                                                       slozka + QStringLiteral(">\\) = 0")),
                                    prejmenovani);
        QVERIFY2(zapisSlozky > prejmenovani, qPrintable(volani.join('\n')));
    }

    void tichyBehNelzeNahradit() {
        Obnovnik o;
        QVERIFY(o.archiv("/dataCis.zip", {{"dataCis.mdb", "nova data"}}));
        QVERIFY(QDir().mkpath(o.s.cesta("dataCis.mdb.obnova")));
        const Beh b = o.beh(o.tichy("/dataCis.zip"), "1");
        QVERIFY(b.skoncil);
        QCOMPARE(b.zpravy.size(), 1);
        QVERIFY2(b.zpravy[0].startsWith(
                     QStringLiteral("ZobrazDialog[1,1,1]: Nový soubor nelze zapsat vedle "
                                    "původního souboru \"%1\" (")
                         .arg(o.s.cesta("dataCis.mdb"))),
                 qPrintable(b.zpravy.join('\n')));
        QCOMPARE(precti(o.s.cesta("dataCis.mdb")), QByteArray("stara data"));
        // The temporary files go all the same.
        QVERIFY(!QFileInfo::exists(o.s.cesta("tmp")));
    }

    // The old file itself cannot be replaced (a folder with content stands where it goes): the
    // question about removing the old file, and the folder stays.
    void tichyBehStaryNelzeOdstranit() {
        Obnovnik o;
        QVERIFY(o.archiv("/dataCis.zip", {{"dataCis.mdb", "nova data"}}));
        QVERIFY(QFile::remove(o.s.cesta("dataCis.mdb")));
        QVERIFY(QDir().mkpath(o.s.cesta("dataCis.mdb/uvnitr")));
        const Beh b = o.beh(o.tichy("/dataCis.zip"), "0,1");
        QVERIFY(b.skoncil);
        QCOMPARE(b.zpravy, (QStringList{"ZobrazDialog[1,1,0]: " + QString(otazka),
                                        "ZobrazDialog[1,1,1]: " + QString(otazka)}));
        QVERIFY(QFileInfo(o.s.cesta("dataCis.mdb/uvnitr")).isDir());
        QVERIFY(!QFileInfo::exists(o.s.cesta("dataCis.mdb.obnova")));
    }

    void docasnouSlozkuNelzeVytvorit() {
        Obnovnik o;
        zapis(o.s.cesta("soubor"), "");
        QStringList arg = o.tichy("/dataCis.zip");
        arg[1] = "soubor\\tmp\\";
        const Beh b = o.beh(arg);
        QVERIFY(b.skoncil);
        QCOMPARE(b.zpravy, QStringList{"ZobrazDialog[0,0,0]: Odkládací adresář \"" +
                                       o.s.cesta("soubor/tmp/") + "\" nelze vytvořit!"});
        QCOMPARE(o.server.pozadavky(), QStringList{});
    }
};

QTEST_MAIN(TestObnovnikBeh)
#include "tst_obnovnikbeh.moc"
