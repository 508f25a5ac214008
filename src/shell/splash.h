#pragma once
// SplashScreen: the window shown while the program starts. A click anywhere on it
// closes it; it deletes itself when closed, so holders keep it in a QPointer.

#include <QWidget>

class QLabel;

namespace fw {

class SplashScreen : public QWidget {
    Q_OBJECT
public:
    explicit SplashScreen(QWidget* parent = nullptr);

    // Shows a status text at once, even while the event loop is busy.
    void SetStatus(const QString& text);
    QString Status() const;

public slots:
    void cmClose();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLabel* lTitle_ = nullptr;
    QLabel* lVersion = nullptr;
    QLabel* lCopy = nullptr;
    QLabel* lStatus = nullptr;
    QLabel* imgLogo_ = nullptr;
};

}  // namespace fw
