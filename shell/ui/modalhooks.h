#ifndef MODALHOOKS_H
#define MODALHOOKS_H

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <functional>

class QPrinter;
class QWidget;

// The modal dialogs of the main program go through these hooks. Left empty,
// the real dialog runs; a test installs a function that answers in its place
// (and may record what was asked).
struct ModalHooks
{
    // Break_Question: true for OK.
    static std::function<bool(const QString& text, const QString& informative)> question;
    // The save-changes prompt: Save, Discard or Cancel.
    static std::function<QMessageBox::StandardButton(const QString& text, const QString& informative)> savePrompt;
    // A warning the user must read (failed save, unreadable file).
    static std::function<void(const QString& title, const QString& text)> warning;
    // The colour picker: the chosen colour, or an invalid one when cancelled.
    static std::function<QColor(const QColor& initial, const QString& title)> colorPicker;
    // The print dialog: true when the user chose to print on the printer.
    static std::function<bool(QPrinter* printer, QWidget* parent)> printDialog;
    // The file choosers of the editors: the chosen path, empty when cancelled.
    static std::function<QString(const QString& caption, const QString& dir, const QString& filter)> openFileName;
    static std::function<QString(const QString& caption, const QString& dir, const QString& filter)> saveFileName;

    static void reset();
};

#endif
