// SPDX-License-Identifier: GPL-3.0-or-later
#include "Hlaseni.h"

#include "Spolecne.h"

void Hlaseni::log(const QString& text) {
    ZapisDoLogu(text);
}

int ZaznamHlaseni::zprava(const QString& text, int typZpravy, int typTlacitek) {
    m_zpravy.append({text, typZpravy, typTlacitek});
    m_poradi.append(QString::number(typZpravy) + QStringLiteral(": ") + text);
    if (!m_odpovedi.isEmpty()) return m_odpovedi.takeFirst();
    return typTlacitek == 1 ? 1 : (typTlacitek == 2 ? 2 : 0);
}

void ZaznamHlaseni::log(const QString& text) {
    m_logy.append(text);
    m_poradi.append(QStringLiteral("log: ") + text);
}

void ZaznamHlaseni::vymaz() {
    m_zpravy.clear();
    m_logy.clear();
    m_poradi.clear();
    m_odpovedi.clear();
}
