#pragma once
#include <QString>
#include <QVariantList>

class AppContext;
class QComboBox;

// Replaces a combo box's list by the rows of one "select distinct" statement (the first
// column of each row, in the order returned) run on dm.ADOQ_abadiha; the text stays.
void FillPlaceCombo(AppContext &ctx, QComboBox *combo, const QString &sql, const QVariantList &binds = {});
