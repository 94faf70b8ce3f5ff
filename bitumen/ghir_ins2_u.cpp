#include "bitumen/ghir_ins2_u.h"

#include "bitumen/ghir_entry.h"
#include "bitumen/ghir_formula.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "core/errors.h"
#include "shared/balloon.h"
#include "shared/dates.h"
#include "shared/edits.h"
#include "shared/guard.h"
#include "shared/settings_list.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace ghirentry;
namespace gf = ghirformula;

const QString Tghir_ins2::kSaved = QStringLiteral("ثبت/ويرايش انجام شد");
const QString Tghir_ins2::kRowGone = QStringLiteral("خطا! اين پروژه در بانک اطلاعاتي يافت نشد؛ شايد از کاربر ديگري حذف شده باشد");

namespace {

using ghirentry::Kind;

struct BoxDef {
    const char *name;
    Kind kind;
    const char *caption;
};

// The boxes in the order of the window.
const BoxDef kBoxes[] = {
    {"jalase_no", Kind::Edit, "شماره صورتجلسه مصرف قير"},
    {"jalase_dat", Kind::Date, "تاريخ صورتجلسه مصرف قير"},
    {"az_name", Kind::Combo, "نام آزمايشگاه"},
    {"rep_no", Kind::Edit, "شماره گزارش"},
    {"rep_dat", Kind::TodayDate, "تاريخ گزارش"},
    {"sorat_area", Kind::Edit, "سطح اصلي طبق صورتجلسه - متر مربع"},
    {"zekhamat_m", Kind::Edit, "ميانگين ضخامت اصلي- سانتيمتر"},
    {"sorat_area_f", Kind::Edit, "سطح فرعي طبق صورتجلسه - متر مربع"},
    {"zekhamat_m_f", Kind::Edit, "ميانگين ضخامت فرعي- سانتيمتر"},
    {"tarakom", Kind::Edit, "درصد تراکم آسفالت"},
    {"vazn", Kind::Edit, "ميانگين وزن مخصوص"},
    {"ghir_masrafi_m", Kind::Edit, "ميانگين درصد قير مصرفي"},
    {"ghir_prim", Kind::Edit, "ميانگين قير مصرفي پريمکت - کيلوگرم"},
    {"bors_m", Kind::Money, "قيمت بورس زمان تحويل قير - ريال"},
    {"ghir_moadel", Kind::Money, "قيمت قير جهت معادل سازي - ريال"},
    {"ghir_tahvili", Kind::Edit, "قير تحويلي - تن"},
    {"ghir60", Kind::Computed, "قير مصرفي 60-70 - تن"},
    {"ghir_m_p", Kind::Computed, "قير مصرفي پريمکت - تن"},
    {"ghir_jam", Kind::Computed, "جمع کل قير مصرفي - تن"},
    {"asfalt_ejra", Kind::Computed, "ميزان آسفالت اجرا شده - تن"},
    {"zarib", Kind::Edit, "ضريب کسورات اجرا"},
    {"asfalt_price", Kind::Computed, "مبلغ خالص وضعيت آسفالت - ريال"},
    {"ghir_t", Kind::Computed, "قير تهاتري"},
    {"status", Kind::Combo, "وضعيت"},
    {"cmt", Kind::Edit, "توضيحات"},
    {"mokhtasat", Kind::Combo, "مختصات و موقعيت معابر اجرا شده"},
    {"XS", Kind::Coord, "ابتدا X"},
    {"YS", Kind::Coord, "ابتدا Y"},
    {"XE", Kind::Coord, "انتها X"},
    {"YE", Kind::Coord, "انتها  Y"},
};

struct BalloonDef {
    const char *name;
    const char *title;
    const char *text;
};
const BalloonDef kBalloons[] = {
    {"ghir60", "فرمول محاسبه قير مصرفي 70-60", "مساحت × وزن × ضخامت × درصد قير تقسيم بر 10000"},
    {"ghir_m_p", "فرمول محاسبه قير مصرفي پريمکت", "مساحت × ميانگين قير پريمکت تقسيم بر 1000"},
    {"ghir_jam", "فرمول محاسبه جمع کل", "مجموع قير مصرفي70-60 و قير پريمکت"},
    {"asfalt_ejra", "فرمول محاسبه ميزان آسفالت اجرا شده", "سطح × ضخامت × وزن مخصوص تقسيم بر 100"},
    {"asfalt_price", "فرمول مبلغ خالص وضعيت", "مبلغ قرارداد خريد × ميزان آسفالت اجراشده + مبلغ قرارداد اجرا × ميزان آسفالت اجراشدخ × ضريب کسورات اجرا"},
    {"ghir_t", "فرمول محاسبه قير تهاتري", "مبلغ خاص وضعيت تقسيم بر قيمت قير معادل"},
};

// Labels whose click rounds their box to a whole number.
const QStringList kRoundingLabels = {QStringLiteral("ghir60"), QStringLiteral("ghir_m_p"), QStringLiteral("ghir_jam"),
                                     QStringLiteral("ghir_t")};
// Boxes whose balloon a click shows without computing.
const QStringList kClickBalloons = {QStringLiteral("ghir60"), QStringLiteral("ghir_m_p"), QStringLiteral("ghir_jam"),
                                    QStringLiteral("asfalt_ejra"), QStringLiteral("ghir_t")};

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

// Text columns holding the numbers that the formulas read and write.
bool holdsNumberText(const QString &column)
{
    static const QStringList cols = {
        QStringLiteral("zekhamat_m"), QStringLiteral("zekhamat_m_f"), QStringLiteral("vazn"),
        QStringLiteral("ghir_masrafi_m"), QStringLiteral("ghir_prim"), QStringLiteral("ghir60"),
        QStringLiteral("ghir_m_p"),   QStringLiteral("ghir_jam"),     QStringLiteral("ghir_t"),
        QStringLiteral("zarib"),      QStringLiteral("asfalt_ejra"),
    };
    return cols.contains(column);
}

// A stored amount of the current allocation, exactly (0 when empty); throws
// FormulaError when there is no current allocation.
long double storedAmount(AppContext &ctx, const char *column)
{
    DataSet *g = ctx.dm->ADOQ_ghir;
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

} // namespace

const QStringList &Tghir_ins2::columns()
{
    static const QStringList cols = {
        QStringLiteral("az_name"),    QStringLiteral("rep_no"),       QStringLiteral("rep_dat"),
        QStringLiteral("sorat_area"), QStringLiteral("zekhamat_m"),   QStringLiteral("sorat_area_f"),
        QStringLiteral("zekhamat_m_f"), QStringLiteral("tarakom"),    QStringLiteral("vazn"),
        QStringLiteral("ghir_masrafi_m"), QStringLiteral("ghir_prim"), QStringLiteral("bors_m"),
        QStringLiteral("asfalt_price"), QStringLiteral("ghir_tahvili"), QStringLiteral("ghir60"),
        QStringLiteral("ghir_m_p"),   QStringLiteral("ghir_jam"),     QStringLiteral("ghir_t"),
        QStringLiteral("jalase_no"),  QStringLiteral("jalase_dat"),   QStringLiteral("zarib"),
        QStringLiteral("asfalt_ejra"), QStringLiteral("ghir_moadel"), QStringLiteral("status"),
        QStringLiteral("cmt"),        QStringLiteral("mokhtasat"),    QStringLiteral("XS"),
        QStringLiteral("XE"),         QStringLiteral("YS"),           QStringLiteral("YE"),
    };
    return cols;
}

Tghir_ins2::Tghir_ins2(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setEntryWindow(this, QStringLiteral("Tghir_ins2"), QStringLiteral("ثبت/ويرايش اطلاعات تکميلي قير"));
    buildBoxes();
    m_tip = CreateBalloonTip(this);
    for (const BalloonDef &b : kBalloons)
        AddBalloonTip(m_tip, box(QLatin1String(b.name)), 1, QString::fromUtf8(b.title), QString::fromUtf8(b.text));
    connect(m_saveBtn, &QPushButton::clicked, this, [this] { save(); });
}

void Tghir_ins2::buildBoxes()
{
    auto *outer = new QVBoxLayout(this);
    QGridLayout *grid = nullptr;
    QGroupBox *group = section(QStringLiteral("GroupBox1"), QStringLiteral("محاسبات مصرف قير"), this, &grid);
    outer->addWidget(group);

    // Two caption/box pairs a row; the coordinates sit together under their own caption.
    int slot = 0;
    QHBoxLayout *coords = nullptr;
    for (const BoxDef &d : kBoxes) {
        const QString name = QLatin1String(d.name);
        const QString caption = QString::fromUtf8(d.caption);
        QWidget *w = ghirentry::makeBox(d.kind, name, group);
        m_boxes.insert(name.toLower(), w);

        QLabel *label = nullptr;
        auto *e = qobject_cast<QLineEdit *>(w);
        if (d.kind == Kind::TodayDate)
            label = new TClickLabel(caption, group, [e] { e->setText(SolarDateText()); });
        else if (kRoundingLabels.contains(name))
            label = new TClickLabel(caption, group, [this, e] { guarded(m_ctx, [e] { gf::roundBox(e); }); });
        else
            label = new QLabel(caption, group);
        label->setObjectName(name + QStringLiteral("_lbl"));
        label->setBuddy(w);
        if (d.kind == Kind::Computed || name == QLatin1String("ghir_moadel"))
            w->installEventFilter(this);

        if (d.kind == Kind::Coord) {
            if (!coords) {
                if (slot % 2)
                    ++slot;
                auto *title = new QLabel(QStringLiteral("مختصات"), group);
                title->setObjectName(QStringLiteral("coords_lbl"));
                coords = new QHBoxLayout;
                grid->addWidget(title, slot / 2, 0);
                grid->addLayout(coords, slot / 2, 1, 1, 3);
                slot += 2;
            }
            w->setMinimumWidth(90);
            coords->addWidget(label);
            coords->addWidget(w, 1);
            continue;
        }
        if (name == QLatin1String("mokhtasat") || name == QLatin1String("cmt")) {
            // The long texts take a whole row.
            if (slot % 2)
                ++slot;
            grid->addWidget(label, slot / 2, 0);
            grid->addWidget(w, slot / 2, 1, 1, 3);
            slot += 2;
            continue;
        }
        w->setMinimumWidth(170);
        grid->addWidget(label, slot / 2, (slot % 2) * 2);
        grid->addWidget(w, slot / 2, (slot % 2) * 2 + 1);
        ++slot;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    plainChildren(group);

    auto *status = qobject_cast<QComboBox *>(box(QStringLiteral("status")));
    status->addItem(QStringLiteral("بايگاني"));
    status->setEditText(QString());

    m_saveBtn = new QPushButton(QStringLiteral("ثبت/ويراش"), this);
    m_saveBtn->setObjectName(QStringLiteral("BitBtn1"));
    m_saveBtn->setAutoDefault(false);
    m_saveBtn->setDefault(false);
    m_saveBtn->setMinimumWidth(110);
    QFont f = m_saveBtn->font();
    f.setBold(true);
    m_saveBtn->setFont(f);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_saveBtn);
    buttons->addStretch(1);
    outer->addLayout(buttons);

    QWidget *previous = nullptr;
    for (const QString &name : kTabOrder) {
        QWidget *w = name == QLatin1String("BitBtn1") ? m_saveBtn : box(name);
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

QWidget *Tghir_ins2::box(const QString &column) const
{
    QWidget *w = m_boxes.value(column.toLower());
    if (!w)
        throw AppError(QStringLiteral("Tghir_ins2: no box %1").arg(column));
    return w;
}

QLineEdit *Tghir_ins2::edit(const QString &column) const
{
    return qobject_cast<QLineEdit *>(box(column));
}

void Tghir_ins2::setBoxText(const QString &column, const QString &text)
{
    ghirentry::setBoxText(box(column), text);
}

QString Tghir_ins2::boxText(const QString &column) const
{
    return ghirentry::boxText(box(column));
}

void Tghir_ins2::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    guarded(m_ctx, [this] {
        LoadSettingList(m_ctx, QStringLiteral("نام آزمايشگاه"), qobject_cast<QComboBox *>(box(QStringLiteral("az_name"))));
        LoadSettingList(m_ctx, QStringLiteral("مختصات معابر"), qobject_cast<QComboBox *>(box(QStringLiteral("mokhtasat"))));
    });
}

bool Tghir_ins2::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent *>(e)->reason();
        // Entering a box, not the window coming back to the front.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (auto *le = qobject_cast<QLineEdit *>(watched))
                guarded(m_ctx, [&] { enterBox(le); });
        }
    } else if (e->type() == QEvent::MouseButtonPress) {
        if (kClickBalloons.contains(watched->objectName()))
            ShowBalloonTip(m_tip, static_cast<QWidget *>(watched));
    }
    return QDialog::eventFilter(watched, e);
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
            return storedAmount(m_ctx, "prot_mablagh") * asphalt
                 + storedAmount(m_ctx, "prot_mablagh_ejra") * asphalt * num("zarib");
        });
    } else if (name == QLatin1String("ghir_t")) {
        gf::computeInto(b, [&] { return gf::Round(gf::divide(num("asfalt_price"), num("ghir_moadel"))); });
    }
    ShowBalloonTip(m_tip, b);
}

QVariantList Tghir_ins2::values() const
{
    QVariantList v;
    for (const QString &column : columns()) {
        if (column == QLatin1String("bors_m") || column == QLatin1String("ghir_moadel"))
            v << QVariant(qlonglong(static_cast<TMonEdit *>(box(column))->Value()));
        else if (holdsNumberText(column))
            v << numberTextValue(column, boxText(column));
        else
            v << columnValue(column, boxText(column));
    }
    return v;
}

void Tghir_ins2::save()
{
    guarded(m_ctx, [this] {
        QVariantList v = values();
        DataSet *g = m_ctx.dm->ADOQ_ghir;
        if (!g->isOpen() || g->eof()) {
            m_ctx.ui->message(kRowGone, this);
            return;
        }
        QStringList sets;
        for (const QString &column : columns())
            sets << column + QStringLiteral("=?");
        v << g->value(QStringLiteral("id"));
        const int n = m_ctx.dm->ADOQuery1->exec(
            QStringLiteral("Update Ghir Set ") + sets.join(QLatin1Char(',')) + QStringLiteral(" Where ID=?"), v);
        if (n == 0) {
            m_ctx.ui->message(kRowGone, this);
            return;
        }
        m_ctx.ui->message(kSaved, this);
    });
}
