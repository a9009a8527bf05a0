// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStorageInfo>
#include <QTimer>

#include "../updater/fMain.h"  // the updater's window, not the program's
#include "ArchivZip.h"
#include "Chyba.h"
#include "MalyDisk.h"
#include "Obnovnik.h"
#include "Pomocnik.h"
#include "ServerHttp.h"
#include "Stahovani.h"
#include "Unzip.h"
#include "VerzniBlok.h"
#include "Zpravy.h"

using ArchivZip::Polozka;

namespace {

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

// The updater's unpacking options of both runs.
Unzip::TDCL volbyObnovniku(const QString& archiv, const QString& slozka) {
    Unzip::TDCL v;
    v.PromptToOverwrite = 1;
    v.ndflag = 1;
    v.noflag = 1;
    v.C_flag = 1;
    v.lpszZipFN = archiv;
    v.lpszExtractDir = slozka;
    return v;
}

int rozbal(const QString& vzor, const Unzip::TDCL& v, const Unzip::TUserFunctions& f = {}) {
    return Unzip::Wiz_SingleEntryUnzip({vzor}, {QString()}, v, f);
}

// Every file and folder below the folder, as relative paths.
QStringList obsahSlozky(const QString& slozka) {
    QStringList vysledek;
    const QString koren = QFileInfo(slozka).absoluteFilePath();
    QDirIterator it(koren, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) vysledek << QDir(koren).relativeFilePath(it.next());
    vysledek.sort();
    return vysledek;
}

}  // namespace

class TestObnovnik : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }

    // --- command line ---------------------------------------------------------------------

    void prikazovaRadka_data() {
        QTest::addColumn<QString>("radka");
        QTest::addColumn<QStringList>("argumenty");
        QTest::newRow("as the program passes it")
            << "\"http://s/a b.zip\" \"tmp\\\" \"a b.zip\" \"Parmex Rozu\" \"Parmex Rozu\""
            << QStringList{"http://s/a b.zip", "tmp\\", "a b.zip", "Parmex Rozu", "Parmex Rozu"};
        QTest::newRow("separators up to code 32") << QString(
                                                         "a \t\r\n b\x01"
                                                         "c")
                                                  << QStringList{"a", "b", "c"};
        QTest::newRow("quotes inside an argument") << "a\"b c\"d e" << QStringList{"ab cd", "e"};
        QTest::newRow("empty quoted argument does not count")
            << "a \"\" b" << QStringList{"a", "b"};
        QTest::newRow("two quotes at the start skipped")
            << "\"\"x \"\"\"\"y" << QStringList{"x", "y"};
        QTest::newRow("backslash is ordinary")
            << "tmp\\ \"c:\\a\\\" \\\"b" << QStringList{"tmp\\", "c:\\a\\", "\\b"};
        QTest::newRow("unclosed quote runs to the end") << "a \"b c" << QStringList{"a", "b c"};
        QTest::newRow("nothing") << "   " << QStringList{};
        QTest::newRow("a lone quote at the end") << "a \"" << QStringList{"a"};
    }
    void prikazovaRadka() {
        QFETCH(QString, radka);
        QFETCH(QStringList, argumenty);
        QCOMPARE(obnovnik::rozdelPrikazovouRadku(radka), argumenty);
    }

    void argumentyProcesu() {
        // Arguments already split by the system keep their blanks; quotes still go.
        const QStringList argv{"Obnovnik", "a b", "", "\"\"", "tmp\\", "\"q r\"s", "\"\"t"};
        QCOMPARE(obnovnik::argumentyProcesu(argv), (QStringList{"a b", "tmp\\", "q rs", "t"}));
    }

    void verzeSouboru() {
        Pomocnik::PracovniSlozka s;
        Pomocnik::zapisProgramSVerzi(s.cesta("s"), "Obnovnik", "1.1.1.49");
        Pomocnik::zapisProgramSVerzi(s.cesta("bez"), QString(), QString());
        Pomocnik::zapisProgramSVerzi(s.cesta("spatna"), "Obnovnik", "1.1.x");
        QCOMPARE(obnovnik::VerzeSouboru(s.cesta("s")), QString("1.1.1.49"));
        QCOMPARE(obnovnik::VerzeSouboru(s.cesta("bez")), QString(""));
        QCOMPARE(obnovnik::VerzeSouboru(s.cesta("spatna")), QString(""));
        QCOMPARE(obnovnik::VerzeSouboru(s.cesta("chybi")), QString("Soubor nenalezen!"));
        // The built updater carries its own version.
        QCOMPARE(obnovnik::VerzeSouboru(OBNOVNIK_EXE), QString("1.1.1.49"));
    }

    // --- unpacking --------------------------------------------------------------------------

    void popisChyby_data() {
        QTest::addColumn<int>("kod");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << "Operace proběhla v pořádku";
        QTest::newRow("1") << 1 << "Varování na jednom nebo více souborech";
        QTest::newRow("2") << 2 << "Chyby na jednom nebo více souborech";
        QTest::newRow("3") << 3 << "Chyba dělení v archívu";
        QTest::newRow("4") << 4 << "Nedostatečná paměť";
        QTest::newRow("8") << 8 << "Nedostatečná paměť";
        QTest::newRow("9") << 9 << "Archív nenalezen";
        QTest::newRow("10") << 10 << "Špatné nebo nespecifikované parametry";
        QTest::newRow("11") << 11 << "Nebyl nalezen žádný soubor";
        QTest::newRow("50") << 50 << "Na disku není dostatek volného místa";
        QTest::newRow("51") << 51 << "Neočekávaný konec souboru";
        QTest::newRow("80") << 80 << "Zrušeno uživatelem";
        QTest::newRow("81") << 81 << "Nenalezeny žádné soubory, vše nezajištěno";
        QTest::newRow("82") << 82 << "Nenalezeny žádné soubory, špatné heslo";
        QTest::newRow("12") << 12 << "Neznámá chyba";
        QTest::newRow("49") << 49 << "Neznámá chyba";
        QTest::newRow("-1") << -1 << "Neznámá chyba";
    }
    void popisChyby() {
        QFETCH(int, kod);
        QFETCH(QString, text);
        QCOMPARE(PopisChybyRozbaleni(kod), text);
    }

    void vzor_data() {
        QTest::addColumn<QString>("jmeno");
        QTest::addColumn<QString>("vzor");
        QTest::addColumn<bool>("bezVelikosti");
        QTest::addColumn<bool>("odpovida");
        QTest::newRow("case ignored") << "Prog.EXE"
                                      << "*.exe" << true << true;
        QTest::newRow("case kept") << "Prog.EXE"
                                   << "*.exe" << false << false;
        QTest::newRow("star crosses folders") << "sub/p.exe"
                                              << "*.exe" << true << true;
        QTest::newRow("star-dot-star takes all") << "README"
                                                 << "*.*" << true << true;
        QTest::newRow("question mark one char") << "a.txt"
                                                << "?.txt" << true << true;
        QTest::newRow("question mark not two") << "ab.txt"
                                               << "?.txt" << true << false;
        QTest::newRow("backtracking") << "a.exe.txt"
                                      << "*.exe" << true << false;
        QTest::newRow("several stars") << "abcabc"
                                       << "a*c*c" << true << true;
        QTest::newRow("exact") << "dataCis.mdb"
                               << "DATACIS.MDB" << true << true;
    }
    void vzor() {
        QFETCH(QString, jmeno);
        QFETCH(QString, vzor);
        QFETCH(bool, bezVelikosti);
        QFETCH(bool, odpovida);
        QCOMPARE(Unzip::odpovidaVzoru(jmeno, vzor, bezVelikosti), odpovida);
    }

    void rozbaleniSeSlozkamiAPrepisem() {
        Pomocnik::PracovniSlozka s;
        QVERIFY(ArchivZip::vytvor("a.zip", {{"sub/", {}},
                                            {"sub/Data.MDB", "nova data"},
                                            {"horni.txt", "horni", 0600},
                                            {"hluboko/a/b.txt", "b"}}));
        QVERIFY(QDir().mkpath("tmp/sub"));
        zapis("tmp/sub/Data.MDB", "stara data");
        QCOMPARE(rozbal("*.*", volbyObnovniku("a.zip", "tmp/")), 0);
        QCOMPARE(precti("tmp/sub/Data.MDB"), QByteArray("nova data"));
        QCOMPARE(precti("tmp/horni.txt"), QByteArray("horni"));
        QCOMPARE(precti("tmp/hluboko/a/b.txt"), QByteArray("b"));
        QCOMPARE(QFile::permissions("tmp/horni.txt") & QFile::ReadOther, QFile::Permissions());

        // Without folders everything lands at the top; a pattern picks entries by name.
        Unzip::TDCL ploche = volbyObnovniku("a.zip", "flat");
        ploche.ndflag = 0;
        QCOMPARE(rozbal("*.TXT", ploche), 0);
        QCOMPARE(obsahSlozky("flat"), (QStringList{"b.txt", "horni.txt"}));
    }

    void rozbaleniJenProgramu() {
        Pomocnik::PracovniSlozka s;
        QVERIFY(ArchivZip::vytvor(
            "a.zip",
            {{"ParmexRozu", "#!/bin/sh\n", 0755}, {"readme.txt", "r"}, {"bin/", {}, 0755}}));
        Unzip::TDCL v = volbyObnovniku("a.zip", "tmp");
        v.jenSpustitelne = true;
        QCOMPARE(rozbal("*", v), 0);
        QCOMPARE(obsahSlozky("tmp"), QStringList{"ParmexRozu"});
        QVERIFY(QFileInfo("tmp/ParmexRozu").isExecutable());

        QVERIFY(ArchivZip::vytvor("b.zip", {{"readme.txt", "r"}, {"data.mdb", "d"}}));
        v.lpszZipFN = "b.zip";
        v.lpszExtractDir = "tmp2";
        QCOMPARE(rozbal("*", v), int(Unzip::PK_FIND));
        QVERIFY(!QFileInfo::exists("tmp2"));
    }

    void rozbaleniChyby() {
        Pomocnik::PracovniSlozka s;
        const QByteArray dobry = ArchivZip::obsah({{"a.txt", QByteArray(5000, 'a')}}, "x.zip");
        zapis("nesmysl.zip", "tohle neni zadny archiv, jen text");
        zapis("useknuty.zip", dobry.left(dobry.size() / 2));
        zapis("prazdny.zip", "");
        // A stored entry with one byte of its data changed: the checksum fails on reading.
        QVERIFY(ArchivZip::vytvor("poskozeny.zip", {{"a.txt", QByteArray(100, 'a')}}, true));
        QByteArray p = precti("poskozeny.zip");
        p[p.indexOf(QByteArray(100, 'a')) + 50] = 'b';
        zapis("poskozeny.zip", p);

        const struct {
            const char* archiv;
            const char* slozka;
            int kod;
        } pripady[] = {
            {"chybi.zip", "t1", Unzip::PK_NOZIP},     {"nesmysl.zip", "t2", Unzip::PK_BADERR},
            {"useknuty.zip", "t3", Unzip::PK_BADERR}, {"prazdny.zip", "t4", Unzip::PK_BADERR},
            {"poskozeny.zip", "t5", Unzip::PK_ERR},   {"", "t6", Unzip::PK_PARAM},
            {"nesmysl.zip", "", Unzip::PK_PARAM},
        };
        for (const auto& p : pripady) {
            QCOMPARE(rozbal("*.*", volbyObnovniku(p.archiv, p.slozka)), p.kod);
            // Bad data is not left behind as if it were the file.
            QVERIFY2(!QFileInfo::exists(QString(p.slozka) + "/a.txt"), p.archiv);
        }
    }

    void rozbaleniNebezpecnychJmen_data() {
        QTest::addColumn<QVector<Polozka>>("polozky");
        const Polozka dobra{"dataCis.mdb", "data"};
        QTest::newRow("parent step") << QVector<Polozka>{dobra, {"../venku.txt", "x"}};
        QTest::newRow("deeper climb") << QVector<Polozka>{dobra, {"a/../../venku.txt", "x"}};
        QTest::newRow("backslash climb") << QVector<Polozka>{dobra, {"..\\venku.txt", "x"}};
        QTest::newRow("absolute") << QVector<Polozka>{dobra, {"/tmp/venku.txt", "x"}};
        QTest::newRow("drive letter") << QVector<Polozka>{dobra, {"C:/venku.txt", "x"}};
        QTest::newRow("symbolic link")
            << QVector<Polozka>{{"odkaz", "..", 0777, true}, {"odkaz/venku.txt", "x"}, dobra};
    }
    void rozbaleniNebezpecnychJmen() {
        QFETCH(QVector<Polozka>, polozky);
        Pomocnik::PracovniSlozka s;
        QVERIFY(QDir().mkpath("w/tmp"));
        QVERIFY(ArchivZip::vytvor("w/a.zip", polozky));
        const QStringList pred = obsahSlozky(s.cesta());
        QCOMPARE(rozbal("*.*", volbyObnovniku("w/a.zip", "w/tmp")), int(Unzip::PK_ERR));
        // Nothing at all is written, not even the harmless entries.
        QCOMPARE(obsahSlozky(s.cesta()), pred);
        QVERIFY(!QFileInfo::exists("/tmp/venku.txt"));
    }

    void rozbaleniNepruchodiOdkazemNaDisku() {
        Pomocnik::PracovniSlozka s;
        QVERIFY(QDir().mkpath("tmp"));
        QVERIFY(QDir().mkpath("venku"));
        QVERIFY(QFile::link(s.cesta("venku"), "tmp/sub"));
        QVERIFY(QFile::link(s.cesta("venku/cil.txt"), "tmp/a.txt"));
        QVERIFY(ArchivZip::vytvor("a.zip", {{"sub/x.txt", "x"}, {"a.txt", "novy"}}));
        QCOMPARE(rozbal("*.*", volbyObnovniku("a.zip", "tmp")), int(Unzip::PK_ERR));
        QCOMPARE(obsahSlozky("venku"), QStringList{});
        // The link standing where a file goes is replaced by the file, not written through.
        QCOMPARE(precti("tmp/a.txt"), QByteArray("novy"));
        QVERIFY(!QFileInfo("tmp/a.txt").isSymLink());
    }

    void rozbaleniVolbyAFunkce() {
        Pomocnik::PracovniSlozka s;
        QVERIFY(ArchivZip::vytvor("a.zip", {{"a.txt", "novy"}, {"b.txt", "b"}}));
        QVERIFY(QDir().mkpath("tmp"));
        zapis("tmp/a.txt", "stary");

        // Not overwriting: the replace callback decides, 104 keeps the file.
        Unzip::TDCL v = volbyObnovniku("a.zip", "tmp");
        v.noflag = 0;
        QStringList dotazy;
        Unzip::TUserFunctions f;
        f.replace = [&](const QString& soubor) {
            dotazy << soubor;
            return int(Unzip::IDM_REPLACE_NONE);
        };
        QCOMPARE(rozbal("*.txt", v, f), 0);
        QCOMPARE(dotazy, QStringList{"tmp/a.txt"});
        QCOMPARE(precti("tmp/a.txt"), QByteArray("stary"));
        f.replace = [](const QString&) { return int(Unzip::IDM_REPLACE_YES); };
        QCOMPARE(rozbal("*.txt", v, f), 0);
        QCOMPARE(precti("tmp/a.txt"), QByteArray("novy"));

        // Exclusions and the print callback.
        QStringList zpravy;
        f.print = [&](const QString& t) {
            zpravy << t;
            return int(t.size());
        };
        QCOMPARE(Unzip::Wiz_SingleEntryUnzip({"*"}, {"A.TXT"}, volbyObnovniku("a.zip", "t2"), f),
                 0);
        QCOMPARE(obsahSlozky("t2"), QStringList{"b.txt"});
        QVERIFY(!zpravy.isEmpty());

        // The service callback cancels.
        f.ServCallBk = [](const QString&, qint64) { return 1; };
        QCOMPARE(rozbal("*.*", volbyObnovniku("a.zip", "t3"), f), int(Unzip::IZ_CTRLC));
        QCOMPARE(obsahSlozky("t3"), QStringList{});
    }

    // Sizes are checked before anything is written: one entry over the largest file allowed,
    // entries that together need more than the disk has free; and an entry whose data runs past
    // the size it states is cut off there.
    void rozbaleniVelikosti_data() {
        QTest::addColumn<QVector<Polozka>>("polozky");
        QTest::addColumn<QVector<quint32>>("uvedene");  // stated sizes; 0 keeps the true one
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<int>("kod");
        const Polozka maly{"maly.txt", "m"};
        QTest::newRow("over the limit")
            << QVector<Polozka>{maly, {"dataCis.mdb", QByteArray(2000, 'x')}}
            << QVector<quint32>{0, 0} << qint64(1000) << int(Unzip::PK_VELKY);
        QTest::newRow("at the limit")
            << QVector<Polozka>{maly, {"dataCis.mdb", QByteArray(1000, 'x')}}
            << QVector<quint32>{0, 0} << qint64(1000) << int(Unzip::PK_OK);
        QTest::newRow("stated over the limit")
            << QVector<Polozka>{maly, {"dataCis.mdb", "x"}} << QVector<quint32>{0, 5000}
            << qint64(1000) << int(Unzip::PK_VELKY);
        // Entries of almost 4 GB each, more of them than the disk has room for.
        const qint64 volno = QStorageInfo(QDir::tempPath()).bytesAvailable();
        QVector<Polozka> mnoho;
        QVector<quint32> velke;
        for (qint64 i = 0; i <= volno / 0xFFFFFFF0LL + 1; ++i) {
            mnoho << Polozka{QStringLiteral("d%1.bin").arg(i), "d"};
            velke << 0xFFFFFFF0u;
        }
        QTest::newRow("more than the free space")
            << mnoho << velke << qint64(0) << int(Unzip::PK_DISK);
        QTest::newRow("data past the stated size")
            << QVector<Polozka>{{"a.txt", QByteArray(100000, 'a')}} << QVector<quint32>{1000}
            << qint64(0) << int(Unzip::PK_ERR);
    }
    void rozbaleniVelikosti() {
        QFETCH(QVector<Polozka>, polozky);
        QFETCH(QVector<quint32>, uvedene);
        QFETCH(qint64, limit);
        QFETCH(int, kod);
        Pomocnik::PracovniSlozka s;
        QVERIFY(ArchivZip::vytvor("a.zip", polozky));
        QByteArray archiv = precti("a.zip");
        for (int i = 0; i < polozky.size(); ++i)
            if (uvedene[i]) QVERIFY(ArchivZip::uvedVelikost(archiv, polozky[i].jmeno, uvedene[i]));
        zapis("a.zip", archiv);
        Unzip::TDCL v = volbyObnovniku("a.zip", "tmp");
        v.nejvetsiSoubor = limit;
        QCOMPARE(rozbal("*.*", v), kod);
        if (kod == Unzip::PK_OK) {
            QCOMPARE(obsahSlozky("tmp"), (QStringList{"dataCis.mdb", "maly.txt"}));
        } else {
            // Nothing at all is written.
            QCOMPARE(obsahSlozky("tmp"), QStringList{});
        }
    }

    // --- replacing the file -----------------------------------------------------------------

    void nahrada() {
        Pomocnik::PracovniSlozka s;
        zapis("novy", "#!/bin/sh\n");
        QFile::setPermissions("novy", QFile::permissions("novy") | QFile::ExeOwner);
        zapis("cil", "stary");
        int dotazu = 0;
        auto nikdy = [&](obnovnik::Prekazka, const QString&) {
            ++dotazu;
            return false;
        };
        QCOMPARE(obnovnik::nahradSoubor("novy", "cil", nikdy), obnovnik::Nahrada::Nahrazeno);
        QCOMPARE(precti("cil"), QByteArray("#!/bin/sh\n"));
        QVERIFY(QFileInfo("cil").isExecutable());
        QVERIFY(!QFileInfo::exists("cil.obnova"));
        // A target that is not there yet is simply created.
        QCOMPARE(obnovnik::nahradSoubor("novy", "dalsi", nikdy), obnovnik::Nahrada::Nahrazeno);
        QCOMPARE(precti("dalsi"), QByteArray("#!/bin/sh\n"));
        QCOMPARE(dotazu, 0);
    }

    void nahradaSelze() {
        Pomocnik::PracovniSlozka s;
        zapis("novy", "novy");
        zapis("cil", "stary");
        QVector<obnovnik::Prekazka> prekazky;
        QVector<bool> odpovedi{true, true, false};
        auto odpovez = [&](obnovnik::Prekazka p, const QString&) {
            prekazky << p;
            return odpovedi.value(prekazky.size() - 1);
        };

        // The new file is missing: the target is not touched and nobody is asked.
        QCOMPARE(obnovnik::nahradSoubor("chybi", "cil", odpovez), obnovnik::Nahrada::NovyChybi);
        QCOMPARE(obnovnik::nahradSoubor("slozka", "cil", odpovez), obnovnik::Nahrada::NovyChybi);
        QVERIFY(prekazky.isEmpty());

        // The copy beside the target cannot be written: asked after every failure, as a failure
        // to write the new file (not one to remove the old), and the old file stays when the user
        // gives up.
        QVERIFY(QDir().mkpath("cil.obnova"));
        QCOMPARE(obnovnik::nahradSoubor("novy", "cil", odpovez), obnovnik::Nahrada::Vzdano);
        QCOMPARE(prekazky, QVector<obnovnik::Prekazka>(3, obnovnik::Prekazka::NovyNelzeZapsat));
        QCOMPARE(precti("cil"), QByteArray("stary"));

        // A retry that then succeeds replaces the file.
        int dotazu = 0;
        auto uvolni = [&](obnovnik::Prekazka, const QString&) {
            ++dotazu;
            return QDir("cil.obnova").removeRecursively();
        };
        QCOMPARE(obnovnik::nahradSoubor("novy", "cil", uvolni), obnovnik::Nahrada::Nahrazeno);
        QCOMPARE(dotazu, 1);
        QCOMPARE(precti("cil"), QByteArray("novy"));

        // A folder standing where the file goes is never removed: the new file lies beside it,
        // the old one cannot be replaced, and that is what the user is asked about.
        prekazky.clear();
        odpovedi = {false};
        QVERIFY(QDir().mkpath("slozka/vnitrek"));
        QCOMPARE(obnovnik::nahradSoubor("novy", "slozka", odpovez), obnovnik::Nahrada::Vzdano);
        QCOMPARE(prekazky, QVector<obnovnik::Prekazka>{obnovnik::Prekazka::StaryNelzeOdstranit});
        QVERIFY(QFileInfo("slozka/vnitrek").isDir());
        QVERIFY(!QFileInfo::exists("slozka.obnova"));
        // A target below a regular file.
        QCOMPARE(obnovnik::nahradSoubor("novy", "cil/x",
                                        [](obnovnik::Prekazka, const QString&) { return false; }),
                 obnovnik::Nahrada::Vzdano);
    }

    // No room on the disk for the new file beside the old one: the user is told that the disk
    // is full, not asked whether the old file can be removed; the old file stays whole and no
    // part of the new one is left.
    void nahradaPlnyDisk() {
        MalyDisk disk(64 * 1024);
        if (!disk.pripojen()) QSKIP(disk.duvod());
        Pomocnik::PracovniSlozka s;
        zapis("novy", QByteArray(256 * 1024, 'n'));
        const QString cil = disk.cesta("ParmexRozu");
        {
            QFile f(cil);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(8 * 1024, 's'));
        }
        QVector<obnovnik::Prekazka> prekazky;
        QStringList popisy;
        QCOMPARE(obnovnik::nahradSoubor("novy", cil,
                                        [&](obnovnik::Prekazka p, const QString& popis) {
                                            prekazky << p;
                                            popisy << popis;
                                            return prekazky.size() < 2;
                                        }),
                 obnovnik::Nahrada::Vzdano);
        QCOMPARE(prekazky, QVector<obnovnik::Prekazka>(2, obnovnik::Prekazka::PlnyDisk));
        QVERIFY2(popisy[0].contains(QStringLiteral("není dostatek volného místa")),
                 qPrintable(popisy[0]));
        QCOMPARE(precti(cil), QByteArray(8 * 1024, 's'));
        QVERIFY(!QFileInfo::exists(cil + QStringLiteral(".obnova")));
    }

    void pripravaAUklid() {
        Pomocnik::PracovniSlozka s;
        QVERIFY(obnovnik::pripravSlozku(s.cesta("tmp/"), "tmp/a.zip"));
        zapis("tmp/a.zip", "stary archiv");
        QVERIFY(obnovnik::pripravSlozku(s.cesta("tmp/"), "tmp/a.zip"));
        QVERIFY(!QFileInfo::exists("tmp/a.zip"));
        zapis("soubor", "");
        QVERIFY(!obnovnik::pripravSlozku(s.cesta("soubor/tmp/"), "soubor/tmp/a.zip"));

        zapis("tmp/a.zip", "a");
        zapis("tmp/novy", "n");
        obnovnik::uklid("tmp/a.zip", "tmp/novy", "tmp/");
        QVERIFY(!QFileInfo::exists("tmp"));
        // Other files the archive held keep the folder.
        QVERIFY(QDir().mkpath("tmp"));
        zapis("tmp/jiny", "j");
        obnovnik::uklid("tmp/a.zip", "tmp/novy", "tmp/");
        QVERIFY(QFileInfo::exists("tmp/jiny"));
    }

    // A program file is replaced only by a program of the same organisation: the product name
    // of its version block is the one of the file it replaces. A real build passes against a
    // file of its own organisation.
    void overNovyProgram_data() {
        QTest::addColumn<QString>("novy");
        QTest::addColumn<QString>("cil");
        QTest::addColumn<QString>("zprava");  // empty: accepted
        QTest::newRow("real build") << PARMEX_EXE << "nas"
                                    << "";
        QTest::newRow("same organisation") << "nas2"
                                           << "nas"
                                           << "";
        QTest::newRow("new file missing, left to the replace") << "chybi"
                                                               << "nas"
                                                               << "";
        QTest::newRow("random bytes")
            << "nahodny"
            << "nas"
            << "Nový soubor \"nahodny\" není program \"%1\" (nenese označení programu), "
               "původní soubor \"nas\" zůstává beze změny.";
        QTest::newRow("other organisation")
            << "kelmina"
            << "nas"
            << "Nový soubor \"kelmina\" je program \"Parmex Rozu - MO Jinde\", ne \"%1\"; "
               "původní soubor \"nas\" zůstává beze změny.";
        QTest::newRow("the updater") << OBNOVNIK_EXE << "nas"
                                     << "Nový soubor \"" OBNOVNIK_EXE
                                        "\" je program \"Obnovnik\", ne \"%1\"; původní soubor "
                                        "\"nas\" zůstává beze změny.";
        QTest::newRow("old file without a block")
            << "nas2"
            << "nahodny"
            << "Původní soubor \"nahodny\" nenese označení programu, nový soubor \"nas2\" proto "
               "nelze ověřit; původní soubor zůstává beze změny.";
        QTest::newRow("old file missing")
            << "nas2"
            << "chybi"
            << "Původní soubor \"chybi\" nenese označení programu, nový soubor \"nas2\" proto "
               "nelze ověřit; původní soubor zůstává beze změny.";
    }
    void overNovyProgram() {
        QFETCH(QString, novy);
        QFETCH(QString, cil);
        QFETCH(QString, zprava);
        Pomocnik::PracovniSlozka s;
        // The organisation of this build, as its own program file names it.
        QMap<QString, QString> blok;
        QCOMPARE(VerzniBlok::nacti(PARMEX_EXE, &blok), VerzniBlok::Vysledek::Nacteno);
        const QString nase = blok.value("ProductName");
        QVERIFY(nase.startsWith("Parmex Rozu - MO "));
        Pomocnik::zapisProgramSVerzi("nas", nase, "1.0.4.30");
        Pomocnik::zapisProgramSVerzi("nas2", nase, "1.0.5.0");
        Pomocnik::zapisProgramSVerzi("kelmina", "Parmex Rozu - MO Jinde", "1.0.5.0");
        QByteArray nahodne(4096, 0);
        for (char& c : nahodne) c = char(QRandomGenerator::global()->bounded(256));
        zapis("nahodny", nahodne);
        QCOMPARE(obnovnik::overNovyProgram(novy, cil),
                 zprava.isEmpty() ? zprava : zprava.arg(nase));
    }

    // Whatever a failed run left in the temporary folder goes before the next run unpacks: a
    // folder in the place of the new file, other files, links (removed, never followed).
    void pripravaVycistiPozustatky() {
        Pomocnik::PracovniSlozka s;
        QVERIFY(QDir().mkpath("tmp/dataCis.mdb/hluboko"));
        zapis("tmp/dataCis.mdb/hluboko/x", "x");
        zapis("tmp/jiny.txt", "j");
        zapis("tmp/.skryty", "s");
        QVERIFY(QDir().mkpath("venku"));
        zapis("venku/cenny", "c");
        QVERIFY(QFile::link(s.cesta("venku"), "tmp/odkaz"));
        QVERIFY(obnovnik::pripravSlozku(s.cesta("tmp/"), "tmp/a.zip"));
        QVERIFY(QFileInfo("tmp").isDir());
        QCOMPARE(obsahSlozky("tmp"), QStringList{});
        QCOMPARE(precti("venku/cenny"), QByteArray("c"));

        // The folder itself a link: the link goes, a real folder takes its place.
        QVERIFY(QDir("tmp").removeRecursively());
        QVERIFY(QFile::link(s.cesta("venku"), "tmp"));
        QVERIFY(obnovnik::pripravSlozku(s.cesta("tmp/"), "tmp/a.zip"));
        QVERIFY(QFileInfo("tmp").isDir() && !QFileInfo("tmp").isSymLink());
        QCOMPARE(precti("venku/cenny"), QByteArray("c"));

        // A folder holding the current one is never emptied; only a leftover archive goes.
        zapis("a.zip", "stary archiv");
        for (const QString& t : {s.cesta("./"), s.cesta("venku/../")}) {
            QVERIFY(obnovnik::pripravSlozku(t, "a.zip"));
            QVERIFY(QFileInfo::exists("ParmexRozu"));
            QCOMPARE(precti("venku/cenny"), QByteArray("c"));
        }
        QVERIFY(!QFileInfo::exists("a.zip"));
    }

    void najdiSoubor() {
        Pomocnik::PracovniSlozka s;
        QVERIFY(QDir().mkpath("tmp"));
        zapis("tmp/DataCis.MDB", "d");
        QCOMPARE(obnovnik::najdiSoubor("tmp/dataCis.mdb"), QString("tmp/DataCis.MDB"));
        QCOMPARE(obnovnik::najdiSoubor("tmp/jiny.mdb"), QString("tmp/jiny.mdb"));
    }

    // --- download ---------------------------------------------------------------------------

    void stazeni() {
        Pomocnik::PracovniSlozka s;
        ServerHttp server;
        const QByteArray data(300000, 'z');
        server.pridejSoubor("/a.zip", data);
        qint64 posledni = -1, celkem = -1;
        Stahovani::stahniSoubor(server.adresa("/a.zip"), "a.zip", [&](qint64 p, qint64 c) {
            posledni = p;
            celkem = c;
        });
        QCOMPARE(precti("a.zip"), data);
        QCOMPARE(posledni, qint64(data.size()));
        QCOMPARE(celkem, qint64(data.size()));

        // Into a device: an error status writes nothing of its page.
        server.pridejSoubor("/500", "stranka s chybou");
        server.nastavStav("/500", 500);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        const Stahovani::Vysledek v = Stahovani::stahni(server.adresa("/500"), &buffer);
        QVERIFY(!v.uspech);
        QCOMPARE(v.stavHttp, 500);
        QCOMPARE(buffer.data(), QByteArray());
    }

    void stazeniSelze_data() {
        QTest::addColumn<QString>("cesta");
        QTest::addColumn<QString>("soubor");
        QTest::newRow("404") << "/chybi.zip"
                             << "a.zip";
        QTest::newRow("500") << "/500.zip"
                             << "a.zip";
        QTest::newRow("silent server") << "/ticho.zip"
                                       << "a.zip";
        QTest::newRow("redirect loop") << "/smycka.zip"
                                       << "a.zip";
        QTest::newRow("truncated body") << "/useknuty.zip"
                                        << "a.zip";
        QTest::newRow("trickling server past the deadline") << "/pomalu.zip"
                                                            << "a.zip";
        QTest::newRow("folder missing") << "/a.zip"
                                        << "nic/a.zip";
        QTest::newRow("no server") << ""
                                   << "a.zip";
    }
    void stazeniSelze() {
        QFETCH(QString, cesta);
        QFETCH(QString, soubor);
        Pomocnik::PracovniSlozka s;
        zapis("a.zip", "starsi");
        QString adresa;
        {
            ServerHttp mrtvy;
            adresa = mrtvy.adresa("/a.zip");
        }
        ServerHttp server;
        server.pridejSoubor("/a.zip", "archiv");
        server.pridejSoubor("/500.zip", "stranka s chybou");
        server.nastavStav("/500.zip", 500);
        server.nastavTicho("/ticho.zip");
        server.nastavSmyckuPresmerovani("/smycka.zip");
        server.pridejSoubor("/useknuty.zip", QByteArray(10000, 'u'));
        server.nastavUseknuti("/useknuty.zip", 100);
        // A byte every 100 ms never lets the idle time-out of 500 ms strike.
        server.pridejSoubor("/pomalu.zip", QByteArray(1000, 'p'));
        server.nastavPomalu("/pomalu.zip", 100);
        if (!cesta.isEmpty()) adresa = server.adresa(cesta);
        try {
            Stahovani::stahniSoubor(adresa, soubor, {}, 500, 2000);
            QFAIL("the download did not fail");
        } catch (const Chyba& e) {
            QCOMPARE(e.zprava(), "Error downloading URL: " + adresa);
        }
        // An error page or a part of the body never takes the place of the file.
        QCOMPARE(precti("a.zip"), QByteArray("starsi"));
    }

    // An archive that does not fit on the disk: the download fails and says that the disk is
    // full, whether nothing or a part of the archive could be written; nothing of it is left.
    // (The file system's last partial write used to go unnoticed, and a cut archive counted as
    // downloaded.)
    void stazeniNaPlnyDisk_data() {
        QTest::addColumn<int>("volno");
        QTest::addColumn<int>("bajtu");
        // The file's buffer holds the whole archive, and the one write that fails is the last.
        QTest::newRow("one page free") << 4096 << 4770;
        QTest::newRow("nothing free") << 0 << 4770;
        QTest::newRow("far too large") << 64 * 1024 << 400 * 1024;
    }
    void stazeniNaPlnyDisk() {
        QFETCH(int, volno);
        QFETCH(int, bajtu);
        MalyDisk disk(64 * 1024);
        if (!disk.pripojen()) QSKIP(disk.duvod());
        if (volno < 64 * 1024) zapis(disk.cesta("plno"), QByteArray(64 * 1024 - volno, 'p'));
        ServerHttp server;
        server.pridejSoubor("/a.zip", QByteArray(bajtu, 'a'));
        const QString soubor = disk.cesta("a.zip");
        try {
            Stahovani::stahniSoubor(server.adresa("/a.zip"), soubor);
            QFAIL("the download did not fail");
        } catch (const Chyba& e) {
            QCOMPARE(e.zprava(), "Error downloading URL: " + server.adresa("/a.zip") +
                                     "\rSoubor nelze uložit: na disku se složkou \"" +
                                     disk.cesta() + "\" není dostatek volného místa.");
        }
        QVERIFY(!QFileInfo::exists(soubor));
        QCOMPARE(
            QDir(disk.cesta()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            volno < 64 * 1024 ? QStringList{"plno"} : QStringList{});
    }

    void casovyLimitZProstredi() {
        QCOMPARE(Stahovani::casovyLimitMs(30000), 30000);
        qputenv("PARMEX_CASOVY_LIMIT_MS", "250");
        QCOMPARE(Stahovani::casovyLimitMs(30000), 250);
        qputenv("PARMEX_CASOVY_LIMIT_MS", "nic");
        QCOMPARE(Stahovani::casovyLimitMs(30000), 30000);
        qunsetenv("PARMEX_CASOVY_LIMIT_MS");
    }

    // --- the window -------------------------------------------------------------------------

    void oknoPredSpustenim() {
        Pomocnik::PracovniSlozka s;
        Pomocnik::zapisProgramSVerzi(s.cesta("Obnovnik"), "Obnovnik", "1.1.1.49");
        obnovnik::TMain okno(
            {"http://127.0.0.1:1/a.zip", "tmp\\", "a.zip", "ParmexRozu", "ParmexRozu"},
            s.cesta("Obnovnik"));
        QVERIFY(!okno.skonceno());
        QCOMPARE(okno.windowTitle(), QString("Obnovnik v:1.1.1.49"));
        QCOMPARE(okno.OdkladaciAdresar->text(), QString("tmp\\"));
        QVERIFY(okno.OdkladaciAdresar->isReadOnly());
        QVERIFY(okno.Start->isEnabled());
        QVERIFY(okno.TimerRun->isActive());
        QCOMPARE(okno.TimerRun->interval(), 250);
        QCOMPARE(okno.PrubehInstalace->title(), QString("Průběh instalace"));
        const QStringList kroky{"Tvorba \"temp\" adresáře",  "Stažení souboru z internetu",
                                "Rozbalení souboru",         "Přepis původního souboru",
                                "Čistění \"temp\" adresáře", "Spuštění reinstalované aplikace"};
        const auto boxy = okno.PrubehInstalace->findChildren<QCheckBox*>();
        QCOMPARE(boxy.size(), 6);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(boxy[i]->text(), kroky[i]);
            QVERIFY(!boxy[i]->isEnabled() && !boxy[i]->isChecked());
        }
        QCOMPARE(okno.size(), QSize(428, 243));
        QVERIFY(Zpravy::zaznamy().isEmpty());
    }

    // The steps show the run: done steps ticked, the running one lit, the others dimmed. The
    // user cannot tick them.
    void oknoUkazujeKroky_data() {
        QTest::addColumn<bool>("archivNaServeru");
        QTest::addColumn<QString>("stavy");  // per step: - dimmed, o lit, x ticked
        QTest::newRow("download fails") << false << "xo----";
        QTest::newRow("whole run") << true << "xxxxxx";
    }
    void oknoUkazujeKroky() {
        QFETCH(bool, archivNaServeru);
        QFETCH(QString, stavy);
        Pomocnik::PracovniSlozka s;
        ServerHttp server;
        // The updater installs only a program of the organisation of the one it replaces.
        const QString produkt = QStringLiteral("Parmex Rozu - MO Varnov");
        Pomocnik::zapisProgramSVerzi(s.cesta("Program"), produkt, "1.0.4.30");
        QMap<QString, QString> blok;
        blok.insert("FileVersion", "1.0.5.0");
        blok.insert("ProductName", produkt);
        const QByteArray skript = "#!/bin/sh\nexit 0\n" + VerzniBlok::sestav(blok);
        if (archivNaServeru)
            server.pridejSoubor(
                "/a.zip", ArchivZip::obsah({{"Program", skript, 0755}}, s.cesta("archiv.tmp")));
        obnovnik::TMain okno({server.adresa("/a.zip"), s.cesta("tmp") + "/", "a.zip",
                              s.cesta("Program"), "Program"});
        okno.TimerRun->stop();
        const auto boxy = okno.PrubehInstalace->findChildren<QCheckBox*>();
        QCOMPARE(boxy.size(), 6);
        okno.show();
        QVERIFY(QTest::qWaitForWindowExposed(&okno));
        okno.StartClick();
        auto videno = [&] {
            QString v;
            for (QCheckBox* b : boxy)
                v += b->isChecked() ? (b->isEnabled() ? 'x' : '?') : (b->isEnabled() ? 'o' : '-');
            return v;
        };
        QCOMPARE(videno(), stavy);
        QCOMPARE(Zpravy::zaznamy().size(), archivNaServeru ? 0 : 1);
        if (archivNaServeru) QCOMPARE(precti(s.cesta("Program")), skript);
        // A click on a step is not the user's to make (the click goes to the window, which hands
        // it to the widget under the pointer, as a real click does).
        okno.show();
        QVERIFY(QTest::qWaitForWindowExposed(&okno));
        for (QCheckBox* b : boxy)
            QTest::mouseClick(okno.windowHandle(), Qt::LeftButton, {},
                              b->mapTo(&okno, QPoint(8, b->height() / 2)));
        QCOMPARE(videno(), stavy);
        QCOMPARE(boxy[1]->focusPolicy(), Qt::NoFocus);
    }

    void oknoSeSpatnymPoctem_data() {
        QTest::addColumn<QStringList>("argumenty");
        QTest::newRow("none") << QStringList{};
        QTest::newRow("three") << QStringList{"a", "b", "c"};
    }
    void oknoSeSpatnymPoctem() {
        QFETCH(QStringList, argumenty);
        Pomocnik::PracovniSlozka s;
        obnovnik::TMain okno(argumenty);
        QVERIFY(okno.skonceno());
        QCOMPARE(Zpravy::zaznamy().size(), 1);
        QCOMPARE(Zpravy::zaznamy()[0].text, QString("Spuštěno se špatným počtem parametrů..."));
        QCOMPARE(Zpravy::zaznamy()[0].typZpravy, 0);
        QCOMPARE(Zpravy::zaznamy()[0].typTlacitek, 0);
    }
};

QTEST_MAIN(TestObnovnik)
#include "tst_obnovnik.moc"
