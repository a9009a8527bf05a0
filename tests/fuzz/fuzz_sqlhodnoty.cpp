// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever text the quoting helpers are given, what they return is one SQL literal: put into a
// select it is one complete statement of one column, and that column gives the value back
// (the text as it was, the number as it was read, the name as it was).
#include <sqlite3.h>

#include <QLocale>
#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "Chyba.h"
#include "SqlHodnoty.h"

namespace {

sqlite3* databaze() {
    static sqlite3* db = [] {
        sqlite3* d = nullptr;
        sqlite3_open(":memory:", &d);
        return d;
    }();
    return db;
}

// Prepares "select <literal>" and checks that it is one statement with nothing after it.
// Returns the statement stepped to its row.
sqlite3_stmt* vyber(const QString& sql) {
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    const char* zbytek = nullptr;
    if (sqlite3_prepare_v2(databaze(), utf8.constData(), int(utf8.size()), &st, &zbytek) !=
            SQLITE_OK ||
        !st || zbytek != utf8.constData() + utf8.size() || sqlite3_column_count(st) != 1 ||
        sqlite3_step(st) != SQLITE_ROW) {
        std::fprintf(stderr, "not one literal: %s\n", utf8.constData());
        std::abort();
    }
    return st;
}

void overText(const QString& vstup, const QString& literal) {
    sqlite3_stmt* st = vyber(QStringLiteral("select ") + literal);
    const QString zpet = QString::fromUtf8(
        reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), sqlite3_column_bytes(st, 0));
    if (sqlite3_column_type(st, 0) != SQLITE_TEXT || zpet != vstup) std::abort();
    sqlite3_finalize(st);
}

void overCislo(const QString& vstup) {
    QString literal;
    try {
        literal = Sql::number(vstup);
    } catch (const Chyba&) {
        return;  // refused: nothing reaches a statement
    }
    sqlite3_stmt* st = vyber(QStringLiteral("select ") + literal);
    const int typ = sqlite3_column_type(st, 0);
    if (vstup.trimmed().isEmpty()) {
        if (typ != SQLITE_NULL) std::abort();
    } else {
        if (typ != SQLITE_INTEGER && typ != SQLITE_FLOAT) std::abort();
        // The value is the one the text means, read with either decimal separator.
        bool ok = false;
        double ocekavano = QLocale(QLocale::Czech).toDouble(vstup.trimmed(), &ok);
        if (!ok) ocekavano = QLocale::c().toDouble(vstup.trimmed(), &ok);
        const double hodnota = sqlite3_column_double(st, 0);
        if (ok && std::fabs(hodnota - ocekavano) > std::fabs(ocekavano) * 1e-12) {
            std::fprintf(stderr, "'%s' became %s\n", vstup.toUtf8().constData(),
                         literal.toUtf8().constData());
            std::abort();
        }
    }
    sqlite3_finalize(st);
}

void overIdentifikator(const QString& vstup) {
    if (vstup.isEmpty()) return;
    sqlite3_stmt* st = vyber(QStringLiteral("select 1 as ") + Sql::identifikator(vstup));
    if (QString::fromUtf8(sqlite3_column_name(st, 0)) != vstup) std::abort();
    sqlite3_finalize(st);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString vstup = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        overText(vstup, Sql::text(vstup));
        if (!vstup.isEmpty()) overText(vstup, Sql::textNeboNull(vstup));
    } catch (const Chyba&) {
        // A text the statement cannot carry is refused, never cut.
    }
    overCislo(vstup);
    try {
        overIdentifikator(vstup);
    } catch (const Chyba&) {
    }
    return 0;
}
