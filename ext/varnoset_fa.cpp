// The program's collation "fa" as a loadable SQLite extension, for the sqlite3 tool and any
// other program that opens the embedded database: an index of `ghir` sorts by it, so without it
// a row of `ghir` cannot be written nor a dump restored. In the sqlite3 tool:
//     .load ./varnoset_fa
// The order is the program's own (core/collation_utf8.cpp, compiled into this library).
#include "core/collation_utf8.h"

#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

// The entry point SQLite derives from the file name "varnoset_fa".
extern "C" int sqlite3_varnosetfa_init(sqlite3 *db, char **, const sqlite3_api_routines *api)
{
    SQLITE_EXTENSION_INIT2(api);
    return sqlite3_create_collation(db, "fa", SQLITE_UTF8, nullptr, persianCollateUtf8);
}
