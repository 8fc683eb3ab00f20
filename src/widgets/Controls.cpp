#include "widgets/Controls.h"

#include <algorithm>

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace kalvex {

namespace {

constexpr int kButtonPadding = 14;
constexpr int kButtonMinimumWidth = 40;

} // namespace

// Buttons take no focus, so that pressing one leaves the caret where the user was working.
// Their width is fixed by their caption, not the style's usual minimum, so that the small
// window holds them.
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        Initially state) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    button->setEnabled(state == Initially::Enabled);
    const int width = button->fontMetrics().horizontalAdvance(caption) + kButtonPadding;
    button->setFixedWidth(std::max(width, kButtonMinimumWidth));
    return button;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption, Check check) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(check == Check::Checked);
    return box;
}

QLineEdit* makeEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QFont formFont(int pixelSize) {
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(pixelSize);
    return font;
}

QHBoxLayout* makeRow(std::initializer_list<QWidget*> widgets) {
    auto* layout = new QHBoxLayout;
    layout->setSpacing(3);
    for (QWidget* widget : widgets) {
        if (widget)
            layout->addWidget(widget);
        else
            layout->addStretch(1);
    }
    return layout;
}

void addMenuItems(QMenu& menu, std::span<const MenuItemSpec> items) {
    for (const MenuItemSpec& entry : items) {
        const QString caption = QString::fromUtf8(entry.caption);
        QAction* action =
            caption == QLatin1String("-") ? menu.addSeparator() : menu.addAction(caption);
        action->setObjectName(QString::fromLatin1(entry.name));
        action->setEnabled(entry.state == Initially::Enabled);
    }
}

} // namespace kalvex
