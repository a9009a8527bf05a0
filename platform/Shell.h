// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

// Opening a document or a page with the desktop's default program (the shell's "open").
// Tests replace the opener so that nothing is started.
namespace Shell {
// When nothing can open it (no opener on the system, or the opener finds no program for it),
// nepodarilo runs; it may run a moment later, from the event loop, after the caller has
// returned.
void otevri(const QString& souborNeboAdresa, std::function<void()> nepodarilo = {});
// Records instead of opening (tests); none opens again.
void nastavOtevirani(std::function<void(const QString&)> otevirani);
// The desktop's opener program, "xdg-open" unless a test gives a stand-in.
void nastavOtevirac(const QString& program);
}  // namespace Shell
