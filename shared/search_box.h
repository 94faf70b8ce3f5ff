#pragma once
// The one-box search of the smaller registers: a radio group "جستجو" whose choice names the
// column searched, the search box `src` and the count label `cnt` with its caption. Every change of the box's
// text asks for the search (searchRequested); a Persian keheh typed into the box is first
// written back as the Arabic kaf, the form the database keeps (which changes the text once
// more, so the search runs with the written-back text).
//
//   const SearchChoice kChoices[] = {{"مشاور", "moshaver"}, {"شماره كار", "kar_no"}};
//   m_search = new SearchBox(this, kChoices, 0);
//   connect(m_search, &SearchBox::searchRequested, this, [this] { search(); });
//   QVariantList binds;
//   const QString where = "where cod<>-1" + m_search->piece(binds);   // " and  kar_no like ?"
#include <QVariantList>
#include <QWidget>
#include <span>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;

struct SearchChoice {
    const char *caption;
    const char *column;
};

class SearchBox : public QWidget {
    Q_OBJECT
public:
    // The radio group is named RadioGroup1, its buttons RadioGroup1_0, RadioGroup1_1, ...
    SearchBox(QWidget *parent, std::span<const SearchChoice> choices, int initial);

    // " and  <column> like ?" for the chosen column, with "%" + the search text + "%" bound.
    QString piece(QVariantList &binds) const;
    QString column() const;
    int choice() const;
    void setChoice(int index);

    // Empties the box as the openers do: the search runs when the box held any text.
    void clear();

    QLineEdit *src() const { return m_src; }
    QLabel *cnt() const { return m_cnt; }
    QGroupBox *group() const { return m_group; }

signals:
    void searchRequested();

private:
    std::span<const SearchChoice> m_choices;
    QGroupBox *m_group;
    QButtonGroup *m_buttons;
    QLineEdit *m_src;
    QLabel *m_cnt;
};
