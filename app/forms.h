#pragma once
class AppContext;

// Registers every window of the program. Each is made the first time it is asked for (the
// login window at the start, the main window at sign-in, a register when it is first opened)
// and lives for the rest of the run.
void createForms(AppContext &ctx);
