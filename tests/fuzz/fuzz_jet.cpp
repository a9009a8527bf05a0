// SPDX-License-Identifier: GPL-3.0-or-later
// The Jet reader on damaged copies of the two real Jet files (a Jet 4 and a Jet 3 file), along
// the path the program takes: the checks made before the reading library is called, the
// reading in a separate process (this executable started with the reader's argument) and the
// image it hands back. The input does not hold a file: it says which of the two to take and
// how to damage it, so that each input stays small while the files keep their real structure:
//   byte 0     bit 0: the file (0 the Jet 4 file, 1 the Jet 3 file)
//              bit 1: cut the file short at the length in bytes 1-3 (taken modulo its size)
//              bit 2: patches land in the first 16 pages (catalogue, table definitions)
//              bit 3: read every table, not only the one chosen by the next byte
//   then a byte choosing one of the file's tables, then patches, each: a page (2 bytes) and an
//   offset in it (2 bytes), both taken modulo what the file has, a length - 1 (1 byte, up to 16)
//   and that many bytes written there.
//
// What must hold: this process never crashes or hangs; the reading ends with Chyba or with a
// database whose every table can be read. The reading process may die of a fault inside the
// reading library, which nothing outside it can prevent (that is why it is a separate
// process); a memory error or undefined behaviour that its sanitizer report places in our own
// code, though, is a finding: the report is printed and this process aborts.
#include <sys/mman.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Chyba.h"
#include "Databaze.h"
#include "JetSoubor.h"

namespace {

QByteArray nacti(const char* jmeno) {
    QFile f(QStringLiteral(PARMEX_JET_DATA "/") + QLatin1String(jmeno));
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "The Jet test file %s is missing.\n", qPrintable(f.fileName()));
        std::abort();
    }
    return f.readAll();
}

QTemporaryDir* g_zpravy = nullptr;  // the sanitizer reports of the reading processes

// Whether a sanitizer report of the reading process points at our code: undefined behaviour
// is only ever reported in instrumented code, which the reading library is not; a memory error
// belongs to the module of its first frame outside the sanitizer's own functions. A report
// without frames (the memory bound reached) is the library's.
bool vadaNase(const QString& zprava) {
    if (zprava.contains(QLatin1String("runtime error:"))) return true;
    static const QRegularExpression ramec(QStringLiteral("^\\s+#\\d+ 0x[0-9a-f]+ in (\\S+) (.*)$"),
                                          QRegularExpression::MultilineOption);
    auto it = ramec.globalMatch(zprava);
    while (it.hasNext()) {
        const auto m = it.next();
        const QString funkce = m.captured(1);
        if (funkce.startsWith(QLatin1String("__"))) continue;  // interceptors, the runtime
        const QString kde = m.captured(2);
        return !kde.contains(QLatin1String("libmdb")) && !kde.contains(QLatin1String("libglib"));
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Started as the reading process.
    if (*argc >= 2 && std::strcmp((*argv)[1], jet::kPrepinacCteni) == 0)
        std::exit(jet::hlavniCteni(*argc, *argv));
    static int argcAplikace = 1;
    new QCoreApplication(argcAplikace, *argv);
    g_zpravy = new QTemporaryDir;
    jet::nastavCtenare(QCoreApplication::applicationFilePath(), 5000);
    // The reading processes write their sanitizer reports where this process reads them.
    const QByteArray kam = ":log_path=" + QFile::encodeName(g_zpravy->filePath("zprava"));
    qputenv("ASAN_OPTIONS", qgetenv("ASAN_OPTIONS") + ":detect_leaks=0" + kam);
    qputenv("UBSAN_OPTIONS", qgetenv("UBSAN_OPTIONS") + ":print_stacktrace=1" + kam);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QByteArray zaklad[2] = {nacti("DateTestDatabase.mdb"), nacti("nwind.mdb")};
    if (size < 1) return 0;
    const uint8_t rizeni = data[0];
    QByteArray soubor = zaklad[rizeni & 1];
    const int strana = (rizeni & 1) ? 2048 : 4096;
    size_t i = 1;
    if ((rizeni & 2) && size >= 4) {
        const uint32_t delka = data[1] | data[2] << 8 | data[3] << 16;
        soubor.truncate(static_cast<int>(delka % static_cast<uint32_t>(soubor.size())));
        i = 4;
    }
    // The file's tables as the program names them; reading them all takes long under the
    // sanitizers, so usually one of them is read.
    static const QStringList tabulky[2] = {
        {QStringLiteral("DateTest")},
        {QStringLiteral("Categories"), QStringLiteral("Customers"), QStringLiteral("Employees"),
         QStringLiteral("Order Details"), QStringLiteral("Orders"), QStringLiteral("Products"),
         QStringLiteral("Shippers"), QStringLiteral("Suppliers"), QStringLiteral("Umsätze")}};
    QStringList cist;
    if (!(rizeni & 8)) {
        const QStringList& nabidka = tabulky[rizeni & 1];
        cist << nabidka.at((i < size ? data[i] : 0) % nabidka.size());
    }
    if (i < size) ++i;
    while (!soubor.isEmpty() && i + 5 <= size) {
        const int stran = qMax(1, static_cast<int>(soubor.size()) / strana);
        const int cisloStrany =
            (data[i] | data[i + 1] << 8) % ((rizeni & 4) ? qMin(16, stran) : stran);
        const int posun = (data[i + 2] | data[i + 3] << 8) % strana;
        const int delka = data[i + 4] % 16 + 1;
        i += 5;
        for (int k = 0; k < delka && i < size; ++k, ++i) {
            const qsizetype kde = qsizetype(cisloStrany) * strana + posun + k;
            if (kde < soubor.size()) soubor[kde] = static_cast<char>(data[i]);
        }
    }

    // The damaged copy lives in memory; the reading process opens it under this process's
    // name for it in /proc.
    const int fd = memfd_create("jet", MFD_CLOEXEC);
    if (fd < 0 || write(fd, soubor.constData(), size_t(soubor.size())) != soubor.size())
        std::abort();
    const QString cesta = QStringLiteral("/proc/%1/fd/%2").arg(getpid()).arg(fd);
    try {
        db::Connection c;
        jet::otevriKeCteni(c, cesta, cist);
        db::Query tabulky(&c);
        tabulky.setSql(QStringLiteral("select name from sqlite_master where type = 'table'"));
        tabulky.open();
        for (tabulky.first(); !tabulky.eof(); tabulky.next()) {
            db::Query q(&c);
            q.setSql(QStringLiteral("select * from \"%1\"").arg(tabulky.field(0).asString()));
            q.open();
        }
    } catch (const Chyba&) {
        // A damaged file, refused with a message: the right outcome.
    }
    close(fd);

    const QDir slozka(g_zpravy->path());
    for (const QString& jmeno : slozka.entryList(QDir::Files)) {
        QFile f(slozka.filePath(jmeno));
        f.open(QIODevice::ReadOnly);
        const QString zprava = QString::fromUtf8(f.readAll());
        f.remove();
        if (vadaNase(zprava)) {
            std::fprintf(stderr, "The reading process reports a fault in our code:\n%s\n",
                         zprava.toUtf8().constData());
            std::abort();
        }
    }
    return 0;
}
