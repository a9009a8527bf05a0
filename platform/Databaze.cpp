#include "Databaze.h"

#include <sqlite3.h>

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cstring>
#include <numeric>

#include "Formaty.h"
#include "Hodiny.h"

namespace db {

namespace {

QString zpravaSqlite(sqlite3* db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// One prepared statement that finalizes itself.
class Prikaz {
public:
    Prikaz(sqlite3* db, const QString& sql) : m_db(db) {
        const QByteArray utf8 = sql.toUtf8();
        const char* zbytek = nullptr;
        if (sqlite3_prepare_v2(db, utf8.constData(), utf8.size(), &m_stmt, &zbytek) != SQLITE_OK)
            throw Chyba(zpravaSqlite(db));
        if (!m_stmt) throw Chyba(QStringLiteral("Prázdný příkaz SQL."));
        // One statement per text: whatever follows the first statement is refused rather
        // than run, so a text can never smuggle in a second statement.
        if (zbytek && !QByteArray(zbytek).trimmed().isEmpty() &&
            QByteArray(zbytek).trimmed() != ";") {
            sqlite3_finalize(m_stmt);
            m_stmt = nullptr;
            throw Chyba(QStringLiteral("Příkaz SQL smí obsahovat jen jeden příkaz."));
        }
    }
    ~Prikaz() { sqlite3_finalize(m_stmt); }
    Prikaz(const Prikaz&) = delete;
    Prikaz& operator=(const Prikaz&) = delete;

    // True while a row is available.
    bool krok() {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        throw Chyba(zpravaSqlite(m_db));
    }
    sqlite3_stmt* stmt() const { return m_stmt; }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

void textVysledku(sqlite3_context* ctx, const QString& text) {
    const QByteArray b = text.toUtf8();
    sqlite3_result_text(ctx, b.constData(), b.size(), SQLITE_TRANSIENT);
}

// now(): the local date and time of the program's clock.
void fnNow(sqlite3_context* ctx, int, sqlite3_value**) {
    textVysledku(ctx, Hodiny::ted().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

// date() without arguments: the local date of the program's clock (the engine's own date()
// would give the UTC date); date(x, ...) keeps the engine's meaning.
void fnDate(sqlite3_context* ctx, int, sqlite3_value**) {
    textVysledku(ctx, Hodiny::dnes().toString(QStringLiteral("yyyy-MM-dd")));
}

TypPole typZDeklarace(const char* deklarace) {
    if (!deklarace) return TypPole::Neznamy;
    const QString d = QString::fromUtf8(deklarace).toLower();
    if (d.contains(QLatin1String("date")) || d.contains(QLatin1String("time")))
        return TypPole::DatumCas;
    if (d.contains(QLatin1String("char")) || d.contains(QLatin1String("text")) ||
        d.contains(QLatin1String("clob")) || d.contains(QLatin1String("memo")))
        return TypPole::Text;
    if (d.contains(QLatin1String("real")) || d.contains(QLatin1String("floa")) ||
        d.contains(QLatin1String("doub")) || d.contains(QLatin1String("money")) ||
        d.contains(QLatin1String("currency")))
        return TypPole::Desetinne;
    static const QRegularExpression sMeritkem(
        QStringLiteral("(numeric|decimal)\\s*\\(\\s*\\d+\\s*,\\s*(\\d+)\\s*\\)"));
    const auto m = sMeritkem.match(d);
    if (m.hasMatch()) return m.captured(2).toInt() > 0 ? TypPole::Desetinne : TypPole::Cele;
    if (d.contains(QLatin1String("int")) || d.contains(QLatin1String("numeric")) ||
        d.contains(QLatin1String("decimal")))
        return TypPole::Cele;
    return TypPole::Neznamy;
}

TypPole typZHodnoty(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::LongLong:
            return TypPole::Cele;
        case QMetaType::Double:
            return TypPole::Desetinne;
        case QMetaType::QString:
            return TypPole::Text;
        default:
            return TypPole::Neznamy;
    }
}

QVariant hodnotaSloupce(sqlite3_stmt* s, int i) {
    switch (sqlite3_column_type(s, i)) {
        case SQLITE_INTEGER:
            return QVariant(static_cast<qlonglong>(sqlite3_column_int64(s, i)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(s, i));
        case SQLITE_TEXT:
            return QVariant(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, i)),
                                  sqlite3_column_bytes(s, i)));
        case SQLITE_BLOB:
            return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(s, i)),
                                       sqlite3_column_bytes(s, i)));
        default:
            return QVariant();
    }
}

QDateTime naDatumCas(const QVariant& v) {
    if (v.isNull()) return QDateTime();
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString();
        QDateTime dt = QDateTime::fromString(t, Qt::ISODate);
        if (!dt.isValid()) dt = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        if (!dt.isValid()) {
            const QDate d = QDate::fromString(t, Qt::ISODate);
            if (d.isValid()) dt = QDateTime(d, QTime(0, 0));
        }
        return dt;
    }
    return QDateTime();
}

QString textHodnoty(const QVariant& v, TypPole typ) {
    if (v.isNull()) return QString();
    switch (v.typeId()) {
        case QMetaType::LongLong:
            return QString::number(v.toLongLong());
        case QMetaType::Double:
            return Formaty::cislo(v.toDouble());
        case QMetaType::QString:
            if (typ == TypPole::DatumCas) {
                const QDateTime dt = naDatumCas(v);
                if (dt.isValid()) return Formaty::datumCas(dt);
            }
            return v.toString();
        default:
            return v.toString();
    }
}

// Upper case by the locale's rules. Only a few languages have casing rules of their own; for
// all others the general Unicode mapping gives the same result much faster.
QString velkymiPismeny(const QString& text) {
    const QLocale locale;
    switch (locale.language()) {
        case QLocale::Turkish:
        case QLocale::Azerbaijani:
        case QLocale::Lithuanian:
            return locale.toUpper(text);
        default:
            return text.toUpper();
    }
}

bool jeCislo(const QVariant& v) {
    return v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Double ||
           v.typeId() == QMetaType::Int;
}

}  // namespace

// ---------------------------------------------------------------- Connection

Connection::Connection() = default;

Connection::~Connection() {
    close();
}

void Connection::open(const QString& soubor, Rezim rezim) {
    close();
    const int priznaky = rezim == Rezim::Vyhradni ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(soubor.toUtf8().constData(), &db, priznaky, nullptr);
    if (rc != SQLITE_OK) {
        const QString zprava = db ? zpravaSqlite(db) : QStringLiteral("out of memory");
        sqlite3_close(db);
        throw Chyba(zprava);
    }
    m_db = db;
    m_soubor = soubor;
    try {
        sqlite3_busy_timeout(m_db, 0);
        sqlite3_create_function(m_db, "now", 0, SQLITE_UTF8, nullptr, fnNow, nullptr, nullptr);
        sqlite3_create_function(m_db, "date", 0, SQLITE_UTF8, nullptr, fnDate, nullptr, nullptr);
        if (rezim == Rezim::Vyhradni) {
            // The exclusive lock is taken by the first write transaction and kept until the
            // connection closes; the empty transaction takes it now. The rollback journal with
            // full synchronisation keeps every committed transaction across a killed process
            // or a power cut.
            provedPrimo(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
            provedPrimo(QStringLiteral("PRAGMA foreign_keys = ON"));
            provedPrimo(QStringLiteral("BEGIN EXCLUSIVE"));
            provedPrimo(QStringLiteral("COMMIT"));
            provedPrimo(QStringLiteral("PRAGMA journal_mode = DELETE"));
            provedPrimo(QStringLiteral("PRAGMA synchronous = FULL"));
        }
        // The first read: a file that is not a database, or one locked by another process,
        // fails here.
        Prikaz p(m_db, QStringLiteral("select count(*) from sqlite_master"));
        p.krok();
    } catch (const Chyba& e) {
        const bool zamceno =
            sqlite3_errcode(m_db) == SQLITE_BUSY || sqlite3_errcode(m_db) == SQLITE_LOCKED;
        sqlite3_close(m_db);
        m_db = nullptr;
        m_soubor.clear();
        if (zamceno)
            throw Chyba(QStringLiteral("soubor %1 je otevřen jiným programem (%2)")
                            .arg(soubor, e.zprava()));
        throw;
    }
}

void Connection::openImage(const QByteArray& obraz) {
    open(QStringLiteral(":memory:"), Rezim::Vyhradni);
    const auto velikost = static_cast<sqlite3_int64>(obraz.size());
    auto* kopie = static_cast<unsigned char*>(sqlite3_malloc64(qMax<sqlite3_uint64>(1, velikost)));
    if (!kopie) {
        close();
        throw Chyba(QStringLiteral("out of memory"));
    }
    memcpy(kopie, obraz.constData(), static_cast<size_t>(velikost));
    // The engine owns the copy from here on, whatever the result.
    const int rc =
        sqlite3_deserialize(m_db, "main", kopie, velikost, velikost,
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE);
    try {
        if (rc != SQLITE_OK) throw Chyba(zpravaSqlite(m_db));
        provedPrimo(QStringLiteral("PRAGMA query_only = ON"));
        Prikaz p(m_db, QStringLiteral("select count(*) from sqlite_master"));
        p.krok();
    } catch (const Chyba&) {
        close();
        throw;
    }
}

QByteArray Connection::image() const {
    if (!m_db) throw Chyba(QStringLiteral("Databáze není otevřena."));
    sqlite3_int64 velikost = 0;
    unsigned char* data = sqlite3_serialize(m_db, "main", &velikost, 0);
    // A database without a single page has no bytes at all.
    if (!data && velikost > 0) throw Chyba(QStringLiteral("out of memory"));
    if (!data) return QByteArray();
    const QByteArray obraz(reinterpret_cast<const char*>(data), static_cast<qsizetype>(velikost));
    sqlite3_free(data);
    return obraz;
}

void Connection::close() {
    if (!m_db) return;
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_soubor.clear();
}

void Connection::provedPrimo(const QString& sql) {
    if (!m_db) throw Chyba(QStringLiteral("Databáze není otevřena."));
    Prikaz p(m_db, sql);
    while (p.krok()) {
    }
}

void Connection::beginTransaction() {
    provedPrimo(QStringLiteral("BEGIN IMMEDIATE"));
}

void Connection::commit() {
    provedPrimo(QStringLiteral("COMMIT"));
}

void Connection::rollback() {
    if (inTransaction()) provedPrimo(QStringLiteral("ROLLBACK"));
}

bool Connection::inTransaction() const {
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

void Connection::execute(const QString& sql) {
    static const QRegularExpression pridejKlic(
        QStringLiteral("^\\s*alter\\s+table\\s+(\\w+)\\s+add\\s+constraint\\s+(\\w+)\\s+foreign\\s+"
                       "key\\s*\\(([^)]*)\\)\\s*references\\s+(\\w+)\\s*\\(([^)]*)\\)\\s*;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = pridejKlic.match(sql);
    if (m.hasMatch()) {
        pridejCiziKlic(m.captured(1), m.captured(2), m.captured(3), m.captured(4), m.captured(5));
        return;
    }
    provedPrimo(sql);
}

// The engine cannot add a constraint to an existing table, so the table is rebuilt with it:
// the engine's documented procedure of creating the new table, copying the rows, dropping the
// old one and renaming, all in one transaction, checked against the new key before commit.
void Connection::pridejCiziKlic(const QString& tabulka, const QString& nazev,
                                const QString& sloupce, const QString& odkazTabulka,
                                const QString& odkazSloupce) {
    if (!m_db) throw Chyba(QStringLiteral("Databáze není otevřena."));
    auto hledejSql = [this](const QString& jmeno) {
        Prikaz p(m_db, QStringLiteral("select name, sql from sqlite_master where type = 'table' "
                                      "and name = '%1' collate nocase")
                           .arg(QString(jmeno).replace(QLatin1Char('\''), QLatin1String("''"))));
        if (!p.krok()) throw Chyba(QStringLiteral("no such table: %1").arg(jmeno));
        return QStringList{
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(p.stmt(), 0))),
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(p.stmt(), 1)))};
    };
    const QStringList puvodni = hledejSql(tabulka);
    hledejSql(odkazTabulka);
    const QString jmeno = puvodni.at(0);
    QString ddl = puvodni.at(1);
    const int konec = ddl.lastIndexOf(QLatin1Char(')'));
    if (konec < 0) throw Chyba(QStringLiteral("Nelze číst definici tabulky %1.").arg(jmeno));
    ddl.insert(konec, QStringLiteral(", CONSTRAINT %1 FOREIGN KEY (%2) REFERENCES %3 (%4)")
                          .arg(nazev, sloupce.trimmed(), odkazTabulka, odkazSloupce.trimmed()));
    const QString docasna = QStringLiteral("parmex_prestavba_") + jmeno;
    static const QRegularExpression hlavicka(
        QStringLiteral("^\\s*create\\s+table\\s+(\"[^\"]+\"|\\S+?)(\\s*\\()"),
        QRegularExpression::CaseInsensitiveOption);
    const auto h = hlavicka.match(ddl);
    if (!h.hasMatch()) throw Chyba(QStringLiteral("Nelze číst definici tabulky %1.").arg(jmeno));
    ddl.replace(h.capturedStart(1), h.capturedLength(1), docasna);

    // Indexes made by statements (not those of keys) are created again after the rename.
    QStringList indexy;
    {
        Prikaz p(m_db, QStringLiteral("select sql from sqlite_master where type = 'index' and "
                                      "tbl_name = '%1' and sql is not null")
                           .arg(QString(jmeno).replace(QLatin1Char('\''), QLatin1String("''"))));
        while (p.krok())
            indexy << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(p.stmt(), 0)));
    }

    const bool vlastniTransakce = !inTransaction();
    if (vlastniTransakce) {
        provedPrimo(QStringLiteral("PRAGMA foreign_keys = OFF"));
        provedPrimo(QStringLiteral("BEGIN IMMEDIATE"));
    } else {
        provedPrimo(QStringLiteral("SAVEPOINT parmex_prestavba"));
    }
    try {
        provedPrimo(ddl);
        provedPrimo(QStringLiteral("INSERT INTO %1 SELECT * FROM %2").arg(docasna, jmeno));
        provedPrimo(QStringLiteral("DROP TABLE %1").arg(jmeno));
        provedPrimo(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(docasna, jmeno));
        for (const QString& i : indexy) provedPrimo(i);
        {
            Prikaz kontrola(m_db, QStringLiteral("PRAGMA foreign_key_check(%1)").arg(jmeno));
            if (kontrola.krok()) throw Chyba(QStringLiteral("FOREIGN KEY constraint failed"));
        }
        provedPrimo(vlastniTransakce ? QStringLiteral("COMMIT")
                                     : QStringLiteral("RELEASE parmex_prestavba"));
    } catch (...) {
        if (vlastniTransakce) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_exec(m_db, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
        } else {
            sqlite3_exec(m_db, "ROLLBACK TO parmex_prestavba; RELEASE parmex_prestavba", nullptr,
                         nullptr, nullptr);
        }
        throw;
    }
    if (vlastniTransakce) provedPrimo(QStringLiteral("PRAGMA foreign_keys = ON"));
}

// ---------------------------------------------------------------- Field

QString Field::name() const {
    return m_q->fieldName(m_sloupec);
}

TypPole Field::dataType() const {
    return m_q->fieldType(m_sloupec);
}

QVariant Field::value() const {
    return m_radek < 0 ? QVariant() : m_q->storedValue(m_radek, m_sloupec);
}

bool Field::isNull() const {
    return value().isNull();
}

QString Field::asString() const {
    return textHodnoty(value(), dataType());
}

qint64 Field::asInteger() const {
    const QVariant v = value();
    if (v.isNull()) return 0;
    if (v.typeId() == QMetaType::LongLong) return v.toLongLong();
    if (v.typeId() == QMetaType::Double) return qRound64(v.toDouble());
    bool ok = false;
    const qint64 h = v.toString().trimmed().toLongLong(&ok);
    if (!ok) throw Chyba(QStringLiteral("'%1' is not a valid integer value").arg(v.toString()));
    return h;
}

double Field::asFloat() const {
    const QVariant v = value();
    if (v.isNull()) return 0;
    if (jeCislo(v)) return v.toDouble();
    bool ok = false;
    double h = Formaty::naCislo(v.toString(), &ok);
    if (!ok) h = v.toString().trimmed().toDouble(&ok);
    if (!ok)
        throw Chyba(QStringLiteral("'%1' is not a valid floating point value").arg(v.toString()));
    return h;
}

QDateTime Field::asDateTime() const {
    return naDatumCas(value());
}

// ---------------------------------------------------------------- Query

Query::Query(Connection* spojeni, QObject* parent) : QObject(parent), m_spojeni(spojeni) {}

void Query::open() {
    close();
    if (!m_spojeni || !m_spojeni->isOpen()) throw Chyba(QStringLiteral("Databáze není otevřena."));
    Prikaz p(m_spojeni->handle(), m_sql);
    const int n = sqlite3_column_count(p.stmt());
    if (n == 0) throw Chyba(QStringLiteral("Příkaz nevrací žádná data."));
    QStringList sloupce;
    QVector<TypPole> typy;
    for (int i = 0; i < n; ++i) {
        sloupce << QString::fromUtf8(sqlite3_column_name(p.stmt(), i));
        typy << typZDeklarace(sqlite3_column_decltype(p.stmt(), i));
    }
    std::vector<QVector<QVariant>> radky;
    while (p.krok()) {
        QVector<QVariant> radek(n);
        for (int i = 0; i < n; ++i) {
            radek[i] = hodnotaSloupce(p.stmt(), i);
            if (typy[i] == TypPole::Neznamy && !radek[i].isNull()) typy[i] = typZHodnoty(radek[i]);
        }
        radky.push_back(std::move(radek));
    }
    m_sloupce = sloupce;
    m_typy = typy;
    m_radky = std::move(radky);
    m_slovnikPripraven = false;
    m_poradiSloupcu.assign(n, {});
    m_poradiSpocteno.assign(n, false);
    m_poradi.resize(m_radky.size());
    std::iota(m_poradi.begin(), m_poradi.end(), 0);
    m_otevreno = true;
    m_trideni.clear();
    sestavViditelne();
    nastavPozici(0);
    emit resetNastal();
}

void Query::execSql() {
    close();
    if (!m_spojeni || !m_spojeni->isOpen()) throw Chyba(QStringLiteral("Databáze není otevřena."));
    m_spojeni->execute(m_sql);
}

void Query::close() {
    const bool bylo = m_otevreno;
    m_otevreno = false;
    m_radky.clear();
    m_slovnikPripraven = false;
    m_slovnikIndex.clear();
    m_slovnikTexty.clear();
    m_shody.clear();
    m_poradiSloupcu.clear();
    m_poradiSpocteno.clear();
    m_poradi.clear();
    m_viditelne.clear();
    m_sloupce.clear();
    m_typy.clear();
    m_trideni.clear();
    m_pozice = -1;
    m_eof = m_bof = true;
    if (bylo) emit resetNastal();
}

void Query::requery() {
    const QString trideni = m_trideni;
    open();
    if (!trideni.isEmpty()) setSort(trideni);
}

void Query::vyzadujOtevreny() const {
    if (!m_otevreno) throw Chyba(QStringLiteral("Operace není povolena, je-li objekt zavřen."));
}

int Query::recordCount() const {
    return m_otevreno ? static_cast<int>(m_viditelne.size()) : 0;
}

int Query::recNo() const {
    return (m_otevreno && m_pozice >= 0) ? m_pozice + 1 : 0;
}

void Query::nastavPozici(int pozice) {
    const int pocet = static_cast<int>(m_viditelne.size());
    if (pocet == 0) {
        m_pozice = -1;
        m_eof = m_bof = true;
    } else {
        m_pozice = std::clamp(pozice, 0, pocet - 1);
        m_eof = m_bof = false;
    }
    emit poziceZmenena();
}

void Query::setRecNo(int cislo) {
    vyzadujOtevreny();
    if (cislo >= 1 && cislo <= recordCount()) nastavPozici(cislo - 1);
}

void Query::first() {
    vyzadujOtevreny();
    nastavPozici(0);
    m_bof = true;
}

void Query::last() {
    vyzadujOtevreny();
    nastavPozici(recordCount() - 1);
    m_eof = recordCount() == 0;
}

void Query::next() {
    vyzadujOtevreny();
    if (m_pozice + 1 < recordCount()) {
        nastavPozici(m_pozice + 1);
    } else {
        m_eof = true;
    }
    m_bof = recordCount() == 0;
}

void Query::prior() {
    vyzadujOtevreny();
    if (m_pozice > 0) {
        nastavPozici(m_pozice - 1);
    } else {
        m_bof = true;
    }
    m_eof = recordCount() == 0;
}

bool Query::eof() const {
    return !m_otevreno || m_eof;
}

bool Query::bof() const {
    return !m_otevreno || m_bof;
}

QStringList Query::fieldNames() const {
    return m_sloupce;
}

int Query::fieldIndex(const QString& nazev) const {
    for (int i = 0; i < m_sloupce.size(); ++i)
        if (m_sloupce.at(i).compare(nazev, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int Query::currentStoredRow() const {
    return (m_otevreno && m_pozice >= 0) ? m_viditelne[m_pozice] : -1;
}

Field Query::field(int sloupec) const {
    vyzadujOtevreny();
    if (sloupec < 0 || sloupec >= m_sloupce.size())
        throw Chyba(QStringLiteral("Pole s indexem %1 neexistuje.").arg(sloupec));
    return Field(this, sloupec, currentStoredRow());
}

Field Query::fieldByName(const QString& nazev) const {
    vyzadujOtevreny();
    const int i = fieldIndex(nazev);
    if (i < 0) throw Chyba(QStringLiteral("Pole '%1' nebylo nalezeno.").arg(nazev));
    return Field(this, i, currentStoredRow());
}

QVariant Query::storedValue(int radek, int sloupec) const {
    if (radek < 0 || radek >= static_cast<int>(m_radky.size())) return QVariant();
    return m_radky[radek].value(sloupec);
}

QString Query::storedText(int radek, int sloupec) const {
    return textHodnoty(storedValue(radek, sloupec), fieldType(sloupec));
}

QVariant Query::value(int viditelnyRadek, int sloupec) const {
    if (viditelnyRadek < 0 || viditelnyRadek >= recordCount()) return QVariant();
    return storedValue(m_viditelne[viditelnyRadek], sloupec);
}

QString Query::text(int viditelnyRadek, int sloupec) const {
    if (viditelnyRadek < 0 || viditelnyRadek >= recordCount()) return QString();
    return storedText(m_viditelne[viditelnyRadek], sloupec);
}

void Query::setSort(const QString& vyraz) {
    vyzadujOtevreny();
    struct Klic {
        int sloupec;
        bool sestupne;
    };
    std::vector<Klic> klice;
    for (const QString& cast : vyraz.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        QStringList slova = cast.simplified().split(QLatin1Char(' '));
        bool sestupne = false;
        if (slova.size() == 2 &&
            slova.at(1).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0) {
            sestupne = true;
        } else if (slova.size() == 2 &&
                   slova.at(1).compare(QLatin1String("ASC"), Qt::CaseInsensitive) == 0) {
        } else if (slova.size() != 1) {
            throw Chyba(QStringLiteral("Neplatné třídění: %1").arg(vyraz));
        }
        const int i = fieldIndex(slova.at(0));
        if (i < 0) throw Chyba(QStringLiteral("Pole '%1' nebylo nalezeno.").arg(slova.at(0)));
        klice.push_back({i, sestupne});
    }
    m_trideni = vyraz.trimmed();
    // All rows are sorted, the filter then picks from them in that order: the same result as
    // sorting the filtered rows (the sort is stable), and a later change of the filter needs
    // no new sort.
    m_poradi.resize(m_radky.size());
    std::iota(m_poradi.begin(), m_poradi.end(), 0);
    bool podlePoradi = true;
    for (const Klic& k : klice) podlePoradi = podlePoradi && !poradiSloupce(k.sloupec).empty();
    if (!klice.empty() && podlePoradi) {
        std::vector<const std::vector<int>*> poradi;
        for (const Klic& k : klice) poradi.push_back(&poradiSloupce(k.sloupec));
        std::stable_sort(m_poradi.begin(), m_poradi.end(), [&](int a, int b) {
            for (size_t i = 0; i < klice.size(); ++i) {
                const int x = (*poradi[i])[a], y = (*poradi[i])[b];
                if (x != y) return klice[i].sestupne ? x > y : x < y;
            }
            return false;
        });
    } else if (!klice.empty()) {
        QCollator kolator;
        kolator.setCaseSensitivity(Qt::CaseInsensitive);
        kolator.setNumericMode(false);
        auto porovnej = [&](int a, int b) {
            for (const Klic& k : klice) {
                const QVariant& va = m_radky[a][k.sloupec];
                const QVariant& vb = m_radky[b][k.sloupec];
                int c = 0;
                if (va.isNull() || vb.isNull()) {
                    c = va.isNull() == vb.isNull() ? 0 : (va.isNull() ? -1 : 1);
                } else if (jeCislo(va) && jeCislo(vb)) {
                    const double x = va.toDouble(), y = vb.toDouble();
                    c = x < y ? -1 : (x > y ? 1 : 0);
                } else if (m_typy[k.sloupec] == TypPole::DatumCas) {
                    c = QString::compare(va.toString(), vb.toString());
                } else {
                    c = kolator.compare(va.toString(), vb.toString());
                }
                if (c != 0) return k.sestupne ? c > 0 : c < 0;
            }
            return false;
        };
        std::stable_sort(m_poradi.begin(), m_poradi.end(), porovnej);
    }
    sestavViditelne();
    nastavPozici(0);
    emit resetNastal();
}

void Query::sestavViditelne() {
    const bool filtr = m_filtrovano && m_predikat;
    if (!filtr) {
        m_viditelne = m_poradi;
        return;
    }
    m_viditelne.clear();
    m_viditelne.reserve(m_poradi.size());
    for (const int i : m_poradi)
        if (m_predikat(*this, i)) m_viditelne.push_back(i);
}

void Query::pripravVelkaPismena() const {
    const int sloupcu = m_sloupce.size();
    if (m_slovnikPripraven) return;
    m_slovnikPripraven = true;
    m_slovnikIndex.assign(sloupcu, std::vector<int>(m_radky.size(), -1));
    m_slovnikTexty.assign(sloupcu, {});
    m_hledaneVelke.clear();
    m_shody.clear();
    // Values repeat a lot in a list (names, towns, dates) and formatting and case mapping are
    // slow, so each field keeps its distinct values once, as upper-cased texts, and each row
    // points into them.
    for (int c = 0; c < sloupcu; ++c) {
        QHash<QString, int> texty;
        QHash<double, int> cisla;
        std::vector<int>& index = m_slovnikIndex[c];
        std::vector<QString>& slovnik = m_slovnikTexty[c];
        auto pridej = [&](const QVariant& v) {
            slovnik.push_back(velkymiPismeny(textHodnoty(v, m_typy[c])));
            return static_cast<int>(slovnik.size()) - 1;
        };
        for (size_t r = 0; r < m_radky.size(); ++r) {
            const QVariant& v = m_radky[r][c];
            if (v.isNull()) continue;
            if (v.typeId() == QMetaType::QString) {
                const QString surovy = v.toString();
                auto it = texty.constFind(surovy);
                if (it == texty.constEnd()) it = texty.insert(surovy, pridej(v));
                index[r] = *it;
            } else if (jeCislo(v)) {
                const double d = v.toDouble();
                auto it = cisla.constFind(d);
                if (it == cisla.constEnd()) it = cisla.insert(d, pridej(v));
                index[r] = *it;
            } else {
                index[r] = pridej(v);
            }
        }
    }
}

bool Query::storedRowContainsUpper(int radek, const QString& hledaneVelke) const {
    if (radek < 0 || radek >= static_cast<int>(m_radky.size())) return false;
    if (hledaneVelke.isEmpty()) return true;
    pripravVelkaPismena();
    const size_t sloupcu = m_slovnikTexty.size();
    if (m_shody.size() != sloupcu || hledaneVelke != m_hledaneVelke) {
        // Each distinct value is tested once per search text.
        m_hledaneVelke = hledaneVelke;
        m_shody.assign(sloupcu, {});
        for (size_t c = 0; c < sloupcu; ++c) {
            const std::vector<QString>& slovnik = m_slovnikTexty[c];
            m_shody[c].resize(slovnik.size());
            for (size_t i = 0; i < slovnik.size(); ++i)
                m_shody[c][i] = slovnik[i].contains(hledaneVelke);
        }
    }
    for (size_t c = 0; c < sloupcu; ++c) {
        const int i = m_slovnikIndex[c][radek];
        if (i >= 0 && m_shody[c][i]) return true;
    }
    return false;
}

const std::vector<int>& Query::poradiSloupce(int sloupec) const {
    std::vector<int>& poradi = m_poradiSloupcu[sloupec];
    if (m_poradiSpocteno[sloupec]) return poradi;
    m_poradiSpocteno[sloupec] = true;
    // Only a field whose values are all numbers or all texts gets ranks; they give the same
    // order as comparing the values pair by pair.
    bool cisla = false, texty = false;
    for (const auto& radek : m_radky) {
        const QVariant& v = radek[sloupec];
        if (v.isNull()) continue;
        (jeCislo(v) ? cisla : texty) = true;
    }
    if (cisla && texty) return poradi;
    const int n = static_cast<int>(m_radky.size());
    poradi.assign(n, -1);  // null comes first
    if (cisla) {
        std::vector<int> radky;
        for (int r = 0; r < n; ++r)
            if (!m_radky[r][sloupec].isNull()) radky.push_back(r);
        std::vector<double> h(n);
        for (const int r : radky) h[r] = m_radky[r][sloupec].toDouble();
        std::sort(radky.begin(), radky.end(), [&](int a, int b) { return h[a] < h[b]; });
        int poradove = -1;
        for (size_t i = 0; i < radky.size(); ++i) {
            if (i == 0 || h[radky[i]] != h[radky[i - 1]]) ++poradove;
            poradi[radky[i]] = poradove;
        }
        return poradi;
    }
    // Texts: each distinct value is ranked once.
    QHash<QString, int> ruzne;
    std::vector<QString> hodnoty;
    std::vector<int> indexRadku(n, -1);
    for (int r = 0; r < n; ++r) {
        const QVariant& v = m_radky[r][sloupec];
        if (v.isNull()) continue;
        const QString t = v.toString();
        auto it = ruzne.constFind(t);
        if (it == ruzne.constEnd()) {
            it = ruzne.insert(t, static_cast<int>(hodnoty.size()));
            hodnoty.push_back(t);
        }
        indexRadku[r] = *it;
    }
    std::vector<int> serazene(hodnoty.size());
    std::iota(serazene.begin(), serazene.end(), 0);
    std::vector<int> rank(hodnoty.size());
    if (m_typy[sloupec] == TypPole::DatumCas) {
        std::sort(serazene.begin(), serazene.end(),
                  [&](int a, int b) { return QString::compare(hodnoty[a], hodnoty[b]) < 0; });
        for (size_t i = 0; i < serazene.size(); ++i)
            rank[serazene[i]] =
                (i == 0)
                    ? 0
                    : rank[serazene[i - 1]] +
                          (QString::compare(hodnoty[serazene[i - 1]], hodnoty[serazene[i]]) != 0);
    } else {
        QCollator kolator;
        kolator.setCaseSensitivity(Qt::CaseInsensitive);
        kolator.setNumericMode(false);
        std::vector<QCollatorSortKey> klice;
        klice.reserve(hodnoty.size());
        for (const QString& t : hodnoty) klice.push_back(kolator.sortKey(t));
        std::sort(serazene.begin(), serazene.end(),
                  [&](int a, int b) { return klice[a].compare(klice[b]) < 0; });
        for (size_t i = 0; i < serazene.size(); ++i)
            rank[serazene[i]] = (i == 0)
                                    ? 0
                                    : rank[serazene[i - 1]] +
                                          (klice[serazene[i - 1]].compare(klice[serazene[i]]) != 0);
    }
    for (int r = 0; r < n; ++r)
        if (indexRadku[r] >= 0) poradi[r] = rank[indexRadku[r]];
    return poradi;
}

void Query::setFilterPredicate(Predikat p) {
    m_predikat = std::move(p);
}

void Query::setFiltered(bool zapnout) {
    m_filtrovano = zapnout;
    if (!m_otevreno) return;
    sestavViditelne();
    nastavPozici(0);
    emit resetNastal();
}

bool Query::locate(const QStringList& pole, const QVariantList& hodnoty, bool castecne) {
    vyzadujOtevreny();
    if (pole.size() != hodnoty.size()) return false;
    QVector<int> sloupce;
    for (const QString& p : pole) {
        const int i = fieldIndex(p.trimmed());
        if (i < 0) throw Chyba(QStringLiteral("Pole '%1' nebylo nalezeno.").arg(p));
        sloupce << i;
    }
    for (int r = 0; r < recordCount(); ++r) {
        bool shoda = true;
        for (int k = 0; k < sloupce.size() && shoda; ++k) {
            const QVariant v = value(r, sloupce[k]);
            const QVariant& hledana = hodnoty.at(k);
            if (hledana.isNull() || v.isNull()) {
                shoda = hledana.isNull() && v.isNull();
            } else if (jeCislo(hledana) && jeCislo(v)) {
                shoda = v.toDouble() == hledana.toDouble();
            } else {
                const QString t = text(r, sloupce[k]);
                const QString h = hledana.toString();
                shoda = castecne ? t.startsWith(h, Qt::CaseInsensitive)
                                 : t.compare(h, Qt::CaseInsensitive) == 0;
            }
        }
        if (shoda) {
            nastavPozici(r);
            return true;
        }
    }
    return false;
}

}  // namespace db
