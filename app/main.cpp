// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTimer>
#include <QWindow>
#include <cstring>
#include <exception>

#include "Aktualizace.h"
#include "Chyba.h"
#include "Formaty.h"
#include "JetSoubor.h"
#include "fMain.h"
#include "uAllYouNeed.h"

namespace {
// An error that no operation caught is shown by the general error report and the program goes
// on with the next event.
class ParmexAplikace : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* prijemce, QEvent* udalost) override {
        try {
            return QApplication::notify(prijemce, udalost);
        } catch (const Chyba& e) {
            ObecneHlaseniChyby(e.zprava());
        } catch (const std::exception& e) {
            ObecneHlaseniChyby(QString::fromLocal8Bit(e.what()));
        }
        return false;
    }
};
}  // namespace

int main(int argc, char* argv[]) {
    // This program started again only to read a Jet file (see JetSoubor.h).
    if (argc >= 2 && std::strcmp(argv[1], jet::kPrepinacCteni) == 0)
        return jet::hlavniCteni(argc, argv);
    ParmexAplikace aplikace(argc, argv);
    // Every file the program addresses by name (data.mdb, dataCis.mdb, the updater and its tmp
    // folder, form.html) lives beside the program, whichever folder it was started from: a
    // menu, a file manager or a terminal elsewhere.
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    QLocale::setDefault(Formaty::jazykProgramu(QLocale::system()));
    const QString chybaCesty = Aktualizace::chybaCestyProgramu(SouborProgramu());
    if (!chybaCesty.isEmpty()) {
        ZobrazDialog(chybaCesty, 2, 0);
        return 1;
    }
    TMain okno;
    if (ProgramKonci()) return NavratovyKod();
    // PARMEX_KONEC_PO_STARTU=1 ends the program as soon as the event loop is idle after the main
    // window's first activation: start-up measurements time the process from start to there.
    if (qEnvironmentVariableIntValue("PARMEX_KONEC_PO_STARTU") == 1) {
        QObject::connect(&aplikace, &QGuiApplication::focusWindowChanged, &aplikace,
                         [](QWindow* okno) {
                             if (okno) QTimer::singleShot(0, qApp, &QCoreApplication::quit);
                         });
    }
    okno.show();
    okno.activateWindow();
    const int kod = aplikace.exec();
    return ProgramKonci() ? NavratovyKod() : kod;
}
