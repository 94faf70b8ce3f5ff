#pragma once

// A wait cursor for as long as the object lives: searches, exports and printing that can
// take a moment show that the program is working. Nests; does nothing without a GUI.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    bool m_set = false;
};
