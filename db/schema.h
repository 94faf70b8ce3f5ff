#pragma once
// Table definitions of the main and correspondence databases, one description
// for both dialects. The schema set-up creates what is missing from these.
#include <QString>
#include <QStringList>
#include <vector>

namespace db {

enum class ColType {
    Identity,   // integer key given by the database (INTEGER PRIMARY KEY AUTOINCREMENT / bigint identity)
    Int,        // int
    BigInt,     // bigint
    SmallInt,   // smallint
    Float,      // float (double precision)
    Money,      // whole rials: NUMERIC(19,4) on PostgreSQL
    Text,       // nvarchar(length); length 0 = unbounded text
    Bool,       // bit / boolean
    Blob,       // image / bytea
    DateTime,   // datetime / timestamp
};

struct ColumnDef {
    const char *name;          // lower case, as created
    ColType type;
    int length = 0;            // for Text: the column's width, 0 = unbounded
    const char *defaultSql = nullptr; // "now" for the current time, or a literal such as "0"
    bool date = false;         // a Text(10) column of Solar dates "yyyy/mm/dd" (or the empty date)
};

enum class Conn { Main, Prot };

struct TableDef {
    const char *name;          // lower case
    std::vector<ColumnDef> columns;
    Conn conn = Conn::Main;
};

// Every table, in creation order.
const std::vector<TableDef> &tables();

// nullptr when unknown. Names compare case-insensitively.
const TableDef *findTable(const QString &name);
const ColumnDef *findColumn(const QString &table, const QString &column);

} // namespace db
