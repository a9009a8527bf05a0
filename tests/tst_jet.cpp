// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>
#include <cmath>

#include "Databaze.h"
#include "JetSoubor.h"
#include "Pomocnik.h"
#include "Zdroje.h"

// The Jet reader on two real files made by the Jet engine: a Jet 3 order-processing sample and
// a Jet 4 table of odd dates.
namespace {

const QString kSlozka = QStringLiteral(PARMEX_JET_DATA);
QString nwind() {
    return kSlozka + QStringLiteral("/nwind.mdb");
}
QString datumy() {
    return kSlozka + QStringLiteral("/DateTestDatabase.mdb");
}

// Every row of a table (or of some of its columns), each value typed and joined by "|".
QStringList radky(const jet::Soubor& s, const QString& tabulka,
                  const QStringList& sloupce = QStringList()) {
    QStringList vysledek;
    s.ctiRadky(tabulka, sloupce, [&](const QVariantList& hodnoty) {
        QStringList r;
        for (const QVariant& v : hodnoty) {
            if (v.isNull())
                r << QStringLiteral("NULL");
            else if (v.typeId() == QMetaType::QDateTime)
                r << QStringLiteral("QDateTime:") +
                         v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            else
                r << QString::fromLatin1(v.typeName()) + QLatin1Char(':') + v.toString();
        }
        vysledek << r.join(QLatin1Char('|'));
    });
    return vysledek;
}

QByteArray obsah(const QString& soubor) {
    QFile f(soubor);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void zapis(const QString& soubor, const QByteArray& data) {
    QFile f(soubor);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

}  // namespace

class TestJet : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Pomocnik::pripravProstredi(); }
    void initTestCase() {
        Pomocnik::pripravProstredi();
        Q_INIT_RESOURCE(parmex);  // the empty database of our own format
        if (!QFileInfo::exists(nwind()) || !QFileInfo::exists(datumy()))
            QSKIP("The real Jet files are not beside the source tree.");
    }

    // Which files count as Jet databases: only the header decides, never the name.
    void poznaniSouboru() {
        Pomocnik::PracovniSlozka slozka;
        const QByteArray jet4 = obsah(datumy()).left(4096);
        QByteArray ace = jet4;
        ace.replace(4, 15, "Standard ACE DB");
        QByteArray budouci = jet4;
        budouci[0x14] = 2;
        zapis(QStringLiteral("jet4.bin"), jet4);
        zapis(QStringLiteral("ace.mdb"), ace);
        zapis(QStringLiteral("budouci.mdb"), budouci);
        zapis(QStringLiteral("kratky.mdb"), jet4.left(0x14));
        zapis(QStringLiteral("prazdny.mdb"), QByteArray());
        Zdroje::ulozDoSouboru(QStringLiteral("EXEFILE"), QStringLiteral("dataDB"),
                              QStringLiteral("nas.mdb"));
        QDir().mkdir(QStringLiteral("slozka.mdb"));

        QVERIFY(jet::jeJetSoubor(nwind()));
        QVERIFY(jet::jeJetSoubor(datumy()));
        QVERIFY(jet::jeJetSoubor(QStringLiteral("jet4.bin")));
        for (const char* ne : {"ace.mdb", "budouci.mdb", "kratky.mdb", "prazdny.mdb", "nas.mdb",
                               "slozka.mdb", "chybi.mdb"})
            QVERIFY2(!jet::jeJetSoubor(QString::fromLatin1(ne)), ne);

        // A file of another format is refused with a message, never read as Jet.
        for (const char* ne : {"nas.mdb", "chybi.mdb", "prazdny.mdb"}) {
            try {
                jet::Soubor s{QString::fromLatin1(ne)};
                QFAIL(ne);
            } catch (const Chyba& e) {
                QVERIFY2(e.zprava().contains(QString::fromLatin1(ne)), qPrintable(e.zprava()));
            }
        }
    }

    // A damaged Jet file raises Chyba with a message, never crashes or reads rubbish.
    void poskozenySoubor_data() {
        QTest::addColumn<QString>("zdroj");
        QTest::addColumn<int>("bajtu");
        QTest::addColumn<QString>("tabulka");
        QTest::newRow("only the header page") << datumy() << 4096 << "DateTest";
        QTest::newRow("cut before the data") << nwind() << 200000 << "Products";
    }
    void poskozenySoubor() {
        QFETCH(QString, zdroj);
        QFETCH(int, bajtu);
        QFETCH(QString, tabulka);
        Pomocnik::PracovniSlozka slozka;
        zapis(QStringLiteral("kus.mdb"), obsah(zdroj).left(bajtu));
        try {
            jet::Soubor s(QStringLiteral("kus.mdb"));
            s.ctiRadky(tabulka, {}, [](const QVariantList&) {});
            QFAIL("no error");
        } catch (const Chyba& e) {
            QVERIFY2(e.zprava().contains(QStringLiteral("kus.mdb")), qPrintable(e.zprava()));
        }
        // Through a connection: the error, and the connection stays closed.
        db::Connection c;
        QVERIFY_THROWS_EXCEPTION(Chyba,
                                 jet::otevriKeCteni(c, QStringLiteral("kus.mdb"), {tabulka}));
        QVERIFY(!c.isOpen());
    }

    void tabulkyARadky_data() {
        QTest::addColumn<QString>("soubor");
        QTest::addColumn<int>("verze");
        QTest::addColumn<QString>("tabulka");
        QTest::addColumn<int>("pocet");
        QTest::newRow("Jet 4 DateTest") << datumy() << 4 << "DateTest" << 6;
        QTest::newRow("Jet 3 Products") << nwind() << 3 << "Products" << 77;
        QTest::newRow("Jet 3 Order Details") << nwind() << 3 << "Order Details" << 2155;
        QTest::newRow("Jet 3 Orders") << nwind() << 3 << "Orders" << 830;
        QTest::newRow("Jet 3 Customers") << nwind() << 3 << "Customers" << 91;
        QTest::newRow("Jet 3 Employees") << nwind() << 3 << "Employees" << 9;
        QTest::newRow("Jet 3, name with a non-ASCII letter") << nwind() << 3 << "Umsätze" << 830;
        QTest::newRow("name in other case") << nwind() << 3 << "PRODUCTS" << 77;
    }
    void tabulkyARadky() {
        QFETCH(QString, soubor);
        QFETCH(int, verze);
        QFETCH(QString, tabulka);
        QFETCH(int, pocet);
        jet::Soubor s(soubor);
        QCOMPARE(s.verze(), verze);
        QVERIFY(!s.najdiTabulku(tabulka).isEmpty());
        QVERIFY(s.tabulky().contains(s.najdiTabulku(tabulka)));
        for (const QString& t : s.tabulky())
            QVERIFY2(!t.startsWith(QLatin1String("MSys")), qPrintable(t));
        // Every column the reader can type (Employees carries a photo it refuses).
        QStringList citelne;
        for (const jet::Sloupec& c : s.sloupce(tabulka))
            if (c.druh != jet::Druh::Nepodporovany) citelne << c.nazev;
        int n = 0;
        s.ctiRadky(tabulka, citelne, [&](const QVariantList& h) {
            QCOMPARE(h.size(), citelne.size());
            ++n;
        });
        QCOMPARE(n, pocet);
    }

    // Whole numbers, exact amounts, texts with their letters, booleans, nulls, memos, dates.
    void hodnotyJet3() {
        jet::Soubor s(nwind());
        const QStringList produkty = radky(s, QStringLiteral("Products"));
        QCOMPARE(produkty.value(0),
                 QStringLiteral("qlonglong:1|QString:Chai|qlonglong:1|qlonglong:1|QString:10 "
                                "boxes x 20 bags|QString:18.0000|qlonglong:39|qlonglong:0|"
                                "qlonglong:10|bool:false"));
        QCOMPARE(produkty.value(4).section(QLatin1Char('|'), 5),
                 QStringLiteral("QString:21.3500|qlonglong:0|qlonglong:0|qlonglong:0|bool:true"));
        QVERIFY(produkty.contains(QStringLiteral(
            "qlonglong:24|QString:Guaraná Fantástica|qlonglong:10|qlonglong:1|QString:12 - 355 "
            "ml cans|QString:4.5000|qlonglong:20|qlonglong:0|qlonglong:0|bool:true")));

        const QStringList zakaznici =
            radky(s, QStringLiteral("Customers"),
                  {QStringLiteral("city"), QStringLiteral("CustomerID"), QStringLiteral("Region")});
        QVERIFY(zakaznici.contains(QStringLiteral("QString:Berlin|QString:ALFKI|NULL")));
        QVERIFY(zakaznici.contains(QStringLiteral("QString:Luleå|QString:BERGS|NULL")));
        QVERIFY(zakaznici.contains(QStringLiteral("QString:Tsawassen|QString:BOTTM|QString:BC")));

        const QStringList zamestnanci =
            radky(s, QStringLiteral("Employees"),
                  {QStringLiteral("LastName"), QStringLiteral("BirthDate"),
                   QStringLiteral("ReportsTo"), QStringLiteral("Notes")});
        QVERIFY(zamestnanci.value(0).startsWith(
            QStringLiteral("QString:Davolio|QDateTime:1948-12-08 00:00:00|qlonglong:2|"
                           "QString:Education includes a BA in psychology")));
        QVERIFY(zamestnanci.value(1).startsWith(
            QStringLiteral("QString:Fuller|QDateTime:1952-02-19 00:00:00|NULL|QString:Andrew")));

        // A single-precision discount comes as the double of the stored float.
        s.ctiRadky(QStringLiteral("Order Details"), {QStringLiteral("Discount")},
                   [](const QVariantList& h) {
                       QCOMPARE(h.at(0).typeId(), int(QMetaType::Double));
                       const float f = static_cast<float>(h.at(0).toDouble());
                       QCOMPARE(static_cast<double>(f), h.at(0).toDouble());
                       QVERIFY(f >= 0.0f && f <= 0.25f);
                   });

        // Every currency amount is an exact decimal text with four places.
        qint64 soucetDesetitisicin = 0;
        s.ctiRadky(
            QStringLiteral("Orders"), {QStringLiteral("Freight")}, [&](const QVariantList& h) {
                const QString t = h.at(0).toString();
                QVERIFY2(QRegularExpression(QStringLiteral("^\\d+\\.\\d{4}$")).match(t).hasMatch(),
                         qPrintable(t));
                soucetDesetitisicin += QString(t).remove(QLatin1Char('.')).toLongLong();
            });
        QVERIFY(soucetDesetitisicin > 0);
    }

    // Dates outside 1900-9998 and texts with line breaks, in a Jet 4 file.
    void hodnotyJet4() {
        jet::Soubor s(datumy());
        const QStringList r = radky(s, QStringLiteral("DateTest"));
        QCOMPARE(r.size(), 6);
        QCOMPARE(r.value(0), QStringLiteral("qlonglong:1|QDateTime:2021-12-02 00:00:00|"
                                            "QDateTime:2021-12-02 00:00:00|QDateTime:2021-12-02 "
                                            "00:00:00|QString:Hello|QString:Hello"));
        QCOMPARE(r.value(1).section(QLatin1Char('|'), 0, 3),
                 QStringLiteral("qlonglong:2|QDateTime:9999-01-01 00:00:00|QDateTime:9999-01-01 "
                                "00:00:00|QDateTime:9999-01-01 00:00:00"));
        QCOMPARE(r.value(2).section(QLatin1Char('|'), 0, 3),
                 QStringLiteral("qlonglong:3|QDateTime:1898-01-01 00:00:00|QDateTime:1899-01-01 "
                                "00:00:00|QDateTime:1900-01-01 00:00:00"));
        QCOMPARE(r.value(3).section(QLatin1Char('|'), 0, 3),
                 QStringLiteral("qlonglong:4|QDateTime:0632-01-01 00:00:00|QDateTime:0633-01-01 "
                                "00:00:00|QDateTime:0634-01-01 00:00:00"));
        QCOMPARE(r.value(5).section(QLatin1Char('|'), 4),
                 QStringLiteral("QString:New line\r\nin field|QString:No new line"));
        const auto sloupce = s.sloupce(QStringLiteral("DateTest"));
        QCOMPARE(sloupce.size(), 6);
        QCOMPARE(sloupce.at(1).druh, jet::Druh::DatumCas);
        QCOMPARE(sloupce.at(5).nazev, QStringLiteral("ShortTextCol"));
        QCOMPARE(sloupce.at(5).delka, 255);
    }

    // Czech letters of a Jet 4 text (two bytes a letter in the file) come out whole, read here
    // and through the reading process, from a folder whose name has Czech letters too. The
    // real Jet 4 file with its two texts "Hello" written over in the file's own encoding: after
    // the mark FF FE of a compressed text, a 0 byte switches to two bytes a letter, Ž and ř.
    void ceskyTextJet4() {
        Pomocnik::PracovniSlozka slozka;
        QByteArray data = obsah(datumy());
        const QByteArray hello("\xff\xfeHello", 7);
        QCOMPARE(data.count(hello), 2);
        data.replace(hello, QByteArray("\xff\xfe\x00\x7d\x01\x59\x01", 7));
        QVERIFY(QDir().mkdir(QStringLiteral("Číselníky")));
        const QString soubor = QStringLiteral("Číselníky/dataCis.mdb");
        zapis(soubor, data);

        const QStringList r = radky(jet::Soubor(soubor), QStringLiteral("DateTest"));
        QVERIFY2(r.value(0).endsWith(QStringLiteral("|QString:Žř|QString:Žř")),
                 qPrintable(r.value(0)));

        db::Connection c;
        jet::otevriKeCteni(c, soubor, {QStringLiteral("DateTest")});
        db::Query q(&c);
        q.setSql(QStringLiteral("select ShortTextCol from DateTest order by 1 desc"));
        q.open();
        QCOMPARE(q.field(0).asString(), QStringLiteral("Žř"));
    }

    // Unknown tables and columns, and columns of a type the reader refuses.
    void odmitnuti_data() {
        QTest::addColumn<QString>("tabulka");
        QTest::addColumn<QStringList>("sloupce");
        QTest::addColumn<QString>("vZprave");
        QTest::newRow("no such table") << "Nic" << QStringList() << "Nic";
        QTest::newRow("no such column") << "Products" << QStringList{"Cena"} << "Cena";
        QTest::newRow("OLE object named") << "Categories" << QStringList{"Picture"} << "OLE";
        QTest::newRow("OLE object among all") << "Categories" << QStringList() << "Picture";
    }
    void odmitnuti() {
        QFETCH(QString, tabulka);
        QFETCH(QStringList, sloupce);
        QFETCH(QString, vZprave);
        jet::Soubor s(nwind());
        int n = 0;
        try {
            s.ctiRadky(tabulka, sloupce, [&](const QVariantList&) { ++n; });
            QFAIL("no error");
        } catch (const Chyba& e) {
            QVERIFY2(e.zprava().contains(vZprave), qPrintable(e.zprava()));
        }
        QCOMPARE(n, 0);
        // The rest of the table stays readable.
        if (tabulka == QLatin1String("Categories"))
            QCOMPARE(radky(s, tabulka, {QStringLiteral("CategoryName")}).size(), 8);
    }

    void datum_data() {
        QTest::addColumn<double>("dny");
        QTest::addColumn<QString>("ocekavane");
        QTest::newRow("zero of the scale") << 0.0 << "1899-12-30 00:00:00";
        QTest::newRow("noon a day later") << 1.5 << "1899-12-31 12:00:00";
        QTest::newRow("negative, time still forward") << -1.25 << "1899-12-29 06:00:00";
        QTest::newRow("negative zero day") << -0.5 << "1899-12-30 12:00:00";
        QTest::newRow("last second of 9999")
            << 2958465.0 + 86399.0 / 86400.0 << "9999-12-31 23:59:59";
        QTest::newRow("rounds up into the next day") << 1.0 - 1e-9 << "1899-12-31 00:00:00";
        QTest::newRow("first day of year 1") << -693593.0 << "0001-01-01 00:00:00";
        QTest::newRow("a summer-time gap hour") << 42456.0 + 2.5 / 24 << "2016-03-27 02:30:00";
        // Values a damaged file holds: no date.
        QTest::newRow("year 10000") << 2958466.0 << "";
        QTest::newRow("rounds up into year 10000") << 2958466.0 - 1e-9 << "";
        QTest::newRow("year 0") << -693594.0 << "";
        QTest::newRow("far beyond") << 1.35727e+164 << "";
        QTest::newRow("not a number") << std::nan("") << "";
        QTest::newRow("infinite") << -HUGE_VAL << "";
    }
    void datum() {
        QFETCH(double, dny);
        QFETCH(QString, ocekavane);
        QCOMPARE(jet::datumZHodnoty(dny).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                 ocekavane);
    }

    void desetinneCislo_data() {
        QTest::addColumn<QByteArray>("bajty");
        QTest::addColumn<int>("meritko");
        QTest::addColumn<QString>("ocekavane");
        // A sign byte, then four groups of four bytes, the most significant group first.
        auto cislo = [](bool zaporne, quint32 g0, quint32 g1, quint32 g2, quint32 g3) {
            QByteArray b(1, zaporne ? char(0x80) : char(0));
            for (quint32 g : {g0, g1, g2, g3}) {
                char le[4];
                qToLittleEndian(g, le);
                b.append(le, 4);
            }
            return b;
        };
        QTest::newRow("amount") << cislo(false, 0, 0, 0, 31250) << 2 << "312.50";
        QTest::newRow("negative") << cislo(true, 0, 0, 0, 12345) << 2 << "-123.45";
        QTest::newRow("whole") << cislo(false, 0, 0, 0, 99999) << 0 << "99999";
        QTest::newRow("below one") << cislo(false, 0, 0, 0, 5) << 4 << "0.0005";
        QTest::newRow("zero with sign") << cislo(true, 0, 0, 0, 0) << 2 << "0.00";
        QTest::newRow("second group") << cislo(false, 0, 0, 1, 0) << 0 << "4294967296";
        QTest::newRow("first group")
            << cislo(false, 1, 0, 0, 0) << 0 << "79228162514264337593543950336";
    }
    void desetinneCislo() {
        QFETCH(QByteArray, bajty);
        QFETCH(int, meritko);
        QFETCH(QString, ocekavane);
        QCOMPARE(jet::textDesetinnehoCisla(
                     reinterpret_cast<const unsigned char*>(bajty.constData()), meritko),
                 ocekavane);
    }

    // A Jet file opened through a connection: its tables in memory, statements of our dialect
    // on them, each value typed as from a file of our own format; changes are refused.
    void otevreniKeCteni_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("decimal comma") << QLocale(QLocale::Czech, QLocale::Czechia);
        QTest::newRow("decimal point") << QLocale(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("point groups thousands") << QLocale(QLocale::German, QLocale::Germany);
    }
    void otevreniKeCteni() {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        db::Connection c;
        jet::otevriKeCteni(
            c, nwind(),
            {QStringLiteral("products"), QStringLiteral("Orders"), QStringLiteral("Nic")});
        db::Query q(&c);
        q.setSql(
            QStringLiteral("select ProductName, UnitPrice, Discontinued from Products where "
                           "CategoryID = 2 and UnitPrice is not null order by UnitPrice"));
        q.open();
        QCOMPARE(q.recordCount(), 12);
        QCOMPARE(q.fieldByName(QStringLiteral("ProductName")).asString(),
                 QStringLiteral("Aniseed Syrup"));
        QCOMPARE(q.fieldByName(QStringLiteral("UnitPrice")).value(), QVariant(qlonglong(10)));
        q.setSql(QStringLiteral("select * from Products where ProductID = 5"));
        q.open();
        QCOMPARE(q.fieldByName(QStringLiteral("UnitPrice")).value(), QVariant(21.35));
        QCOMPARE(q.fieldByName(QStringLiteral("UnitPrice")).dataType(), db::TypPole::Desetinne);
        QCOMPARE(q.fieldByName(QStringLiteral("Discontinued")).value(), QVariant(qlonglong(1)));
        q.setSql(
            QStringLiteral("select max(OrderDate) as d, count(*) as n, sum(ShipRegion is "
                           "null) as bez from Orders"));
        q.open();
        QCOMPARE(q.fieldByName(QStringLiteral("d")).value().toString(),
                 QStringLiteral("1996-06-05 00:00:00"));
        QCOMPARE(q.fieldByName(QStringLiteral("n")).asInteger(), 830);
        QVERIFY(q.fieldByName(QStringLiteral("bez")).asInteger() > 0);
        // Only the tables asked for; one the file lacks is simply absent.
        q.setSql(QStringLiteral("select count(*) from sqlite_master where type = 'table'"));
        q.open();
        QCOMPARE(q.field(0).asInteger(), 2);
        QVERIFY_THROWS_EXCEPTION(Chyba, c.execute(QStringLiteral("delete from Products")));
        QVERIFY_THROWS_EXCEPTION(Chyba, c.execute(QStringLiteral("create table x (a)")));

        // A column of a refused type stays behind, the rest of its table comes.
        db::Connection d;
        jet::otevriKeCteni(d, nwind(), {QStringLiteral("Categories")});
        db::Query k(&d);
        k.setSql(QStringLiteral("select * from Categories order by CategoryID"));
        k.open();
        QCOMPARE(k.recordCount(), 8);
        QCOMPARE(k.fieldNames(),
                 (QStringList{QStringLiteral("CategoryID"), QStringLiteral("CategoryName"),
                              QStringLiteral("Description")}));
        QCOMPARE(k.fieldByName(QStringLiteral("CategoryName")).asString(),
                 QStringLiteral("Beverages"));
    }

    // A copy of a Jet file broken off at a page boundary: its catalogue leads the reading
    // library to ask for memory without end. The reading process gives up at its memory bound
    // and the program is told so, without a crash of its own.
    void useknutaKopie() {
        Pomocnik::PracovniSlozka slozka;
        zapis(QStringLiteral("kus.mdb"), obsah(nwind()).left(842 * 2048));
        db::Connection c;
        try {
            jet::otevriKeCteni(c, QStringLiteral("kus.mdb"));
            QFAIL("no error");
        } catch (const Chyba& e) {
            QCOMPARE(e.zprava(), QStringLiteral("Soubor kus.mdb nelze přečíst: čtení skončilo "
                                                "chybou, soubor je zřejmě poškozen."));
        }
        QVERIFY(!c.isOpen());
    }

    // The reading runs in a process of its own: whatever becomes of that process (the reading
    // library crashing on a damaged file, never ending, ending without a result or with
    // rubbish) raises Chyba with a message naming the file, and this process goes on.
    void oddelenyProces_data() {
        QTest::addColumn<QByteArray>("skript");
        QTest::addColumn<QString>("vZprave");
        QTest::newRow("crash") << QByteArray("kill -SEGV $$\n") << "čtení skončilo chybou";
        QTest::newRow("no end") << QByteArray("exec sleep 60\n") << "neskončilo ani za 1 s";
        QTest::newRow("failure without a reason") << QByteArray("exit 3\n") << "(kód 3)";
        QTest::newRow("a reason") << QByteArray("printf 'Tabulka X je poškozena.'; exit 1\n")
                                  << "Tabulka X je poškozena.";
        QTest::newRow("rubbish for a result") << QByteArray("head -c 5000 /dev/zero | tr '\\0' x\n")
                                              << "výsledek čtení není databáze";
    }
    void oddelenyProces() {
        QFETCH(QByteArray, skript);
        QFETCH(QString, vZprave);
        Pomocnik::PracovniSlozka slozka;
        zapis(QStringLiteral("ctenar"), "#!/bin/sh\n" + skript);
        QFile(QStringLiteral("ctenar"))
            .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        jet::nastavCtenare(slozka.cesta(QStringLiteral("ctenar")), 1000);
        db::Connection c;
        try {
            jet::otevriKeCteni(c, datumy(), {QStringLiteral("DateTest")});
            QFAIL("no error");
        } catch (const Chyba& e) {
            QVERIFY2(e.zprava().contains(vZprave), qPrintable(e.zprava()));
            // The reader's own reason names the file itself.
            if (!vZprave.startsWith(QLatin1String("Tabulka")))
                QVERIFY2(e.zprava().contains(datumy()), qPrintable(e.zprava()));
        }
        QVERIFY(!c.isOpen());
    }

    // A file the library cannot even begin to read: cut short or not made of whole pages. It
    // is refused before the library is asked.
    void delkaSouboru_data() {
        QTest::addColumn<QString>("zdroj");
        QTest::addColumn<int>("bajtu");
        QTest::newRow("two pages of a Jet 4 file") << datumy() << 2 * 4096;
        QTest::newRow("a Jet 4 file and a half page") << datumy() << 40 * 4096 + 2048;
        QTest::newRow("a Jet 3 file one byte short") << nwind() << 300 * 2048 - 1;
    }
    void delkaSouboru() {
        QFETCH(QString, zdroj);
        QFETCH(int, bajtu);
        Pomocnik::PracovniSlozka slozka;
        zapis(QStringLiteral("kus.mdb"), obsah(zdroj).left(bajtu));
        try {
            jet::Soubor s(QStringLiteral("kus.mdb"));
            QFAIL("no error");
        } catch (const Chyba& e) {
            QCOMPARE(e.zprava(),
                     QStringLiteral("Soubor kus.mdb je poškozen: jeho délka (%1 bajtů) neodpovídá "
                                    "databázi Jet.")
                         .arg(bajtu));
        }
    }
};

QTEST_MAIN(TestJet)
#include "tst_jet.moc"
