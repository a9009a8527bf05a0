// SPDX-License-Identifier: GPL-3.0-or-later
#include "Relace.h"

#include "Chyba.h"

Relace::Relace(Hlaseni& h) : hlaseni(h), dotaz(&spojeni), dotazCis(&spojeniCis) {}

Relace::~Relace() {
    dotaz.close();
    spojeni.close();
    dotazCis.close();
    spojeniCis.close();
}

void Relace::chybaDotazu(const db::Prikaz& prikaz, const QString& zprava, bool PoslatVyjimkuDal) {
    hlaseni.log(prikaz.text());
    if (PoslatVyjimkuDal) throw Chyba(zprava);
    hlaseni.zprava(QStringLiteral("Došlo k chybě! (kontaktuje prosím správce)\r{") + zprava +
                       QStringLiteral("}"),
                   0, 0);
}

void Relace::gosql(const db::Prikaz& prikaz, quint8 Activ, db::Query& q, bool PoslatVyjimkuDal) {
    if (!q.connection()) q.setConnection(&spojeni);
    q.close();
    q.setPrikaz(prikaz);
    if (Activ != 1) return;
    try {
        q.open();
    } catch (const Chyba& e) {
        chybaDotazu(prikaz, e.zprava(), PoslatVyjimkuDal);
    }
}

void Relace::gosqlexec(const db::Prikaz& prikaz, db::Query& q, bool PoslatVyjimkuDal) {
    if (!q.connection()) q.setConnection(&spojeni);
    q.close();
    q.setPrikaz(prikaz);
    try {
        q.execSql();
    } catch (const Chyba& e) {
        chybaDotazu(prikaz, e.zprava(), PoslatVyjimkuDal);
    }
}

void Relace::gosql(const db::Prikaz& prikaz, db::Radky& radky, bool PoslatVyjimkuDal) {
    try {
        radky.open(prikaz);
    } catch (const Chyba& e) {
        radky.close();
        chybaDotazu(prikaz, e.zprava(), PoslatVyjimkuDal);
    }
}

void Relace::dalsi(db::Radky& radky, bool PoslatVyjimkuDal) {
    try {
        radky.next();
    } catch (const Chyba& e) {
        chybaDotazu(radky.prikaz(), e.zprava(), PoslatVyjimkuDal);
    }
}
