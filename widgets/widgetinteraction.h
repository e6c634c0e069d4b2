#pragma once

// The user interaction of the programs with windows: message boxes, file and
// colour choosers, input and print dialogs, parented to the active window.
// Each program's main installs one (Install_Widget_Interaction); nothing
// else in the programs opens these dialogs.

#include "core/userinteraction.h"

#include <memory>

class QMessageBox;
class QWidget;

class WidgetInteraction final : public UserInteraction
{
public:
    // What the question box adds to its informative text: the main program
    // reminds that Enter answers Cancel, the flow analyser adds nothing.
    enum class QuestionNote { DefaultCancel, None };

    void setQuestionNote(QuestionNote note) { questionNote = note; }

    // The title of a box: the one given, or the program's name when none is
    // given, so that no box stands with an empty title bar.
    static QString boxTitle(const QString& title);
    // The boxes of the question and of the save prompt, built but not shown.
    static std::unique_ptr<QMessageBox> questionBox(QWidget* parent, const QString& text,
                                                    const QString& informative,
                                                    QuestionNote note = QuestionNote::DefaultCancel);
    static std::unique_ptr<QMessageBox> savePromptBox(QWidget* parent, const QString& text,
                                                      const QString& informative);

    bool question(const QString& text, const QString& informative) override;
    SaveAnswer saveChanges(const QString& text, const QString& informative) override;
    void warning(const QString& title, const QString& text) override;
    void information(const QString& title, const QString& text) override;
    void about(const QString& title, const QString& text, const QString& informative,
               const QImage& picture) override;
    QString openFileName(const QString& caption, const QString& dir, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& dir, const QString& filter) override;
    std::optional<double> number(const QString& title, const QString& label, double value, double min, double max,
                                 int decimals) override;
    std::optional<QString> text(const QString& title, const QString& label, const QString& value) override;
    QColor color(const QColor& initial, const QString& title) override;
    bool print(QPrinter* printer, const QString& title) override;
    QAction* menu(QMenu* menu, const QList<QAction*>& entries, const QPoint& globalPos) override;

private:
    QuestionNote questionNote = QuestionNote::DefaultCancel;
};

// Shows a context menu through the installed user interaction (tests choose
// the entry there): the entry chosen, already triggered, or null.
QAction* Popup_Menu(QMenu* menu, const QPoint& globalPos);

// The application palette with its disabled texts made readable (a
// disabled button's caption, a greyed label): the style's own disabled grey
// can all but vanish on the button it sits on.
void Install_Readable_Palette();

// Installs the program-long widget interaction, and the readable palette.
void Install_Widget_Interaction(
    WidgetInteraction::QuestionNote note = WidgetInteraction::QuestionNote::DefaultCancel);
