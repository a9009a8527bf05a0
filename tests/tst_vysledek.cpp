// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>
#include <cmath>
#include <ctime>

#include "Databaze.h"
#include "Pomocnik.h"

// A query's result as it is kept in memory: every kind of value read back as the engine gave
// it, and the search, whose rows must be exactly those in which some field, as the user sees it
// (Query::text) and in upper case, contains the text, whatever the search keeps between
// keystrokes and whatever way it shows a value.
namespace {

struct Jazyk {
    explicit Jazyk(const QString& nazev) { QLocale::setDefault(QLocale(nazev)); }
    ~Jazyk() { QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia)); }
};

struct Zona {
    explicit Zona(const QByteArray& tz)
        : m_puvodni(qgetenv("TZ")), m_byla(qEnvironmentVariableIsSet("TZ")) {
        qputenv("TZ", tz);
        tzset();
    }
    ~Zona() {
        if (m_byla)
            qputenv("TZ", m_puvodni);
        else
            qunsetenv("TZ");
        tzset();
    }
    QByteArray m_puvodni;
    bool m_byla;
};

// The ids of the visible rows, in order.
QList<int> viditelne(const db::Query& q) {
    QList<int> ids;
    const int id = q.fieldIndex(QStringLiteral("id"));
    for (int r = 0; r < q.recordCount(); ++r) ids << q.value(r, id).toInt();
    return ids;
}

// What the search must keep: every field's shown text, searched one by one.
QList<int> ocekavane(db::Query& q, const QString& hledany) {
    const bool filtrovano = q.filtered();
    q.setFiltered(false);
    const QString velky = QLocale().toUpper(hledany);
    QList<int> ids;
    const int id = q.fieldIndex(QStringLiteral("id"));
    for (int r = 0; r < q.recordCount(); ++r) {
        bool shoda = false;
        for (int c = 0; c < q.fieldCount() && !shoda; ++c)
            shoda = QLocale().toUpper(q.text(r, c)).contains(velky);
        if (shoda) ids << q.value(r, id).toInt();
    }
    q.setFiltered(filtrovano);
    return ids;
}

}  // namespace

class TestVysledek : public QObject {
    Q_OBJECT
    Pomocnik::PracovniSlozka* s = nullptr;
    db::Connection c;

private slots:
    void initTestCase() {
        Pomocnik::pripravProstredi();
        s = new Pomocnik::PracovniSlozka;
        QFile(QStringLiteral("hledani.db")).open(QIODevice::WriteOnly);
        c.open(QStringLiteral("hledani.db"), db::Connection::Rezim::Vyhradni);
        c.execute(
            QStringLiteral("create table t (id integer primary key, cislo numeric(9), castka real, "
                           "jmeno varchar(30), dat datetime, data blob, mix)"));
        // Every kind of value a field may hold, repeated texts among them; the dates cover
        // both stored forms, the missing hour of a change of the clock in Prague, a text that
        // is no date, and an old year.
        const char* radky[] = {
            "1, 14, 12.25, 'Novák', '1990-12-24 10:30:00', null, 7",
            "2, -140, -0.5, 'nováková', '2021-03-28 02:30:00', x'41c3a9', 'text'",
            "3, 2147483648, 1e20, 'Dvořák', '2021-03-28', null, 2.5",
            "4, 0, 0, 'NOVÁK', '1980-03-05', null, null",
            "5, null, 1400, 'Novák', 'neplatné', null, 14",
            "6, 7, 3.14159265358979, 'Čeněk', '2020-01-01T08:05:09', null, '14'",
            "7, -9223372036854775807, 0.001, null, '0999-01-01', x'', -1",
            "8, 140, 12.25, 'Novák', '2021-10-31 02:30:00', null, 'Novák'",
            "9, 1, 1400, 'dvořák', '1990-12-24 10:30:00', null, null",
        };
        for (const char* r : radky)
            c.execute(QStringLiteral("insert into t values (%1)").arg(QString::fromUtf8(r)));
    }
    void cleanupTestCase() {
        c.close();
        delete s;
    }

    // Each kind of value comes back as the engine holds it, texts kept once per distinct value
    // included: the same text in several rows, a text that begins another, an empty text
    // beside a missing one, a zero character inside a text.
    void hodnotyJakoVDatabazi_data() {
        QTest::addColumn<QString>("vyraz");
        QTest::addColumn<QVariant>("hodnota");
        QTest::newRow("largest whole number")
            << "9223372036854775807" << QVariant(qlonglong(9223372036854775807LL));
        QTest::newRow("smallest whole number")
            << "-9223372036854775807 - 1" << QVariant(qlonglong(-9223372036854775807LL - 1));
        QTest::newRow("real") << "12.25" << QVariant(12.25);
        QTest::newRow("negative zero") << "-0.0" << QVariant(-0.0);
        QTest::newRow("text") << "'Novák'" << QVariant(QStringLiteral("Novák"));
        QTest::newRow("the same text again") << "'Novák'" << QVariant(QStringLiteral("Novák"));
        QTest::newRow("its beginning") << "'Nov'" << QVariant(QStringLiteral("Nov"));
        QTest::newRow("empty text") << "''" << QVariant(QString(""));
        QTest::newRow("null") << "null" << QVariant();
        QTest::newRow("zero character inside")
            << "'a' || char(0) || 'b'" << QVariant(QString::fromUtf16(u"a\0b", 3));
        QTest::newRow("binary") << "x'00ff41'"
                                << QVariant(QByteArray("\0\xff"
                                                       "A",
                                                       3));
    }
    void hodnotyJakoVDatabazi() {
        QFETCH(QString, vyraz);
        QFETCH(QVariant, hodnota);
        // Among other rows, so that the text is looked up among texts already kept.
        db::Query q(&c);
        q.setSql(QStringLiteral("select jmeno as v from t union all select ") + vyraz +
                 QStringLiteral(" union all select jmeno from t"));
        q.open();
        q.setRecNo(10);
        const QVariant v = q.fieldByName(QStringLiteral("v")).value();
        QCOMPARE(v.typeId(), hodnota.typeId());
        QCOMPARE(v.isNull(), hodnota.isNull());
        QCOMPARE(v, hodnota);
        if (hodnota.typeId() == QMetaType::Double)
            QCOMPARE(std::signbit(v.toDouble()), std::signbit(hodnota.toDouble()));
        // The rows around it keep their own texts.
        q.setRecNo(1);
        QCOMPARE(q.fieldByName(QStringLiteral("v")).asString(), QStringLiteral("Novák"));
        q.last();
        QCOMPARE(q.fieldByName(QStringLiteral("v")).asString(), QStringLiteral("dvořák"));
    }

    // Keystroke after keystroke (narrowing, widening, starting again), under several locales
    // and time zones: always exactly the expected rows, in the order of the sort.
    void radkyJakoPrimePorovnani_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("zona");
        QTest::addColumn<QString>("trideni");
        QTest::newRow("Czech, UTC") << "cs_CZ" << QByteArray("UTC") << "";
        QTest::newRow("Czech, Prague, sorted")
            << "cs_CZ" << QByteArray("Europe/Prague") << "jmeno DESC, id";
        QTest::newRow("English (AM/PM), Prague") << "en_US" << QByteArray("Europe/Prague") << "";
        QTest::newRow("German, New York, sorted")
            << "de_DE" << QByteArray("America/New_York") << "castka";
    }
    void radkyJakoPrimePorovnani() {
        QFETCH(QString, locale);
        QFETCH(QByteArray, zona);
        QFETCH(QString, trideni);
        const Zona z(zona);
        const Jazyk j(locale);
        db::Query q(&c);
        q.setSql(QStringLiteral("select * from t"));
        q.open();
        if (!trideni.isEmpty()) q.setSort(trideni);
        auto hledane = std::make_shared<QString>();
        q.setFilterText(hledane);
        const QStringList kroky = {
            "1",         "14",         "140",   "1",        "-",          "-1",
            "-0",        "0",          "12",    "12,",      "12,2",       "12.2",
            "E",         "E+",         "NOV",   "nová",     "novák",      "DVOŘ",
            "dvor",      "24.12.1990", "10:30", "2:30",     "28.03.2021", "2021-03-28 02:30",
            "3/28/2021", "AM",         "PM",    "neplatné", "0999",       "1/1/999",
            "Aé",        "A",          "",      "1",        "7",          "text",
            "14"};
        for (const QString& krok : kroky) {
            *hledane = QLocale().toUpper(krok);
            q.setFiltered(!krok.isEmpty());
            QCOMPARE(viditelne(q), krok.isEmpty() ? ocekavane(q, QString()) : ocekavane(q, krok));
        }
        // A new sort order keeps the rows found and shows them in its order.
        q.setSort(QStringLiteral("id DESC"));
        QCOMPARE(viditelne(q), ocekavane(q, QStringLiteral("14")));
        // Read again: the same rows from the new result.
        q.requery();
        QCOMPARE(viditelne(q), ocekavane(q, QStringLiteral("14")));
    }

    // The cases above must reach both ways of showing a date: those the program writes by hand
    // and those it reads and formats one by one.
    void datumyJakoFormaty() {
        const Zona z("Europe/Prague");
        db::Query q(&c);
        q.setSql(QStringLiteral("select id, dat from t order by id"));
        q.open();
        const QStringList texty = {"24.12.1990 10:30:00",
                                   "28.03.2021",  // no such hour in Prague: the day alone
                                   "28.03.2021",          "05.03.1980", "neplatné",
                                   "01.01.2020 8:05:09",  "01.01.0999", "31.10.2021 2:30:00",
                                   "24.12.1990 10:30:00"};
        for (int r = 0; r < q.recordCount(); ++r) {
            QCOMPARE(q.text(r, 1), texty.at(r));
            QVERIFY(q.storedRowContainsUpper(r, QLocale().toUpper(texty.at(r))));
        }
        QVERIFY(!q.storedRowContainsUpper(1, QStringLiteral("28.03.2021 2:30")));
    }
};

QTEST_MAIN(TestVysledek)
#include "tst_vysledek.moc"
