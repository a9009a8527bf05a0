// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>

#include "Schema.h"

class QProgressBar;

// The progress window of the schema upgrade: a borderless window on top of all others with
// the current step's bar and the overall bar. No buttons, no handling of its own.
class TDialogUprStruct : public QDialog {
    Q_OBJECT
public:
    explicit TDialogUprStruct(QWidget* owner);

    QProgressBar* ProgressBarAkt;
    QProgressBar* ProgressBarCelk;

    // How many times a progress window has been shown in this process (for tests).
    static int pocetZobrazeni();

protected:
    void showEvent(QShowEvent* e) override;
};

// The upgrade's progress (PrubehUpravy) shown in the progress window: the window is made when
// the upgrade begins, shown before the first step that runs, and goes when the upgrade ends, also
// by an error (it stays on top of all windows and would cover the error message).
class TPrubehUpravyOkno : public PrubehUpravy {
public:
    explicit TPrubehUpravyOkno(QWidget* owner) : m_owner(owner) {}
    ~TPrubehUpravyOkno() override;

    void zacatek() override;
    void krokZacina() override;
    void krokHotov() override;
    void celkem(int hotovo) override;
    void konec() override;

private:
    QWidget* m_owner;
    std::unique_ptr<TDialogUprStruct> m_okno;
};
