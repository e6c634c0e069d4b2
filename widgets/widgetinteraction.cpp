#include "widgets/widgetinteraction.h"

#include "core/chartlabels.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPixmap>
#include <QMenu>
#include <QPrintDialog>

namespace {
QWidget* parentWindow()
{
    return QApplication::activeWindow();
}

// A question asked while the program shows the wait cursor is answered with
// the ordinary pointer; the wait cursor comes back with the answer.
class PointerWhileAsked
{
public:
    PointerWhileAsked() : busy(QApplication::overrideCursor() != nullptr)
    {
        if (busy)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~PointerWhileAsked()
    {
        if (busy)
            QApplication::restoreOverrideCursor();
    }
    PointerWhileAsked(const PointerWhileAsked&) = delete;
    PointerWhileAsked& operator=(const PointerWhileAsked&) = delete;

private:
    bool busy;
};
} // namespace

QString WidgetInteraction::boxTitle(const QString& title)
{
    return title.trimmed().isEmpty() ? QGuiApplication::applicationDisplayName() : title;
}

std::unique_ptr<QMessageBox> WidgetInteraction::questionBox(QWidget* parent, const QString& text,
                                                            const QString& informative, QuestionNote note)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(boxTitle(QString()));
    box->setText(text);
    box->setInformativeText(note == QuestionNote::DefaultCancel ? informative + " (default cancel)" : informative);
    box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box->setDefaultButton(QMessageBox::Cancel);
    return box;
}

std::unique_ptr<QMessageBox> WidgetInteraction::savePromptBox(QWidget* parent, const QString& text,
                                                              const QString& informative)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(boxTitle(QString()));
    box->setText(text);
    box->setInformativeText(informative);
    box->setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box->setDefaultButton(QMessageBox::Save);
    return box;
}

bool WidgetInteraction::question(const QString& text, const QString& informative)
{
    const PointerWhileAsked pointer;
    const auto box = questionBox(parentWindow(), text, informative, questionNote);
    box->exec();
    return box->clickedButton() == box->button(QMessageBox::Ok);
}

UserInteraction::SaveAnswer WidgetInteraction::saveChanges(const QString& text, const QString& informative)
{
    const PointerWhileAsked pointer;
    const auto box = savePromptBox(parentWindow(), text, informative);
    switch (box->exec()) {
    case QMessageBox::Save:
        return SaveAnswer::Save;
    case QMessageBox::Discard:
        return SaveAnswer::Discard;
    default:
        return SaveAnswer::Cancel;
    }
}

void WidgetInteraction::warning(const QString& title, const QString& text)
{
    const PointerWhileAsked pointer;
    QMessageBox::warning(parentWindow(), boxTitle(title), text);
}

void WidgetInteraction::information(const QString& title, const QString& text)
{
    const PointerWhileAsked pointer;
    QMessageBox::information(parentWindow(), boxTitle(title), text);
}

void WidgetInteraction::about(const QString& title, const QString& text, const QString& informative,
                              const QImage& picture)
{
    const PointerWhileAsked pointer;
    QMessageBox box(parentWindow());
    box.setWindowTitle(title);
    if (!picture.isNull())
        box.setIconPixmap(QPixmap::fromImage(picture));
    box.setText(text);
    box.setInformativeText(informative);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

QString WidgetInteraction::openFileName(const QString& caption, const QString& dir, const QString& filter)
{
    const PointerWhileAsked pointer;
    return QFileDialog::getOpenFileName(parentWindow(), caption, dir, filter);
}

QString WidgetInteraction::saveFileName(const QString& caption, const QString& dir, const QString& filter)
{
    const PointerWhileAsked pointer;
    return QFileDialog::getSaveFileName(parentWindow(), caption, dir, filter);
}

std::optional<double> WidgetInteraction::number(const QString& title, const QString& label, double value,
                                                double min, double max, int decimals)
{
    const PointerWhileAsked pointer;
    bool ok = false;
    const double chosen = QInputDialog::getDouble(parentWindow(), title, label, value, min, max, decimals, &ok);
    if (!ok)
        return std::nullopt;
    return chosen;
}

std::optional<QString> WidgetInteraction::text(const QString& title, const QString& label, const QString& value)
{
    const PointerWhileAsked pointer;
    bool ok = false;
    const QString chosen = QInputDialog::getText(parentWindow(), title, label, QLineEdit::Normal, value, &ok);
    if (!ok)
        return std::nullopt;
    return chosen;
}

QColor WidgetInteraction::color(const QColor& initial, const QString& title)
{
    const PointerWhileAsked pointer;
    return QColorDialog::getColor(initial, parentWindow(), title);
}

bool WidgetInteraction::print(QPrinter* printer, const QString& title)
{
    const PointerWhileAsked pointer;
    QPrintDialog dialog(printer, parentWindow());
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}

QAction* WidgetInteraction::menu(QMenu* menu, const QList<QAction*>&, const QPoint& globalPos)
{
    const PointerWhileAsked pointer;
    return menu->exec(globalPos);
}

QAction* Popup_Menu(QMenu* menu, const QPoint& globalPos)
{
    return User().menu(menu, menu->actions(), globalPos);
}

void Install_Readable_Palette()
{
    QApplication::setPalette(Readable_Disabled_Palette(QApplication::palette()));
}

void Install_Widget_Interaction(WidgetInteraction::QuestionNote note)
{
    static WidgetInteraction user;
    user.setQuestionNote(note);
    Install_User_Interaction(&user);
    Install_Readable_Palette();
}
