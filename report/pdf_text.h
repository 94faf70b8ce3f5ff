#pragma once
// The text layer of the PDF files Qt writes. Qt's PDF writer embeds each font as a subset with a
// map from every glyph to a character (ToUnicode), and it names for a glyph the lowest character
// whose code reaches that glyph in the font's own character map. A Persian letter is printed in
// its joined forms (initial, medial, final), which a font reaches only through the Arabic
// presentation forms (U+FB50 to U+FEFF), so a saved letter's text would read as presentation
// forms: a search for "تعهدنامه" finds nothing and a copied word is not the word typed. The
// same happens to the Persian digits that share a glyph with the Arabic-Indic ones.
//
// plainTextLayer() rewrites those maps in place: each presentation form becomes its plain
// letters (NFKC: the lam-alef ligature becomes lam and alef), each Arabic-Indic digit the
// Persian digit the renderer printed, and the file's cross-reference offsets follow the
// change. A glyph that no character reaches at all cannot be named; the report fonts are
// chosen so that none occurs. A glyph that two characters reach is named by one of them: the
// renderer sets the words that need the other in a copy of the face in which each has a glyph of
// its own (report/letter_faces.h).
//
// It also widens each font's glyph widths to cover the glyphs' advances: Qt rounds them down
// as often as up, and the sliver a width rounded down leaves between two joined letters makes
// text extraction give a short word letter by letter.
#include <QByteArray>
#include <QString>

namespace report {

// Rewrites the ToUnicode maps and the glyph widths of a PDF written by QPdfWriter; false (and
// the bytes unchanged) when the file is not laid out as expected.
bool plainTextLayer(QByteArray &pdf);
// The same on a file.
bool plainTextLayer(const QString &path);

} // namespace report
