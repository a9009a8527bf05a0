// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class QIODevice;

// Downloads over HTTP with Qt Network, waiting in a local event loop that lets no user input
// through. A transfer that receives nothing for the time-out is cancelled, so a silent server
// cannot hang the program, and so is one that has not ended by its overall deadline, so a server
// that trickles a byte now and then cannot hang it either; an HTTP error status (404, 500, ...)
// is a failed download, never a saved error page. Redirects are followed while they do not lead
// to a less safe scheme.
namespace Stahovani {

// Bytes received so far and the expected total (-1 while the size is unknown).
using Prubeh = std::function<void(qint64 prijato, qint64 celkem)>;

struct Vysledek {
    bool uspech = false;
    int stavHttp = 0;          // 0 when no HTTP answer came
    QString chyba;             // the network layer's text of the failure
    qint64 zapsano = 0;        // bytes of the body written to the device
    qint64 ohlaseno = -1;      // the body's length as the server announced it, -1 when it did not
    bool zapisSelhal = false;  // the device refused the body (a full disk, ...)
};

// The transfer time-out: the given default, unless PARMEX_CASOVY_LIMIT_MS holds a positive
// number of milliseconds (tests use it to meet a silent server quickly).
int casovyLimitMs(int vychozi = 30000);

// The overall deadline of a whole download: the given default, unless PARMEX_CELKOVY_LIMIT_MS
// holds a positive number of milliseconds (tests use it to meet a trickling server quickly).
int celkovyLimitMs(int vychozi);

// The announcement file is a few hundred bytes: it gets a few seconds beyond the time-out.
int limitOznameniMs();
// An archive may be tens of megabytes on a slow line: 30 minutes carry 20 MB at 100 kbit/s.
constexpr int kLimitArchivuMs = 30 * 60 * 1000;

// Writes the body of the answer to the open device as it arrives. celkemMs is the overall
// deadline (0: none); a download stopped by it fails with a text that says so. A body shorter
// than the length the server announced fails too.
Vysledek stahni(const QString& adresa, QIODevice* cil, const Prubeh& prubeh = {},
                int limitMs = casovyLimitMs(), int celkemMs = 0);

// Downloads into a file; the file appears only when the whole download succeeded and every byte
// received is on the disk (written through and counted again), an older file of that name
// stays untouched otherwise. Raises Chyba "Error downloading URL: " followed by the address on
// any failure, the overall deadline (default: the archives' one) included; a full disk is said
// on a line of its own.
void stahniSoubor(const QString& adresa, const QString& soubor, const Prubeh& prubeh = {},
                  int limitMs = casovyLimitMs(), int celkemMs = celkovyLimitMs(kLimitArchivuMs));

}  // namespace Stahovani
