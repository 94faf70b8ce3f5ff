#pragma once
// The benchmarks' databases: a fresh SQLite file or a schema of its own on the server.
#include "core/dm_u.h"
#include "core/errors.h"
#include "db/setup.h"

#include <QTemporaryDir>
#include <QUuid>

// Connects a fresh database with the schema set up: a SQLite file in `dir`, or a schema of its
// own (kept in *schema) on the server of VARNOSET_TEST_PG; false when that is unset.
inline bool openBenchDatabase(Tdm &dm, const QTemporaryDir &dir, bool pg, QString *schema)
{
    DbProfile p;
    if (pg) {
        const QString conn = qEnvironmentVariable("VARNOSET_TEST_PG");
        if (conn.isEmpty())
            return false;
        p = DbProfile::fromConnInfo(conn);
        *schema = QStringLiteral("bench_") + QUuid::createUuid().toString(QUuid::Id128);
        p.schema = *schema;
    } else {
        p = DbProfile::sqliteFile(dir.filePath(QStringLiteral("bench.sqlite")));
    }
    dm.connectMain(p);
    db::setupSchema(dm);
    return true;
}

// Drops the schema of openBenchDatabase (if any) and disconnects.
inline void closeBenchDatabase(Tdm *dm, const QString &schema)
{
    if (!dm)
        return;
    if (!schema.isEmpty()) {
        try {
            dm->exec(QStringLiteral("DROP SCHEMA \"%1\" CASCADE").arg(schema));
        } catch (const AppError &) {
        }
    }
    dm->disconnectAll();
}

