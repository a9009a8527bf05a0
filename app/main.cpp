#include <QApplication>
#include <exception>

#include "Chyba.h"
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
    ParmexAplikace aplikace(argc, argv);
    TMain okno;
    if (ProgramKonci()) return 0;
    okno.show();
    okno.activateWindow();
    return aplikace.exec();
}
