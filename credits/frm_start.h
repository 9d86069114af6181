#pragma once

#include "resources/picture.h"

#include <QWidget>

#include <array>
#include <chrono>
#include <functional>

class QFrame;
class QLabel;
class QTimer;

// The splash window shown at start: the title picture with the credits, the maker's address and
// the legal notices. It takes no input and cannot be closed; after its interval it shows the
// main window and then closes and deletes itself.
class frmStart : public QWidget {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds HandOverInterval{20000};

    // The interval is shortened by tests only.
    explicit frmStart(std::function<void()> showMainWindow,
                      std::chrono::milliseconds interval = HandOverInterval);

    QTimer* Timer1 = nullptr;
    QFrame* Line1_0 = nullptr;
    QFrame* Line1_2 = nullptr;
    QLabel* lblCopyright = nullptr;
    std::array<QLabel*, 7> lblCompany{};
    std::array<QLabel*, 6> Label1{};
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;

public slots:
    void Timer1_Timer();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QFrame* createRule(int index, int fromX, int toX, int y);
    QLabel* createLabel(const QString& name, const QString& text, const QFont& font,
                        const QRect& place);
    void createCompanyLabels();
    void createCreditLabels();
    void createNotices();
    void widenSingleLineLabels();

    std::function<void()> m_showMainWindow;
    Picture m_picture;
    bool m_handedOver = false;
};
