#pragma once

// Everything the programs ask or tell the user goes through one object:
// questions, warnings, file choosers, number and text input, the colour
// picker and the print dialog. Computations call it without knowing about
// widgets; each program's main installs the widget implementation
// (widgets/widgetinteraction.h), and tests install one that answers from a
// script and records what was asked (tests/common/scripteduser.h).
//
// Until something is installed a silent implementation answers: questions
// with Cancel, choosers with nothing, and texts go to the warning output.

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>

#include <optional>

class QAction;
class QMenu;
class QPoint;
class QPrinter;

class UserInteraction
{
public:
    enum class SaveAnswer { Save, Discard, Cancel };

    virtual ~UserInteraction() = default;

    // An OK/Cancel question whose default is Cancel; true only for OK.
    virtual bool question(const QString& text, const QString& informative) = 0;
    // The save-changes prompt before the project is closed.
    virtual SaveAnswer saveChanges(const QString& text, const QString& informative) = 0;
    // A message the user must acknowledge.
    virtual void warning(const QString& title, const QString& text) = 0;
    virtual void information(const QString& title, const QString& text) = 0;
    // The About box of a program, with an optional picture.
    virtual void about(const QString& title, const QString& text, const QString& informative,
                       const QImage& picture) = 0;
    // File choosers: the chosen path, or an empty string when cancelled.
    virtual QString openFileName(const QString& caption, const QString& dir, const QString& filter) = 0;
    virtual QString saveFileName(const QString& caption, const QString& dir, const QString& filter) = 0;
    // Number and text input: nothing when cancelled.
    virtual std::optional<double> number(const QString& title, const QString& label, double value, double min,
                                         double max, int decimals) = 0;
    virtual std::optional<QString> text(const QString& title, const QString& label, const QString& value) = 0;
    // The colour picker: an invalid colour when cancelled.
    virtual QColor color(const QColor& initial, const QString& title) = 0;
    // The print dialog for the printer: true when the user chose to print.
    virtual bool print(QPrinter* printer, const QString& title) = 0;
    // A context menu with these entries at globalPos: the entry chosen
    // (already triggered), or null when the menu was closed without a
    // choice. Widget code calls it through Popup_Menu.
    virtual QAction* menu(QMenu* menu, const QList<QAction*>& entries, const QPoint& globalPos) = 0;
};

// The installed implementation (the silent one until a program installs its own).
UserInteraction& User();

// Installs an implementation, which the caller keeps alive, and returns the
// one it replaces; nullptr restores the silent one.
UserInteraction* Install_User_Interaction(UserInteraction* user);

// The modal OK/Cancel question of every program, default Cancel: true only
// when OK was pressed.
bool Break_Question(const QString& text, const QString& informative);
