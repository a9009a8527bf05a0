// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

#include "Chyba.h"

struct sqlite3;
struct sqlite3_stmt;

// The local database in place of the original engine: one SQLite file opened by a Connection,
// statements run by Query objects bound to it. Every error is raised as Chyba carrying the
// engine's message text.
namespace db {

// The data type of a result column, as the windows and the grid need to know it.
enum class TypPole { Neznamy, Cele, Desetinne, Text, DatumCas };

// One value of a statement, bound to its placeholder "?" instead of being spliced into the text.
// It is made by the rules of the quoting helpers (SqlHodnoty.h), refuses what they refuse, and
// the engine stores from it exactly what it would store from their literal: a whole number as
// that number, a number with a fraction as the engine reads the literal's fifteen significant
// digits, a date as its ISO text.
class Hodnota {
public:
    // Sql::text: any text; a text holding a zero character raises Chyba.
    static Hodnota text(const QString& text);
    // The same for a text given in UTF-8, as the engine gives it: exactly what text() makes of
    // QString::fromUtf8 of the bytes (a malformed sequence becomes U+FFFD, a leading byte order
    // mark goes).
    static Hodnota textUtf8(QByteArrayView utf8);
    // Sql::textNeboNull: null for an empty text.
    static Hodnota textNeboNull(const QString& text);
    // Sql::number of a text: the user's decimal separator or a point; null for an empty text;
    // a text that is not a number raises Chyba.
    static Hodnota cislo(const QString& text);
    static Hodnota cislo(qint64 cislo);
    // A number that is not finite raises Chyba.
    static Hodnota cislo(double cislo);
    // Sql::date, Sql::dateTime: the ISO text; null for an invalid value.
    static Hodnota datum(const QDate& datum);
    static Hodnota datumCas(const QDateTime& cas);
    static Hodnota null();

    // The literal the quoting helpers make of the value ('O''Brien', 312.5, null, '2016-03-05'),
    // which the statement's text shows in the placeholder's place.
    QString literal() const;

    enum class Druh : quint8 { Null, Cele, Realne, Text };
    Druh druh() const { return m_druh; }
    qint64 cele() const { return m_cele; }
    double realne() const { return m_realne; }
    // A text in UTF-8, the database's own encoding.
    const QByteArray& utf8() const { return m_utf8; }

private:
    Druh m_druh = Druh::Null;
    bool m_zTextu = false;  // made from a QString, which m_text holds
    qint64 m_cele = 0;
    double m_realne = 0;
    QByteArray m_utf8;
    QString m_text;
};

// A statement: its text with a placeholder "?" where each value goes, and the values in the
// order of their placeholders. The statement's text keeps the shape it has with the values
// spliced in; text() gives it so, for the error log and the messages. A statement with values is
// prepared once per connection and used again, with the next values bound.
class Prikaz {
public:
    Prikaz() = default;
    // A text alone is a statement without values.
    Prikaz(const QString& sql) : m_sql(sql) {}
    Prikaz(const QString& sql, QVector<Hodnota> hodnoty)
        : m_sql(sql), m_hodnoty(std::move(hodnoty)) {}

    const QString& sql() const { return m_sql; }
    const QVector<Hodnota>& hodnoty() const { return m_hodnoty; }
    // The text with every placeholder "?" (outside quotes and comments) replaced by the next
    // value's literal; without values the text as it stands.
    QString text() const;

private:
    QString m_sql;
    QVector<Hodnota> m_hodnoty;
};

class Query;

class Connection {
public:
    enum class Rezim {
        Vyhradni,  // read and write; the file is locked against every other process at open
        JenCteni   // read only, no lock of its own
    };

    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing file. The exclusive mode takes the lock at once, so a second process
    // fails here (not later in the middle of work); both modes read the file once, so a file
    // that is not a database fails here too. Never creates or changes the file on failure.
    void open(const QString& soubor, Rezim rezim);
    // Opens a database held in memory from the image of a database file (the bytes image()
    // gives), read only. An image that is not a database fails here.
    void openImage(const QByteArray& obraz);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString fileName() const { return m_soubor; }
    // The engine has the open file read only: asked for it, or the file, its disk or the user's
    // rights allow no more (the engine then opens it so without a word).
    bool jenProCteni() const;

    void beginTransaction();
    void commit();
    // Rolls back the open transaction; does nothing when none is open.
    void rollback();
    bool inTransaction() const;

    // Runs one statement that yields no rows. Understands the one statement form the engine
    // lacks: "alter table X add constraint N foreign key (c) references T (c)".
    void execute(const QString& sql);
    // The same for a statement with values, bound to its placeholders.
    void execute(const Prikaz& prikaz);

    // Every later statement of this connection is interrupted, and fails, when it runs longer
    // than this many milliseconds (0: no limit). A file from elsewhere can hold a statement that
    // never ends, such as a view calling itself. Closing lifts the limit.
    void nastavLimitPrikazu(int ms) { m_limitPrikazuMs = ms; }
    int limitPrikazu() const { return m_limitPrikazuMs; }

    // The open database as the bytes of a database file.
    QByteArray image() const;
    // Copies the open database, as one consistent state, into a new database file soubor with
    // the engine's online backup, while the connection stays open and usable. soubor must not
    // exist yet; it is written with full synchronisation. Raises Chyba; a file begun is then
    // removed.
    void zalohujDo(const QString& soubor) const;

    sqlite3* handle() const { return m_db; }

    // The statements with values this connection keeps prepared (defined in Databaze.cpp).
    struct Pripravene;

private:
    friend class Query;
    friend class Radky;

    void pridejCiziKlic(const QString& tabulka, const QString& nazev, const QString& sloupce,
                        const QString& odkazTabulka, const QString& odkazSloupce);
    void provedPrimo(const QString& sql);
    void zahodPripravene();

    sqlite3* m_db = nullptr;
    QString m_soubor;
    int m_limitPrikazuMs = 0;
    std::unique_ptr<Pripravene> m_pripravene;
};

// A view on one field of the query's current row.
class Field {
public:
    Field(const Query* q, int sloupec, int radek) : m_q(q), m_sloupec(sloupec), m_radek(radek) {}
    QString name() const;
    TypPole dataType() const;
    bool isNull() const;
    QVariant value() const;
    // The value as the user sees it: dates in the short date format (with the time unless it
    // is midnight), numbers with the user's decimal separator, null as an empty text.
    QString asString() const;
    // Null gives 0; a text that is not a whole number raises Chyba.
    qint64 asInteger() const;
    double asFloat() const;
    QDateTime asDateTime() const;

private:
    const Query* m_q;
    int m_sloupec;
    int m_radek;  // index into the stored rows; -1 when there is no current row
};

// A statement text and its result, read whole into memory when opened (a static cursor):
// record number, row count, navigation, fields by name, a sort expression, a row filter and
// locate all work on that copy.
class Query : public QObject {
    Q_OBJECT
public:
    using Predikat = std::function<bool(const Query&, int radek)>;

    explicit Query(Connection* spojeni = nullptr, QObject* parent = nullptr);

    Connection* connection() const { return m_spojeni; }
    void setConnection(Connection* spojeni) { m_spojeni = spojeni; }

    // The statement's text (with its placeholders when it has values).
    QString sql() const { return m_prikaz.sql(); }
    // A statement without values.
    void setSql(const QString& sql) { m_prikaz = Prikaz(sql); }
    // A statement with values bound to its placeholders.
    void setPrikaz(const Prikaz& prikaz) { m_prikaz = prikaz; }
    const Prikaz& prikaz() const { return m_prikaz; }

    // Runs the select and stands on its first row.
    void open();
    // Runs a statement that yields no rows.
    void execSql();
    // Drops the result and the sort expression; the filter switch and predicate stay.
    void close();
    bool isOpen() const { return m_otevreno; }
    // Runs the same statement again, keeping sort and filter.
    void requery();

    // Rows after the filter.
    int recordCount() const;
    // Current record number from 1; 0 without rows.
    int recNo() const;
    void setRecNo(int cislo);
    void first();
    void last();
    void next();
    void prior();
    bool eof() const;
    bool bof() const;

    int fieldCount() const { return m_sloupce.size(); }
    QStringList fieldNames() const;
    int fieldIndex(const QString& nazev) const;
    Field field(int sloupec) const;
    // Raises Chyba when the query is closed or has no such field.
    Field fieldByName(const QString& nazev) const;

    // "a, b DESC": sorts the open result and stands on its first row; an empty text restores
    // the order of the statement.
    QString sort() const { return m_trideni; }
    void setSort(const QString& vyraz);

    void setFilterPredicate(Predikat p);
    bool hasFilterPredicate() const { return static_cast<bool>(m_predikat); }
    bool filtered() const { return m_filtrovano; }
    void setFiltered(bool zapnout);

    // Moves to the first row whose fields equal the values; texts compare without regard to
    // case and, with castecne, by leading part. Returns whether a row was found.
    bool locate(const QStringList& pole, const QVariantList& hodnoty, bool castecne = true);

    // Direct access for views: row i of the visible (sorted, filtered) rows.
    QVariant value(int viditelnyRadek, int sloupec) const;
    QString text(int viditelnyRadek, int sloupec) const;
    TypPole fieldType(int sloupec) const { return m_typy.value(sloupec, TypPole::Neznamy); }
    QString fieldName(int sloupec) const { return m_sloupce.value(sloupec); }

    // Access for the filter predicate and Field: a stored row by its index.
    QVariant storedValue(int radek, int sloupec) const;
    QString storedText(int radek, int sloupec) const;
    int currentStoredRow() const;
    // Whether any field of the stored row, as the text the user sees turned to upper case by
    // the locale's rules, contains the given (already upper-cased) text. The texts are made
    // once per result, when first needed, and kept until the result is read again.
    bool storedRowContainsUpper(int radek, const QString& hledaneVelke) const;
    // The row filter of a search: a row is accepted when storedRowContainsUpper holds for it
    // with the text that hledaneVelke holds when the filter runs. Unlike an arbitrary predicate
    // the query knows what it looks for: when the text extends the one it filtered by last, it
    // tests only the rows found then, and a new sort order needs no new test.
    void setFilterText(std::shared_ptr<const QString> hledaneVelke);

signals:
    // The result changed as a whole: opened, closed, sorted or filtered.
    void resetNastal();
    // The current record moved.
    void poziceZmenena();

private:
    // One field of the result, stored column by column: each row's kind of value and the
    // value itself. A text is kept once per distinct value of the field and the rows point to
    // it: lists repeat their texts a lot (towns, dates, account numbers), and a row of QVariants
    // would cost several times the memory.
    enum Druh : quint8 { d_Null, d_Cele, d_Realne, d_Text, d_Blob };
    struct SloupecDat {
        std::vector<quint8> druh;
        // The whole number, the bits of the real number, or the index into texty or bloby.
        std::vector<qint64> hodnota;
        std::vector<QString> texty;
        std::vector<QByteArray> bloby;
    };
    // What a search needs of one field, made on its first search: the shown text of each
    // distinct text, real number and binary value in upper case, and which of them hold the
    // text searched for last. Whole numbers are tested as their digits, when the text searched
    // for can be part of a number at all.
    struct HledaniSloupce {
        std::vector<QString> texty;
        std::vector<QString> bloby;
        std::vector<QString> realna;
        std::vector<int> indexRealneho;  // per stored row, into realna; empty without reals
        std::vector<char> shodaTextu;
        std::vector<char> shodaBlobu;
        std::vector<char> shodaRealneho;
    };

    void sestavViditelne();
    void vyzadujOtevreny() const;
    void nastavPozici(int pozice);
    double cisloBunky(int radek, int sloupec) const;
    void pripravHledani() const;
    void pripravShody(const QString& hledaneVelke) const;
    bool radekObsahuje(int radek) const;
    const std::vector<int>& poradiSloupce(int sloupec) const;

    Connection* m_spojeni;
    Prikaz m_prikaz;
    bool m_otevreno = false;
    QStringList m_sloupce;
    QVector<TypPole> m_typy;
    std::vector<SloupecDat> m_data;
    int m_pocetRadku = 0;
    std::vector<int> m_poradi;     // indexes of stored rows in sort order, before the filter
    std::vector<int> m_viditelne;  // indexes of stored rows in visible order

    // The search's state, valid until the result is read again.
    mutable std::vector<HledaniSloupce> m_hledani;  // empty until the first search
    mutable QString m_shodyPro;                     // the text the match flags are for
    mutable bool m_shodyPlatne = false;
    mutable bool m_hledanyJakoCislo = false;  // the text can be part of a whole number's digits
    mutable QByteArray m_hledanyAscii;
    // Per stored row, whether it holds m_radkyPro; valid when m_radkyPlatne.
    std::vector<char> m_shodaRadku;
    QString m_radkyPro;
    bool m_radkyPlatne = false;

    // Per field, built at its first sort: each stored row's rank in the field's order (equal
    // values share a rank); empty when not built. A field mixing numbers and texts has none.
    mutable std::vector<std::vector<int>> m_poradiSloupcu;
    mutable std::vector<bool> m_poradiSpocteno;
    int m_pozice = -1;  // index into m_viditelne
    bool m_eof = true;
    bool m_bof = true;
    QString m_trideni;
    bool m_filtrovano = false;
    Predikat m_predikat;
    std::shared_ptr<const QString> m_filtrTextu;  // set when the predicate is a search's
};

// The rows of a select read one at a time, as the engine gives them, none of them kept: for a
// statement whose rows are each used once, in order, such as a copy of many rows. Field values
// are read as the engine holds them; value() gives what Field::value() of a Query would.
class Radky {
public:
    enum class Druh { Null, Cele, Realne, Text, Blob };

    explicit Radky(Connection* spojeni) : m_spojeni(spojeni) {}
    ~Radky();
    Radky(const Radky&) = delete;
    Radky& operator=(const Radky&) = delete;

    // Runs the statement and stands on its first row; raises Chyba as Query::open does.
    void open(const Prikaz& prikaz);
    // Moves to the next row; raises Chyba when the engine fails on the way.
    void next();
    bool eof() const { return m_eof; }
    bool isOpen() const { return static_cast<bool>(m_beh); }
    void close();
    const Prikaz& prikaz() const { return m_prikaz; }

    // The field of that name (without regard to case); raises Chyba as Query::fieldByName.
    int fieldIndex(const QString& nazev);
    Druh druh(int sloupec) const;
    qint64 cele(int sloupec) const;
    double realne(int sloupec) const;
    // A text field's bytes, valid until the next row.
    QByteArrayView utf8(int sloupec) const;
    QVariant value(int sloupec) const;

private:
    Connection* m_spojeni;
    Prikaz m_prikaz;
    std::shared_ptr<void> m_beh;  // the run going on
    sqlite3_stmt* m_stmt = nullptr;
    bool m_eof = true;
    QStringList m_sloupce;  // the fields' names, read at the first lookup
};

}  // namespace db
