// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "VyberZCiselniku.h"

// The live permits of one permit type in the evidence year, for one permit slot.
class TCisPovolenek : public TVyberZCiselniku {
    Q_OBJECT
public:
    explicit TCisPovolenek(TNovaPlatba* platba);

    // Set by the caller before the picker is shown.
    QString id_pov;
    int PovolenkaCislo = 1;

protected:
    void showEvent(QShowEvent* e) override;
    void prevezmiRadek() override;

private:
    bool m_nacteno = false;
};
