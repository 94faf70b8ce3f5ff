#pragma once
class AppContext;

// Creates every window once, in a fixed order: the login window first, then the main
// window, then the registers. They live for the whole run.
void createForms(AppContext &ctx);
