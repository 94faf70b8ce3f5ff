#pragma once
#include "db/schema.h"

class Tdm;

namespace db {

// Creates every missing table and column of the connection; an existing
// database keeps all its rows. Idempotent. Throws DbError when a statement fails.
void setupSchema(Tdm &dm);
// The correspondence database's table, when it is an embedded file of ours.
void setupProtSchema(Tdm &dm);

// The rights pages of the bitumen and register windows.
extern const char *const kPages[13];

// The column type as the dialect writes it.
QString sqlType(const ColumnDef &c, bool postgres);

} // namespace db
