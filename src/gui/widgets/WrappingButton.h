#pragma once

#include <QPushButton>

// A button whose caption wraps onto several lines when the button is narrower than it.
class WrappingButton : public QPushButton {
    Q_OBJECT

public:
    WrappingButton(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
