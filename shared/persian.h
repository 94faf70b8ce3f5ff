#pragma once
#include "core/collation.h"

#include <QString>

// Every Persian keheh "ک" replaced by the Arabic kaf "ك", the form stored in the database.
QString NormalizeKaf(const QString &text);
