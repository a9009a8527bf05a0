// SPDX-License-Identifier: GPL-3.0-or-later
#include "fDialogUprStruct.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace {
int g_zobrazeni = 0;
}

TDialogUprStruct::TDialogUprStruct(QWidget* owner)
    : QDialog(owner, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Dialog) {
    setObjectName(QStringLiteral("DialogUprStruct"));
    auto* vrstva = new QVBoxLayout(this);
    vrstva->setContentsMargins(8, 6, 8, 6);
    auto* popis = new QLabel(QStringLiteral("Probíhá úprava struktur:"), this);
    QFont f = popis->font();
    f.setBold(true);
    popis->setFont(f);
    ProgressBarAkt = new QProgressBar(this);
    ProgressBarAkt->setObjectName(QStringLiteral("ProgressBarAkt"));
    ProgressBarCelk = new QProgressBar(this);
    ProgressBarCelk->setObjectName(QStringLiteral("ProgressBarCelk"));
    for (QProgressBar* b : {ProgressBarAkt, ProgressBarCelk}) {
        b->setTextVisible(false);
        b->setFixedHeight(14);
    }
    vrstva->addWidget(popis);
    vrstva->addWidget(ProgressBarAkt);
    vrstva->addWidget(ProgressBarCelk);
    setFixedSize(263, 70);
    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->geometry().center() - rect().center());
}

int TDialogUprStruct::pocetZobrazeni() {
    return g_zobrazeni;
}

void TDialogUprStruct::showEvent(QShowEvent* e) {
    ++g_zobrazeni;
    QDialog::showEvent(e);
}

TPrubehUpravyOkno::~TPrubehUpravyOkno() = default;

void TPrubehUpravyOkno::zacatek() {
    m_okno.reset(new TDialogUprStruct(m_owner));
    m_okno->ProgressBarCelk->setRange(0, 2);
    m_okno->ProgressBarCelk->setValue(0);
    m_okno->ProgressBarAkt->setRange(0, 1);
    m_okno->ProgressBarAkt->setValue(0);
    QCoreApplication::processEvents();
}

void TPrubehUpravyOkno::krokZacina() {
    if (m_okno && !m_okno->isVisible()) m_okno->show();
}

void TPrubehUpravyOkno::krokHotov() {
    if (m_okno) m_okno->ProgressBarAkt->setValue(1);
}

void TPrubehUpravyOkno::celkem(int hotovo) {
    if (!m_okno) return;
    m_okno->ProgressBarCelk->setValue(hotovo);
    if (hotovo == 2) QCoreApplication::processEvents();
}

void TPrubehUpravyOkno::konec() {
    m_okno.reset();
}
