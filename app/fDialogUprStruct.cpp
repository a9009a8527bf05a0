#include "fDialogUprStruct.h"

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
