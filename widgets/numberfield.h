#pragma once

// A number field that gives the design one of its numbers (an entry of
// core/designinputs.h): it reads its text as every number field reads, and
// refuses a text that is no value of that number, telling the user the range.

#include <QString>

class QLineEdit;
struct DesignInput;

// Takes the field's text as the input's value: stores it in *value and
// returns true. A text that is no value of the input leaves *value as it
// was: the field shows `kept` again (the text of the value it keeps, put
// back without a change signal, before the message takes the focus), the
// user is told the range, and the result is false.
bool Take_Input(QLineEdit* field, const DesignInput& input, double* value, const QString& kept);

// For a field whose values are taken as they are typed (half-typed text is
// passed over): when the editing ends on a text that is no value of the
// input, `kept` is put back and the user told, as above, and the result is
// false. A field holding a value is left as it is.
bool Settle_Input(QLineEdit* field, const DesignInput& input, const QString& kept);
