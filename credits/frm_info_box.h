#pragma once

#include "credits/bas_credit_und_info_box.h"
#include "widgets/message_boxes.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

class QLabel;

// The info box: the credits scroll over the logo in Picture1; a click on it stops and restarts
// them, the two glyph labels in its top right corner minimise and close the window.
class frmInfoBox : public QWidget {
    Q_OBJECT

public:
    // Reads "Tiska.dpi" and "1_logo_1.jpg" from the program folder; closing deletes the window.
    frmInfoBox(CreditsState& state, MessageBoxes& messages,
               const QString& programFolder = QCoreApplication::applicationDirPath());

    CreditsPicture* Picture1 = nullptr;
    QLabel* lblMinimieren = nullptr;
    QLabel* lblSchliessen = nullptr;

public slots:
    void Picture1_Click();
    void lblMinimieren_Click();
    void lblSchliessen_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    void startCredits();
    QLabel* createGlyphLabel(const char* name, const QString& glyph, const QString& tooltip,
                             const QRect& place);

    CreditsState& m_state;
    MessageBoxes& m_messages;
    QString m_programFolder;
};

// The one info box of the run: shown on request, created when there is none (also after it
// was closed), and with the credits state that outlives every window.
class InfoBoxHost {
public:
    explicit InfoBoxHost(MessageBoxes& messages,
                         QString programFolder = QCoreApplication::applicationDirPath(),
                         std::unique_ptr<ScrollTimer> timer = std::make_unique<QtScrollTimer>());
    ~InfoBoxHost();
    InfoBoxHost(const InfoBoxHost&) = delete;
    InfoBoxHost& operator=(const InfoBoxHost&) = delete;

    void Show();
    // The open window, if any.
    frmInfoBox* window() const { return m_window; }
    CreditsState& state() { return m_state; }

private:
    CreditsState m_state;
    MessageBoxes& m_messages;
    QString m_programFolder;
    QPointer<frmInfoBox> m_window;
};
