#pragma once

#include <QString>
#include <functional>

// Opening a document or a page with the desktop's default program (the shell's "open").
// Tests replace the opener so that nothing is started.
namespace Shell {
void otevri(const QString& souborNeboAdresa);
void nastavOtevirani(std::function<void(const QString&)> otevirani);
}  // namespace Shell
