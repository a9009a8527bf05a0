// SPDX-License-Identifier: GPL-3.0-or-later
#include <QThread>
#include <QtTest>
#include <functional>

#include "Chyba.h"
#include "Jadro.h"
#include "SqlHodnoty.h"

// Statements with values bound to their placeholders (db::Hodnota, db::Prikaz, db::Radky): each
// value shows in the statement's text as the literal the quoting helpers make of it, and the
// engine stores from it exactly what it stores from that literal spliced into the text.
namespace {

using db::Hodnota;

struct Pripad {
    const char* nazev;
    std::function<Hodnota()> hodnota;
    std::function<QString()> literal;  // the quoting helper's literal of the same value
};

const QVector<Pripad>& pripady() {
    static const QVector<Pripad> p = {
        {"text with apostrophes", [] { return Hodnota::text(QStringLiteral("O'Brien ''x''")); },
         [] { return Sql::text(QStringLiteral("O'Brien ''x''")); }},
        {"empty text", [] { return Hodnota::text(QString()); },
         [] { return Sql::text(QString()); }},
        {"Czech letters and a question mark",
         [] { return Hodnota::text(QStringLiteral("Kaprová – revír „U Jezu“?")); },
         [] { return Sql::text(QStringLiteral("Kaprová – revír „U Jezu“?")); }},
        {"empty text or null", [] { return Hodnota::textNeboNull(QString()); },
         [] { return Sql::textNeboNull(QString()); }},
        {"text or null", [] { return Hodnota::textNeboNull(QStringLiteral("a'b")); },
         [] { return Sql::textNeboNull(QStringLiteral("a'b")); }},
        {"amount with a decimal comma", [] { return Hodnota::cislo(QStringLiteral("312,5")); },
         [] { return Sql::number(QStringLiteral("312,5")); }},
        {"amount with a decimal point", [] { return Hodnota::cislo(QStringLiteral("0.05")); },
         [] { return Sql::number(QStringLiteral("0.05")); }},
        {"whole number in blanks", [] { return Hodnota::cislo(QStringLiteral(" 17 ")); },
         [] { return Sql::number(QStringLiteral(" 17 ")); }},
        {"signed numbers", [] { return Hodnota::cislo(QStringLiteral("+5")); },
         [] { return Sql::number(QStringLiteral("+5")); }},
        {"negative amount", [] { return Hodnota::cislo(QStringLiteral("-1200,75")); },
         [] { return Sql::number(QStringLiteral("-1200,75")); }},
        {"empty number is null", [] { return Hodnota::cislo(QString()); },
         [] { return Sql::number(QString()); }},
        {"eighteen digits", [] { return Hodnota::cislo(QStringLiteral("123456789012345678")); },
         [] { return Sql::number(QStringLiteral("123456789012345678")); }},
        {"nineteen digits", [] { return Hodnota::cislo(QStringLiteral("1234567890123456789")); },
         [] { return Sql::number(QStringLiteral("1234567890123456789")); }},
        {"largest whole number", [] { return Hodnota::cislo(std::numeric_limits<qint64>::max()); },
         [] { return Sql::number(std::numeric_limits<qint64>::max()); }},
        {"real amount", [] { return Hodnota::cislo(312.55); }, [] { return Sql::number(312.55); }},
        // The engine reads this literal one bit away from the nearest double.
        {"fifteen digits the engine reads its way", [] { return Hodnota::cislo(479697.841809259); },
         [] { return Sql::number(479697.841809259); }},
        {"sum with a long fraction", [] { return Hodnota::cislo(0.1 + 0.2); },
         [] { return Sql::number(0.1 + 0.2); }},
        {"exponent", [] { return Hodnota::cislo(1e20); }, [] { return Sql::number(1e20); }},
        {"real that is whole", [] { return Hodnota::cislo(1200.0); },
         [] { return Sql::number(1200.0); }},
        {"negative zero", [] { return Hodnota::cislo(-0.0); }, [] { return Sql::number(-0.0); }},
        {"date", [] { return Hodnota::datum(QDate(2016, 3, 5)); },
         [] { return Sql::date(QDate(2016, 3, 5)); }},
        {"no date", [] { return Hodnota::datum(QDate()); }, [] { return Sql::date(QDate()); }},
        {"date and time",
         [] { return Hodnota::datumCas(QDateTime(QDate(2016, 3, 5), QTime(9, 7, 3))); },
         [] { return Sql::dateTime(QDateTime(QDate(2016, 3, 5), QTime(9, 7, 3))); }},
        {"null", [] { return Hodnota::null(); }, [] { return Sql::null(); }},
    };
    return p;
}

// A value as the engine holds it, to the last bit of a real number.
const QString kPresne = QStringLiteral(
    "typeof(%1) || ':' || case typeof(%1) when 'real' then printf('%.17e', %1) else quote(%1) "
    "end");

}  // namespace

class TestPrikazy : public QObject {
    Q_OBJECT

    std::unique_ptr<Jadro::NovaRelace> r;

    db::Connection& c() { return r->relace.spojeni; }

private slots:
    void initTestCase() { Jadro::pripravProstredi(); }
    void init() {
        r = std::make_unique<Jadro::NovaRelace>();
        r->proved(QStringLiteral(
            "create table t (n numeric(12,2), s varchar(50), d datetime, x, poradi integer)"));
    }
    void cleanup() { r.reset(); }

    // ------------------------------------------------------------ one value of each kind

    void hodnota_data() {
        QTest::addColumn<int>("pripad");
        for (int i = 0; i < pripady().size(); ++i) QTest::newRow(pripady()[i].nazev) << i;
    }
    void hodnota() {
        QFETCH(int, pripad);
        const Pripad& p = pripady()[pripad];
        const Hodnota h = p.hodnota();
        const QString literal = p.literal();
        QCOMPARE(h.literal(), literal);
        const db::Prikaz vloz(
            QStringLiteral("insert into t (n, s, d, x, poradi) values (?, ?, ?, ?, ?)"),
            {h, h, h, h, Hodnota::cislo(qint64(1))});
        QCOMPARE(vloz.text(), QStringLiteral("insert into t (n, s, d, x, poradi) values (%1, %1, "
                                             "%1, %1, 1)")
                                  .arg(literal));
        // Stored in columns of every kind and read in an expression: the same as the literal.
        c().execute(vloz);
        c().execute(QStringLiteral("insert into t (n, s, d, x, poradi) values (%1, %1, %1, %1, 2)")
                        .arg(literal));
        QStringList sloupce;
        for (const char* s : {"n", "s", "d", "x"}) sloupce << kPresne.arg(QLatin1String(s));
        const QStringList ulozene =
            r->radky(QStringLiteral("select %1 from t order by poradi").arg(sloupce.join(", ")));
        QCOMPARE(ulozene.size(), 2);
        QCOMPARE(ulozene[0], ulozene[1]);
        db::Query q(&c());
        const QString vyraz = QStringLiteral("select ") + kPresne.arg(QStringLiteral("v")) +
                              QStringLiteral(" from (select %1 as v)");
        q.setPrikaz({vyraz.arg(QStringLiteral("?")), {h}});
        q.open();
        QCOMPARE(q.field(0).asString(), r->jedna(vyraz.arg(literal)));
    }

    // A value the quoting helpers refuse is refused with the same reason.
    void odmitnuti_data() {
        QTest::addColumn<int>("druh");
        QTest::addColumn<QString>("text");
        QTest::newRow("text with a zero character") << 0 << QStringLiteral("a") + QChar(0) + "b";
        QTest::newRow("not a number") << 1 << QStringLiteral("abc");
        QTest::newRow("blank group separator") << 1 << QStringLiteral("1 200");
        QTest::newRow("infinite") << 2 << QString();
    }
    void odmitnuti() {
        QFETCH(int, druh);
        QFETCH(QString, text);
        auto duvod = [](const std::function<void()>& f) {
            try {
                f();
            } catch (const Chyba& e) {
                return e.zprava();
            }
            return QStringLiteral("<nic>");
        };
        const double nekonecno = std::numeric_limits<double>::infinity();
        const QString helper = duvod([&] {
            if (druh == 0) Sql::text(text);
            if (druh == 1) Sql::number(text);
            if (druh == 2) Sql::number(nekonecno);
        });
        QVERIFY(helper != QStringLiteral("<nic>"));
        QCOMPARE(duvod([&] {
                     if (druh == 0) Hodnota::text(text);
                     if (druh == 1) Hodnota::cislo(text);
                     if (druh == 2) Hodnota::cislo(nekonecno);
                 }),
                 helper);
    }

    // Texts as the engine gives them in UTF-8 are taken as QString::fromUtf8 reads them: a
    // malformed sequence becomes U+FFFD, a leading byte order mark goes, and the rest stays.
    void textUtf8_data() {
        QTest::addColumn<QByteArray>("bajty");
        QTest::newRow("ASCII") << QByteArray("Brigady 'x'");
        QTest::newRow("Czech") << QByteArray("Kaprov\xc3\xa1 \xe2\x80\x93 rev\xc3\xadr");
        QTest::newRow("four bytes") << QByteArray("ryba \xf0\x9f\x90\x9f");
        QTest::newRow("noncharacter") << QByteArray("\xef\xbf\xbf");
        QTest::newRow("byte order mark first") << QByteArray(
            "\xef\xbb\xbf"
            "abc");
        QTest::newRow("byte order mark later") << QByteArray(
            "a\xef\xbb\xbf"
            "bc");
        QTest::newRow("overlong") << QByteArray("a\xc0\x80z");
        QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80");
        QTest::newRow("above U+10FFFF") << QByteArray("\xf4\x90\x80\x80");
        QTest::newRow("cut short") << QByteArray("ab\xe2\x82");
        QTest::newRow("lone continuation") << QByteArray("\x80x");
        QTest::newRow("F5") << QByteArray("\xf5\x80\x80\x80");
    }
    void textUtf8() {
        QFETCH(QByteArray, bajty);
        const Hodnota rychle = Hodnota::textUtf8(bajty);
        const Hodnota pomalu = Hodnota::text(QString::fromUtf8(bajty));
        QCOMPARE(rychle.literal(), pomalu.literal());
        QCOMPARE(rychle.utf8(), pomalu.utf8());
        db::Query q(&c());
        q.setPrikaz({QStringLiteral("select hex(?)"), {rychle}});
        q.open();
        QCOMPARE(q.field(0).asString(), QString::fromLatin1(pomalu.utf8().toHex().toUpper()));
    }
    void textUtf8SNulou() {
        try {
            Hodnota::textUtf8(QByteArray("a\0b", 3));
            QFAIL("a zero character was taken");
        } catch (const Chyba& e) {
            QCOMPARE(e.zprava(), QStringLiteral("Hodnota obsahuje nulový znak a nelze ji uložit."));
        }
    }

    // ------------------------------------------------------------ statements

    // Only placeholders outside quoted texts, quoted names and comments take values.
    void textPrikazu_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("hodnot");
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes and comments")
            << "select '?', \"a?\", [b?], `c?`, ? -- ?\n, ? /* ? */ from t" << 2
            << "select '?', \"a?\", [b?], `c?`, 1 -- ?\n, 'x' /* ? */ from t";
        QTest::newRow("doubled apostrophe") << "select 'it''s ?', ?" << 1 << "select 'it''s ?', 1";
        QTest::newRow("fewer values than places") << "select ?, ?" << 1 << "select 1, ?";
        QTest::newRow("no values") << "select '?' where 1 = ?" << 0 << "select '?' where 1 = ?";
    }
    void textPrikazu() {
        QFETCH(QString, sql);
        QFETCH(int, hodnot);
        QFETCH(QString, text);
        const QVector<Hodnota> h = {Hodnota::cislo(qint64(1)), Hodnota::text(QStringLiteral("x"))};
        QCOMPARE(db::Prikaz(sql, h.mid(0, hodnot)).text(), text);
    }

    void pocetHodnot() {
        try {
            c().execute(db::Prikaz(QStringLiteral("insert into t (n, s) values (?, ?)"),
                                   {Hodnota::cislo(qint64(1))}));
            QFAIL("a place was left without a value");
        } catch (const Chyba& e) {
            QCOMPARE(e.zprava(),
                     QStringLiteral("Příkaz SQL má 2 míst pro hodnoty, dostal jich 1."));
        }
        QCOMPARE(r->jedna(QStringLiteral("select count(*) from t")), QStringLiteral("0"));
    }

    // One statement text run again and again with other values, a failed run in between, and
    // a change of its table: every run does what its values say.
    void opakovanyPrikaz() {
        r->proved(QStringLiteral("create unique index u on t (poradi)"));
        const QString vloz = QStringLiteral("insert into t (s, poradi) values (?, ?)");
        for (int i = 0; i < 500; ++i)
            c().execute(db::Prikaz(
                vloz, {Hodnota::text(QString::number(i * 7)), Hodnota::cislo(qint64(i))}));
        try {
            c().execute(db::Prikaz(
                vloz, {Hodnota::text(QStringLiteral("dvakrát")), Hodnota::cislo(qint64(3))}));
            QFAIL("a duplicate was stored");
        } catch (const Chyba& e) {
            QCOMPARE(e.zprava(), QStringLiteral("UNIQUE constraint failed: t.poradi"));
        }
        c().execute(db::Prikaz(
            vloz, {Hodnota::text(QStringLiteral("po chybě")), Hodnota::cislo(qint64(500))}));
        QCOMPARE(r->jedna(QStringLiteral("select count(*) || ':' || sum(poradi) from t")),
                 QStringLiteral("501:125250"));
        QCOMPARE(r->jedna(QStringLiteral("select s from t where poradi = 499")),
                 QStringLiteral("3493"));
        QCOMPARE(r->jedna(QStringLiteral("select s from t where poradi = 500")),
                 QStringLiteral("po chybě"));

        db::Query q(&c());
        q.setPrikaz(
            {QStringLiteral("select * from t where poradi = ?"), {Hodnota::cislo(qint64(7))}});
        q.open();
        QCOMPARE(q.fieldCount(), 5);
        r->proved(QStringLiteral("alter table t add column novy"));
        q.requery();
        QCOMPARE(q.fieldCount(), 6);
        QCOMPARE(q.fieldByName(QStringLiteral("s")).asString(), QStringLiteral("49"));
        r->proved(QStringLiteral("drop table t"));
        try {
            q.open();
            QFAIL("a dropped table was read");
        } catch (const Chyba& e) {
            QCOMPARE(e.zprava(), QStringLiteral("no such table: t"));
        }
    }

    // Rows read one at a time give the values a query gives, and the same statement may run
    // again while its rows are being read.
    void radky() {
        r->proved(QStringLiteral(
            "insert into t (n, s, d, x, poradi) values (312.5, 'a''b', '2016-03-05 09:07:03', "
            "x'00ff', 1), (7, null, null, 1.0, 2), (null, 'Ž', '2016-03-05', 'text', 3)"));
        const db::Prikaz dotaz(QStringLiteral("select * from t where poradi >= ? order by poradi"),
                               {Hodnota::cislo(qint64(1))});
        db::Query q(&c());
        q.setPrikaz(dotaz);
        q.open();
        db::Radky radky(&c());
        radky.open(dotaz);
        int pocet = 0;
        for (q.first(); !q.eof(); q.next(), radky.next()) {
            QVERIFY(!radky.eof());
            for (int i = 0; i < q.fieldCount(); ++i) QCOMPARE(radky.value(i), q.field(i).value());
            // The same text while its rows are read: a run of its own.
            db::Query vnitrni(&c());
            vnitrni.setPrikaz(dotaz);
            vnitrni.open();
            QCOMPARE(vnitrni.recordCount(), 3);
            ++pocet;
        }
        QCOMPARE(pocet, 3);
        QVERIFY(radky.eof());
        radky.open(dotaz);
        QCOMPARE(radky.fieldIndex(QStringLiteral("POradi")), 4);
        try {
            radky.fieldIndex(QStringLiteral("neni"));
            QFAIL("an unknown field was found");
        } catch (const Chyba& e) {
            QCOMPARE(e.zprava(), QStringLiteral("Pole 'neni' nebylo nalezeno."));
        }
        radky.open(
            {QStringLiteral("select * from t where poradi > ?"), {Hodnota::cislo(qint64(9))}});
        QVERIFY(radky.eof());
    }

    // The time limit counts the engine's work on a statement, not the reader's between rows.
    void limitPrikazu() {
        c().nastavLimitPrikazu(200);
        for (int i = 1; i <= 3; ++i)
            c().execute(db::Prikaz(QStringLiteral("insert into t (poradi) values (?)"),
                                   {Hodnota::cislo(qint64(i))}));
        db::Radky radky(&c());
        radky.open(
            {QStringLiteral("select poradi from t where poradi > ?"), {Hodnota::cislo(qint64(0))}});
        int pocet = 0;
        for (; !radky.eof(); radky.next()) {
            QThread::msleep(150);
            ++pocet;
        }
        QCOMPARE(pocet, 3);
        try {
            radky.open({QStringLiteral("with recursive r(n) as (select 1 union all select n + 1 "
                                       "from r where n < ?) select count(*) from r"),
                        {Hodnota::cislo(qint64(1e12))}});
            QFAIL("the statement was not interrupted");
        } catch (const Chyba& e) {
            QCOMPARE(e.zprava(), QStringLiteral("Příkaz SQL nebyl dokončen do 1 s, byl přerušen."));
        }
    }
};

int main(int argc, char** argv) {
    QCoreApplication aplikace(argc, argv);
    TestPrikazy t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_prikazy.moc"
