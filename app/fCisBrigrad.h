// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "VyberZCiselniku.h"

// The live brigade compensations of the evidence year.
class TCisBrigrad : public TVyberZCiselniku {
    Q_OBJECT
public:
    explicit TCisBrigrad(TNovaPlatba* platba);

protected:
    void prevezmiRadek() override;
};
