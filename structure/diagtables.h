#pragma once

// The editing rules of the diagonal-rib tables: rib-type texts, height cells,
// the periodic replication of a table, and the rib-set texts "( 1,3,5)" the
// mini-rib editor shows its cell selections with.

#include <QString>

class ParaStruct;
struct DiagonalRow;

// "L" for a loaded rib (type 0), "I" for any other type.
QString ribs_group_text(int type);
// 0 for "L" in either case, 1 for any other text (an empty one too).
int ribs_group_number(const QString& text);

// A height cell's text as a percentage: a decimal integer held within
// 0..100; 0 for a text that is no number.
int Diagonal_Height_From_Text(const QString& text);

// Repeats the rows start .. start + cells - 1 of the table periodically up to
// the rib before the tip: row k takes the height, the connection and (with
// `withType`) the rib type of row k - cells. The rows' rib numbers stay.
// Nothing is copied for cells < 1. Records start and cells as the design's
// replication pattern either way.
void Replicate_Diagonal_Table(ParaStruct* design, DiagonalRow* table, int start, int cells, bool withType);

// "( " and the ribs 0 .. lastRib whose flag is set, comma separated, then
// ")": ribs 1, 3 and 5 read "( 1,3,5)".
QString Bfield_To_Edit(const ParaStruct* design, const bool* flags);
// Clears the flags of ribs 0 .. lastRib and sets those the text names: a
// number closed by "," or ")" counts (an empty one before "," is rib 0);
// digits after the last separator are dropped; other characters are
// ignored. A number beyond the last rib, or too long to be one, sets
// nothing.
void Edit_To_Bfield(const ParaStruct* design, const QString& text, bool* flags);
