#pragma once
// Stand-ins for the entry forms until they are part of the build: they record what the
// bitumen window's commands put into their boxes.
#include "bitumen/ghir_ins2_u.h"
#include "bitumen/ghir_ins_u.h"

#include <QHash>

namespace pending {
inline QHash<QString, QString> insBoxes, ins2Boxes;
inline bool insInsertMode = false;
} // namespace pending

Tghir_ins::Tghir_ins(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx) { setObjectName(QStringLiteral("Tghir_ins")); }
void Tghir_ins::setBoxText(const QString &column, const QString &text) { pending::insBoxes[column] = text; }
QString Tghir_ins::boxText(const QString &column) const { return pending::insBoxes.value(column); }
void Tghir_ins::setInsertMode(bool insert) { pending::insInsertMode = insert; }
Tghir_ins2::Tghir_ins2(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx) { setObjectName(QStringLiteral("Tghir_ins2")); }
void Tghir_ins2::setBoxText(const QString &column, const QString &text) { pending::ins2Boxes[column] = text; }
QString Tghir_ins2::boxText(const QString &column) const { return pending::ins2Boxes.value(column); }
