#pragma once
// The delete of a register's row: a level gate, a question and/or the delete password in
// either order (Cancel never deletes), then the row with its children and its log row in one
// transaction, and the done message only after the commit and only when a row was removed.
// When another user removed the row first, it says so and writes no log row.
//
// A window declares its delete:
//
//   const DeleteChild kChildren[] = {{"etebarat", "prj_id"}, {"amaliyat", "prj_id"}};
//   DeleteDef decl;
//   decl.table = "prj";
//   decl.children = kChildren;
//   decl.question = "هشدار! ...";                      // Yes/No/Cancel, only Yes goes on
//   decl.logText = "  حذف مشخصات اعتبار پروژه  " + city + " " + rosta + " " + ...;
//   if (RunDelete(m_ctx, this, decl, ds->value("id")))
//       ds->reopen();
#include <QString>
#include <QStringList>
#include <QVariant>
#include <span>

class AppContext;
class QWidget;

struct DeleteChild {
    const char *table;
    const char *ownerColumn; // the child's column that holds the owner's key
};

struct DeleteDef {
    enum Password {
        NoPassword,
        AskPassword,      // "Password" / "کلمه عبور" / "كلمه عبور را اشتباه وارد نموديد"
        AskDeletePassword // "Delete Password" / "رمز حذف" / "رمز حذف اشتباه بود"
    };
    QString table;
    QString keyColumn = QStringLiteral("id");
    std::span<const DeleteChild> children = {};
    // Only these levels may delete (exact comparison); empty: every level. Refused with
    // levelRefusal and nothing else asked.
    QStringList levels;
    QString levelRefusal;
    // The question (Yes/No/Cancel; anything but Yes ends the command); empty: no question.
    QString question;
    bool questionWithCancel = true;
    Password password = NoPassword;
    bool passwordFirst = false;     // the password before the question
    // The activity log description; empty: no log row.
    QString logText;
    // Shown after the commit when the row was removed; empty: nothing shown.
    QString doneMessage = QStringLiteral("حذف شد");
    // Shown when the row was no longer there; empty: msg::kAlreadyDeleted.
    QString goneMessage;
};

// Runs the delete of the row `key`; true when the row was removed (and committed). *gone
// (when given) tells that the row was no longer there.
bool RunDelete(AppContext &ctx, QWidget *parent, const DeleteDef &decl, const QVariant &key, bool *gone = nullptr);

// A name as the questions and log rows show it: in single quotes, embedded quotes doubled.
QString QuotedName(const QString &text);
