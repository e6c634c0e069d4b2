#pragma once

// A user who answers from a script: tests install one (it installs itself
// for its lifetime) and find in `asked` everything the program asked or told.
// Unscripted questions are answered Cancel, file choosers with nothing.
// (tests/common/printtopdf.h sends prints into a PDF file.)

#include "core/userinteraction.h"

#include <QAction>
#include <QList>
#include <QStringList>

#include <functional>

struct AskedEntry
{
    QString kind;   // "question", "saveChanges", "warning", "information", "about",
                    // "openFile", "saveFile", "number", "text", "color", "print",
                    // "menu" (its entries' texts in `text`, joined by '|')
    QString title;  // caption or title (the text itself for questions)
    QString text;   // informative text, message, label or start folder
};

class ScriptedUser : public UserInteraction
{
public:
    ScriptedUser() : previous(Install_User_Interaction(this)) {}
    ~ScriptedUser() override { Install_User_Interaction(previous); }
    ScriptedUser(const ScriptedUser&) = delete;
    ScriptedUser& operator=(const ScriptedUser&) = delete;

    // Answers; empty functions give the answer of a user who cancels.
    std::function<bool(const QString& text, const QString& informative)> onQuestion;
    std::function<SaveAnswer(const QString& text)> onSaveChanges;
    std::function<QString(const QString& caption, const QString& dir, const QString& filter)> onOpenFile;
    std::function<QString(const QString& caption, const QString& dir, const QString& filter)> onSaveFile;
    std::function<std::optional<double>(const QString& title, const QString& label, double value)> onNumber;
    std::function<std::optional<QString>(const QString& title, const QString& label, const QString& value)> onText;
    std::function<QColor(const QColor& initial, const QString& title)> onColor;
    std::function<bool(QPrinter* printer)> onPrint;
    // Given the context menu, the entry to choose (null: closed). A disabled
    // entry cannot be chosen: the menu is then closed without a choice.
    std::function<QAction*(const QList<QAction*>& entries)> onMenu;
    // Called for every warning besides recording it.
    std::function<void(const QString& title, const QString& text)> onWarning;

    QList<AskedEntry> asked;
    // The texts of the warnings alone: what computations told the user
    // (Notify_User).
    QStringList texts;

    // Shorthands for the common scripts.
    void answerQuestions(bool ok) { onQuestion = [ok](const QString&, const QString&) { return ok; }; }
    void chooseFile(const QString& path)
    {
        onOpenFile = [path](const QString&, const QString&, const QString&) { return path; };
        onSaveFile = onOpenFile;
    }

    int count(const QString& kind) const
    {
        int n = 0;
        for (const AskedEntry& e : asked)
            n += e.kind == kind;
        return n;
    }
    // Titles and texts of one kind, joined: for QVERIFY(...contains(...)).
    QString all(const QString& kind) const
    {
        QStringList parts;
        for (const AskedEntry& e : asked)
            if (e.kind == kind)
                parts << e.title + ' ' + e.text;
        return parts.join('\n');
    }

    bool question(const QString& text, const QString& informative) override
    {
        asked.append({"question", text, informative});
        return onQuestion ? onQuestion(text, informative) : false;
    }
    SaveAnswer saveChanges(const QString& text, const QString& informative) override
    {
        asked.append({"saveChanges", text, informative});
        return onSaveChanges ? onSaveChanges(text) : SaveAnswer::Cancel;
    }
    void warning(const QString& title, const QString& text) override
    {
        asked.append({"warning", title, text});
        texts.append(text);
        if (onWarning)
            onWarning(title, text);
    }
    void information(const QString& title, const QString& text) override
    {
        asked.append({"information", title, text});
    }
    void about(const QString& title, const QString& text, const QString&, const QImage&) override
    {
        asked.append({"about", title, text});
    }
    QString openFileName(const QString& caption, const QString& dir, const QString& filter) override
    {
        asked.append({"openFile", caption, dir});
        return onOpenFile ? onOpenFile(caption, dir, filter) : QString();
    }
    QString saveFileName(const QString& caption, const QString& dir, const QString& filter) override
    {
        asked.append({"saveFile", caption, dir});
        return onSaveFile ? onSaveFile(caption, dir, filter) : QString();
    }
    std::optional<double> number(const QString& title, const QString& label, double value, double, double,
                                 int) override
    {
        asked.append({"number", title, label});
        return onNumber ? onNumber(title, label, value) : std::nullopt;
    }
    std::optional<QString> text(const QString& title, const QString& label, const QString& value) override
    {
        asked.append({"text", title, label});
        return onText ? onText(title, label, value) : std::nullopt;
    }
    QColor color(const QColor& initial, const QString& title) override
    {
        asked.append({"color", title, initial.name()});
        return onColor ? onColor(initial, title) : QColor();
    }
    bool print(QPrinter* printer, const QString& title) override
    {
        asked.append({"print", title, QString()});
        return onPrint ? onPrint(printer) : false;
    }
    QAction* menu(QMenu*, const QList<QAction*>& entries, const QPoint&) override
    {
        QStringList texts;
        for (const QAction* a : entries)
            texts << a->text();
        asked.append({"menu", QString(), texts.join(QLatin1Char('|'))});
        QAction* chosen = onMenu ? onMenu(entries) : nullptr;
        if (!chosen || !chosen->isEnabled())
            return nullptr;
        chosen->trigger();   // as the menu does when an entry is chosen
        return chosen;
    }

private:
    UserInteraction* previous;
};

// Runs `open`, which may show context menus, with `choose` answering them
// through the installed scripted user (every test program has one), and
// puts back what that user answered before.
inline void withMenuChoice(const std::function<QAction*(const QList<QAction*>& entries)>& choose,
                           const std::function<void()>& open)
{
    auto* user = dynamic_cast<ScriptedUser*>(&User());
    if (!user) {
        open();
        return;
    }
    const auto before = user->onMenu;
    user->onMenu = choose;
    open();
    user->onMenu = before;
}
