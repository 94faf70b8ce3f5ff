#pragma once
#include "core/errors.h"
#include "db/schema.h"

#include <functional>
#include <vector>

class Tdm;

namespace db {

// A change of the schema that an existing database needs (a column's type, a moved value ...):
// run once, in the order of the versions, when a database of an older version is opened.
struct UpgradeStep {
    int version; // the schema's version once the step has run
    std::function<void(Tdm &dm)> run;
};
// The program's steps, in ascending versions; version 1 is the schema as first recorded.
const std::vector<UpgradeStep> &upgradeSteps();
// A statement that changes the schema (ALTER TABLE ...), run as it is: it binds no value, and
// PostgreSQL prepares none of them.
void schemaStatement(Tdm &dm, const QString &sql);

// Brings the main database to the program's schema in one transaction: a new database is
// created at the latest version; an existing one (without a recorded version: version 1) runs
// the steps above its version, each once and in order, recording each version; then every
// missing table and column is added. Existing rows are kept. One set-up at a time, so that two
// workstations starting together run each step once: the version is read, the steps run and the
// version is written under the write lock (BEGIN IMMEDIATE on SQLite; on a server an advisory
// lock held to the end of the transaction, waited for up to the statement bound). A database
// whose recorded version is newer than the last step's (1 without steps) is refused with
// NewerSchema before anything is created or changed. Throws DbError when a statement fails,
// leaving the database as it was.
void setupSchema(Tdm &dm);
void setupSchema(Tdm &dm, const std::vector<UpgradeStep> &steps);
// A database made by a newer program: left as it is.
class NewerSchema : public AppError {
public:
    NewerSchema(int recorded, int known);
};
// The refusal's text: the database's version and the newest the program knows.
QString newerSchemaText(int recorded, int known);
// The version recorded in the main database (0 when none is).
int schemaVersion(Tdm &dm);
// The correspondence database's table, when it is an embedded file of ours.
void setupProtSchema(Tdm &dm);

// The rights pages of the bitumen and register windows.
extern const char *const kPages[13];

// The column type as the dialect writes it.
QString sqlType(const ColumnDef &c, bool postgres);

} // namespace db
