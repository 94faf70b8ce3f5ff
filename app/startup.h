#pragma once
#include "core/profile.h"

#include <QStringList>

class AppContext;

struct StartOptions {
    bool sampleData = false; // fill a new, empty embedded database with the sample set
};

StartOptions parseStartOptions(const QStringList &args);

// Loads Qt's own Persian translations (qt6-translations-l10n), so that the buttons of message,
// question, input, file and print dialogs read in Persian. False when they are not installed.
bool installQtTranslations();

// The main database of the saved profile; without one, the embedded default file (with the
// saved bounds, if any).
DbProfile configuredMainProfile();

// Connects the databases of the saved profiles (the embedded files by default), sets up
// the schema and, on a new database, the administrator's password. Returns false when the
// program cannot go on (the reason was shown).
bool prepareDatabases(AppContext &ctx, const StartOptions &opts);
