// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include "Chyba.h"
#include "Pomocnik.h"
#include "VerzniBlok.h"
#include "Zdroje.h"

namespace {
QMap<QString, QString> polozky(std::initializer_list<std::pair<QString, QString>> p) {
    QMap<QString, QString> m;
    for (const auto& [k, v] : p) m.insert(k, v);
    return m;
}

QByteArray precti(const QString& soubor) {
    QFile f(soubor);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void zapis(const QString& soubor, const QByteArray& obsah) {
    QFile f(soubor);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(obsah), obsah.size());
}

// The built programs lie beside each other in the build tree.
QString postavenyObnovnik() {
    return QFileInfo(QStringLiteral(PARMEX_EXE)).absolutePath() +
           QStringLiteral("/../updater/Obnovnik");
}
}  // namespace

static void registrujObnovnik() {
    Q_INIT_RESOURCE(obnovnik);
}

class TestVerzniBlok : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        Pomocnik::pripravProstredi();
        registrujObnovnik();
    }

    // The reader takes the first complete block of a file: start marker, entries, end marker.
    void prvniUplnyBlok_data() {
        QTest::addColumn<QByteArray>("obsah");
        QTest::addColumn<bool>("nacteno");
        QTest::addColumn<QVariantMap>("ocekavane");
        const QByteArray program =
            VerzniBlok::sestav(polozky({{"FileVersion", "1.0.4.30"}, {"InternalName", "P"}}));
        const QByteArray obnovnik =
            VerzniBlok::sestav(polozky({{"FileVersion", "1.1.1.49"}, {"OriginalFileName", "O"}}));
        const QVariantMap programovy{{"FileVersion", "1.0.4.30"}, {"InternalName", "P"}};
        const QByteArray bajty = QByteArray(5000, '\x01') + QByteArray("\n##\n=\0x", 8);
        // A block whose end marker is missing: the start marker line and one entry.
        const QByteArray useknuty = program.left(program.indexOf("InternalName"));

        QTest::newRow("among other bytes") << bajty + program + bajty << true << programovy;
        QTest::newRow("two blocks: the first one counts")
            << bajty + program + bajty + obnovnik << true << programovy;
        QTest::newRow("a block cut short before a complete one")
            << bajty + VerzniBlok::sestav(polozky({{"Comments", "useknuty"}})).chopped(10) + bajty +
                   program
            << true << programovy;
        QTest::newRow("end of the file right after the end marker")
            << bajty + program.chopped(1) << true << programovy;
        QTest::newRow("start marker and no end")
            << bajty + useknuty + bajty << false << QVariantMap();
        QTest::newRow("no block") << bajty << false << QVariantMap();
        QTest::newRow("empty file") << QByteArray() << false << QVariantMap();
    }
    void prvniUplnyBlok() {
        QFETCH(QByteArray, obsah);
        QFETCH(bool, nacteno);
        QFETCH(QVariantMap, ocekavane);
        QTemporaryDir d;
        const QString soubor = d.filePath(QStringLiteral("program"));
        zapis(soubor, obsah);
        QMap<QString, QString> p;
        QCOMPARE(VerzniBlok::nacti(soubor, &p),
                 nacteno ? VerzniBlok::Vysledek::Nacteno : VerzniBlok::Vysledek::BezBloku);
        QVariantMap nalezene;
        for (auto it = p.cbegin(); it != p.cend(); ++it) nalezene.insert(it.key(), it.value());
        QCOMPARE(nalezene, ocekavane);
        QCOMPARE(VerzniBlok::verzeSouboru(soubor),
                 nacteno ? QStringLiteral("1.0.4.30") : QString());
    }

    // The program carries the updater uncompressed, whose version block then also stands in the
    // program's file; the reader still finds the program's own block first.
    void programMaVlastniBlokPrvni() {
        const QByteArray program = precti(QStringLiteral(PARMEX_EXE));
        QVERIFY(!program.isEmpty());
        const QByteArray obnovnik = precti(postavenyObnovnik());
        QVERIFY(!obnovnik.isEmpty());
        QVERIFY2(program.contains(obnovnik), "the updater is not embedded byte for byte");
        QMap<QString, QString> p;
        QCOMPARE(VerzniBlok::nacti(QStringLiteral(PARMEX_EXE), &p), VerzniBlok::Vysledek::Nacteno);
        QCOMPARE(p.value(QStringLiteral("InternalName")), QStringLiteral("ParmexRozu"));
        QCOMPARE(p.value(QStringLiteral("FileVersion")), QStringLiteral(PARMEX_VERZE));
        QCOMPARE(VerzniBlok::verzeSouboru(postavenyObnovnik()), QStringLiteral("1.1.1.49"));
    }

    // The updater is written out byte for byte as built; an existing file is replaced and keeps
    // its permissions; a leftover of an interrupted write is no obstacle.
    void zapisObnovniku() {
        QTemporaryDir d;
        const QString cil = d.filePath(QStringLiteral("Obnovnik"));
        zapis(cil, "stary");
        QVERIFY(QFile::setPermissions(cil, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        zapis(cil + QStringLiteral(".zapis"), "zbytek");
        Zdroje::ulozDoSouboru(QStringLiteral("EXEFILE"), QStringLiteral("Obnovnik"), cil);
        QVERIFY(precti(cil) == precti(postavenyObnovnik()));
        QCOMPARE(QFile::permissions(cil) & 0x7077,
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(QDir(d.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Obnovnik")});
    }

    // A file that cannot be written raises an error, keeps what stands there and leaves no
    // half-written file behind.
    void zapisSelze_data() {
        QTest::addColumn<QString>("jmeno");
        QTest::addColumn<QString>("zdroj");
        QTest::newRow("a folder where the file goes") << "slozka"
                                                      << "Obnovnik";
        QTest::newRow("below a regular file") << "soubor/Obnovnik"
                                              << "Obnovnik";
        QTest::newRow("no such resource") << "novy"
                                          << "neni";
    }
    void zapisSelze() {
        QFETCH(QString, jmeno);
        QFETCH(QString, zdroj);
        QTemporaryDir d;
        QVERIFY(QDir(d.path()).mkpath(QStringLiteral("slozka/uvnitr")));
        zapis(d.filePath(QStringLiteral("soubor")), "obsah");
        QVERIFY_THROWS_EXCEPTION(
            Chyba, Zdroje::ulozDoSouboru(QStringLiteral("EXEFILE"), zdroj, d.filePath(jmeno)));
        QVERIFY(QFileInfo(d.filePath(QStringLiteral("slozka/uvnitr"))).isDir());
        QCOMPARE(precti(d.filePath(QStringLiteral("soubor"))), QByteArray("obsah"));
        QCOMPARE(QDir(d.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{QStringLiteral("slozka"), QStringLiteral("soubor")}));
    }
};

QTEST_MAIN(TestVerzniBlok)
#include "tst_verzniblok.moc"
