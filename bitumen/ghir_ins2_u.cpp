#include "bitumen/ghir_ins2_u.h"

#include "bitumen/ghir_formula.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "shared/balloon.h"
#include "shared/guard.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace gf = ghirformula;

const QString Tghir_ins2::kSaved = QStringLiteral("ثبت/ويرايش انجام شد");
const QString Tghir_ins2::kRowGone = QStringLiteral("خطا! اين پروژه در بانک اطلاعاتي يافت نشد؛ شايد از کاربر ديگري حذف شده باشد");
const QString Tghir_ins2::kMissing = QStringLiteral("محاسبه نشد؛ اين خانه ها خالي است: %1");
const QString Tghir_ins2::kSection = QStringLiteral("محاسبات مصرف قير");

namespace {

// The boxes in the order of the window.
const BoxDef kBoxes[] = {
    {.name = "jalase_no", .kind = BoxKind::Line, .caption = "شماره صورتجلسه مصرف قير"},
    {.name = "jalase_dat", .kind = BoxKind::Date, .caption = "تاريخ صورتجلسه مصرف قير"},
    {.name = "az_name", .kind = BoxKind::Combo, .caption = "نام آزمايشگاه", .valueList = "نام آزمايشگاه"},
    {.name = "rep_no", .kind = BoxKind::Line, .caption = "شماره گزارش"},
    {.name = "rep_dat", .kind = BoxKind::Date, .caption = "تاريخ گزارش", .flags = BoxDef::TodayOnClick},
    {.name = "tarakom", .kind = BoxKind::Line, .caption = "درصد تراکم آسفالت"},
    // Each surface beside its thickness.
    {.name = "sorat_area", .kind = BoxKind::Line, .caption = "سطح اصلي طبق صورتجلسه - متر مربع"},
    {.name = "zekhamat_m", .kind = BoxKind::Line, .caption = "ميانگين ضخامت اصلي- سانتيمتر", .flags = BoxDef::NumberText},
    {.name = "sorat_area_f", .kind = BoxKind::Line, .caption = "سطح فرعي طبق صورتجلسه - متر مربع"},
    {.name = "zekhamat_m_f", .kind = BoxKind::Line, .caption = "ميانگين ضخامت فرعي- سانتيمتر", .flags = BoxDef::NumberText},
    {.name = "vazn", .kind = BoxKind::Line, .caption = "ميانگين وزن مخصوص", .flags = BoxDef::NumberText},
    {.name = "ghir_masrafi_m", .kind = BoxKind::Line, .caption = "ميانگين درصد قير مصرفي", .flags = BoxDef::NumberText | BoxDef::Percent},
    {.name = "ghir_prim", .kind = BoxKind::Line, .caption = "ميانگين قير مصرفي پريمکت - کيلوگرم", .flags = BoxDef::NumberText},
    {.name = "bors_m", .kind = BoxKind::Money, .caption = "قيمت بورس زمان تحويل قير - ريال"},
    {.name = "ghir_moadel", .kind = BoxKind::Money, .caption = "قيمت قير جهت معادل سازي - ريال"},
    {.name = "ghir_tahvili", .kind = BoxKind::Line, .caption = "قير تحويلي - تن"},
    {.name = "ghir60", .kind = BoxKind::Computed, .caption = "قير مصرفي 60-70 - تن", .tipTitle = "فرمول محاسبه قير مصرفي 70-60", .tipText = "مساحت × وزن × ضخامت × درصد قير تقسيم بر 10000", .flags = BoxDef::TipOnClick | BoxDef::NumberText},
    {.name = "ghir_m_p", .kind = BoxKind::Computed, .caption = "قير مصرفي پريمکت - تن", .tipTitle = "فرمول محاسبه قير مصرفي پريمکت", .tipText = "مساحت × ميانگين قير پريمکت تقسيم بر 1000", .flags = BoxDef::TipOnClick | BoxDef::NumberText},
    {.name = "ghir_jam", .kind = BoxKind::Computed, .caption = "جمع کل قير مصرفي - تن", .tipTitle = "فرمول محاسبه جمع کل", .tipText = "مجموع قير مصرفي70-60 و قير پريمکت", .flags = BoxDef::TipOnClick | BoxDef::NumberText},
    {.name = "asfalt_ejra", .kind = BoxKind::Computed, .caption = "ميزان آسفالت اجرا شده - تن", .tipTitle = "فرمول محاسبه ميزان آسفالت اجرا شده", .tipText = "سطح × ضخامت × وزن مخصوص تقسيم بر 100", .flags = BoxDef::TipOnClick | BoxDef::NumberText},
    {.name = "zarib", .kind = BoxKind::Line, .caption = "ضريب کسورات اجرا", .flags = BoxDef::NumberText},
    {.name = "asfalt_price", .kind = BoxKind::Computed, .caption = "مبلغ خالص وضعيت آسفالت - ريال", .tipTitle = "فرمول مبلغ خالص وضعيت", .tipText = "مبلغ قرارداد خريد × ميزان آسفالت اجراشده + مبلغ قرارداد اجرا × ميزان آسفالت اجراشدخ × ضريب کسورات اجرا", .flags = BoxDef::Rials},
    {.name = "ghir_t", .kind = BoxKind::Computed, .caption = "قير تهاتري", .tipTitle = "فرمول محاسبه قير تهاتري", .tipText = "مبلغ خاص وضعيت تقسيم بر قيمت قير معادل", .flags = BoxDef::TipOnClick | BoxDef::NumberText},
    {.name = "status", .kind = BoxKind::Combo, .caption = "وضعيت", .items = "بايگاني"},
    {.name = "cmt", .kind = BoxKind::Line, .caption = "توضيحات", .flags = BoxDef::Wide},
    {.name = "mokhtasat", .kind = BoxKind::Combo, .caption = "مختصات و موقعيت معابر اجرا شده", .valueList = "مختصات معابر", .flags = BoxDef::Wide},
    {.name = "XS", .kind = BoxKind::Line, .caption = "ابتدا X", .width = 90},
    {.name = "YS", .kind = BoxKind::Line, .caption = "ابتدا Y", .width = 90},
    {.name = "XE", .kind = BoxKind::Line, .caption = "انتها X", .width = 90},
    {.name = "YE", .kind = BoxKind::Line, .caption = "انتها  Y", .width = 90},
};

const QStringList kTabOrder = {
    QStringLiteral("jalase_no"),    QStringLiteral("jalase_dat"),   QStringLiteral("az_name"),
    QStringLiteral("rep_no"),       QStringLiteral("rep_dat"),      QStringLiteral("sorat_area"),
    QStringLiteral("zekhamat_m"),   QStringLiteral("vazn"),         QStringLiteral("ghir_masrafi_m"),
    QStringLiteral("ghir_prim"),    QStringLiteral("bors_m"),       QStringLiteral("ghir_moadel"),
    QStringLiteral("ghir_tahvili"), QStringLiteral("ghir60"),       QStringLiteral("ghir_m_p"),
    QStringLiteral("ghir_jam"),     QStringLiteral("asfalt_ejra"),  QStringLiteral("zarib"),
    QStringLiteral("ghir_t"),       QStringLiteral("status"),       QStringLiteral("cmt"),
    QStringLiteral("BitBtn1"),      QStringLiteral("asfalt_price"), QStringLiteral("mokhtasat"),
    QStringLiteral("XS"),           QStringLiteral("XE"),           QStringLiteral("YS"),
    QStringLiteral("YE"),           QStringLiteral("sorat_area_f"), QStringLiteral("zekhamat_m_f"),
    QStringLiteral("tarakom"),
};

// The columns the update writes, in its order.
const char *const kUpdate[] = {
    "az_name", "rep_no", "rep_dat", "sorat_area", "zekhamat_m", "sorat_area_f",
    "zekhamat_m_f", "tarakom", "vazn", "ghir_masrafi_m", "ghir_prim", "bors_m",
    "asfalt_price", "ghir_tahvili", "ghir60", "ghir_m_p", "ghir_jam", "ghir_t",
    "jalase_no", "jalase_dat", "zarib", "asfalt_ejra", "ghir_moadel", "status",
    "cmt", "mokhtasat", "XS", "XE", "YS", "YE",
};

const EntryDef &decl()
{
    static const EntryDef s = {
        .objectName = "Tghir_ins2",
        .caption = "ثبت/ويرايش اطلاعات تکميلي قير",
        .table = "ghir",
        .boxes = kBoxes,
        .insertButton = {},
        .editButton = {"BitBtn1", "ثبت/ويراش"},
        .updateColumns = kUpdate,
        .editedMessage = Tghir_ins2::kSaved,
        .rowGoneMessage = Tghir_ins2::kRowGone,
        .pairsPerRow = 2,
    };
    return s;
}

} // namespace

const QStringList &Tghir_ins2::columns()
{
    static const QStringList cols = ColumnList(kUpdate);
    return cols;
}

QString Tghir_ins2::caption(const QString &column)
{
    for (const BoxDef &d : kBoxes)
        if (column.compare(QLatin1String(d.name), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(d.caption);
    return {};
}

Tghir_ins2::Tghir_ins2(AppContext &ctx, QWidget *parent)
    : EntryForm(ctx, decl(), parent)
{
    for (const char *name : {"ghir_moadel", "ghir60", "ghir_m_p", "ghir_jam", "asfalt_ejra", "asfalt_price", "ghir_t"})
        onEnter(QLatin1String(name), [this](QLineEdit *b) { enterBox(b); });
    // A click on these captions rounds their box to a whole number.
    for (const char *name : {"ghir60", "ghir_m_p", "ghir_jam", "ghir_t"})
        onCaptionClick(QLatin1String(name), [this, name] {
            gf::roundBox(edit(QLatin1String(name)), captionLabel(QLatin1String(name))->text());
        });
    QWidget *previous = nullptr;
    for (const QString &name : kTabOrder) {
        QWidget *w = name == QLatin1String("BitBtn1") ? findChild<QWidget *>(name) : box(name);
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

// One section of two caption/box pairs a row; the coordinates sit together in one row under
// their own caption, the long texts take a whole row.
void Tghir_ins2::layoutBoxes(QVBoxLayout *outer)
{
    auto *group = new QGroupBox(kSection, this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto *grid = new QGridLayout(group);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    outer->addWidget(group);
    int slot = 0;
    QHBoxLayout *coords = nullptr;
    for (const BoxDef &d : kBoxes) {
        const QString name = QLatin1String(d.name);
        QWidget *w = box(name);
        QLabel *label = captionLabel(name);
        w->setParent(group);
        label->setParent(group);
        if (d.width == 90) {
            if (!coords) {
                slot += slot % 2;
                auto *title = new QLabel(QStringLiteral("مختصات"), group);
                title->setObjectName(QStringLiteral("coords_lbl"));
                coords = new QHBoxLayout;
                grid->addWidget(title, slot / 2, 0);
                grid->addLayout(coords, slot / 2, 1, 1, 3);
                slot += 2;
            }
            coords->addWidget(label);
            coords->addWidget(w, 1);
            continue;
        }
        if (d.flags & BoxDef::Wide) {
            slot += slot % 2;
            grid->addWidget(label, slot / 2, 0);
            grid->addWidget(w, slot / 2, 1, 1, 3);
            slot += 2;
            continue;
        }
        grid->addWidget(label, slot / 2, (slot % 2) * 2);
        grid->addWidget(w, slot / 2, (slot % 2) * 2 + 1);
        ++slot;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    QFont bold = group->font();
    bold.setBold(true);
    group->setFont(bold);
    QFont plain = bold;
    plain.setBold(false);
    for (QWidget *c : group->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        c->setFont(plain);
}

long double Tghir_ins2::storedAmount(const char *column) const
{
    DataSet *g = m_ctx.dm->ADOQ_ghir;
    if (!g->isOpen() || g->eof() || g->fieldIndex(QLatin1String(column)) < 0)
        throw gf::FormulaError{};
    const QVariant v = g->value(QLatin1String(column));
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int || v.typeId() == QMetaType::ULongLong)
        return static_cast<long double>(v.toLongLong());
    const QString t = g->text(QLatin1String(column));
    return t.trimmed().isEmpty() ? 0.0L : gf::number(t);
}

void Tghir_ins2::enterBox(QLineEdit *b)
{
    const QString name = b->objectName();
    if (name == QLatin1String("ghir_moadel")) {
        // The price used for the equivalence is the price of the bitumen received.
        guarded(m_ctx, [&] {
            DataSet *g = m_ctx.dm->ADOQ_ghir;
            if (g->isOpen() && !g->eof())
                setBoxText(name, g->text(QStringLiteral("ghir_daryafti")));
        });
        return;
    }
    // A formula with an empty input is not computed: the box's balloon names what is missing.
    static const QHash<QString, QStringList> inputs{
        {QStringLiteral("ghir60"), {"sorat_area", "zekhamat_m", "sorat_area_f", "zekhamat_m_f", "vazn", "tarakom", "ghir_masrafi_m"}},
        {QStringLiteral("ghir_m_p"), {"sorat_area", "sorat_area_f", "ghir_prim"}},
        {QStringLiteral("ghir_jam"), {"ghir60", "ghir_m_p"}},
        {QStringLiteral("asfalt_ejra"), {"sorat_area", "zekhamat_m", "sorat_area_f", "zekhamat_m_f", "tarakom", "vazn"}},
        {QStringLiteral("asfalt_price"), {"asfalt_ejra", "zarib"}},
        {QStringLiteral("ghir_t"), {"asfalt_price", "ghir_moadel"}},
    };
    QStringList empty;
    for (const QString &input : inputs.value(name))
        if (edit(input)->text().trimmed().isEmpty())
            empty << captionLabel(input)->text();
    const BoxDef *d = std::find_if(std::begin(kBoxes), std::end(kBoxes),
                                   [&](const BoxDef &x) { return name == QLatin1String(x.name); });
    QString tip = QString::fromUtf8(d->tipText);
    if (!empty.isEmpty())
        tip += QStringLiteral("\n") + kMissing.arg(empty.join(QStringLiteral("، ")));
    AddBalloonTip(balloonTip(), b, 1, QString::fromUtf8(d->tipTitle), tip);
    if (!empty.isEmpty())
        return;

    auto num = [this](const char *column) { return gf::number(edit(QLatin1String(column))->text()); };
    // The volume of the main and side surfaces, as written and read back.
    auto volume = [&] {
        return gf::roundTrip(num("sorat_area") * num("zekhamat_m") + num("sorat_area_f") * num("zekhamat_m_f"));
    };

    if (name == QLatin1String("ghir60")) {
        gf::computeInto(b, [&] {
            return ((volume() * num("vazn")) * gf::divide(num("tarakom"), 100)) * num("ghir_masrafi_m") / 10000;
        });
    } else if (name == QLatin1String("ghir_m_p")) {
        gf::computeInto(b, [&] { return (num("sorat_area") + num("sorat_area_f")) * num("ghir_prim") / 1000; });
    } else if (name == QLatin1String("ghir_jam")) {
        gf::computeInto(b, [&] { return num("ghir60") + num("ghir_m_p"); });
    } else if (name == QLatin1String("asfalt_ejra")) {
        gf::computeInto(b, [&] { return gf::Floor((volume() * gf::divide(num("tarakom"), 100)) * num("vazn") / 100); });
    } else if (name == QLatin1String("asfalt_price")) {
        gf::computeInto(b, [&] {
            const long double asphalt = num("asfalt_ejra");
            return storedAmount("prot_mablagh") * asphalt
                 + storedAmount("prot_mablagh_ejra") * asphalt * num("zarib");
        });
    } else if (name == QLatin1String("ghir_t")) {
        gf::computeInto(b, [&] { return gf::Round(gf::divide(num("asfalt_price"), num("ghir_moadel"))); });
    }
}
