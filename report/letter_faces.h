#pragma once
// The Persian faces draw the Arabic yeh "ي" and the Persian yeh "ی" (and the Arabic kaf "ك" and
// the keheh "ک") with one glyph where their shapes agree, at the start and in the middle of a
// word. A saved PDF names each glyph by one character (report/pdf_text.h), so one of the two
// spellings would be lost from its text layer and a search with it would miss the word.
//
// For such a face, the program makes a copy under a family of its own in which the Arabic
// letters have glyphs of their own in those forms: copies of the shared glyphs, with the same
// outlines and metrics, that the face's letter joining reaches from the Arabic letters and that
// only the Arabic letters' forms reach in its character map. The shared glyphs stay the Persian
// letters'. The renderer sets the words that hold the Arabic yeh or kaf in the copy: each
// letter of such a word, whatever mix of the two spellings it holds, is named in the text
// layer as typed, and the word is joined and drawn as in the face itself.
#include <QFont>
#include <QString>

namespace report {

// The family of the copy of `family` (an installed face) that names each letter as typed, made
// and registered on first use; empty when the face draws the two spellings apart (it needs no
// copy) or the copy cannot be made (a face made in a way the copy does not handle: it then
// names the Persian letter for both).
QString typedLettersFamily(const QString &family);

// Whether a word (a run of Arabic letters) is to be set in the copy: it holds the Arabic yeh or
// kaf.
bool holdsArabicLetters(QStringView word);

} // namespace report
