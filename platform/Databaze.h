#pragma once

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

// The local database in place of the original engine: one SQLite file opened by a Connection,
// statements run by Query objects bound to it. Every error is raised as Chyba carrying the
// engine's message text.
namespace db {

// The data type of a result column, as the windows and the grid need to know it.
enum class TypPole { Neznamy, Cele, Desetinne, Text, DatumCas };

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

    void beginTransaction();
    void commit();
    // Rolls back the open transaction; does nothing when none is open.
    void rollback();
    bool inTransaction() const;

    // Runs one statement that yields no rows. Understands the one statement form the engine
    // lacks: "alter table X add constraint N foreign key (c) references T (c)".
    void execute(const QString& sql);

    // Every later statement of this connection is interrupted, and fails, when it runs longer
    // than this many milliseconds (0: no limit). A file from elsewhere can hold a statement that
    // never ends, such as a view calling itself. Closing lifts the limit.
    void nastavLimitPrikazu(int ms) { m_limitPrikazuMs = ms; }
    int limitPrikazu() const { return m_limitPrikazuMs; }

    // The open database as the bytes of a database file.
    QByteArray image() const;

    sqlite3* handle() const { return m_db; }

private:
    void pridejCiziKlic(const QString& tabulka, const QString& nazev, const QString& sloupce,
                        const QString& odkazTabulka, const QString& odkazSloupce);
    void provedPrimo(const QString& sql);

    sqlite3* m_db = nullptr;
    QString m_soubor;
    int m_limitPrikazuMs = 0;
};

class Query;

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

    QString sql() const { return m_sql; }
    void setSql(const QString& sql) { m_sql = sql; }

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
    QString m_sql;
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

}  // namespace db
