// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include "Vydavani.h"

using Vydavani::precti;
using Vydavani::zapis;

// The script that gives every source file the SPDX line of the program's licence: which files
// take which comment, where the line goes, that a second run changes nothing, and its check.
namespace {

const QString kSkript = QStringLiteral(PARMEX_KOREN "/tools/spdx.sh");
const QByteArray kC = "// SPDX-License-Identifier: GPL-3.0-or-later";
const QByteArray kHash = "# SPDX-License-Identifier: GPL-3.0-or-later";

struct Soubor {
    const char* cesta;
    QByteArray pred;
    QByteArray po;  // what the script makes of it; the same as pred: left as it is
    bool spustitelny = false;
    bool sledovany = true;  // tracked by Git
};

const QList<Soubor> kSoubory = {
    {"app/fMain.cpp", "#include <x>\n", kC + "\n#include <x>\n"},
    {"core/Relace.h", "#pragma once\n", kC + "\n#pragma once\n"},
    {"CMakeLists.txt", "project(x)\n", kHash + "\nproject(x)\n"},
    {"cmake/Verze.cmake", "set(a 1)\n", kHash + "\nset(a 1)\n"},
    {"tools/build.sh", "#!/usr/bin/env bash\nset -e\n",
     "#!/usr/bin/env bash\n" + kHash + "\nset -e\n", true},
    {"bench/run.py", "#!/usr/bin/env python3\nimport os\n",
     "#!/usr/bin/env python3\n" + kHash + "\nimport os\n", true},
    // A script without a known name: executable, starting with "#!".
    {".ci/run", "#!/bin/sh\nexit 0\n", "#!/bin/sh\n" + kHash + "\nexit 0\n", true},
    {"tools/jen-radek.sh", "#!/bin/sh", "#!/bin/sh\n" + kHash + "\n", true},
    {"platform/Okna.cpp", "int a;\r\nint b;\r\n", kC + "\r\nint a;\r\nint b;\r\n"},
    {"platform/Prazdny.h", "", kC + "\n"},
    {"app/s mezerou.cpp", "int c;\n", kC + "\nint c;\n"},
    // Files that have a licence line already, ours or another's, keep it alone.
    {"core/Platba.cpp", kC + "\nint d;\n", kC + "\nint d;\n"},
    {"updater/cizi.c", "/* SPDX-License-Identifier: MIT */\n",
     "/* SPDX-License-Identifier: MIT */\n"},
    {"tools/deps.sh", "#!/bin/sh\n" + kHash + "\n", "#!/bin/sh\n" + kHash + "\n", true},
    // Not sources: documents, data that happens to start with "#!", a file Git does not track.
    {"README.md", "# Parmex\n", "# Parmex\n"},
    {"tests/fuzz/regrese/vstup", "#!abc", "#!abc"},
    {"app/novy.cpp", "int e;\n", "int e;\n", false, false},
};

struct Beh {
    int kod = -1;
    QString vystup;
    QString chyby;
};

Beh spdx(const QStringList& argumenty) {
    QProcess p;
    p.start(kSkript, argumenty);
    Beh b;
    if (!p.waitForFinished(60000)) return b;
    b.kod = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    b.vystup = QString::fromUtf8(p.readAllStandardOutput());
    b.chyby = QString::fromUtf8(p.readAllStandardError());
    return b;
}

bool git(const QString& slozka, const QStringList& argumenty) {
    QProcess p;
    p.setWorkingDirectory(slozka);
    p.start(QStringLiteral("git"), argumenty);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The files of the table in the folder; tracked by a Git repository there when asked.
void vytvor(const QString& koren, bool sGitem) {
    for (const Soubor& s : kSoubory) {
        const QString cesta = koren + QLatin1Char('/') + QLatin1String(s.cesta);
        QDir().mkpath(QFileInfo(cesta).path());
        QVERIFY(zapis(cesta, s.pred));
        QFile::Permissions prava = QFile::ReadOwner | QFile::WriteOwner;
        if (s.spustitelny) prava |= QFile::ExeOwner;
        QVERIFY(QFile::setPermissions(cesta, prava));
    }
    if (!sGitem) return;
    QVERIFY(git(koren, {QStringLiteral("init"), QStringLiteral("-q")}));
    for (const Soubor& s : kSoubory)
        if (s.sledovany) QVERIFY(git(koren, {QStringLiteral("add"), QLatin1String(s.cesta)}));
}

// The table's files that lack the line.
QStringList bezRadku() {
    QStringList jmena;
    for (const Soubor& s : kSoubory)
        if (s.pred != s.po) jmena << QLatin1String(s.cesta);
    jmena.sort();
    return jmena;
}

}  // namespace

class TestSpdx : public QObject {
    Q_OBJECT

private slots:
    // A Git repository: its tracked sources get the line, once; the check fails before and
    // passes after.
    void repozitar() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        vytvor(dir.path(), true);
        const QStringList chybi = bezRadku();

        Beh b = spdx({QStringLiteral("--kontrola"), dir.path()});
        QCOMPARE(b.kod, 1);
        QStringList nahlasene;
        for (const QString& r : b.chyby.split(QLatin1Char('\n')))
            if (r.startsWith(QStringLiteral("  "))) nahlasene << r.mid(2);
        nahlasene.sort();
        QCOMPARE(nahlasene, chybi);
        for (const Soubor& s : kSoubory)
            QCOMPARE(precti(dir.filePath(QLatin1String(s.cesta))), s.pred);

        b = spdx({dir.path()});
        QVERIFY2(b.kod == 0, qPrintable(b.chyby));
        QStringList zmenene = b.vystup.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        zmenene.sort();
        QCOMPARE(zmenene, chybi);
        for (const Soubor& s : kSoubory) {
            const QString cesta = dir.filePath(QLatin1String(s.cesta));
            QCOMPARE(precti(cesta), s.po);
            QCOMPARE(QFileInfo(cesta).isExecutable(), s.spustitelny);
        }

        // Run again: nothing to do.
        b = spdx({dir.path()});
        QCOMPARE(b.kod, 0);
        QCOMPARE(b.vystup, QString());
        for (const Soubor& s : kSoubory)
            QCOMPARE(precti(dir.filePath(QLatin1String(s.cesta))), s.po);
        QCOMPARE(spdx({QStringLiteral("--kontrola"), dir.path()}).kod, 0);
    }

    // A folder that is no Git work tree (an unpacked source archive): every source below it
    // takes the line, those in build folders do not.
    void bezGitu() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        vytvor(dir.path(), false);
        QDir().mkpath(dir.filePath(QStringLiteral("build/app")));
        QVERIFY(zapis(dir.filePath(QStringLiteral("build/app/moc_fMain.cpp")), "int m;\n"));
        const Beh b = spdx({dir.path()});
        QVERIFY2(b.kod == 0, qPrintable(b.chyby));
        QCOMPARE(precti(dir.filePath(QStringLiteral("app/novy.cpp"))), kC + "\nint e;\n");
        QCOMPARE(precti(dir.filePath(QStringLiteral("app/fMain.cpp"))), kC + "\n#include <x>\n");
        QCOMPARE(precti(dir.filePath(QStringLiteral("README.md"))), QByteArray("# Parmex\n"));
        QCOMPARE(precti(dir.filePath(QStringLiteral("build/app/moc_fMain.cpp"))),
                 QByteArray("int m;\n"));
    }

    // The script is one of the sources: run from the repository it gives the line to, it
    // rewrites its own file while it runs, and still goes on to the files after it.
    void vlastniSoubor() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QByteArray skript = precti(kSkript);
        QVERIFY(skript.startsWith("#!"));
        skript.replace(kHash + '\n', QByteArray());
        QDir().mkpath(dir.filePath(QStringLiteral("tools")));
        QDir().mkpath(dir.filePath(QStringLiteral("zz")));
        const QString kopie = dir.filePath(QStringLiteral("tools/spdx.sh"));
        QVERIFY(zapis(kopie, skript));
        QVERIFY(
            QFile::setPermissions(kopie, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(zapis(dir.filePath(QStringLiteral("app.cpp")), "int a;\n"));
        QVERIFY(zapis(dir.filePath(QStringLiteral("zz/posledni.cpp")), "int z;\n"));
        QVERIFY(git(dir.path(), {QStringLiteral("init"), QStringLiteral("-q")}));
        QVERIFY(git(dir.path(), {QStringLiteral("add"), QStringLiteral(".")}));

        QProcess p;
        p.start(kopie, {});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.readAllStandardError(), QByteArray());
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(p.readAllStandardOutput(),
                 QByteArray("app.cpp\ntools/spdx.sh\nzz/posledni.cpp\n"));
        QCOMPARE(precti(kopie), skript.left(skript.indexOf('\n') + 1) + kHash + '\n' +
                                    skript.mid(skript.indexOf('\n') + 1));
        QCOMPARE(precti(dir.filePath(QStringLiteral("zz/posledni.cpp"))), kC + "\nint z;\n");
        p.start(kopie, {QStringLiteral("--kontrola")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
    }

    void spatneArgumenty() {
        QCOMPARE(spdx({QStringLiteral("--jinak")}).kod, 2);
        QCOMPARE(spdx({QStringLiteral("a"), QStringLiteral("b")}).kod, 2);
    }
};

QTEST_MAIN(TestSpdx)
#include "tst_spdx.moc"
