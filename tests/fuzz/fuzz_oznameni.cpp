// The version comparison on any pair of texts: never a crash, and the answers agree with each
// other (a version equals itself; when one is higher the other is lower).
#include <QApplication>
#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "Zpravy.h"
#include "fMain.h"
#include "uAllYouNeed.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication aplikace(*argc, *argv);
    static QTemporaryDir slozka;
    QDir::setCurrent(slozka.path());
    Zpravy::nastavAutomat(true);
    static TMain okno;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString vstup = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const int deleni = vstup.indexOf(QLatin1Char('\n'));
    const QString a = deleni < 0 ? vstup : vstup.left(deleni);
    const QString b = deleni < 0 ? QString() : vstup.mid(deleni + 1);
    const int ab = Main->PorovnejVerze(a, b);
    const int ba = Main->PorovnejVerze(b, a);
    if (Main->PorovnejVerze(a, a) != 0) std::abort();
    if (ab > 2 || (ab == 0) != (ba == 0) || (ab == 1) != (ba == 2)) std::abort();
    return 0;
}
