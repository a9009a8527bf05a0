// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>

#include "Obnovnik.h"
#include "fMain.h"

int main(int argc, char* argv[]) {
    QApplication aplikace(argc, argv);
    obnovnik::TMain okno(obnovnik::argumentyProcesu(QCoreApplication::arguments()));
    if (okno.skonceno()) return 0;
    okno.show();
    return aplikace.exec();
}
