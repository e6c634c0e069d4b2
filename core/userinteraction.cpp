#include "core/userinteraction.h"

#include <QDebug>

namespace {

// Answers like a user who cancels everything; what it is told goes to the
// warning output, so headless runs still show it.
class SilentUser final : public UserInteraction
{
public:
    bool question(const QString& text, const QString& informative) override
    {
        qWarning().noquote() << "question (answered Cancel):" << text << informative;
        return false;
    }
    SaveAnswer saveChanges(const QString& text, const QString&) override
    {
        qWarning().noquote() << "save prompt (answered Cancel):" << text;
        return SaveAnswer::Cancel;
    }
    void warning(const QString& title, const QString& text) override
    {
        qWarning().noquote() << title << text;
    }
    void information(const QString& title, const QString& text) override
    {
        qWarning().noquote() << title << text;
    }
    void about(const QString& title, const QString& text, const QString&, const QImage&) override
    {
        qWarning().noquote() << title << text;
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<double> number(const QString&, const QString&, double, double, double, int) override
    {
        return std::nullopt;
    }
    std::optional<QString> text(const QString&, const QString&, const QString&) override { return std::nullopt; }
    QColor color(const QColor&, const QString&) override { return {}; }
    bool print(QPrinter*, const QString&) override { return false; }
    QAction* menu(QMenu*, const QList<QAction*>&, const QPoint&) override { return nullptr; }
};

SilentUser g_silent;
UserInteraction* g_user = &g_silent;

} // namespace

UserInteraction& User()
{
    return *g_user;
}

UserInteraction* Install_User_Interaction(UserInteraction* user)
{
    UserInteraction* previous = g_user == &g_silent ? nullptr : g_user;
    g_user = user ? user : &g_silent;
    return previous;
}

bool Break_Question(const QString& text, const QString& informative)
{
    return User().question(text, informative);
}
