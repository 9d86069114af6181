#include "widgets/accessibility.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>

namespace {

const char* const WindowRoleProperty = "zifferonWindowRole";
const char* const NamedComboBoxProperty = "zifferonNamedComboBox";

// A top-level window in the role it was given.
class WindowInterface : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;
};

// An editable combo box with a name of its own: its value is its text, its actions open and
// close the list.
class NamedComboBox : public QAccessibleWidget {
public:
    explicit NamedComboBox(QComboBox* box)
        : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return comboBox()->currentText();
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action != showMenuAction())
            return QAccessibleWidget::doAction(action);
        comboBox()->showPopup();
    }

private:
    QComboBox* comboBox() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* createInterface(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    const QVariant role = widget->property(WindowRoleProperty);
    if (role.isValid())
        return new WindowInterface(widget, static_cast<QAccessible::Role>(role.toInt()));
    if (widget->property(NamedComboBoxProperty).toBool())
        return new NamedComboBox(static_cast<QComboBox*>(widget));
    return nullptr;
}

// Qt asks the factory before its own ones; it answers only for widgets marked here.
void installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(createInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

// Qt keeps an object's interface from its first use on, and widgets ask for theirs while they
// are set up: one made before the widget was marked gives way, so that the factory makes the next.
template <typename Interface> void renewInterface(QWidget& widget) {
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&widget);
    if (made && !dynamic_cast<Interface*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

} // namespace

void ExposeWindow(QWidget& window, QAccessible::Role role, const QString& name) {
    installFactory();
    window.setProperty(WindowRoleProperty, static_cast<int>(role));
    renewInterface<WindowInterface>(window);
    window.setAccessibleName(name);
}

void NameByLabel(QLabel& label, QWidget& control) {
    label.setBuddy(&control);
    control.setAccessibleName(label.text());
    control.setAccessibleDescription(control.toolTip());
}

void NameComboBox(QComboBox& box, const QString& name) {
    installFactory();
    box.setProperty(NamedComboBoxProperty, true);
    renewInterface<NamedComboBox>(box);
    box.setAccessibleName(name);
    box.setAccessibleDescription(box.toolTip());
}
