#pragma once
// What the operation, progress and allocation forms share: the two parents they are written
// under (set by the credits window), the work items they offer and their duplicate refusal.
#include "shared/entry_form.h"
#include "shared/messages.h"

namespace creditchild {

// The parent credit and project: values the credits window hands to the start calls.
inline constexpr BoxDef kCredit{.name = "etb_id", .kind = BoxKind::Fixed};
inline constexpr BoxDef kProject{.name = "prj_id", .kind = BoxKind::Fixed};
// A new row (or a row moved by an edit) only under a project and a credit still there.
inline const ParentDef kParents[] = {
    {QStringLiteral("prj_id"), QStringLiteral("prj"), QStringLiteral("id"), msg::kProjectGone},
    {QStringLiteral("etb_id"), QStringLiteral("etebarat"), QStringLiteral("id"), msg::kCreditGone},
};

inline constexpr const char *kWorkItems =
    "مطالعه|خيابان سازي|آسفالت خيابان|اصلاح مسير|جدول تک بتني|ترميم زيرسازي|مخلوط ريزي|زيرسازي|خاکبرداري";
// A second row of one title (or period) under one credit.
inline const QString kDuplicate = QStringLiteral("خطا! محل و منبع و سال تکراريست");

// A member of the family: its boxes (the two parents first) and the column that, with the
// credit, may not repeat. The update writes the parents and the boxes in the boxes' order.
inline EntryDef decl(const char *objectName, const char *caption, const char *table, std::span<const BoxDef> boxes,
                      std::span<const char *const> key)
{
    return {.objectName = objectName, .caption = caption, .table = table, .boxes = boxes, .duplicateKey = key,
            .duplicateMessage = kDuplicate, .parents = kParents, .editedMessage = msg::kEdited};
}

} // namespace creditchild
