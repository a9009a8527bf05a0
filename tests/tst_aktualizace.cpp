#include <QLabel>
#include <QRandomGenerator>
#include <QScreen>
#include <QtTest>
#include <memory>

#include "Aktualizace.h"
#include "ArchivZip.h"
#include "Hodiny.h"
#include "Obnovnik.h"
#include "Pomocnik.h"
#include "ServerHttp.h"
#include "VzorovaData.h"
#include "Zpravy.h"
#include "fMain.h"
#include "uAllYouNeed.h"

// The update check of the first activation, run by the real main window against a server on
// 127.0.0.1; the code-list update runs the real updater embedded in the program. Also the plain
// parts: reading the announcement, comparing versions, the updater's command lines, SpustACekej.
namespace {

const QString kIni = QStringLiteral("/parmex/verze.ini");
const QString kZip = QStringLiteral("/parmex/ciselniky.zip");
const QString kVyjimka = QStringLiteral(
    "Při zjišťování aktualizací došlo k neočekávané výjimce, ověřte prosím "
    "připojení k internetu,\rpřípadně zda antivirus nebrání programu přistupovat "
    "na web, je-li vše v pořádku,\rkontaktujte rybářský svaz. (popis chyby: ");
const QString kOtazka = QStringLiteral(
    "Byly nalezeny nové aktualizace, chcete je nainstalovat ?\r(odmítnutím se aplikace ukončí, "
    "není možno pokračovat s neaktuální aplikací\r z důvodu kompatibility systému na rybářském "
    "svazu)");
const QString kMaloRadku =
    QStringLiteral("Nepodařilo se ověřit aktualizace, zkuste to prosím později.");
const QString kSpatnaData = QStringLiteral(
    "Aktualizační soubor neobsahuje korektní data - zkuste to prosím později (může docházet k "
    "jejich aktualizaci na serveru),\rpokud bude problém přetrvávat, kontaktujte prosím správce "
    "na svazu.");

// An announcement: the header, then one line per key, CR LF between lines.
QByteArray oznameni(const QString& verzeProg, const QString& verzeCis,
                    const QString& souborProg = QStringLiteral("program.zip"),
                    const QString& souborCis = QStringLiteral("ciselniky.zip")) {
    return QStringList{
        QStringLiteral("[parmex-rozu]"),        QStringLiteral("verzeprog=") + verzeProg,
        QStringLiteral("datumprog=01.12.2026"), QStringLiteral("souborprog=") + souborProg,
        QStringLiteral("datumcis=01.12.2026"),  QStringLiteral("souborcis=") + souborCis,
        QStringLiteral("verzecis=") + verzeCis}
        .join(QStringLiteral("\r\n"))
        .toUtf8();
}

QStringList texty() {
    QStringList r;
    for (const auto& z : Zpravy::zaznamy())
        r << QStringLiteral("%1,%2: %3").arg(z.typZpravy).arg(z.typTlacitek).arg(z.text);
    return r;
}

// A working folder, a fresh program of the given own version and an organisation server.
struct Kontrola {
    explicit Kontrola(const QString& vlastniVerze = QStringLiteral("1.0.4.30"))
        : s(QStringLiteral("Parmex Rozu - MO Varnov"), vlastniVerze) {
        Pomocnik::obnovSmyckyUdalosti();
        Hodiny::nastav(QDateTime(QDate(2027, 3, 1), QTime(10, 0)));
        w = std::make_unique<TMain>();
        w->AdresyWebu.AdresaIni = server.adresa(kIni);
        w->AdresyWebu.AdresaZip = server.adresa(QStringLiteral("/parmex"));
        Zpravy::vymazZaznamy();
    }
    // The code lists already imported at the given version.
    void ulozenaVerzeCis(int verze) {
        w->ADOConnection1.execute(
            QStringLiteral("insert into Nastaveni (verzecis, mesto) values (%1, 'Varnov')")
                .arg(verze));
    }
    void archivCiselniku() {
        VzorovaData::vytvor(s.cesta(QStringLiteral("zdroj.mdb")));
        QFile f(s.cesta(QStringLiteral("zdroj.mdb")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        server.pridejSoubor(kZip, ArchivZip::obsah({{QStringLiteral("dataCis.mdb"), f.readAll()}},
                                                   s.cesta(QStringLiteral("a.tmp"))));
        f.remove();
    }
    void soubory(const QStringList& jmena) {
        for (const QString& j : jmena) {
            QFile f(s.cesta(j));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
    }
    bool existuje(const QString& jmeno) const { return QFileInfo::exists(s.cesta(jmeno)); }
    // The program started again in the same folder.
    void znovu() {
        w.reset();
        Pomocnik::obnovSmyckyUdalosti();
        ZrusKonecProgramu();
        w = std::make_unique<TMain>();
        w->AdresyWebu.AdresaIni = server.adresa(kIni);
        w->AdresyWebu.AdresaZip = server.adresa(QStringLiteral("/parmex"));
        Zpravy::vymazZaznamy();
    }

    Pomocnik::PracovniSlozka s;
    ServerHttp server;
    std::unique_ptr<TMain> w;
};

}  // namespace

class TestAktualizace : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        Pomocnik::pripravProstredi();
        // This process answers its messages by the automat; the updaters it starts answer from
        // the environment, so a failing updater prints its message instead of waiting for a
        // person. The choice is made at the first message, so that one comes first.
        Zpravy::zobraz(QStringLiteral("start"), 0, 0);
        qputenv("PARMEX_ODPOVEDI", "");
    }
    void cleanup() {
        qunsetenv("PARMEX_CASOVY_LIMIT_MS");
        qunsetenv("PARMEX_CELKOVY_LIMIT_MS");
    }

    // ------------------------------------------------------------ reading the announcement

    void rozeber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("stav");
        QTest::addColumn<QStringList>("hodnoty");  // VerzeProg .. VerzeCis
        const QString hlavicka = QStringLiteral("[parmex-rozu]");
        QTest::newRow("seven lines, CR LF")
            << QString::fromUtf8(oznameni("1.0.3.5", "17")) << int(Aktualizace::Oznameni::Precteno)
            << QStringList{"1.0.3.5",    "01.12.2026",    "program.zip",
                           "01.12.2026", "ciselniky.zip", "17"};
        QTest::newRow("capitals lowered, LF and CR mixed")
            << "[PARMEX-ROZU]\nVerzeProg=1.0.3.5\rsouborPROG=Program.ZIP\r\nSOUBORCIS=Čís."
               "ZIP\n\n\n\n"
            << int(Aktualizace::Oznameni::Precteno)
            << QStringList{"1.0.3.5", "", "program.zip", "", "Čís.zip", ""};
        QTest::newRow("one character skipped, nothing trimmed")
            << hlavicka + "\nsouborprog: Program.ZIP\nx verzecis=17 \nverzeprog\n\n\n\n"
            << int(Aktualizace::Oznameni::Precteno)
            << QStringList{"", "", " program.zip", "", "", "17 "};
        QTest::newRow("last line wins, the header line is not read")
            << "[parmex-rozu]\nverzecis=1\nverzecis=2\n\n\n\n\n"
            << int(Aktualizace::Oznameni::Precteno) << QStringList{"", "", "", "", "", "2"};
        QTest::newRow("six lines and a final line break")
            << hlavicka + "\na\nb\nc\nd\ne\n"
            << int(Aktualizace::Oznameni::MaloRadku) << QStringList{"", "", "", "", "", ""};
        QTest::newRow("empty") << QString() << int(Aktualizace::Oznameni::MaloRadku)
                               << QStringList{"", "", "", "", "", ""};
        QTest::newRow("header followed by a blank")
            << "[parmex-rozu] \nverzecis=1\n\n\n\n\n\n"
            << int(Aktualizace::Oznameni::SpatnaHlavicka) << QStringList{"", "", "", "", "", ""};
    }
    void rozeber() {
        QFETCH(QString, text);
        QFETCH(int, stav);
        QFETCH(QStringList, hodnoty);
        TVerzeNaWebu v;
        QCOMPARE(int(Aktualizace::rozeber(text, v)), stav);
        QCOMPARE((QStringList{v.VerzeProg, v.DatumProg, v.SouborProg, v.DatumCis, v.SouborCis,
                              v.VerzeCis}),
                 hodnoty);
    }

    // Whatever the server sends, reading it ends with one of the three results.
    void rozeberLibovolnyText() {
        QRandomGenerator nahoda(20271201);
        const QString klice = QStringLiteral("verzeprogdatumsouborcis=[]-\r\n");
        for (int kolo = 0; kolo < 300; ++kolo) {
            QString t;
            const int delka = int(nahoda.bounded(kolo < 290 ? 400 : 200000));
            for (int i = 0; i < delka; ++i)
                t += nahoda.bounded(2) ? klice.at(int(nahoda.bounded(klice.size())))
                                       : QChar(char16_t(nahoda.bounded(1, 0x3000)));
            if (kolo % 2) t.prepend(QStringLiteral("[parmex-rozu]\n"));
            TVerzeNaWebu v;
            Aktualizace::rozeber(t, v);
        }
        TVerzeNaWebu v;
        QCOMPARE(Aktualizace::rozeber(QStringLiteral("[parmex-rozu]") +
                                          QString(500000, QLatin1Char('\n')) +
                                          QStringLiteral("verzecis"),
                                      v),
                 Aktualizace::Oznameni::Precteno);
        QCOMPARE(v.VerzeCis, QString());
    }

    void celeCislo_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cislo");
        QTest::newRow("number") << "17" << 17;
        QTest::newRow("blank after") << "17 " << 0;
        QTest::newRow("blank before") << " 17" << 17;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("letters") << "1a" << 0;
        QTest::newRow("too big") << "99999999999" << 0;
    }
    void celeCislo() {
        QFETCH(QString, text);
        QFETCH(int, cislo);
        QCOMPARE(Aktualizace::celeCislo(text), cislo);
    }

    // ------------------------------------------------------------ comparing versions

    void porovnej_data() {
        QTest::addColumn<QString>("v1");
        QTest::addColumn<QString>("v2");
        QTest::addColumn<int>("vysledek");
        QTest::newRow("fourth part as a number") << "1.0.3.10"
                                                 << "1.0.3.9" << 1;
        QTest::newRow("third part decides") << "1.0.3.10"
                                            << "1.0.4.0" << 2;
        QTest::newRow("same text") << "1.0.3.5"
                                   << "1.0.3.5" << 0;
        QTest::newRow("two parts are first and fourth") << "1.2"
                                                        << "1.0.0.2" << 0;
        QTest::newRow("dots after the third joined") << "1.2.3.4.5"
                                                     << "1.2.3.45" << 0;
        QTest::newRow("joined rest is higher") << "1.2.3.4.5"
                                               << "1.2.3.44" << 1;
        QTest::newRow("blanks and control characters trimmed") << " \t1.0.4.31\r"
                                                               << "1.0.4.30" << 1;
        QTest::newRow("no number counts 0") << "a.b.c.d"
                                            << "0.0.0.0" << 0;
        QTest::newRow("too big counts 0") << "99999999999.0.0.0"
                                          << "1.0.0.0" << 2;
        QTest::newRow("empty is the own version") << ""
                                                  << "1.0.4.30" << 0;
        QTest::newRow("own version against an older") << "1.0.4.29"
                                                      << "" << 2;
    }
    void porovnej() {
        QFETCH(QString, v1);
        QFETCH(QString, v2);
        QFETCH(int, vysledek);
        QCOMPARE(int(Aktualizace::porovnej(v1, v2, QStringLiteral("1.0.4.30"))), vysledek);
        // Swapped arguments give the other answer.
        QCOMPARE(int(Aktualizace::porovnej(v2, v1, QStringLiteral("1.0.4.30"))),
                 vysledek == 0 ? 0 : 3 - vysledek);
    }

    // ------------------------------------------------------------ the updater's command lines

    void prikazoveRadky() {
        const QString program = Aktualizace::parametryProgramu(QStringLiteral("http://h/parmex"),
                                                               QStringLiteral("nový program.zip"),
                                                               QStringLiteral("Platby"));
        QCOMPARE(program, QStringLiteral("\"http://h/parmex/nový program.zip\" \"tmp\\\" "
                                         "\"nový program.zip\" \"Platby\" \"Platby\""));
        // The updater reads it back whole, the backslash before the closing quote included.
        QCOMPARE(obnovnik::rozdelPrikazovouRadku(program),
                 (QStringList{"http://h/parmex/nový program.zip", "tmp\\", "nový program.zip",
                              "Platby", "Platby"}));

        const QString cis = Aktualizace::prikazCiselniku(
            QStringLiteral("Obnovnik"), QStringLiteral("http://h/parmex"),
            QStringLiteral("cis.zip"), QStringLiteral("/moje složka/dataCis.mdb"));
        QCOMPARE(cis, QStringLiteral("Obnovnik \"http://h/parmex/cis.zip\" \"tmp\\\" \"cis.zip\" "
                                     "\"/moje složka/dataCis.mdb\""));
        QCOMPARE(obnovnik::rozdelPrikazovouRadku(cis),
                 (QStringList{"Obnovnik", "http://h/parmex/cis.zip", "tmp\\", "cis.zip",
                              "/moje složka/dataCis.mdb"}));
    }

    void nazevArchivu_data() {
        QTest::addColumn<QString>("nazev");
        QTest::addColumn<bool>("platny");
        QTest::newRow("plain") << "ciselniky.zip" << true;
        QTest::newRow("with a blank") << "nový program.zip" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blank") << " " << false;
        QTest::newRow("up a folder") << "../data.mdb" << false;
        QTest::newRow("backslash") << "..\\data.mdb" << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("quote") << "a\".zip" << false;
    }
    void nazevArchivu() {
        QFETCH(QString, nazev);
        QFETCH(bool, platny);
        QCOMPARE(Aktualizace::platnyNazevArchivu(nazev), platny);
    }

    // ------------------------------------------------------------ running and waiting

    void spustACekej() {
        Pomocnik::PracovniSlozka s;
        // A program named without a folder is found in the current directory; it gets this
        // process's environment and current directory, its arguments whole, and is waited for.
        QFile skript(s.cesta(QStringLiteral("pomaly")));
        QVERIFY(skript.open(QIODevice::WriteOnly));
        skript.write(
            "#!/bin/sh\nsleep 0.7\n{ pwd; echo \"$ZKOUSKA\"; printf '%s\\n' \"$@\"; } "
            "> vystup.txt\nexit 7\n");
        skript.close();
        skript.setPermissions(skript.permissions() | QFile::ExeOwner);
        qputenv("ZKOUSKA", "z prostředí");
        QCOMPARE(SpustACekej(QStringLiteral("pomaly \"a b\" \"tmp\\\""), 0), 7);
        qunsetenv("ZKOUSKA");
        QFile vystup(s.cesta(QStringLiteral("vystup.txt")));
        QVERIFY(vystup.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(vystup.readAll()),
                 QDir::currentPath() + QStringLiteral("\nz prostředí\na b\ntmp\\\n"));

        QCOMPARE(SpustACekej(QStringLiteral("neexistujici-program-xyz \"a\""), 0), -1);
        QCOMPARE(SpustACekej(QString(), 0), -1);
    }

    // ------------------------------------------------------------ the check: failed downloads

    // Each failure names its cause after "popis chyby: " (%1 stands for the announcement's
    // address).
    void stazeniSelze_data() {
        QTest::addColumn<QString>("druh");
        QTest::addColumn<QString>("popis");
        QTest::newRow("no server") << "bez serveru"
                                   << "Connection refused";
        QTest::newRow("error status") << "404"
                                      << "Error transferring %1 - server replied: Error";
        QTest::newRow("silent server") << "ticho"
                                       << "Operation canceled";
        QTest::newRow("oversized announcement") << "velky"
                                                << "Soubor oznámení je větší než 1048576 bajtů";
    }
    void stazeniSelze() {
        QFETCH(QString, druh);
        QFETCH(QString, popis);
        Kontrola k;
        if (druh == QLatin1String("bez serveru")) {
            k.w->AdresyWebu.AdresaIni = QStringLiteral("http://127.0.0.1:1/parmex/verze.ini");
        } else if (druh == QLatin1String("ticho")) {
            qputenv("PARMEX_CASOVY_LIMIT_MS", "300");
            k.server.nastavTicho(kIni);
        } else if (druh == QLatin1String("velky")) {
            QByteArray b = oznameni("1.0.4.30", "1");
            b.append(QByteArray(2 * 1024 * 1024, '\n'));
            k.server.pridejSoubor(kIni, b);
        }
        QString obsah = QStringLiteral("beze změny");
        const QString chyba = k.w->DownloadUrl(k.w->AdresyWebu.AdresaIni, obsah);
        popis.replace(QLatin1String("%1"), k.w->AdresyWebu.AdresaIni);
        QCOMPARE(chyba, kVyjimka + popis + QLatin1Char(')'));
        QCOMPARE(obsah, QStringLiteral("beze změny"));

        k.w->FormActivate();
        QVERIFY(ProgramKonci());
        QCOMPARE(NavratovyKod(), 1);
        QVERIFY(!k.w->AktualizaceZkontrolovana);
        QVERIFY(!k.w->PanelAktualizace->isHidden());
        const auto z = Zpravy::zaznamy();
        QCOMPARE(z.size(), 1);
        QCOMPARE(z[0].typZpravy, 2);
        QCOMPARE(z[0].typTlacitek, 0);
        QCOMPARE(z[0].text, chyba);
        QCOMPARE(k.s.log().count(QStringLiteral("\r\n")), 1);
        QVERIFY(k.s.log().contains(z[0].text));
    }

    // A server that sends the announcement a byte at a time, never idle for long: the download
    // ends a few seconds after the idle time-out, with the usual message, and so does the check.
    void oznameniPoKapkach() {
        Kontrola k;
        qputenv("PARMEX_CASOVY_LIMIT_MS", "1000");
        k.server.pridejSoubor(kIni, oznameni("1.0.4.30", "1"));
        k.server.nastavPomalu(kIni, 100);
        k.w->FormActivate();
        QVERIFY(ProgramKonci());
        QVERIFY(!k.w->AktualizaceZkontrolovana);
        const QStringList t = texty();
        QCOMPARE(t.size(), 1);
        QVERIFY2(t[0].startsWith(QStringLiteral("2,0: ") + kVyjimka) &&
                     t[0].endsWith(QStringLiteral("Stahování nebylo dokončeno do 6 s)")),
                 qPrintable(t[0]));
        QCOMPARE(k.server.pozadavky(), QStringList{kIni});
    }

    void stazeniUspeje() {
        Kontrola k;
        k.server.pridejSoubor(kIni, "obsah\r\nsouboru");
        QString obsah;
        QCOMPARE(k.w->DownloadUrl(k.w->AdresyWebu.AdresaIni, obsah), QString());
        QCOMPARE(obsah, QStringLiteral("obsah\r\nsouboru"));
    }

    // ------------------------------------------------------------ the check: refused files

    void oznameniOdmitnuto_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("zprava");
        QTest::newRow("six lines") << QByteArray(
                                          "[parmex-rozu]\r\nverzeprog=9.0.0.0\r\na\r\nb\r\nc"
                                          "\r\nverzecis=99\r\n")
                                   << kMaloRadku;
        QTest::newRow("empty file") << QByteArray() << kMaloRadku;
        QTest::newRow("wrong header")
            << QByteArray("[parmex]\nverzeprog=9.0.0.0\n\n\n\n\nverzecis=99") << kSpatnaData;
        QTest::newRow("header followed by a blank")
            << oznameni("9.0.0.0", "99").replace("]", "] ") << kSpatnaData;
    }
    void oznameniOdmitnuto() {
        QFETCH(QByteArray, text);
        QFETCH(QString, zprava);
        Kontrola k;
        k.server.pridejSoubor(kIni, text);
        k.w->FormActivate();
        QVERIFY(ProgramKonci());
        QCOMPARE(NavratovyKod(), 1);
        QCOMPARE(texty(), QStringList{QStringLiteral("0,0: ") + zprava});
        QCOMPARE(k.server.pozadavky(), QStringList{kIni});
        QVERIFY(!k.w->AktualizaceZkontrolovana);
        QVERIFY(k.s.log().isEmpty());
    }

    // ------------------------------------------------------------ the check: nothing to do

    // The announced program is not newer and the code lists are current: one download, the
    // program goes on.
    void vseAktualni_data() {
        QTest::addColumn<QString>("vlastni");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("header in capitals")
            << "1.0.4.30" << oznameni("1.0.4.30", "3").replace("[parmex-rozu]", "[PARMEX-ROZU]");
        QTest::newRow("no verzeprog line")
            << "1.0.4.30" << oznameni("1.0.4.30", "3").replace("verzeprog=1.0.4.30", "x");
        QTest::newRow("1.0.3.10 against 1.0.4.0") << "1.0.4.0" << oznameni("1.0.3.10", "3");
        QTest::newRow("1.0.3.10 against itself") << "1.0.3.10" << oznameni("1.0.3.10", "3");
        QTest::newRow("code lists older") << "1.0.4.30" << oznameni("1.0.4.30", "2");
        QTest::newRow("code-list version followed by a blank")
            << "1.0.4.30" << oznameni("1.0.4.30", "17 ");
    }
    void vseAktualni() {
        QFETCH(QString, vlastni);
        QFETCH(QByteArray, text);
        Kontrola k(vlastni);
        k.ulozenaVerzeCis(3);
        k.server.pridejSoubor(kIni, text);
        k.w->FormActivate();
        QVERIFY(!ProgramKonci());
        QCOMPARE(texty(), QStringList{});
        QCOMPARE(k.server.pozadavky(), QStringList{kIni});
        QVERIFY(k.w->AktualizaceZkontrolovana);
        QVERIFY(k.w->PanelAktualizace->isHidden());
        QVERIFY(k.w->windowTitle().endsWith(QStringLiteral(" - místní organizace: varnov"),
                                            Qt::CaseInsensitive));
        QVERIFY(!k.existuje(SouborObnovniku()));
        // A later activation does not check again.
        k.w->FormActivate();
        QCOMPARE(k.server.pozadavky(), QStringList{kIni});
    }

    // ------------------------------------------------------------ the check: a newer program

    void novyProgramOdmitnut_data() {
        QTest::addColumn<int>("odpoved");
        QTest::newRow("Ne") << 1;
        QTest::newRow("close box") << 2;
    }
    void novyProgramOdmitnut() {
        QFETCH(int, odpoved);
        Kontrola k(QStringLiteral("1.0.3.9"));
        k.server.pridejSoubor(kIni, oznameni("1.0.3.10", "99"));
        k.soubory({SouborObnovniku(), QStringLiteral("unzip32.dll")});
        Zpravy::pridejOdpoved(odpoved);
        k.w->FormActivate();
        QVERIFY(ProgramKonci());
        QCOMPARE(NavratovyKod(), 0);
        QCOMPARE(texty(), QStringList{QStringLiteral("1,1: ") + kOtazka});
        QVERIFY(!k.existuje(SouborObnovniku()));
        QVERIFY(!k.existuje(QStringLiteral("unzip32.dll")));
        // The code lists are not touched.
        QCOMPARE(k.server.pozadavky(), QStringList{kIni});
        QVERIFY(!k.w->AktualizaceZkontrolovana);
    }

    // The updater cannot be written out (a folder stands where its file goes) or the announced
    // archive name leaves the updater's folder: logged, the failure message, the end.
    void obnovnikNezapsan_data() {
        QTest::addColumn<QString>("vlastni");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("slozkaMistoSouboru");
        QTest::addColumn<QString>("zprava");
        QTest::addColumn<QString>("log");
        QTest::newRow("program update, folder")
            << "1.0.3.9" << oznameni("1.0.3.10", "1") << true << "Při reinstalaci došlo k chybě !"
            << "nelze zapsat";
        QTest::newRow("code-list update, folder")
            << "1.0.4.30" << oznameni("1.0.4.30", "1") << true << "Při aktualizaci došlo k chybě !"
            << "nelze zapsat";
        QTest::newRow("program update, name with a folder")
            << "1.0.3.9" << oznameni("1.0.3.10", "1", "../data.mdb") << false
            << "Při reinstalaci došlo k chybě !"
            << "Neplatný název archívu";
        QTest::newRow("code-list update, no name")
            << "1.0.4.30" << oznameni("1.0.4.30", "1", "p.zip", "") << false
            << "Při aktualizaci došlo k chybě !"
            << "Neplatný název archívu";
    }
    void obnovnikNezapsan() {
        QFETCH(QString, vlastni);
        QFETCH(QByteArray, text);
        QFETCH(bool, slozkaMistoSouboru);
        QFETCH(QString, zprava);
        QFETCH(QString, log);
        Kontrola k(vlastni);
        k.server.pridejSoubor(kIni, text);
        k.soubory({QStringLiteral("unzip32.dll")});
        if (slozkaMistoSouboru) QVERIFY(QDir(k.s.cesta()).mkdir(SouborObnovniku()));
        Zpravy::pridejOdpoved(0);  // Ano, when asked
        k.w->FormActivate();
        QVERIFY(ProgramKonci());
        QCOMPARE(NavratovyKod(), 1);
        QCOMPARE(texty().last(), QStringLiteral("2,0: ") + zprava);
        QVERIFY2(k.s.log().contains(log), qPrintable(k.s.log()));
        QCOMPARE(k.s.log().count(QStringLiteral("\r\n")), 1);
        QVERIFY(!k.existuje(QStringLiteral("unzip32.dll")));
        QVERIFY(!QFileInfo(k.s.cesta(SouborObnovniku())).isFile());
        QVERIFY(k.existuje(QStringLiteral("data.mdb")));
        QCOMPARE(k.server.pozadavky(), QStringList{kIni});
        QVERIFY(k.w->isVisible() == false);
    }

    // ------------------------------------------------------------ the check: newer code lists

    // The real updater, written out from the program, fetches the archive without a window;
    // the import takes the code lists of 2027 and dataCis.mdb goes.
    void noveCiselniky() {
        Kontrola k;
        k.server.pridejSoubor(kIni, oznameni("1.0.4.30", "1"));
        k.archivCiselniku();
        QElapsedTimer cas;
        cas.start();
        k.w->FormActivate();
        QVERIFY(cas.elapsed() >= 500);
        QVERIFY(!ProgramKonci());
        QCOMPARE(texty(), QStringList{});
        QCOMPARE(k.server.pozadavky(), (QStringList{kIni, kZip}));
        QVERIFY(!k.existuje(QStringLiteral("dataCis.mdb")));
        QVERIFY(!k.existuje(QStringLiteral("tmp")));
        QVERIFY(QFileInfo(k.s.cesta(SouborObnovniku())).isExecutable());
        QCOMPARE(k.w->LabelDatum->text(), QStringLiteral("01.03.2027"));
        QCOMPARE(k.w->rok, QStringLiteral("2027"));
        QVERIFY(k.w->AktualizaceZkontrolovana);
        QVERIFY(k.w->PanelAktualizace->isHidden());
        QVERIFY(k.w->windowTitle().endsWith(QStringLiteral(" - místní organizace: Varnov")));
        db::Query q(&k.w->ADOConnection1);
        q.setSql(QStringLiteral("select verzecis from Nastaveni"));
        q.open();
        QCOMPARE(q.field(0).asInteger(), 1);
        QVERIFY(k.s.log().isEmpty());
        // A normal close now removes the updater.
        k.w->show();
        k.w->close();
        QVERIFY(!k.existuje(SouborObnovniku()));
    }

    // While the updater fetches the code lists, the main window keeps painting with its green
    // notice on screen, and what the user does meanwhile (F1 for the help) is dropped.
    void oknoSeKresliBehemAktualizace() {
        Kontrola k;
        k.server.pridejSoubor(kIni, oznameni("1.0.4.30", "1"));
        k.archivCiselniku();
        k.server.nastavZpozdeni(kZip, 2500);

        struct Malovani : QObject {
            int pocet = 0;
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::Paint) ++pocet;
                return false;
            }
        } malovani;
        k.w->PanelAktualizace->installEventFilter(&malovani);
        bool cekaNaObnovnik = false;  // the updater runs and waits for its archive
        bool zelenaNaObrazovce = false;
        bool napovedaBehem = false;
        QTimer hlidka;
        QObject::connect(&hlidka, &QTimer::timeout, [&] {
            if (k.w->AktualizaceZkontrolovana || !k.server.pozadavky().contains(kZip)) return;
            if (!cekaNaObnovnik) {
                cekaNaObnovnik = true;
                malovani.pocet = 0;
                k.w->PanelAktualizace->update();
                QTest::keyClick(k.w.get(), Qt::Key_F1);
                return;
            }
            napovedaBehem = napovedaBehem || FormularOtevren(QStringLiteral("Napoveda"), false);
            if (malovani.pocet > 0 && k.w->PanelAktualizace->isVisible()) {
                // What the window system shows at the notice's place.
                const QImage obraz = k.w->screen()->grabWindow(k.w->winId()).toImage();
                const QRect r(k.w->PanelAktualizace->mapTo(k.w.get(), QPoint(0, 0)) *
                                  obraz.devicePixelRatio(),
                              k.w->PanelAktualizace->size() * obraz.devicePixelRatio());
                int zelenych = 0;
                for (int x = r.left(); x <= r.right(); ++x)
                    if (obraz.pixelColor(x, r.center().y()) == QColor(0, 255, 0)) ++zelenych;
                zelenaNaObrazovce = zelenaNaObrazovce || zelenych > r.width() / 4;
            }
        });
        hlidka.start(50);
        // Showing the window activates it, and the first activation runs the check.
        k.w->show();
        QTRY_VERIFY_WITH_TIMEOUT(k.w->AktualizaceZkontrolovana || ProgramKonci(), 30000);
        hlidka.stop();

        QVERIFY(cekaNaObnovnik);
        QVERIFY(malovani.pocet > 0);
        QVERIFY(zelenaNaObrazovce);
        QVERIFY(!napovedaBehem);
        // Dropped, not kept for later; the import went through as usual.
        QCoreApplication::processEvents();
        QVERIFY(!FormularOtevren(QStringLiteral("Napoveda"), false));
        QVERIFY(!ProgramKonci());
        QCOMPARE(texty(), QStringList{});
        QVERIFY(k.w->AktualizaceZkontrolovana);
        // The same key after the update opens the help.
        QTest::keyClick(k.w.get(), Qt::Key_F1);
        QTRY_VERIFY(FormularOtevren(QStringLiteral("Napoveda"), false));
    }

    // A code-list archive that fails (a file the import refuses, a folder in the file's place)
    // ends the program, and leaves nothing that stands in the way of the next, good one.
    void odmitnutyArchivNeblokujeDalsi_data() {
        QTest::addColumn<QVector<ArchivZip::Polozka>>("polozky");
        QTest::newRow("file the import refuses")
            << QVector<ArchivZip::Polozka>{{"dataCis.mdb", "zadna databaze"}};
        QTest::newRow("folder in the file's place")
            << QVector<ArchivZip::Polozka>{{"dataCis.mdb/", {}}, {"dataCis.mdb/x", "x"}};
    }
    void odmitnutyArchivNeblokujeDalsi() {
        QFETCH(QVector<ArchivZip::Polozka>, polozky);
        Kontrola k;
        k.server.pridejSoubor(kIni, oznameni("1.0.4.30", "1"));
        k.server.pridejSoubor(kZip, ArchivZip::obsah(polozky, k.s.cesta(QStringLiteral("a.tmp"))));
        k.w->FormActivate();
        QVERIFY(ProgramKonci());
        QCOMPARE(texty().last(), QStringLiteral("2,0: Číselníky nebyly korektně načteny!"));

        k.znovu();
        k.archivCiselniku();
        k.w->FormActivate();
        QVERIFY(!ProgramKonci());
        QCOMPARE(texty(), QStringList{});
        QVERIFY(k.w->AktualizaceZkontrolovana);
        QCOMPARE(Pomocnik::jedna(QStringLiteral("select verzecis from Nastaveni")),
                 QStringLiteral("1"));
        QVERIFY(!k.existuje(QStringLiteral("dataCis.mdb")));
        QVERIFY(!k.existuje(QStringLiteral("tmp")));
    }

    // The updater finds no archive, so no file arrives: the import has nothing to read, the
    // message and the reason in the log, the end.
    void ciselnikyNedorazily() {
        Kontrola k;
        k.ulozenaVerzeCis(3);
        k.server.pridejSoubor(kIni, oznameni("1.0.4.30", "4"));
        k.w->FormActivate();
        QVERIFY(ProgramKonci());
        QCOMPARE(NavratovyKod(), 1);
        QCOMPARE(texty(), QStringList{QStringLiteral("2,0: Číselníky nebyly korektně načteny!")});
        QCOMPARE(k.server.pozadavky(), (QStringList{kIni, kZip}));
        QVERIFY2(k.s.log().contains(QStringLiteral("Číselníky nebyly korektně načteny! (oznámená "
                                                   "verze číselníků 4, načtená 3, soubor "
                                                   "dataCis.mdb nedorazil)")),
                 qPrintable(k.s.log()));
        QVERIFY(!k.w->AktualizaceZkontrolovana);
        // The updater stays for now; the closing step does not run on this path.
        QVERIFY(k.existuje(SouborObnovniku()));
    }
};

QTEST_MAIN(TestAktualizace)
#include "tst_aktualizace.moc"
