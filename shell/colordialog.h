#ifndef COLORDIALOG_H
#define COLORDIALOG_H

#include <QColor>
#include <QDialog>
#include <QWidget>

class ColorClass;
namespace Ui { class ColorDialog; }

// Swatch of the canopy colour: a click opens the colour picker.
class CanopyColor : public QWidget
{
    Q_OBJECT
public:
    explicit CanopyColor(QWidget* parent = nullptr);
    QColor color() const { return ownColor; }

public slots:
    void initCanopyColor();
    void refresh_widget();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QColor ownColor;
};

// Swatch of the background colour.
class BackgroundColor : public QWidget
{
    Q_OBJECT
public:
    explicit BackgroundColor(QWidget* parent = nullptr);
    QColor color() const { return ownColor; }

    void initBackgrounColor();
    void refresh_widget();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QColor ownColor;
};

// "COLORS": picks the canopy and background colours of the 3-D views.
class ColorDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ColorDialog(QWidget* parent = nullptr);
    ~ColorDialog() override;

    Ui::ColorDialog* form() const { return ui; }

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void on_okButton_clicked();
    void on_pushButton_clicked();

private:
    Ui::ColorDialog* ui;
    ColorClass* colors;
};

#endif
