#pragma once
class Tdm;

// Fills a new, empty database with a small realistic set for newcomers: places of two
// provinces, value lists, users with rights and counties, contractors and contracts of
// the correspondence database. A database that holds data is left untouched; returns
// whether it filled anything.
bool fillSampleData(Tdm &dm);
