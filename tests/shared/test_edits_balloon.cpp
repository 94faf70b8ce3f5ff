// The money, decimal and date boxes driven by keyboard and clipboard, and the balloon tips.
#include "support/drive.h"
#include "support/texts.h"

#include "core/errors.h"
#include "shared/balloon.h"
#include "shared/edits.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>

namespace {

// Keys typed into a box one step after another, and what the box shows after each step.
// "<-" is a Backspace, "^V" a paste, "^A del" all selected and deleted; Persian digits are
// typed as key events carrying them.
void play(QLineEdit *e, const QList<QPair<QString, QString>> &steps)
{
    for (const auto &[keys, shown] : steps) {
        if (keys == "<-") {
            QTest::keyClick(e, Qt::Key_Backspace);
        } else if (keys == "^V") {
            QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        } else if (keys == "^A del") {
            e->selectAll();
            QTest::keyClick(e, Qt::Key_Delete);
        } else if (keys.toLatin1() == keys.toUtf8()) {
            QTest::keyClicks(e, keys);
        } else {
            typeText(e, keys);
        }
        QCOMPARE(e->text(), shown);
    }
}

// The box's amount is refused with this message.
void refused(const TMonEdit &e, const QString &message)
{
    try {
        e.Value();
        QFAIL("the amount was taken");
    } catch (const InputError &err) {
        QCOMPARE(err.message(), message);
    }
}

} // namespace

class EditsBalloonTest : public QObject {
    Q_OBJECT
private slots:
    void moneyBox()
    {
        TMonEdit e;
        e.setObjectName(QStringLiteral("z_mablagh"));
        QCOMPARE(e.Value(), qint64(0));
        // Letters, a plus sign and a typed "." are not taken (the digits after it still count);
        // typing in the middle regroups and puts the caret at the end; Persian digits count. A
        // minus sign stays in sight before the digits, wherever typed, for the form to refuse.
        play(&e, {{"12345", "12,345"}, {"a+6.", "123,456"}, {"<-", "12,345"}, {"<-", "1,234"}});
        e.setCursorPosition(1);
        play(&e, {{"9", "19,234"}});
        QCOMPARE(e.cursorPosition(), e.text().size());
        QCOMPARE(e.Value(), qint64(19234));
        play(&e, {{"-", "-19,234"}});
        QCOMPARE(e.Value(), qint64(-19234));
        e.clear();
        QCOMPARE(e.Value(), qint64(0));
        play(&e, {{"^A del", ""}, {"12.5", "125"}, {"^A del", ""}, {QString::fromUtf8("\u06F1\u06F2\u06F3\u06F4"), "1,234"}});
        // Pasted: above 32 bits; a fraction stays in sight and is refused, never cut off.
        for (const auto &[pasted, shown, value] : {std::tuple{"3,000,000,000 rial", "3,000,000,000", 3000000000LL},
                                                   {"1,250.75", "1,250.75", -1LL}, {"1,250.00", "1,250", 1250LL}}) {
            QApplication::clipboard()->setText(QString::fromUtf8(pasted));
            play(&e, {{"^A del", ""}, {"^V", shown}});
            if (value >= 0)
                QCOMPARE(e.Value(), qint64(value));
            else
                refused(e, texts::cannotHold("1,250.75", texts::columnName("z_mablagh"), texts::kNotWhole));
        }
        e.setValue(987654321012LL);
        QCOMPARE(e.text() + " " + QString::number(e.Value()), QStringLiteral("987,654,321,012 987654321012"));
        // A stored amount, or a quantity the program copies in, shows its integer part.
        e.setStoredText(QStringLiteral("1250000.0000"));
        QCOMPARE(e.text() + " " + QString::number(e.Value()), QStringLiteral("1,250,000 1250000"));
        e.setStoredText(QString());
        QCOMPARE(e.Value(), qint64(0));
        e.setText(QStringLiteral("1250000.5"));
        QCOMPARE(e.Value(), qint64(1250000));
        // Every typed digit stays; the money limit is checked when the amount is taken.
        play(&e, {{"^A del", ""}, {"922337203685477", "922,337,203,685,477"}});
        QCOMPARE(e.Value(), qint64(922337203685477LL));
        play(&e, {{"<-", "92,233,720,368,547"}, {"8", "922,337,203,685,478"}});
        refused(e, texts::tooLarge("922,337,203,685,478", texts::columnName("z_mablagh")));
        play(&e, {{"^A del", ""}, {"1234567890123456789", "1,234,567,890,123,456,789"}});
        refused(e, texts::tooLarge("1,234,567,890,123,456,789", texts::columnName("z_mablagh")));
    }

    void decimalBox()
    {
        TRealEdit e;
        QCOMPARE(e.Value(), 0.0);
        QTest::keyClicks(&e, QStringLiteral("12.5.3x"));
        QVERIFY(e.text() == "12.53" && e.Value() == 12.53 && e.cursorPosition() == e.text().size());
        e.setText(QStringLiteral("."));
        QCOMPARE(e.Value(), 0.0);
        // The whole part grouped by thousands, as a money box shows it.
        e.setText(QStringLiteral("1234567.5"));
        QVERIFY(e.text() == "1,234,567.5" && e.Value() == 1234567.5);
    }

    // A box holding rials besides the money boxes: its number grouped whatever arrives, the
    // caret among the same digits, anything else left as typed.
    void rialsGroupedInOtherBoxes()
    {
        QLineEdit e;
        ShowGroupedRials(&e);
        e.show();
        e.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&e));
        e.setFocus();
        play(&e, {{"12345", "12,345"}, {"67", "1,234,567"}, {".50", "1,234,567.50"}, {"x", "1,234,567.50x"}});
        e.setText(QStringLiteral("1234567"));
        e.setCursorPosition(3); // after "1,2"
        QTest::keyClick(&e, Qt::Key_Backspace);
        QVERIFY(e.text() == "134,567" && e.cursorPosition() == 1);
        // Set by the program: a stored amount's zero fraction goes, the sign stays.
        e.clearFocus();
        for (const auto &[set, shown] : {std::pair{"12345678901.0000", "12,345,678,901"}, {"-1500000", "-1,500,000"},
                                          {"2500.25", "2,500.25"}, {"مبلغ", "مبلغ"}}) {
            e.setText(QString::fromUtf8(set));
            QCOMPARE(e.text(), QString::fromUtf8(shown));
        }
    }

    // A box the program fills while the person is elsewhere, and a box the person leaves, show
    // the start of their text; a box being typed in keeps its caret.
    void longTextsFromTheirStart()
    {
        ShowTextsFromTheirStart(QCoreApplication::instance());
        QWidget w;
        auto *line = new QLineEdit(&w), *other = new QLineEdit(&w);
        auto *combo = new QComboBox(&w);
        combo->setEditable(true);
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const QString title = QString::fromUtf8("اجراي عمليات زيرسازي، جدول گذاري و آسفالت معابر اصلي روستا (مرحله دوم)");
        other->setFocus();
        line->setText(title);
        combo->setEditText(title);
        QCOMPARE(line->cursorPosition() + combo->lineEdit()->cursorPosition(), 0);
        line->setFocus();
        line->end(false);
        QTest::keyClicks(line, QStringLiteral("x"));
        QCOMPARE(line->cursorPosition(), title.size() + 1);
        other->setFocus();
        QTRY_COMPARE(line->cursorPosition(), 0);
    }

    void dateBox()
    {
        TDateEdit e;
        QLineEdit *asLine = &e;
        QCOMPARE(asLine->text(), QStringLiteral("    /  /  ")); // the empty date
        QVERIFY(TDateEdit::kEmpty == asLine->text() && e.isBlank());
        e.setFocus();
        e.setCursorPosition(0);
        // Full: nothing more is taken; Backspace goes over a separator; letters and signs are not taken.
        play(asLine, {{"14030506", "1403/05/06"}, {"7", "1403/05/06"}, {"<-", "1403/05/0 "}, {"<-", "1403/05/  "},
                      {"<-", "1403/0 /  "}, {"a/-", "1403/0 /  "}, {"^A del", "    /  /  "}});
        // Set or pasted: put into the box's form; a whole date pasted replaces the box.
        e.setText(QStringLiteral("1403/5/6"));
        QCOMPARE(asLine->text(), QStringLiteral("1403/05/06"));
        // Emptied or set empty: the empty date again.
        e.clear();
        QCOMPARE(asLine->text(), QStringLiteral("    /  /  "));
        e.setText(QStringLiteral("1403/5/6"));
        e.setText(QString());
        QVERIFY(e.isBlank() && asLine->text() == QStringLiteral("    /  /  "));
        QApplication::clipboard()->setText("1404/01/02");
        e.setCursorPosition(0);
        play(asLine, {{"^V", "1404/01/02"}});
        // Persian digits typed on the Persian layout.
        e.clear();
        e.setCursorPosition(0);
        play(asLine, {{QString::fromUtf8("\u06F1\u06F4\u06F0\u06F5"), "1405/  /  "}});
    }

    void balloonOverControl()
    {
        QWidget owner;
        auto *box = new QLineEdit(&owner), *other = new QLineEdit(&owner);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        TBalloonTip *tip = CreateBalloonTip(&owner);
        QVERIFY(tip && !CreateBalloonTip(nullptr));
        AddBalloonTip(tip, box, 1, "Formula", "a * b");
        AddBalloonTip(tip, nullptr, 1, "x", "y"); // nothing happens
        QCOMPARE(BalloonText(tip, other), QString());
        auto send = [](QWidget *w, QEvent::Type type) {
            QEvent e(type);
            QApplication::sendEvent(w, &e);
        };
        // Shown while the pointer is over its control (title, text and icon), over no other.
        send(box, QEvent::Enter);
        QWidget *win = BalloonWindowOf(tip);
        QVERIFY(win && win->isVisible() && !child<QLabel>(win, "balloon_icon")->pixmap().isNull());
        QCOMPARE(child<QLabel>(win, "balloon_title")->text() + "|" + child<QLabel>(win, "balloon_text")->text(),
                 "Formula|a * b");
        send(box, QEvent::Leave);
        QVERIFY(!win->isVisible());
        send(other, QEvent::Enter);
        QVERIFY(!win->isVisible());
        // A later registration replaces the text; the title is cut at 255 characters and an
        // unknown icon becomes none.
        AddBalloonTip(tip, box, 9, QString(300, 't'), "c / d");
        ShowBalloonTip(tip, box);
        QVERIFY(win->isVisible() && child<QLabel>(win, "balloon_icon")->isHidden());
        QCOMPARE(QString::number(BalloonTitle(tip, box).size()) + child<QLabel>(win, "balloon_text")->text(), "255c / d");
        HideBalloonTip(tip);
        QVERIFY(!win->isVisible());
        // Closing the window takes its tip away; a destroyed control is forgotten.
        ShowBalloonTip(tip, box);
        owner.hide();
        QVERIFY(!win->isVisible());
        delete box;
        QCOMPARE(BalloonText(tip, box), QString());
    }
};

VARNOSET_TEST_MAIN(EditsBalloonTest)
#include "test_edits_balloon.moc"
