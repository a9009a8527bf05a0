// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include "Databaze.h"

// Every row of a select on the connection, its fields as the user sees them joined by "|",
// null written as "null": a result the tests compare as a list of texts.
inline QStringList vsechnyRadky(db::Connection& spojeni, const QString& sql) {
    db::Query q(&spojeni);
    q.setSql(sql);
    q.open();
    QStringList r;
    for (q.first(); !q.eof(); q.next()) {
        QStringList pole;
        for (int i = 0; i < q.fieldCount(); ++i)
            pole << (q.field(i).isNull() ? QStringLiteral("null") : q.field(i).asString());
        r << pole.join(QLatin1Char('|'));
    }
    return r;
}

// The first field of the first row of a select on a database file, opened only for reading;
// "<žádný řádek>" when the select gives no row.
inline QString jednaHodnota(const QString& soubor, const QString& sql) {
    db::Connection c;
    c.open(soubor, db::Connection::Rezim::JenCteni);
    db::Query q(&c);
    q.setSql(sql);
    q.open();
    return q.recordCount() > 0 ? q.field(0).asString() : QStringLiteral("<žádný řádek>");
}
