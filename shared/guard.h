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
