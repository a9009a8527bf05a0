// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLabel>
#include <QtTest>

#include "DBGridNew.h"
#include "Hodiny.h"
#include "Pomocnik.h"
#include "Schema.h"
#include "ServerHttp.h"
#include "Shell.h"
#include "Zpravy.h"
#include "fDialogUprStruct.h"
#include "fMain.h"
#include "uAllYouNeed.h"

namespace {
using Pomocnik::jedna;

// A data.mdb made by the given statements before the program starts.
void pripravDatabazi(const QStringList& prikazy) {
    QVERIFY(QFile::copy(QStringLiteral(":/EXEFILE/dataDB"), QStringLiteral("data.mdb")));
    QFile(QStringLiteral("data.mdb")).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    db::Connection c;
    c.open(QStringLiteral("data.mdb"), db::Connection::Rezim::Vyhradni);
    for (const QString& p : prikazy) c.execute(p);
}
// The organisation's server for the update check of the first activation: it announces the
// program's own version and the given code-list version, so the check ends at once.
struct Oznameni {
    Oznameni(TMain& w, int verzeCis) {
        Pomocnik::obnovSmyckyUdalosti();
        server.pridejSoubor(QStringLiteral("/verze.ini"),
                            QStringLiteral("[parmex-rozu]\r\nverzeprog=1.0.4.30\r\n\r\n\r\n\r\n\r\n"
                                           "verzecis=%1\r\n")
                                .arg(verzeCis)
                                .toUtf8());
        w.AdresyWebu.AdresaIni = server.adresa(QStringLiteral("/verze.ini"));
    }
    ServerHttp server;
};
}  // namespace

class TestMain : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(parmex);
        Pomocnik::pripravProstredi();
    }

    // First start in an empty folder: the template, all three upgrade steps, the Varnov build.
    void prvniStart() {
        Pomocnik::PracovniSlozka s;
        Hodiny::nastav(QDateTime(QDate(2027, 3, 1), QTime(10, 0)));
        const int zobrazeni = TDialogUprStruct::pocetZobrazeni();
        TMain w;
        QVERIFY(!ProgramKonci());
        QVERIFY(QFile::exists(s.cesta(QStringLiteral("data.mdb"))));
        QCOMPARE(TDialogUprStruct::pocetZobrazeni(), zobrazeni + 1);
        QCOMPARE(jedna(QStringLiteral("select DB from verze")), QStringLiteral("4"));
        QCOMPARE(jedna(QStringLiteral("select count(*) from verze")), QStringLiteral("1"));
        QCOMPARE(jedna(QStringLiteral("select count(*) from sqlite_master where type = 'table'")),
                 QStringLiteral("23"));
        QCOMPARE(jedna(QStringLiteral("select group_concat(nazev, '|') from (select nazev from "
                                      "TypPlatby order by typ_platby)")),
                 QStringLiteral("Členství|Brigády|Povolenky|Jiné platby"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Parmex Rozu E-platby [1.0.4.30]"));
        QCOMPARE(w.Organizace, o_Varnov);
        QCOMPARE(w.LabelWWW->text(),
                 QStringLiteral(PARMEX_SERVER "/index.php/u-nas/platby-prevodem"));
        QCOMPARE(w.AdresyWebu.AdresaIni, QStringLiteral(PARMEX_SERVER "/parmex/verze.ini"));
        QCOMPARE(w.AdresyWebu.AdresaZip, QStringLiteral(PARMEX_SERVER "/parmex"));
        QVERIFY(s.log().isEmpty());

        // First activation: panel, check, title with the town, the calendar year for an empty
        // register. The code lists count as imported, so the check needs the server only once.
        w.ADOConnection1.execute(QStringLiteral("insert into Nastaveni (verzecis) values (1)"));
        Oznameni oznameni(w, 1);
        w.FormActivate();
        QVERIFY(w.AktualizaceZkontrolovana);
        QVERIFY(w.PanelAktualizace->isHidden());
        QCOMPARE(w.windowTitle(),
                 QStringLiteral("Parmex Rozu E-platby [1.0.4.30] - místní organizace: "));
        QCOMPARE(w.rok, QStringLiteral("2027"));
        QCOMPARE(w.LabelRok->text(), QStringLiteral("2027"));
        QCOMPARE(w.LabelPlatby->text(), QStringLiteral("0"));
        QCOMPARE(w.LabelDatum->text(), QString());
    }

    // A database already at version 4 is used as it is.
    void druhyStart() {
        Pomocnik::PracovniSlozka s;
        { TMain w; }
        const int zobrazeni = TDialogUprStruct::pocetZobrazeni();
        TMain w;
        QVERIFY(!ProgramKonci());
        QCOMPARE(TDialogUprStruct::pocetZobrazeni(), zobrazeni);
        QCOMPARE(jedna(QStringLiteral("select DB from verze")), QStringLiteral("4"));
    }

    // A database at version 2 gets steps 2 and 3; its years get stav 0.
    void zVerze2() {
        Pomocnik::PracovniSlozka s;
        QStringList prikazy = PrikazyUpravy(1);
        prikazy << QStringLiteral("insert into RokEvidence (rok) values (2015)")
                << QStringLiteral("insert into RokEvidence (rok) values (2016)");
        pripravDatabazi(prikazy);
        TMain w;
        QVERIFY(!ProgramKonci());
        QCOMPARE(jedna(QStringLiteral("select DB from verze")), QStringLiteral("4"));
        QCOMPARE(jedna(QStringLiteral("select count(*) from RokEvidence where stav = 0")),
                 QStringLiteral("2"));
        QCOMPARE(jedna(QStringLiteral("select count(*) from C_jinePlatby")), QStringLiteral("0"));
    }

    // An empty verze means version 0: step 1 fails at its first statement, which is logged and
    // reaches the general error report, and the program ends.
    void prazdnaVerze() {
        Pomocnik::PracovniSlozka s;
        pripravDatabazi({QStringLiteral("create table verze (DB numeric, dat_zmena datetime)")});
        const int zobrazeni = TDialogUprStruct::pocetZobrazeni();
        TMain w;
        QVERIFY(ProgramKonci());
        QCOMPARE(NavratovyKod(), 1);
        const auto z = Zpravy::zaznamy();
        QCOMPARE(z.size(), 1);
        QCOMPARE(z[0].typZpravy, 2);
        QCOMPARE(z[0].text, QStringLiteral("table verze already exists"));
        // The progress window was shown and is gone: it does not stay on top of the message.
        QCOMPARE(TDialogUprStruct::pocetZobrazeni(), zobrazeni + 1);
        QCOMPARE(w.findChildren<TDialogUprStruct*>().size(), 0);
        QVERIFY(s.log().endsWith(
            QStringLiteral(": create table verze (DB numeric, dat_zmena datetime)\r\n")));
        QCOMPARE(s.log().count(QStringLiteral("\r\n")), 1);
    }

    void organizace_data() {
        QTest::addColumn<QString>("produkt");
        QTest::addColumn<int>("organizace");
        QTest::addColumn<QString>("odkaz");
        QTest::addColumn<QString>("ini");
        QTest::newRow("Varnov") << "Parmex Rozu - MO Varnov" << int(o_Varnov)
                                << "/index.php/u-nas/platby-prevodem"
                                << "/parmex/verze.ini";
        QTest::newRow("Kelmina") << "Parmex Rozu - MO Kelmina" << int(o_Kelmina) << "/?page_id=219"
                                 << "/banking/parmexhome/verze.ini";
        QTest::newRow("other case") << "Parmex Rozu - MO varnov" << int(o_Neurceno) << ""
                                    << "";
        QTest::newRow("unknown") << "Parmex Rozu - MO Jinde" << int(o_Neurceno) << ""
                                 << "";
    }
    void organizace() {
        QFETCH(QString, produkt);
        QFETCH(int, organizace);
        QFETCH(QString, odkaz);
        QFETCH(QString, ini);
        Pomocnik::PracovniSlozka s(produkt);
        TMain w;
        QCOMPARE(int(w.Organizace), organizace);
        if (organizace == o_Neurceno) {
            QVERIFY(ProgramKonci());
            QCOMPARE(NavratovyKod(), 1);
            const auto z = Zpravy::zaznamy();
            QCOMPARE(z.size(), 1);
            QCOMPARE(z[0].typZpravy, 3);
            QCOMPARE(z[0].text,
                     QStringLiteral(
                         "Nebyla detekována organizace, kontaktujte prosím Váš rybářský svaz !"));
            QCOMPARE(w.LabelWWW->text(), QString());
        } else {
            QVERIFY(!ProgramKonci());
            QCOMPARE(w.LabelWWW->text(), QStringLiteral(PARMEX_SERVER) + odkaz);
            QCOMPARE(w.AdresyWebu.AdresaIni, QStringLiteral(PARMEX_SERVER) + ini);
            QCOMPARE(w.ImagePozadi->pixmap().height(), organizace == o_Kelmina ? 317 : 306);
        }
    }

    // The organisation's page opens on a left click over the link, and on nothing else.
    void odkaz_data() {
        QTest::addColumn<int>("tlacitko");
        QTest::addColumn<bool>("pustitMimo");
        QTest::addColumn<bool>("otevreno");
        QTest::newRow("left click") << int(Qt::LeftButton) << false << true;
        QTest::newRow("right click") << int(Qt::RightButton) << false << false;
        QTest::newRow("middle click") << int(Qt::MiddleButton) << false << false;
        QTest::newRow("dragged off before release") << int(Qt::LeftButton) << true << false;
    }
    void odkaz() {
        QFETCH(int, tlacitko);
        QFETCH(bool, pustitMimo);
        QFETCH(bool, otevreno);
        Pomocnik::PracovniSlozka s;
        TMain w;
        QStringList otevrene;
        Shell::nastavOtevirani([&](const QString& cil) { otevrene << cil; });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QLabel* odkaz = w.LabelWWW;
        const QPoint na(odkaz->width() / 2, odkaz->height() / 2);
        const auto b = Qt::MouseButton(tlacitko);
        QTest::mousePress(odkaz, b, {}, na);
        QTest::mouseRelease(odkaz, b, {}, pustitMimo ? QPoint(odkaz->width() + 40, na.y()) : na);
        Shell::nastavOtevirani(nullptr);
        QCOMPARE(otevrene, otevreno ? QStringList{odkaz->text()} : QStringList{});
        // The link is as wide as its text: beside it there is nothing to click.
        QCOMPARE(odkaz->width(), odkaz->sizeHint().width());
    }

    // The program's windows show its own icon, not the desktop's generic one.
    void ikonaOken() {
        Pomocnik::PracovniSlozka s;
        TMain w;
        QVERIFY(!QApplication::windowIcon().isNull());
        QVERIFY(!w.windowIcon().isNull());
        QCOMPARE(w.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    }

    // When nothing can open the page, the user is told so and given its address.
    void odkazBezProhlizece() {
        Pomocnik::PracovniSlozka s;
        TMain w;
        Shell::nastavOtevirani(nullptr);
        Shell::nastavOtevirac(s.cesta(QStringLiteral("neni-otevirac")));
        w.AktualizaceZkontrolovana = true;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        Zpravy::vymazZaznamy();
        QLabel* odkaz = w.LabelWWW;
        const QPoint na(odkaz->width() / 2, odkaz->height() / 2);
        QTest::mouseClick(odkaz, Qt::LeftButton, {}, na);
        QTRY_COMPARE_WITH_TIMEOUT(Zpravy::zaznamy().size(), 1, 20000);
        Shell::nastavOtevirac(QString());
        QCOMPARE(Zpravy::zaznamy()[0].typZpravy, 2);
        QCOMPARE(Zpravy::zaznamy()[0].text,
                 QStringLiteral("Stránku se nepodařilo otevřít, v systému není program, který by "
                                "ji zobrazil.\rAdresu \"") +
                     odkaz->text() +
                     QStringLiteral("\" otevřete prosím v internetovém prohlížeči."));
    }

    // The query helper's error path, with the error shown or handed back.
    void chybaDotazu_data() {
        QTest::addColumn<bool>("poslatDal");
        QTest::addColumn<bool>("select");
        QTest::newRow("select, shown") << false << true;
        QTest::newRow("select, handed back") << true << true;
        QTest::newRow("exec, shown") << false << false;
        QTest::newRow("exec, handed back") << true << false;
    }
    void chybaDotazu() {
        QFETCH(bool, poslatDal);
        QFETCH(bool, select);
        Pomocnik::PracovniSlozka s;
        TMain w;
        const QString prikaz =
            select ? QStringLiteral("select * from neni") : QStringLiteral("delete from neni");
        db::Query q(&w.ADOConnection1);
        QString predana;
        try {
            if (select)
                w.Gosql(prikaz, 1, q, poslatDal);
            else
                w.Gosqlexec(prikaz, q, poslatDal);
        } catch (const Chyba& e) {
            predana = e.zprava();
        }
        QVERIFY(!q.isOpen());
        QVERIFY(s.log().endsWith(QStringLiteral(": ") + prikaz + QStringLiteral("\r\n")));
        QCOMPARE(s.log().count(QStringLiteral("\r\n")), 1);
        const auto z = Zpravy::zaznamy();
        if (poslatDal) {
            QCOMPARE(predana, QStringLiteral("no such table: neni"));
            QCOMPARE(z.size(), 0);
        } else {
            QCOMPARE(predana, QString());
            QCOMPARE(z.size(), 1);
            QCOMPARE(z[0].typZpravy, 0);
            QCOMPARE(z[0].typTlacitek, 0);
            QCOMPARE(z[0].text,
                     QStringLiteral(
                         "Došlo k chybě! (kontaktuje prosím správce)\r{no such table: neni}"));
        }
    }

    // When the log itself cannot be written, its error replaces the database error and no
    // "Došlo k chybě" message appears.
    void chybaLogu() {
        Pomocnik::PracovniSlozka s;
        TMain w;
        QDir().mkdir(s.cesta(QStringLiteral("Error.log")));
        db::Query q(&w.ADOConnection1);
        try {
            w.Gosql(QStringLiteral("select * from neni"), 1, q, false);
            QFAIL("no error");
        } catch (const Chyba& e) {
            QVERIFY(e.zprava().contains(QStringLiteral("nelze vytvořit")));
        }
        QCOMPARE(Zpravy::zaznamy().size(), 0);
    }

    void gosqlJenPripravi() {
        Pomocnik::PracovniSlozka s;
        TMain w;
        db::Query q(&w.ADOConnection1);
        w.Gosql(QStringLiteral("select * from TypPlatby"), 1, q, false);
        QVERIFY(q.isOpen());
        w.Gosql(QStringLiteral("select * from neni"), 0, q, false);
        QVERIFY(!q.isOpen());
        QCOMPARE(q.sql(), QStringLiteral("select * from neni"));
        QCOMPARE(Zpravy::zaznamy().size(), 0);
        QVERIFY(s.log().isEmpty());
    }

    void refreshDBGridu_data() {
        QTest::addColumn<int>("radku");
        QTest::addColumn<int>("stoji");
        QTest::addColumn<int>("pozice");
        QTest::addColumn<int>("zbyde");
        QTest::addColumn<int>("potom");
        QTest::newRow("same number") << 10 << 5 << 0 << 10 << 5;
        QTest::newRow("shrunk below") << 10 << 5 << 0 << 4 << 1;
        QTest::newRow("shrunk to it") << 10 << 5 << 0 << 5 << 5;
        QTest::newRow("one row") << 1 << 1 << 0 << 1 << 1;
        QTest::newRow("last") << 10 << 3 << 2 << 10 << 10;
        QTest::newRow("first") << 10 << 7 << 1 << 10 << 1;
    }
    void refreshDBGridu() {
        QFETCH(int, radku);
        QFETCH(int, stoji);
        QFETCH(int, pozice);
        QFETCH(int, zbyde);
        QFETCH(int, potom);
        Pomocnik::PracovniSlozka s;
        TMain w;
        w.ADOConnection1.execute(QStringLiteral("create table t (i numeric)"));
        for (int i = 1; i <= radku; ++i)
            w.ADOConnection1.execute(QStringLiteral("insert into t values (%1)").arg(i));
        db::Query q(&w.ADOConnection1);
        TDBGridNew grid;
        grid.setDataSet(&q);
        w.Gosql(QStringLiteral("select * from t order by i"), 1, q, false);
        q.setRecNo(stoji);
        w.ADOConnection1.execute(QStringLiteral("delete from t where i > %1").arg(zbyde));
        w.RefreshDBGridu(&grid, pozice);
        QVERIFY(q.isOpen());
        QCOMPARE(q.recordCount(), zbyde);
        QCOMPARE(q.recNo(), potom);
        QCOMPARE(grid.model()->rowCount(), zbyde);
        QCOMPARE(grid.currentIndex().row(), potom - 1);
    }

    // The panel reads the counts, the date of the last import and the highest year.
    void infoRefresh() {
        Pomocnik::PracovniSlozka s;
        TMain w;
        for (const char* p :
             {"insert into RokEvidence (rok, stav) values (2026, 0)",
              "insert into RokEvidence (rok, stav) values (2027, 0)",
              "insert into Nastaveni (ucet, aktualizovano, verzecis, mesto) values "
              "('19-2000145399/0800', '2027-01-15 00:00:00', 3, 'Varnov')",
              "insert into HistoriePlatebHead (cislo_platby, dat_zmena, rok, ucet, vs, ks, ss, "
              "castka, id_usr) values (1, now(), 2027, 'u', '7', '0127', '05', 370, 1)",
              "insert into HistoriePlateb (id_platby, rok, typ_platby, id, nazev, castka, "
              "cislo_platby) values (1, 2027, 1, 1, 'a', 350, 1)",
              "insert into HistoriePlateb (id_platby, rok, typ_platby, id, nazev, castka, "
              "cislo_platby) values (2, 2027, 4, 0, 'b', 20, 1)"})
            w.ADOConnection1.execute(QString::fromUtf8(p));
        Oznameni oznameni(w, 3);
        w.FormActivate();
        QCOMPARE(w.LabelPlatby->text(), QStringLiteral("1"));
        QCOMPARE(w.LabelPolozky->text(), QStringLiteral("2"));
        QCOMPARE(w.LabelDatum->text(), QStringLiteral("15.01.2027"));
        QCOMPARE(w.LabelRok->text(), QStringLiteral("2027"));
        QCOMPARE(w.rok, QStringLiteral("2027"));
        QCOMPARE(w.windowTitle(),
                 QStringLiteral("Parmex Rozu E-platby [1.0.4.30] - místní organizace: Varnov"));
    }

    // Closing removes the updater's files once the update check has run, and only then.
    void zavreni_data() {
        QTest::addColumn<bool>("zkontrolovano");
        QTest::newRow("after the check") << true;
        QTest::newRow("during the check") << false;
    }
    void zavreni() {
        QFETCH(bool, zkontrolovano);
        Pomocnik::PracovniSlozka s;
        TMain w;
        for (const QString& f : {SouborObnovniku(), QStringLiteral("unzip32.dll")}) {
            QFile soubor(f);
            QVERIFY(soubor.open(QIODevice::WriteOnly));
        }
        w.AktualizaceZkontrolovana = zkontrolovano;
        w.show();
        w.close();
        QCOMPARE(QFile::exists(SouborObnovniku()), !zkontrolovano);
        QCOMPARE(QFile::exists(QStringLiteral("unzip32.dll")), !zkontrolovano);
    }

    // A second copy of the real program in the same folder shows why it cannot open the
    // database and ends; the first copy keeps working and loses nothing.
    void druhaKopie() {
        Pomocnik::PracovniSlozka s;
        TMain w;
        w.ADOConnection1.execute(
            QStringLiteral("insert into RokEvidence (rok, stav) values (2027, 0)"));
        QProcess druha;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PARMEX_ODPOVEDI"), QString());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        druha.setProcessEnvironment(env);
        const QString program = s.cesta(QStringLiteral("ParmexRozu2"));
        QVERIFY(QFile::copy(QStringLiteral(PARMEX_EXE), program));
        druha.start(program, {});
        QVERIFY(druha.waitForFinished(30000));
        QCOMPARE(druha.exitCode(), 1);
        const QString chyby = QString::fromUtf8(druha.readAllStandardError());
        QVERIFY2(chyby.contains(QStringLiteral("ZobrazDialog[2,0,0]: Nastala chyba při otevření "
                                               "DB: soubor data.mdb je otevřen jiným programem")),
                 qPrintable(chyby));
        w.ADOConnection1.execute(
            QStringLiteral("insert into RokEvidence (rok, stav) values (2028, 0)"));
        QCOMPARE(jedna(QStringLiteral("select count(*) from RokEvidence")), QStringLiteral("2"));
    }

    // A data.mdb that is not a database: a clear message, and the file is never overwritten.
    void poskozenaDatabaze() {
        Pomocnik::PracovniSlozka s;
        QFile f(QStringLiteral("data.mdb"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
        f.close();
        TMain w;
        QVERIFY(ProgramKonci());
        const auto z = Zpravy::zaznamy();
        QCOMPARE(z.size(), 1);
        QCOMPARE(z[0].text,
                 QStringLiteral("Nastala chyba při otevření DB: file is not a database"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray(4096, 'x'));
    }
};

QTEST_MAIN(TestMain)
#include "tst_main.moc"
