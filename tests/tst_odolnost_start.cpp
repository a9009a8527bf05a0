// The real program started on what it may find in its folder: its exit status after each kind
// of ending, a data.mdb that belongs to another program or is empty, and two first starts at
// the same moment.
#include <QtTest>
#include <functional>

#include "Databaze.h"
#include "Pomocnik.h"
#include "ServerHttp.h"

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
    Program(const QString& slozka, const QString& odpovedi, const QString& server) {
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
        proces.start(program, {});
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
        QTest::newRow("update declined")
            << nic << QStringLiteral("1") << oznameni(QStringLiteral("9.0.0.0")) << 0
            << "ZobrazDialog[1,1,1]: Byly nalezeny nové aktualizace";
    }
    void navratovyKod() {
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
};

QTEST_MAIN(TestOdolnostStart)
#include "tst_odolnost_start.moc"
