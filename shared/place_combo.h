#pragma once
// The place boxes, province -> county -> village (and down to the point code): the change of
// a box fills the next box's list with the distinct values of the gazetteer `abadiha` under
// the box above it (or under every box above), on dm.ADOQ_abadiha; the next box's text and
// the lists further down stay as they are.
//
//   const PlaceLevel places[] = {{ostan, "ostan"}, {city, "shahrestan"}, {rosta, "rosta"}};
//   auto *cascade = new PlaceCascade(m_ctx, this, places, PlaceCascade::ByUser);
//   cascade->fillAfter(0);   // the counties of the province shown, as its change does
#include <QObject>
#include <span>
#include <vector>

class AppContext;
class QComboBox;

struct PlaceLevel {
    QComboBox *box;
    const char *column; // its column in abadiha
};

class PlaceCascade : public QObject {
    Q_OBJECT
public:
    enum Trigger {
        Chosen,  // an item chosen from the list
        ByUser,  // typed or chosen by the person, never a text set by the program
        Changed, // every change of the text
    };
    enum Flag : unsigned {
        Sorted = 1,     // the lists in Persian alphabetical order, else in the order returned
        EveryAbove = 2, // each list narrowed by every box above, else by the box above alone
    };
    PlaceCascade(AppContext &ctx, QObject *owner, std::span<const PlaceLevel> levels, Trigger trigger,
                 unsigned flags = 0);

    // Fills the list of the box after levels[level], as the change of levels[level] does.
    void fillAfter(int level);

signals:
    // A box's list was filled.
    void filled(QComboBox *box);

private:
    AppContext &m_ctx;
    std::vector<PlaceLevel> m_levels;
    unsigned m_flags;
};
