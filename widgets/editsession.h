#pragma once

// The editing protocol of an editor dialog. While the dialog is shown the
// session holds a copy of the design as it was when the dialog opened; edits
// go to the live design; Cancel or closing the window calls revert(), which
// writes the copy back; hiding the dialog (after OK, Cancel or close) drops
// the copy. The copy holds the design's inputs (about 1 MB); the tables the
// recompute derives are shared with the live design until it is recomputed
// (core/derivedtable.h), so Cancel brings back exactly what was shown.
//
// The session follows the dialog's show and hide events itself; the dialog
// only calls revert() where its editing is cancelled.

#include <QObject>

#include <memory>

class ParaStruct;
class QWidget;

class EditSession : public QObject
{
public:
    // A session on the live design (GetDataStruct) or on the given record.
    explicit EditSession(QWidget* dialog, ParaStruct* design = nullptr);
    ~EditSession() override;

    // Writes the copy back into the design; nothing outside a session.
    void revert();

    // Whether the design now holds values for the project file other than
    // those it held when the session began: an editor closed with OK and
    // nothing changed commits no edit (the views and the analysis results
    // would count it as a new design). False outside a session.
    bool changed() const;

    bool isOpen() const { return saved != nullptr; }
    // The design as it was when the dialog opened (nullptr outside a session).
    const ParaStruct* backup() const { return saved.get(); }

    // Taking and dropping the copy, for dialogs whose session does not
    // follow their visibility; the event filter calls them otherwise.
    void begin();
    void end();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ParaStruct* design;
    std::unique_ptr<ParaStruct> saved;
};
