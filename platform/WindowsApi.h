// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Windows' own interface, without its macros min and max, which break std::min and Qt's code.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
