// SPDX-License-Identifier: GPL-3.0-or-later
#include <signal.h>

#include <QtTest>

#include "Databaze.h"
#include "Pomocnik.h"
#include "Radky.h"
#include "ServerHttp.h"
#include "VerzniBlok.h"
#include "Vydavani.h"
#include "VzorovaData.h"

using Vydavani::obsahSlozky;
using Vydavani::precti;
using Vydavani::zapis;

// The release archive made by the build, its installer in a temporary home, and the whole life
// of an installed program: code lists and a new program published with the publishing command
// on a loopback server, fetched by the installed program started from another folder.
namespace {

const QString kVerze = QStringLiteral(PARMEX_VERZE);
const QString kKoren = QStringLiteral(PARMEX_KOREN);
// What an installation puts into the program's folder.
const QStringList kInstalovane = {"LICENSE", "ParmexRozu", "THIRD-PARTY.md", "instalace.sh",
                                  "parmex-rozu.svg"};

struct Vysledek {
    int kod = -1;
    QString vystup;
    QString chyby;
};

Vysledek spust(const QString& program, const QStringList& argumenty,
               const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
               const QString& slozka = QString()) {
    QProcess p;
    p.setProcessEnvironment(env);
    if (!slozka.isEmpty()) p.setWorkingDirectory(slozka);
    p.start(program, argumenty);
    Vysledek v;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        v.chyby = QStringLiteral("nedoběhl: ") + program;
        return v;
    }
    v.kod = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    v.vystup = QString::fromUtf8(p.readAllStandardOutput());
    v.chyby = QString::fromUtf8(p.readAllStandardError());
    return v;
}

// A home of its own: the installer writes only below it.
QProcessEnvironment prostredi(const QString& domov) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), domov);
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    return env;
}

// The values of a desktop entry's main group, unescaped as a value of type string.
QMap<QString, QString> polozkaNabidky(const QString& soubor) {
    QMap<QString, QString> hodnoty;
    const QStringList radky = QString::fromUtf8(precti(soubor)).split(QLatin1Char('\n'));
    for (const QString& radek : radky) {
        const int rovnase = radek.indexOf(QLatin1Char('='));
        if (rovnase <= 0 || radek.startsWith(QLatin1Char('#'))) continue;
        QString hodnota;
        const QString surova = radek.mid(rovnase + 1);
        for (int i = 0; i < surova.size(); ++i) {
            if (surova[i] == QLatin1Char('\\') && i + 1 < surova.size()) {
                const QChar c = surova[++i];
                hodnota += c == QLatin1Char('s')   ? QChar(' ')
                           : c == QLatin1Char('n') ? QChar('\n')
                           : c == QLatin1Char('t') ? QChar('\t')
                           : c == QLatin1Char('r') ? QChar('\r')
                                                   : c;
            } else {
                hodnota += surova[i];
            }
        }
        hodnoty.insert(radek.left(rovnase), hodnota);
    }
    return hodnoty;
}

// The arguments of an Exec value as a desktop splits them: blanks separate, double quotes
// enclose, and inside them a backslash takes the next character as it is; "%%" is a percent.
QStringList argumentyExec(const QString& exec) {
    QStringList argumenty;
    QString a;
    bool vUvozovkach = false;
    bool rozpracovany = false;
    for (int i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (vUvozovkach) {
            if (c == QLatin1Char('\\') && i + 1 < exec.size()) {
                a += exec[++i];
            } else if (c == QLatin1Char('"')) {
                vUvozovkach = false;
            } else {
                a += c;
            }
        } else if (c == QLatin1Char('"')) {
            vUvozovkach = rozpracovany = true;
        } else if (c == QLatin1Char(' ')) {
            if (rozpracovany) argumenty << a;
            a.clear();
            rozpracovany = false;
        } else {
            a += c;
            rozpracovany = true;
        }
    }
    if (rozpracovany) argumenty << a;
    for (QString& x : argumenty) x.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return argumenty;
}

// The processes running a program from the folder: the installed program and its updater,
// which the program starts and which starts the program again, out of the test's sight.
QList<qint64> procesyZeSlozky(const QString& slozka) {
    QList<qint64> procesy;
    const QString predpona = QDir(slozka).canonicalPath() + QLatin1Char('/');
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool cislo = false;
        const qint64 id = pid.toLongLong(&cislo);
        if (!cislo) continue;
        const QString exe =
            QFileInfo(QStringLiteral("/proc/") + pid + QStringLiteral("/exe")).symLinkTarget();
        if (exe.startsWith(predpona)) procesy << id;
    }
    return procesy;
}

}  // namespace

class TestInstalace : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_archiv;
    QString m_zdroj;  // the unpacked archive's folder
    QStringList m_slozkyProgramu;
    int m_pocet = 0;

    Vysledek instaluj(const QString& domov, const QStringList& argumenty,
                      const QString& instalator = QString()) {
        return spust(QStringLiteral("/bin/bash"),
                     QStringList{instalator.isEmpty() ? m_zdroj + QStringLiteral("/instalace.sh")
                                                      : instalator} +
                         argumenty,
                     prostredi(domov));
    }
    QString novyDomov(const QString& jmeno) {
        const QString d = m_dir.filePath(QStringLiteral("domov-") + jmeno);
        QDir().mkpath(d);
        return d;
    }
    static QString vychoziSlozka(const QString& domov) {
        return domov + QStringLiteral("/.local/share/parmex-rozu");
    }
    static QString polozka(const QString& domov) {
        return domov + QStringLiteral("/.local/share/applications/parmex-rozu.desktop");
    }

private slots:
    void initTestCase() {
        Pomocnik::pripravProstredi();
        QVERIFY(m_dir.isValid());
        const Vysledek b =
            spust(QStringLiteral(BALIK_SKRIPT),
                  {QStringLiteral("--vystup"), m_dir.filePath(QStringLiteral("balik"))});
        QVERIFY2(b.kod == 0, qPrintable(b.chyby));
        m_archiv = b.vystup.trimmed().split(QLatin1Char('\n')).last();
        QCOMPARE(QFileInfo(m_archiv).fileName(),
                 QStringLiteral("ParmexRozu-") + kVerze + QStringLiteral("-linux-x86_64.tar.gz"));
        QDir().mkpath(m_dir.filePath(QStringLiteral("rozbaleno")));
        const Vysledek t =
            spust(QStringLiteral("tar"), {QStringLiteral("-xzf"), m_archiv, QStringLiteral("-C"),
                                          m_dir.filePath(QStringLiteral("rozbaleno"))});
        QVERIFY2(t.kod == 0, qPrintable(t.chyby));
        m_zdroj = m_dir.filePath(QStringLiteral("rozbaleno/ParmexRozu-") + kVerze);
    }

    void cleanup() {
        // A program left running by a failed case is ended here, by its id.
        for (const QString& s : m_slozkyProgramu)
            for (qint64 id : procesyZeSlozky(s)) ::kill(pid_t(id), SIGKILL);
    }

    // The archive: one folder with the program of this build, our icon, the program's licence,
    // the notices of the libraries it uses and the installer, which knows the packages of the
    // libraries the program and its updater link.
    void balik() {
        const Vysledek t = spust(QStringLiteral("tar"), {QStringLiteral("-tzf"), m_archiv});
        QCOMPARE(t.kod, 0);
        const QString s = QStringLiteral("ParmexRozu-") + kVerze + QLatin1Char('/');
        QStringList polozky = t.vystup.trimmed().split(QLatin1Char('\n'));
        polozky.sort();
        QCOMPARE(
            polozky,
            (QStringList{s, s + QStringLiteral("LICENSE"), s + QStringLiteral("ParmexRozu"),
                         s + QStringLiteral("THIRD-PARTY.md"), s + QStringLiteral("instalace.sh"),
                         s + QStringLiteral("parmex-rozu.svg")}));
        const QString program = m_zdroj + QStringLiteral("/ParmexRozu");
        QVERIFY(QFileInfo(program).isExecutable());
        QVERIFY(QFileInfo(m_zdroj + QStringLiteral("/instalace.sh")).isExecutable());
        QMap<QString, QString> blok;
        QCOMPARE(VerzniBlok::nacti(program, &blok), VerzniBlok::Vysledek::Nacteno);
        QCOMPARE(blok.value(QStringLiteral("FileVersion")), kVerze);
        QCOMPARE(blok.value(QStringLiteral("ProductName")), QStringLiteral(PARMEX_PRODUKT));
        QVERIFY(precti(m_zdroj + QStringLiteral("/parmex-rozu.svg")).contains("<svg"));
        for (const char* f : {"LICENSE", "THIRD-PARTY.md"}) {
            const QByteArray obsah = precti(m_zdroj + QLatin1Char('/') + QLatin1String(f));
            QCOMPARE(obsah, precti(kKoren + QLatin1Char('/') + QLatin1String(f)));
            QCOMPARE(QFileInfo(m_zdroj + QLatin1Char('/') + QLatin1String(f)).isExecutable(),
                     false);
        }
        QVERIFY(precti(m_zdroj + QStringLiteral("/LICENSE"))
                    .startsWith("                    GNU GENERAL PUBLIC LICENSE\n"
                                "                       Version 3, 29 June 2007"));

        const QString instalator =
            QString::fromUtf8(precti(m_zdroj + QStringLiteral("/instalace.sh")));
        const QRegularExpression seznam(QStringLiteral("\npotrebne_balicky=\\(([^)]*)\\)\n"));
        const QStringList balicky =
            seznam.match(instalator).captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        // The toolkit's windows, the program's database and the updater's unpacking.
        for (const char* b : {"libqt6widgets6", "libqt6network6", "libsqlite3-0", "libzip4"})
            QVERIFY2(balicky.contains(QLatin1String(b)),
                     qPrintable(balicky.join(QLatin1Char(' '))));
    }

    // An installation into the default folder and into folders whose names a desktop entry
    // must quote: the program, the icon and a valid desktop entry that starts that program.
    void instalace_data() {
        QTest::addColumn<QString>("slozka");  // named from the home; empty: the default folder
        QTest::addColumn<QString>("cilVDomove");
        QTest::newRow("default") << QString() << QString();
        QTest::newRow("blanks") << "Moje programy/Parmex Rozu"
                                << "Moje programy/Parmex Rozu";
        QTest::newRow("quotes, dollar, backslash, percent") << "p\"a`r$m\\e%x 'x'"
                                                            << "p\"a`r$m\\e%x 'x'";
        QTest::newRow("relative, with dots") << "./a/../Programy/PR/"
                                             << "Programy/PR";
    }
    void instalace() {
        QFETCH(QString, slozka);
        QFETCH(QString, cilVDomove);
        const QString domov = novyDomov(QStringLiteral("instalace-") + QString::number(++m_pocet));
        const QString cil =
            slozka.isEmpty() ? vychoziSlozka(domov) : domov + QLatin1Char('/') + cilVDomove;
        const Vysledek v = spust(QStringLiteral("/bin/bash"),
                                 QStringList{m_zdroj + QStringLiteral("/instalace.sh")} +
                                     (slozka.isEmpty() ? QStringList() : QStringList{slozka}),
                                 prostredi(domov), domov);
        QVERIFY2(v.kod == 0, qPrintable(v.chyby));
        QVERIFY2(v.vystup.contains(cil + QStringLiteral("/data.mdb")), qPrintable(v.vystup));
        QVERIFY2(v.vystup.contains(cil + QStringLiteral("/LICENSE")), qPrintable(v.vystup));
        QVERIFY2(v.vystup.contains(cil + QStringLiteral("/THIRD-PARTY.md")), qPrintable(v.vystup));

        QCOMPARE(precti(cil + QStringLiteral("/ParmexRozu")),
                 precti(m_zdroj + QStringLiteral("/ParmexRozu")));
        QVERIFY(QFileInfo(cil + QStringLiteral("/ParmexRozu")).isExecutable());
        QVERIFY(QFileInfo(cil + QStringLiteral("/instalace.sh")).isExecutable());
        QCOMPARE(obsahSlozky(cil).keys(), kInstalovane);
        for (const QString& f : {QStringLiteral("LICENSE"), QStringLiteral("THIRD-PARTY.md")}) {
            QCOMPARE(precti(cil + QLatin1Char('/') + f), precti(m_zdroj + QLatin1Char('/') + f));
            QCOMPARE(QFileInfo(cil + QLatin1Char('/') + f).permissions() & QFile::ExeOwner,
                     QFile::Permissions());
        }

        const QString soubor = polozka(domov);
        const Vysledek kontrola = spust(QStringLiteral("desktop-file-validate"), {soubor});
        QVERIFY2(kontrola.kod == 0 && kontrola.vystup.isEmpty() && kontrola.chyby.isEmpty(),
                 qPrintable(kontrola.vystup + kontrola.chyby));
        const auto p = polozkaNabidky(soubor);
        QCOMPARE(p.value(QStringLiteral("Type")), QStringLiteral("Application"));
        QCOMPARE(p.value(QStringLiteral("Name")), QStringLiteral("Parmex Rozu E-platby"));
        QVERIFY(p.value(QStringLiteral("Comment")).contains(QStringLiteral("převodem")));
        QCOMPARE(argumentyExec(p.value(QStringLiteral("Exec"))),
                 QStringList{cil + QStringLiteral("/ParmexRozu")});
        QCOMPARE(p.value(QStringLiteral("Path")), cil);
        QCOMPARE(p.value(QStringLiteral("Icon")), cil + QStringLiteral("/parmex-rozu.svg"));
        QVERIFY(QFileInfo::exists(p.value(QStringLiteral("Icon"))));
        QCOMPARE(p.value(QStringLiteral("Categories")), QStringLiteral("Office;Finance;"));
    }

    // Installing again replaces the program and keeps the member's data.
    void znovu() {
        const QString domov = novyDomov(QStringLiteral("znovu"));
        QCOMPARE(instaluj(domov, {}).kod, 0);
        const QString cil = vychoziSlozka(domov);
        QVERIFY(zapis(cil + QStringLiteral("/data.mdb"), "registr člena"));
        QVERIFY(zapis(cil + QStringLiteral("/Error.log"), "záznam"));
        QVERIFY(zapis(cil + QStringLiteral("/ParmexRozu"), "starý program"));
        QVERIFY(zapis(cil + QStringLiteral("/THIRD-PARTY.md"), "staré oznámení"));
        const Vysledek v = instaluj(domov, {});
        QVERIFY2(v.kod == 0, qPrintable(v.chyby));
        QCOMPARE(precti(cil + QStringLiteral("/data.mdb")), QByteArray("registr člena"));
        QCOMPARE(precti(cil + QStringLiteral("/Error.log")), QByteArray("záznam"));
        QCOMPARE(precti(cil + QStringLiteral("/ParmexRozu")),
                 precti(m_zdroj + QStringLiteral("/ParmexRozu")));
        QCOMPARE(precti(cil + QStringLiteral("/THIRD-PARTY.md")),
                 precti(m_zdroj + QStringLiteral("/THIRD-PARTY.md")));
        QCOMPARE(obsahSlozky(cil).keys(),
                 (QStringList{QStringLiteral("Error.log"), QStringLiteral("LICENSE"),
                              QStringLiteral("ParmexRozu"), QStringLiteral("THIRD-PARTY.md"),
                              QStringLiteral("data.mdb"), QStringLiteral("instalace.sh"),
                              QStringLiteral("parmex-rozu.svg")}));
    }

    // Removing, with the installer the installation keeps: the program, what it wrote while
    // running and the desktop entry go; the data stays unless asked; files of others stay.
    void odinstalace_data() {
        QTest::addColumn<QStringList>("argumenty");
        QTest::addColumn<QStringList>("navic");  // files put into the folder before
        QTest::addColumn<QStringList>("zbyva");  // the folder's files after; empty: no folder
        const QStringList behem = {"data.mdb",  "Error.log",   "Obnovnik",    "tmp/a.zip",
                                   "form.html", "dataCis.mdb", "poznamky.txt"};
        QTest::newRow("keeps the data") << QStringList{"--odinstalovat"} << behem
                                        << QStringList{"Error.log", "data.mdb", "poznamky.txt"};
        QTest::newRow("with the data") << QStringList{"--odinstalovat", "--vcetne-dat"} << behem
                                       << QStringList{"poznamky.txt"};
        QTest::newRow("with the data, nothing else left")
            << QStringList{"--odinstalovat", "--vcetne-dat"} << QStringList{"data.mdb"}
            << QStringList();
    }
    void odinstalace() {
        QFETCH(QStringList, argumenty);
        QFETCH(QStringList, navic);
        QFETCH(QStringList, zbyva);
        const QString domov =
            novyDomov(QStringLiteral("odinstalace-") + QString::number(++m_pocet));
        QCOMPARE(instaluj(domov, {}).kod, 0);
        const QString cil = vychoziSlozka(domov);
        for (const QString& f : navic) {
            QDir().mkpath(QFileInfo(cil + QLatin1Char('/') + f).path());
            QVERIFY(zapis(cil + QLatin1Char('/') + f, f.toUtf8()));
        }
        const Vysledek v = instaluj(domov, argumenty, cil + QStringLiteral("/instalace.sh"));
        QVERIFY2(v.kod == 0, qPrintable(v.chyby));
        QVERIFY(!QFileInfo::exists(polozka(domov)));
        if (zbyva.isEmpty()) {
            QVERIFY(!QFileInfo::exists(cil));
        } else {
            QCOMPARE(obsahSlozky(cil).keys(), zbyva);
            for (const QString& f : zbyva) QCOMPARE(precti(cil + QLatin1Char('/') + f), f.toUtf8());
        }
        // Nothing more to remove.
        const Vysledek znovu = instaluj(domov, {QStringLiteral("--odinstalovat")});
        QCOMPARE(znovu.kod, 1);
        QVERIFY2(znovu.chyby.contains(QStringLiteral("není Parmex Rozu nainstalován")),
                 qPrintable(znovu.chyby));
    }

    // A system without a needed package: the installer names every missing one and writes
    // nothing.
    void chybiBalicky() {
        const QString domov = novyDomov(QStringLiteral("bez-balicku"));
        const QString nahrada = m_dir.filePath(QStringLiteral("bin"));
        QDir().mkpath(nahrada);
        // dpkg-query of a system where the toolkit's window library was never installed and
        // the unpacking library was removed (its configuration files are left).
        QVERIFY(zapis(nahrada + QStringLiteral("/dpkg-query"),
                      "#!/bin/sh\nfor a; do p=\"$a\"; done\n"
                      "case \"$p\" in\n"
                      "  libqt6widgets6) echo \"dpkg-query: no packages found matching $p\" >&2; "
                      "exit 1 ;;\n"
                      "  libzip4) printf 'rc ' ;;\n"
                      "  *) printf 'ii ' ;;\n"
                      "esac\n"));
        QFile::setPermissions(nahrada + QStringLiteral("/dpkg-query"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = prostredi(domov);
        env.insert(QStringLiteral("PATH"),
                   nahrada + QLatin1Char(':') + env.value(QStringLiteral("PATH")));
        const Vysledek v =
            spust(QStringLiteral("/bin/bash"), {m_zdroj + QStringLiteral("/instalace.sh")}, env);
        QCOMPARE(v.kod, 1);
        QVERIFY2(v.chyby.contains(QStringLiteral("chybí balíčky, které program potřebuje: "
                                                 "libqt6widgets6 libzip4")),
                 qPrintable(v.chyby));
        QCOMPARE(obsahSlozky(domov), (QMap<QString, QByteArray>()));
    }

    // The notices name every library the programs link, read from their dynamic entries and
    // from the static libraries the build links in; one left out stops the check, and the
    // release archive is then not made.
    void oznameniKnihoven_data() {
        QTest::addColumn<QString>("vynechat");      // a library file the notices leave out
        QTest::addColumn<QString>("pridat");        // a table row the notices gain
        QTest::addColumn<QStringList>("staticke");  // static libraries; empty: the build's list
        QTest::addColumn<QStringList>("chybi");     // reported missing; empty: the check passes
        QTest::newRow("the build as it is")
            << QString() << QString() << QStringList() << QStringList();
        QTest::newRow("a dynamic library left out")
            << "libQt6Core.so.6" << QString() << QStringList()
            << QStringList{"libQt6Core.so.6 (ParmexRozu)", "libQt6Core.so.6 (Obnovnik)"};
        QTest::newRow("the updater's library left out")
            << "libzip.so.4" << QString() << QStringList() << QStringList{"libzip.so.4 (Obnovnik)"};
        QTest::newRow("a static library not named")
            << QString() << QString() << QStringList{"/opt/sodik/lib/libsodium.a"}
            << QStringList{"libsodium.a (static, /opt/sodik/lib/libsodium.a)"};
        QTest::newRow("a static library named")
            << QString() << "| libsodium | 1.0.18 | ISC | | static | `libsodium.a` |"
            << QStringList{"/opt/sodik/lib/libsodium.a"} << QStringList();
        // Imported libraries that are shared are the programs' dynamic entries.
        QTest::newRow("a shared library among the static ones")
            << QString() << QString()
            << QStringList{"/usr/lib/x86_64-linux-gnu/libzip.so",
                           "/usr/lib/x86_64-linux-gnu/libzip.so.4"}
            << QStringList();
    }
    void oznameniKnihoven() {
        QFETCH(QString, vynechat);
        QFETCH(QString, pridat);
        QFETCH(QStringList, staticke);
        QFETCH(QStringList, chybi);
        const QString slozka =
            m_dir.filePath(QStringLiteral("oznameni-") + QString::number(++m_pocet));
        QDir().mkpath(slozka);
        QByteArray oznameni = precti(kKoren + QStringLiteral("/THIRD-PARTY.md"));
        QVERIFY(oznameni.contains("| `libQt6Core.so.6` "));
        if (!vynechat.isEmpty()) {
            const QByteArray jmeno = '`' + vynechat.toUtf8() + '`';
            QVERIFY(oznameni.contains(jmeno));
            oznameni.replace(jmeno, QByteArray());
        }
        if (!pridat.isEmpty())
            oznameni.replace("\n\nFor the Windows package",
                             '\n' + pridat.toUtf8() + "\n\nFor the Windows package");
        const QString soubor = slozka + QStringLiteral("/THIRD-PARTY.md");
        QVERIFY(zapis(soubor, oznameni));
        QString seznam = QStringLiteral(PARMEX_STATICKE);
        if (!staticke.isEmpty()) {
            seznam = slozka + QStringLiteral("/staticke.txt");
            QVERIFY(zapis(seznam, staticke.join(QLatin1Char('\n')).toUtf8() + '\n'));
        }
        const QString program = QStringLiteral(PARMEX_EXE);
        const QString obnovnik = QStringLiteral(OBNOVNIK_EXE);
        const Vysledek v =
            spust(kKoren + QStringLiteral("/tools/knihovny.sh"),
                  {QStringLiteral("--oznameni"), soubor, QStringLiteral("--staticke"), seznam,
                   QStringLiteral("--program"), program, QStringLiteral("--program"), obnovnik});
        if (chybi.isEmpty()) {
            QVERIFY2(v.kod == 0, qPrintable(v.chyby));
            // The list of the build: each linked library with what links it and its package.
            QVERIFY2(v.vystup.contains(
                         QStringLiteral("libQt6Widgets.so.6\tParmexRozu\tlibqt6widgets6\t")),
                     qPrintable(v.vystup));
            QVERIFY2(v.vystup.contains(QStringLiteral("libzip.so.4\tObnovnik\tlibzip4\t")),
                     qPrintable(v.vystup));
            return;
        }
        QCOMPARE(v.kod, 1);
        for (const QString& c : chybi)
            QVERIFY2(v.chyby.contains(QStringLiteral("  ") + c + QLatin1Char('\n')),
                     qPrintable(v.chyby));
        QCOMPARE(v.chyby.count(QStringLiteral("\n  ")), chybi.size());

        // The release archive is not made.
        const QString vystup = slozka + QStringLiteral("/balik");
        const Vysledek b = spust(QStringLiteral(BALIK_SKRIPT),
                                 {QStringLiteral("--vystup"), vystup, QStringLiteral("--oznameni"),
                                  soubor, QStringLiteral("--staticke"), seznam});
        QCOMPARE(b.kod, 1);
        QVERIFY2(b.chyby.contains(QStringLiteral("  ") + chybi.first()), qPrintable(b.chyby));
        QCOMPARE(obsahSlozky(vystup), (QMap<QString, QByteArray>()));
    }

    // The program's life end to end: installed from the release archive, given new code lists
    // and then a new program version through the publishing command and a loopback server,
    // started each time from another working folder.
    void zivotProgramu() {
        const QString domov = novyDomov(QStringLiteral("zivot"));
        QCOMPARE(instaluj(domov, {}).kod, 0);
        const QString cil = vychoziSlozka(domov);
        const QString program = cil + QStringLiteral("/ParmexRozu");
        m_slozkyProgramu << cil;
        const QString server = m_dir.filePath(QStringLiteral("server"));
        QDir().mkpath(server);
        ServerHttp http;
        http.nastavSlozku(server);
        const QString jinde = m_dir.filePath(QStringLiteral("jinde"));
        QDir().mkpath(jinde);

        QProcessEnvironment env = prostredi(domov);
        env.insert(QStringLiteral("PARMEX_ADRESA_SERVERU"), http.adresa(QString()));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // The program ends by itself once its first activation has run.
        env.insert(QStringLiteral("PARMEX_KONEC_PO_STARTU"), QStringLiteral("1"));

        // New code lists.
        const QString cis = m_dir.filePath(QStringLiteral("dataCis.mdb"));
        VzorovaData::vytvor(cis, 2027);
        Vysledek v =
            spust(QStringLiteral(VYDANI_EXE), {server, QStringLiteral("--ciselniky"), cis});
        QVERIFY2(v.kod == 0, qPrintable(v.chyby));

        env.insert(QStringLiteral("PARMEX_ODPOVEDI"), QString());
        v = spust(program, {}, env, jinde);
        QCOMPARE(v.kod, 0);
        QVERIFY2(!v.chyby.contains(QStringLiteral("ZobrazDialog[")), qPrintable(v.chyby));
        QTRY_VERIFY_WITH_TIMEOUT(procesyZeSlozky(cil).isEmpty(), 30000);
        const QStringList ciselniky = http.pozadavky();
        QCOMPARE(ciselniky.size(), 2);
        QVERIFY(ciselniky[0].endsWith(QStringLiteral("/verze.ini")));
        QVERIFY(ciselniky[1].endsWith(QStringLiteral("/ciselniky-1.zip")));
        const QString data = cil + QStringLiteral("/data.mdb");
        QCOMPARE(jednaHodnota(data, QStringLiteral("select verzecis from Nastaveni")),
                 QStringLiteral("1"));
        QCOMPARE(jednaHodnota(data, QStringLiteral("select mesto from Nastaveni")),
                 QString::fromUtf8(VzorovaData::kMesto));
        QCOMPARE(jednaHodnota(data, QStringLiteral("select max(rok) from RokEvidence")),
                 QStringLiteral("2027"));
        QVERIFY(!QFileInfo::exists(cil + QStringLiteral("/dataCis.mdb")));
        // The working folder it was started from stays as it was.
        QCOMPARE(obsahSlozky(jinde), (QMap<QString, QByteArray>()));

        // A higher program version: a copy of the installed program whose version block says
        // so, its product name kept.
        const QString novy = m_dir.filePath(QStringLiteral("novy/ParmexRozu"));
        QDir().mkpath(QFileInfo(novy).path());
        QVERIFY(zapis(novy, Vydavani::sVerzi(precti(program), QStringLiteral("1.0.99.0"))));
        QFile::setPermissions(novy, QFile::permissions(novy) | QFile::ExeOwner);
        v = spust(QStringLiteral(VYDANI_EXE), {server, QStringLiteral("--program"), novy});
        QVERIFY2(v.kod == 0, qPrintable(v.chyby));

        // Asked, the member answers Ano; the program starts its updater and closes, the updater
        // replaces the program and starts it again. Their messages go to one file, which the
        // updater and the new program inherit.
        env.insert(QStringLiteral("PARMEX_ODPOVEDI"), QStringLiteral("0"));
        const QString zpravy = m_dir.filePath(QStringLiteral("zpravy.txt"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(jinde);
        p.setStandardOutputFile(zpravy);
        p.setStandardErrorFile(zpravy);
        p.start(program, {});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        // The new program checks the announcement once more, finds itself current and ends.
        QTRY_VERIFY_WITH_TIMEOUT(http.pozadavky().size() == 5, 60000);
        QTRY_VERIFY_WITH_TIMEOUT(procesyZeSlozky(cil).isEmpty(), 60000);
        const QStringList aktualizace = http.pozadavky().mid(2);
        QVERIFY(aktualizace[0].endsWith(QStringLiteral("/verze.ini")));
        QVERIFY(aktualizace[1].endsWith(QStringLiteral("/parmexrozu-1.0.99.0.zip")));
        QVERIFY(aktualizace[2].endsWith(QStringLiteral("/verze.ini")));

        QCOMPARE(VerzniBlok::verzeSouboru(program), QStringLiteral("1.0.99.0"));
        const auto zip = Vydavani::archiv(server + QStringLiteral("/") + aktualizace[1].mid(1));
        QCOMPARE(precti(program), zip.value(QStringLiteral("ParmexRozu")).obsah);
        QVERIFY(QFileInfo(program).isExecutable());
        const QString vypis = QString::fromUtf8(precti(zpravy));
        QCOMPARE(vypis.count(QStringLiteral("ZobrazDialog[")), 1);
        QVERIFY2(
            vypis.contains(QStringLiteral(
                "ZobrazDialog[1,1,0]: Byly nalezeny nové aktualizace, chcete je nainstalovat")),
            qPrintable(vypis));
        // The member's data went through the update untouched.
        QCOMPARE(jednaHodnota(data, QStringLiteral("select verzecis from Nastaveni")),
                 QStringLiteral("1"));
        QVERIFY(!QFileInfo::exists(cil + QStringLiteral("/tmp")));
        QCOMPARE(obsahSlozky(jinde), (QMap<QString, QByteArray>()));
    }
};

QTEST_MAIN(TestInstalace)
#include "tst_instalace.moc"
