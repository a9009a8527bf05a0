// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include "Aktualizace.h"
#include "Chyba.h"
#include "Databaze.h"
#include "Hodiny.h"
#include "Pomocnik.h"
#include "VerzniBlok.h"
#include "Vydani.h"
#include "Vydavani.h"
#include "VzorovaData.h"
#include "fMain.h"
#include "uAllYouNeed.h"

using Vydavani::obsahSlozky;
using Vydavani::precti;
using Vydavani::zapis;

// The publishing command: what it writes into the server folder, what it keeps, and what it
// refuses without touching the folder. The programs published are the real build with the
// version in its version block changed.
namespace {

const QString kVerze = QStringLiteral(PARMEX_VERZE);
const QString kDnes = QStringLiteral("15.01.2027");

TVerzeNaWebu oznameni(const QString& soubor) {
    TVerzeNaWebu v;
    if (Aktualizace::rozeber(QString::fromLatin1(precti(soubor)), v) !=
        Aktualizace::Oznameni::Precteno)
        v.VerzeProg = QStringLiteral("<nečitelné>");
    return v;
}

QStringList hodnoty(const TVerzeNaWebu& v) {
    return {v.VerzeProg, v.DatumProg, v.SouborProg, v.DatumCis, v.SouborCis, v.VerzeCis};
}

QString produktSouboru(const QByteArray& obsah, const QString& docasny, QString* verze) {
    zapis(docasny, obsah);
    QMap<QString, QString> blok;
    VerzniBlok::nacti(docasny, &blok);
    *verze = blok.value(QStringLiteral("FileVersion"));
    return blok.value(QStringLiteral("ProductName"));
}

void upravDatabazi(const QString& soubor, const QStringList& prikazy) {
    db::Connection c;
    c.open(soubor, db::Connection::Rezim::Vyhradni);
    for (const QString& p : prikazy) c.execute(p);
    c.close();
}

}  // namespace

class TestVydani : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray m_program;

    // The real program carrying the given file version.
    QString program(const QString& verze) {
        const QString soubor = m_dir.filePath(QStringLiteral("ParmexRozu-") + verze);
        if (!QFileInfo::exists(soubor)) {
            const QByteArray obsah = Vydavani::sVerzi(m_program, verze);
            if (obsah.isEmpty() || !zapis(soubor, obsah)) return QString();
            QFile::setPermissions(soubor, QFile::permissions(soubor) | QFile::ExeOwner);
        }
        return soubor;
    }
    QString ciselniky(const QString& jmeno) const { return m_dir.filePath(jmeno); }

    // A new, empty server root.
    QString koren(const QString& jmeno) const {
        const QString k = m_dir.filePath(QStringLiteral("server-") + jmeno);
        QDir().mkpath(k);
        return k;
    }

private slots:
    void initTestCase() {
        Pomocnik::pripravProstredi();
        Hodiny::nastav(QDateTime(QDate(2027, 1, 15), QTime(10, 30)));
        QVERIFY(m_dir.isValid());
        m_program = precti(QStringLiteral(PARMEX_EXE));
        QVERIFY(!m_program.isEmpty());
        VzorovaData::vytvor(ciselniky(QStringLiteral("vzor.mdb")), 2027);
        QFile::copy(ciselniky(QStringLiteral("vzor.mdb")),
                    ciselniky(QStringLiteral("bezroku.mdb")));
        upravDatabazi(ciselniky(QStringLiteral("bezroku.mdb")),
                      {QStringLiteral("delete from RokEvidence")});
        QFile::copy(ciselniky(QStringLiteral("vzor.mdb")),
                    ciselniky(QStringLiteral("bezbrigad.mdb")));
        upravDatabazi(ciselniky(QStringLiteral("bezbrigad.mdb")),
                      {QStringLiteral("drop table Brigady")});
        QVERIFY(zapis(ciselniky(QStringLiteral("text.mdb")), "toto není databáze\n"));
    }

    // A first publication into an empty server root: the two archives in the layout the
    // updater unpacks and the announcement the program reads, nothing else.
    void prvniVydani() {
        const QString k = koren(QStringLiteral("prvni"));
        const QString puvodniSlozka = QDir::currentPath();
        const QString puvodniProgram = SouborProgramu();
        Vydani::Zadani z;
        z.slozkaServeru = k;
        z.organizace = QStringLiteral("Varnov");
        // A build folder: its app/ParmexRozu is the program.
        z.program = QFileInfo(QStringLiteral(PARMEX_EXE)).absolutePath() + QStringLiteral("/..");
        z.ciselniky = ciselniky(QStringLiteral("vzor.mdb"));
        const QStringList vypis = Vydani::vydej(z);
        QVERIFY2(vypis.join(QLatin1Char('\n')).contains(QStringLiteral("roku 2027")),
                 qPrintable(vypis.join(QLatin1Char('\n'))));
        // The check of the code lists ran in a folder of its own.
        QCOMPARE(QDir::currentPath(), puvodniSlozka);
        QCOMPARE(SouborProgramu(), puvodniProgram);

        const QString zipProgramu = QStringLiteral("parmexrozu-") + kVerze + QStringLiteral(".zip");
        QCOMPARE(obsahSlozky(k).keys(),
                 (QStringList{QStringLiteral("parmex/"), QStringLiteral("parmex/ciselniky-1.zip"),
                              QStringLiteral("parmex/") + zipProgramu,
                              QStringLiteral("parmex/verze.ini")}));
        QCOMPARE(hodnoty(oznameni(k + QStringLiteral("/parmex/verze.ini"))),
                 (QStringList{kVerze, kDnes, zipProgramu, kDnes, QStringLiteral("ciselniky-1.zip"),
                              QStringLiteral("1")}));

        const auto p = Vydavani::archiv(k + QStringLiteral("/parmex/") + zipProgramu);
        QCOMPARE(p.keys(), QStringList{QStringLiteral("ParmexRozu")});
        QCOMPARE(p.first().prava, 0755u);
        // The program as the members get it: the build's, without its debugging data.
        QString verze;
        QCOMPARE(
            produktSouboru(p.first().obsah, m_dir.filePath(QStringLiteral("z-archivu")), &verze),
            QStringLiteral(PARMEX_PRODUKT));
        QCOMPARE(verze, kVerze);
        QVERIFY(p.first().obsah.size() < m_program.size());

        const auto c = Vydavani::archiv(k + QStringLiteral("/parmex/ciselniky-1.zip"));
        QCOMPARE(c.keys(), QStringList{QStringLiteral("dataCis.mdb")});
        QCOMPARE(c.first().obsah, precti(ciselniky(QStringLiteral("vzor.mdb"))));
        // The web server, another user, reads them.
        for (const QString& f :
             {QStringLiteral("verze.ini"), QStringLiteral("ciselniky-1.zip"), zipProgramu})
            QVERIFY2(QFile::permissions(k + QStringLiteral("/parmex/") + f) & QFile::ReadOther,
                     qPrintable(f));
    }

    // Publishing one half keeps the other half of the announcement and every other file; the
    // program's version is compared as numbers, the code-list version goes up by one.
    void zachovaNevydane() {
        const QString k = koren(QStringLiteral("zachova"));
        QDir().mkpath(k + QStringLiteral("/parmex"));
        QVERIFY(zapis(k + QStringLiteral("/parmex/verze.ini"),
                      "[PARMEX-ROZU]\nverzeprog=1.0.4.9\ndatumprog=01.12.2026\n"
                      "souborprog=stary.zip\ndatumcis=02.12.2026\nsouborcis=cis17.zip\n"
                      "verzecis=17\n"));
        QVERIFY(zapis(k + QStringLiteral("/parmex/stary.zip"), "stary program"));
        QVERIFY(zapis(k + QStringLiteral("/parmex/cis17.zip"), "stare ciselniky"));
        QVERIFY(zapis(k + QStringLiteral("/index.html"), "<p>stránka</p>"));
        const auto puvodni = obsahSlozky(k);

        Vydani::Zadani z;
        z.slozkaServeru = k;
        z.organizace = QStringLiteral("Varnov");
        z.ciselniky = ciselniky(QStringLiteral("vzor.mdb"));
        Vydani::vydej(z);
        QCOMPARE(hodnoty(oznameni(k + QStringLiteral("/parmex/verze.ini"))),
                 (QStringList{QStringLiteral("1.0.4.9"), QStringLiteral("01.12.2026"),
                              QStringLiteral("stary.zip"), kDnes,
                              QStringLiteral("ciselniky-18.zip"), QStringLiteral("18")}));

        z.ciselniky.clear();
        z.program = program(QStringLiteral("1.0.4.10"));
        QVERIFY(!z.program.isEmpty());
        Vydani::vydej(z);
        QCOMPARE(hodnoty(oznameni(k + QStringLiteral("/parmex/verze.ini"))),
                 (QStringList{QStringLiteral("1.0.4.10"), kDnes,
                              QStringLiteral("parmexrozu-1.0.4.10.zip"), kDnes,
                              QStringLiteral("ciselniky-18.zip"), QStringLiteral("18")}));

        auto po = obsahSlozky(k);
        for (auto it = puvodni.cbegin(); it != puvodni.cend(); ++it) {
            if (it.key() == QLatin1String("parmex/verze.ini")) continue;
            QCOMPARE(po.take(it.key()), it.value());
        }
        QCOMPARE(po.keys(), (QStringList{QStringLiteral("parmex/ciselniky-18.zip"),
                                         QStringLiteral("parmex/parmexrozu-1.0.4.10.zip"),
                                         QStringLiteral("parmex/verze.ini")}));
    }

    // Each organisation's files land where that organisation's build reads them.
    void organizace_data() {
        QTest::addColumn<QString>("organizace");
        for (const QString& o : Vydani::organizace()) QTest::newRow(qPrintable(o)) << o;
    }
    void organizace() {
        QFETCH(QString, organizace);
        QString ini;
        QString zip;
        {
            Pomocnik::PracovniSlozka s(Vydani::nazevProduktu(organizace));
            TMain w;
            QVERIFY(!ProgramKonci());
            ini = QUrl(w.AdresyWebu.AdresaIni).path();
            zip = QUrl(w.AdresyWebu.AdresaZip).path();
        }
        Hodiny::nastav(QDateTime(QDate(2027, 1, 15), QTime(10, 30)));
        const QString k = koren(organizace);
        Vydani::Zadani z;
        z.slozkaServeru = k;
        z.organizace = organizace;
        z.ciselniky = ciselniky(QStringLiteral("vzor.mdb"));
        Vydani::vydej(z);
        const TVerzeNaWebu v = oznameni(k + ini);
        QCOMPARE(v.VerzeCis, QStringLiteral("1"));
        QVERIFY(QFileInfo::exists(k + zip + QLatin1Char('/') + v.SouborCis));
    }

    // What the command refuses, with the reason, leaving the server folder as it was: no file,
    // no temporary file, no folder of its own.
    void odmitnuti_data() {
        QTest::addColumn<QByteArray>("oznameni");  // verze.ini already there; empty: none
        QTest::addColumn<QString>("program");      // a version, "!text", "!chybi" or empty
        QTest::addColumn<QString>("ciselniky");    // a file made in initTestCase or empty
        QTest::addColumn<QString>("organizace");
        QTest::addColumn<QString>("prekazka");  // a folder made where a file should go
        QTest::addColumn<QString>("zprava");

        const QByteArray oznameni17 =
            "[parmex-rozu]\r\nverzeprog=" + kVerze.toLatin1() +
            "\r\ndatumprog=01.12.2026\r\nsouborprog=p.zip\r\ndatumcis=01.12.2026\r\n"
            "souborcis=c.zip\r\nverzecis=17\r\n";
        const QString varnov = QStringLiteral("Varnov");
        QTest::newRow("nothing to publish")
            << oznameni17 << QString() << QString() << varnov << QString() << "Není co vydat";
        QTest::newRow("unknown organisation") << QByteArray() << QString() << "vzor.mdb"
                                              << "Brno" << QString() << "Neznámá organizace";
        QTest::newRow("version announced already")
            << oznameni17 << kVerze << QString() << varnov << QString()
            << QStringLiteral("Verze programu %1 není vyšší než oznámená verze %1.").arg(kVerze);
        QTest::newRow("lower by number, higher as text")
            << QByteArray("[parmex-rozu]\nverzeprog=1.0.4.10\n\n\n\n\n\n") << "1.0.4.9" << QString()
            << varnov << QString() << "není vyšší než oznámená verze 1.0.4.10";
        QTest::newRow("another organisation's build")
            << QByteArray() << "9.0.0.0" << QString() << "Kelmina" << QString()
            << "je sestaven pro „Parmex Rozu - MO Varnov“, ne pro „Parmex Rozu - MO Kelmina“";
        QTest::newRow("no program") << QByteArray() << "!text" << QString() << varnov << QString()
                                    << "nenese údaje o verzi";
        QTest::newRow("missing program")
            << QByteArray() << "!chybi" << QString() << varnov << QString() << "neexistuje";
        QTest::newRow("code lists without a year")
            << oznameni17 << QString() << "bezroku.mdb" << varnov << QString()
            << "by program nenačetl: Soubor číselníků neobsahuje žádný rok evidence.";
        QTest::newRow("code lists without a table")
            << QByteArray() << QString() << "bezbrigad.mdb" << varnov << QString()
            << "by program nenačetl: no such table: Brigady";
        QTest::newRow("code lists not a database")
            << QByteArray() << QString() << "text.mdb" << varnov << QString()
            << "by program nenačetl: file is not a database";
        QTest::newRow("a Jet file of another kind")
            << QByteArray() << QString() << QStringLiteral(PARMEX_JET_DATA "/nwind.mdb") << varnov
            << QString() << "by program nenačetl: no such table: RokEvidence";
        QTest::newRow("missing code lists")
            << QByteArray() << QString() << "chybi.mdb" << varnov << QString() << "neexistuje";
        QTest::newRow("announcement the program cannot read")
            << QByteArray("verzeprog=1.0.0.0\r\n") << QString() << "vzor.mdb" << varnov << QString()
            << "nemá tvar, který program čte";
        QTest::newRow("announced code-list version not a number")
            << QByteArray("[parmex-rozu]\nverzecis=17 \n\n\n\n\n\n") << QString() << "vzor.mdb"
            << varnov << QString() << "Oznámená verze číselníků „17 “ není celé číslo.";
        // The program's archive is written before the folder stands in the way of the code
        // lists' one: it goes again.
        QTest::newRow("a folder where the code-list archive goes")
            << oznameni17 << "9.0.0.0"
            << "vzor.mdb" << varnov << "parmex/ciselniky-18.zip"
            << "je složka";
        QTest::newRow("a file where the organisation's folder goes")
            << QByteArray() << QString() << "vzor.mdb" << varnov << "!parmex"
            << "není složka";
    }
    void odmitnuti() {
        QFETCH(QByteArray, oznameni);
        QFETCH(QString, program);
        QFETCH(QString, ciselniky);
        QFETCH(QString, organizace);
        QFETCH(QString, prekazka);
        QFETCH(QString, zprava);
        if (ciselniky.startsWith(QStringLiteral(PARMEX_JET_DATA)) && !QFileInfo::exists(ciselniky))
            QSKIP("The Jet test files are not here.");

        const QString k = koren(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-'));
        if (!oznameni.isEmpty()) {
            QDir().mkpath(k + QStringLiteral("/parmex"));
            QVERIFY(zapis(k + QStringLiteral("/parmex/verze.ini"), oznameni));
        }
        if (prekazka.startsWith(QLatin1Char('!')))
            QVERIFY(zapis(k + QLatin1Char('/') + prekazka.mid(1), "soubor"));
        else if (!prekazka.isEmpty())
            QVERIFY(QDir().mkpath(k + QLatin1Char('/') + prekazka));
        const auto puvodni = obsahSlozky(k);

        Vydani::Zadani z;
        z.slozkaServeru = k;
        z.organizace = organizace;
        if (program == QLatin1String("!text")) {
            z.program = m_dir.filePath(QStringLiteral("text"));
            QVERIFY(zapis(z.program, "#!/bin/sh\necho ahoj\n"));
        } else if (program == QLatin1String("!chybi")) {
            z.program = m_dir.filePath(QStringLiteral("chybi"));
        } else if (!program.isEmpty()) {
            z.program = this->program(program);
            QVERIFY(!z.program.isEmpty());
        }
        if (!ciselniky.isEmpty())
            z.ciselniky =
                QFileInfo(ciselniky).isAbsolute() ? ciselniky : this->ciselniky(ciselniky);

        QString chyba;
        try {
            Vydani::vydej(z);
        } catch (const Chyba& e) {
            chyba = e.zprava();
        }
        QVERIFY2(chyba.contains(zprava), qPrintable(chyba));
        QCOMPARE(obsahSlozky(k), puvodni);
    }

    // A server root that does not exist is never made: a mistyped folder is reported.
    void chybiKoren() {
        Vydani::Zadani z;
        z.slozkaServeru = m_dir.filePath(QStringLiteral("preklep"));
        z.organizace = QStringLiteral("Varnov");
        z.ciselniky = ciselniky(QStringLiteral("vzor.mdb"));
        QString chyba;
        try {
            Vydani::vydej(z);
        } catch (const Chyba& e) {
            chyba = e.zprava();
        }
        QVERIFY2(chyba.startsWith(QStringLiteral("Složka serveru")), qPrintable(chyba));
        QVERIFY(!QFileInfo::exists(z.slozkaServeru));
    }

    // The command itself: its output, its exit status and its message on refusal.
    void prikaz_data() {
        QTest::addColumn<QStringList>("argumenty");  // %K stands for the server root
        QTest::addColumn<int>("kod");
        QTest::addColumn<QString>("vystup");
        QTest::addColumn<QString>("chyby");
        QTest::newRow("code lists") << QStringList{"%K", "--ciselniky", "%C"} << 0
                                    << "Číselníky roku 2027, verze 1: ciselniky-1.zip" << QString();
        QTest::newRow("refused") << QStringList{"%K", "--ciselniky", "%K/chybi.mdb"} << 1
                                 << QString() << "Nevydáno: Soubor číselníků";
        // A Jet file is read by the command itself started once more, as the program does.
        QTest::newRow("Jet code lists of another kind")
            << QStringList{"%K", "--ciselniky", PARMEX_JET_DATA "/nwind.mdb"} << 1 << QString()
            << "by program nenačetl: no such table: RokEvidence";
        QTest::newRow("no folder")
            << QStringList{"--ciselniky", "%C"} << 2 << QString() << "Zadejte jednu složku serveru";
    }
    void prikaz() {
        QFETCH(QStringList, argumenty);
        QFETCH(int, kod);
        QFETCH(QString, vystup);
        QFETCH(QString, chyby);
        const QString k =
            koren(QStringLiteral("prikaz-") + QString::fromLatin1(QTest::currentDataTag()));
        for (QString& a : argumenty)
            a.replace(QStringLiteral("%K"), k)
                .replace(QStringLiteral("%C"), ciselniky(QStringLiteral("vzor.mdb")));
        for (const QString& a : argumenty)
            if (a.startsWith(QStringLiteral(PARMEX_JET_DATA)) && !QFileInfo::exists(a))
                QSKIP("The Jet test files are not here.");
        QProcess p;
        p.start(QStringLiteral(VYDANI_EXE), argumenty);
        QVERIFY(p.waitForFinished(60000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitCode(), kod);
        QVERIFY2(out.contains(vystup), qPrintable(out));
        QVERIFY2(err.contains(chyby), qPrintable(err));
        if (kod == 0)
            QVERIFY2(err.isEmpty(), qPrintable(err));
        else
            QVERIFY(obsahSlozky(k).isEmpty());
    }
};

QTEST_MAIN(TestVydani)
#include "tst_vydani.moc"
