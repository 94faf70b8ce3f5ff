// The program's collation "fa" as a loadable extension of the sqlite3 tool, so that the tool runs
// the program's own statements (".load" this library) as the benchmarks' reference.
#include "core/collation.h"

#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

namespace {
int compare(void *, int la, const void *a, int lb, const void *b)
{
    return persianCompareUtf8(static_cast<const char *>(a), la, static_cast<const char *>(b), lb);
}
} // namespace

extern "C" __attribute__((visibility("default"))) int sqlite3_extension_init(sqlite3 *db, char **,
                                                                             const sqlite3_api_routines *api)
{
    SQLITE_EXTENSION_INIT2(api);
    return sqlite3_create_collation(db, "fa", SQLITE_UTF8, nullptr, compare);
}
