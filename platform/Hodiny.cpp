// SPDX-License-Identifier: GPL-3.0-or-later
#include "Hodiny.h"

namespace {
QDateTime g_pevnyCas;
}

QDateTime Hodiny::ted() {
    return g_pevnyCas.isValid() ? g_pevnyCas : QDateTime::currentDateTime();
}

QDate Hodiny::dnes() {
    return ted().date();
}

void Hodiny::nastav(const QDateTime& pevnyCas) {
    g_pevnyCas = pevnyCas;
}
