// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "VyberZCiselniku.h"

// The membership fees of the evidence year, whatever their state.
class TCisClenstvi : public TVyberZCiselniku {
    Q_OBJECT
public:
    explicit TCisClenstvi(TNovaPlatba* platba);

protected:
    void prevezmiRadek() override;
};
