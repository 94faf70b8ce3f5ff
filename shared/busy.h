#pragma once
// The wait cursor lives with the data module, which shows it for long statements.
#include "core/busy.h"
