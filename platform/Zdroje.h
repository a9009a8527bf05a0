// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Files embedded in the program (Qt resources under ":/<type>/<name>"), written out to disk.
namespace Zdroje {
// Writes the resource to the file, creating it or replacing its content; raises Chyba when the
// resource is missing or the file cannot be written. The old content is replaced only once the
// new one is completely written.
void ulozDoSouboru(const QString& typ, const QString& jmeno, const QString& soubor);
}  // namespace Zdroje
