// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever a value is made of, a statement with it bound to its placeholder does what the same
// statement with the quoting helper's literal spliced in does: the same value to the last bit
// (or the same refusal), and its text shows that literal. The input is taken as a text (of a
// number, a text, bytes the engine gives) and, when it is eight bytes or more, also as the bits
// of a double.
#include <QByteArray>
#include <QLocale>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "Chyba.h"
#include "Databaze.h"
#include "SqlHodnoty.h"

namespace {

db::Connection& spojeni() {
    static db::Connection c;
    if (!c.isOpen()) c.open(QStringLiteral(":memory:"), db::Connection::Rezim::Vyhradni);
    return c;
}

// The value as the engine holds it, to the last bit, read through a select of the placeholder
// or of the literal.
QString presne(const db::Prikaz& prikaz) {
    db::Query q(&spojeni());
    q.setPrikaz(prikaz);
    q.open();
    return q.field(0).asString();
}

const QString kVyraz = QStringLiteral(
    "select typeof(v) || ':' || case typeof(v) when 'real' then printf('%.17e', v) "
    "when 'text' then hex(v) else quote(v) end from (select %1 as v)");

QString zprava(const std::function<QString()>& f, bool* odmitnuto) {
    try {
        *odmitnuto = false;
        return f();
    } catch (const Chyba& e) {
        *odmitnuto = true;
        return e.zprava();
    }
}

// The value made by hodnota and the literal made by literal: refused alike, or the same text
// and the same value stored.
void over(const std::function<db::Hodnota()>& hodnota, const std::function<QString()>& literal) {
    bool odmitnutaHodnota = false, odmitnutyLiteral = false;
    db::Hodnota h;
    const QString duvodHodnoty = zprava(
        [&] {
            h = hodnota();
            return QString();
        },
        &odmitnutaHodnota);
    const QString l = zprava(literal, &odmitnutyLiteral);
    if (odmitnutaHodnota != odmitnutyLiteral || (odmitnutaHodnota && duvodHodnoty != l)) {
        std::fprintf(stderr, "refused differently\n");
        std::abort();
    }
    if (odmitnutaHodnota) return;
    const db::Prikaz prikaz(kVyraz.arg(QStringLiteral("?")), {h});
    if (h.literal() != l || prikaz.text() != kVyraz.arg(l)) {
        std::fprintf(stderr, "literal %s differs from %s\n", h.literal().toUtf8().constData(),
                     l.toUtf8().constData());
        std::abort();
    }
    if (presne(prikaz) != presne(kVyraz.arg(l))) {
        std::fprintf(stderr, "%s stored otherwise\n", l.toUtf8().constData());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bajty(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = QString::fromUtf8(bajty);
    over([&] { return db::Hodnota::text(text); }, [&] { return Sql::text(text); });
    over([&] { return db::Hodnota::textUtf8(bajty); }, [&] { return Sql::text(text); });
    over([&] { return db::Hodnota::cislo(text); }, [&] { return Sql::number(text); });
    if (size >= 8) {
        double d;
        std::memcpy(&d, data, sizeof d);
        over([&] { return db::Hodnota::cislo(d); }, [&] { return Sql::number(d); });
    }
    return 0;
}
