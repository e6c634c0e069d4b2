#include "widgets/numberfield.h"

#include "core/designinputs.h"

#include <QLineEdit>
#include <QSignalBlocker>

bool Settle_Input(QLineEdit* field, const DesignInput& input, const QString& kept)
{
    const QString typed = field->text();
    if (Input_From_Text(input, typed))
        return true;
    {
        // The message box takes the focus, which ends the editing once more:
        // by then the field holds a value again.
        const QSignalBlocker quiet(field);
        field->setText(kept);
    }
    Refuse_Input(input, typed, kept);
    return false;
}

bool Take_Input(QLineEdit* field, const DesignInput& input, double* value, const QString& kept)
{
    if (!Settle_Input(field, input, kept))
        return false;
    *value = *Input_From_Text(input, field->text());
    return true;
}
