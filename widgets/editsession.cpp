#include "widgets/editsession.h"

#include "core/openfile.h"
#include "core/parastruct.h"

#include <QEvent>
#include <QWidget>

EditSession::EditSession(QWidget* dialog, ParaStruct* design)
    : QObject(dialog), design(design ? design : GetDataStruct())
{
    dialog->installEventFilter(this);
}

EditSession::~EditSession() = default;

void EditSession::begin()
{
    // Showing the dialog again while it is open (restored from the task bar,
    // raised) is not a new session.
    if (!saved)
        saved = std::make_unique<ParaStruct>(*design);
}

void EditSession::end()
{
    saved.reset();
}

void EditSession::revert()
{
    if (saved)
        *design = *saved;
}

bool EditSession::changed() const
{
    return saved && Project_File_Bytes(*design) != Project_File_Bytes(*saved);
}

bool EditSession::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && !event->spontaneous()) {
        if (event->type() == QEvent::Show)
            begin();
        else if (event->type() == QEvent::Hide)
            end();
    }
    return QObject::eventFilter(watched, event);
}
