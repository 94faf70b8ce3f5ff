#pragma once
#include "core/context.h"
#include "core/errors.h"
#include "shared/messages.h"
#include "shared/ui.h"

// Runs a command's work; a failure ends it with its message shown to the user.
// Returns false when the work failed.
template <class F> bool guarded(AppContext &ctx, F &&work)
{
    try {
        work();
        return true;
    } catch (const AppError &e) {
        ctx.ui->message(e.message().trimmed().isEmpty() ? msg::kCommandFailed : e.message());
        return false;
    }
}

// Runs work whose failure has been told already (the lists read again after the server could
// not be reached): a failure ends it without a second message.
template <class F> void quietly(F &&work)
{
    try {
        work();
    } catch (const AppError &) {
    }
}
