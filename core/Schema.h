#pragma once

#include <QStringList>

// The statements of the schema upgrade of data.mdb, step by step: step 1 creates the tables of
// version 2 (29 statements), step 2 brings version 3, step 3 version 4.
QStringList PrikazyUpravy(int krok);
