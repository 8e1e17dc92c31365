#pragma once

#include <QRawFont>

namespace parcelon {

// A face that draws exactly the glyphs of `face` (same indexes, outlines and advances) but maps none of
// them back to characters: it has no character map and no glyph names. The reports draw their shaped
// Sinhala in it, so a PDF reader finds the words only in the invisible logical-order text laid under
// them, never a second, visually ordered copy. The copy is embedded as a font, so each glyph is written
// once per document and not as an outline at every use.
//
// Returns an invalid font when `face` has no TrueType outlines to copy; the caller then draws outlines.
QRawFont silentFace(const QRawFont &face);

} // namespace parcelon
