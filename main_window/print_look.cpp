#include "main_window/print_look.h"

#include "main_window/form1.h"
#include "main_window/keypad.h"
#include "main_window/tape_view.h"
#include "resources/picture_file.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QToolBar>

#include <variant>

namespace {

Failure layoutNotice(const QString& layoutPicture, const Failure& failure) {
    return QStringLiteral("Das Bild „%1“ konnte nicht geladen werden: %2 Das Fenster behält sein "
                          "bisheriges Hintergrundbild.")
        .arg(QDir::toNativeSeparators(layoutPicture), failure.reason);
}

} // namespace

PrintLook::PrintLook(Form1& window, const QString& layoutPicture)
    : m_window(window)
    , m_afterwards(window.picture()) {
    std::variant<QImage, Failure> layout = LoadPictureFile(layoutPicture);
    if (auto* image = std::get_if<QImage>(&layout))
        m_afterwards = Picture(QPixmap::fromImage(std::move(*image)));
    else if (const Failure& failure = std::get<Failure>(layout);
             failure.kind != Failure::Kind::Missing)
        m_layoutFailure = layoutNotice(layoutPicture, failure);
    strip();
}

PrintLook::~PrintLook() {
    restore();
}

void PrintLook::strip() {
    m_window.setBackColour(m_window.palette().color(QPalette::Base));
    for (QWidget* control : controls())
        control->hide();
    m_window.setPicture(Picture());
    QListView& totals = *m_window.List3;
    const int selected = SelectedRow(totals);
    if (selected >= 0 && selected == m_window.tapes().List3.count() - 1)
        totals.clearSelection();
}

// The working fields Text2 and Text3 stay hidden, as they were.
void PrintLook::restore() {
    m_window.setBackColour(m_window.palette().color(QPalette::Button));
    for (QWidget* control : controls())
        control->setVisible(control != m_window.Text2 && control != m_window.Text3);
    m_window.setPicture(m_afterwards);
}

QList<QWidget*> PrintLook::controls() const {
    QList<QWidget*> controls{m_window.Toolbar1};
    for (QPushButton* button : m_window.keypad().buttonsByName())
        controls << button;
    controls << m_window.Combo1 << m_window.Command1 << m_window.Label2[1] << m_window.Text1
             << m_window.Text2 << m_window.Text3;
    return controls;
}
