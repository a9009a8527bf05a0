#pragma once

#include <QString>
#include <functional>

class QIODevice;

// Downloads over HTTP with Qt Network, waiting in a local event loop that lets no user input
// through. A transfer that receives nothing for the time-out is cancelled, so a silent server
// cannot hang the program; an HTTP error status (404, 500, ...) is a failed download, never a
// saved error page. Redirects are followed while they do not lead to a less safe scheme.
namespace Stahovani {

// Bytes received so far and the expected total (-1 while the size is unknown).
using Prubeh = std::function<void(qint64 prijato, qint64 celkem)>;

struct Vysledek {
    bool uspech = false;
    int stavHttp = 0;  // 0 when no HTTP answer came
    QString chyba;     // the network layer's text of the failure
};

// The transfer time-out: the given default, unless PARMEX_CASOVY_LIMIT_MS holds a positive
// number of milliseconds (tests use it to meet a silent server quickly).
int casovyLimitMs(int vychozi = 30000);

// Writes the body of the answer to the open device as it arrives.
Vysledek stahni(const QString& adresa, QIODevice* cil, const Prubeh& prubeh = {},
                int limitMs = casovyLimitMs());

// Downloads into a file; the file appears only when the whole download succeeded (an older
// file of that name stays untouched otherwise). Raises Chyba "Error downloading URL: " followed
// by the address on any failure.
void stahniSoubor(const QString& adresa, const QString& soubor, const Prubeh& prubeh = {},
                  int limitMs = casovyLimitMs());

}  // namespace Stahovani
