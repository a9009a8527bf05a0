#include "Zdroje.h"

#include <QFile>
#include <QSaveFile>

#include "Chyba.h"

void Zdroje::ulozDoSouboru(const QString& typ, const QString& jmeno, const QString& soubor) {
    QFile zdroj(QStringLiteral(":/%1/%2").arg(typ, jmeno));
    if (!zdroj.open(QIODevice::ReadOnly))
        throw Chyba(QStringLiteral("Zdroj %1/%2 nebyl nalezen.").arg(typ, jmeno));
    const QByteArray obsah = zdroj.readAll();
    QSaveFile cil(soubor);
    if (!cil.open(QIODevice::WriteOnly) || cil.write(obsah) != obsah.size() || !cil.commit())
        throw Chyba(
            QStringLiteral("Soubor \"%1\" nelze zapsat: %2").arg(soubor, cil.errorString()));
}
