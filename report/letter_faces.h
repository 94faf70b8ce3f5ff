#pragma once
// The Persian faces draw the Arabic yeh "ي" and the Persian yeh "ی" (and the Arabic kaf "ك" and
// the keheh "ک") with one glyph where their shapes agree, at the start and in the middle of a
// word. A saved PDF names each glyph by one character (report/pdf_text.h), so one of the two
// spellings would be lost from its text layer and a search with it would miss the word.
//
// For such a face, the program makes a copy under a family of its own in which those shared
// glyphs are reached only through the Arabic letters' forms; the renderer sets the words typed
// with the Arabic letters in the copy. Both faces draw the same outlines, and each word's text
// layer names the letter that was typed.
#include <QFont>
#include <QString>

namespace report {

// The family of the copy of `family` (an installed face) that names the Arabic yeh and kaf,
// made and registered on first use; empty when the face draws the two spellings apart (it
// needs no copy) or the copy cannot be made.
QString arabicLettersFamily(const QString &family);

// Whether a word (a run of Arabic letters) is to be set in the copy: it holds the Arabic yeh or
// kaf and neither Persian letter.
bool typedWithArabicLetters(QStringView word);

} // namespace report
