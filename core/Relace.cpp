#include "Relace.h"

#include "Chyba.h"

Relace::Relace(Hlaseni& h) : hlaseni(h), dotaz(&spojeni), dotazCis(&spojeniCis) {}

Relace::~Relace() {
    dotaz.close();
    spojeni.close();
    dotazCis.close();
    spojeniCis.close();
}

void Relace::chybaDotazu(const QString& sqltext, const QString& zprava, bool PoslatVyjimkuDal) {
    hlaseni.log(sqltext);
    if (PoslatVyjimkuDal) throw Chyba(zprava);
    hlaseni.zprava(QStringLiteral("Došlo k chybě! (kontaktuje prosím správce)\r{") + zprava +
                       QStringLiteral("}"),
                   0, 0);
}

void Relace::gosql(const QString& sqltext, quint8 Activ, db::Query& q, bool PoslatVyjimkuDal) {
    if (!q.connection()) q.setConnection(&spojeni);
    q.close();
    q.setSql(sqltext);
    if (Activ != 1) return;
    try {
        q.open();
    } catch (const Chyba& e) {
        chybaDotazu(sqltext, e.zprava(), PoslatVyjimkuDal);
    }
}

void Relace::gosqlexec(const QString& sqltext, db::Query& q, bool PoslatVyjimkuDal) {
    if (!q.connection()) q.setConnection(&spojeni);
    q.close();
    q.setSql(sqltext);
    try {
        q.execSql();
    } catch (const Chyba& e) {
        chybaDotazu(sqltext, e.zprava(), PoslatVyjimkuDal);
    }
}
