#pragma once
#include <QStringList>

class AppContext;

struct StartOptions {
    bool sampleData = false; // fill a new, empty embedded database with the sample set
};

StartOptions parseStartOptions(const QStringList &args);

// Connects the databases of the saved profiles (the embedded files by default), sets up
// the schema and, on a new database, the administrator's password. Returns false when the
// program cannot go on (the reason was shown).
bool prepareDatabases(AppContext &ctx, const StartOptions &opts);
