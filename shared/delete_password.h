#pragma once
#include <QString>

class AppContext;

// Asks for the delete password in an input box (default "?") and compares the answer
// exactly with the value list "رمز حذف". With no such row nothing matches.
bool ConfirmDeletePassword(AppContext &ctx, const QString &caption, const QString &prompt);

// The two variants in use.
extern const QString kPasswordCaption;        // "Password"
extern const QString kPasswordPrompt;         // "کلمه عبور"
extern const QString kPasswordMismatch;       // "كلمه عبور را اشتباه وارد نموديد"
extern const QString kDeletePasswordCaption;  // "Delete Password"
extern const QString kDeletePasswordPrompt;   // "رمز حذف"
extern const QString kDeletePasswordMismatch; // "رمز حذف اشتباه بود"
